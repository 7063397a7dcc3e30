// playlistplayer: plays movie files one after the other as a single libmpv playlist in a plain window, the
// way a plain player would: mpv keeps the time, the next file is read ahead, the picture is drawn by mpv's
// software renderer at the window's size. The reference that the player panel's chapter borders are
// measured against.
//   playlistplayer --place X,Y,W,H [--speed R] [--wait-ms MS] FILE...
// It shows the first picture, waits (1 s by default), plays and prints "playing <steady clock ns>" as it
// starts and "ended <steady clock ns>" once the last file's last picture shows; it quits a second later.

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QImage>
#include <QMetaObject>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <mpv/client.h>
#include <mpv/render.h>

#include <chrono>
#include <clocale>
#include <cstdio>

namespace {

class PlaylistWindow : public QWidget
{
public:
    PlaylistWindow(const QStringList &files, double speed)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        std::setlocale(LC_NUMERIC, "C");
        _mpv = mpv_create();
        for (const auto &[name, value] : {std::pair{"vo", "libmpv"},
                                          {"hwdec", "no"},
                                          {"idle", "yes"},
                                          {"pause", "yes"},
                                          {"keep-open", "yes"},
                                          {"prefetch-playlist", "yes"},
                                          {"audio-fallback-to-null", "yes"},
                                          {"terminal", "no"},
                                          {"input-default-bindings", "no"},
                                          {"osd-level", "0"},
                                          {"keepaspect", "no"}})
            mpv_set_option_string(_mpv, name, value);
        mpv_initialize(_mpv);
        mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        mpv_render_context_create(&_render, _mpv, params);
        mpv_render_context_set_update_callback(
            _render,
            [](void *self) {
                QMetaObject::invokeMethod(static_cast<PlaylistWindow *>(self), &PlaylistWindow::renderFrame,
                                          Qt::QueuedConnection);
            },
            this);
        mpv_set_wakeup_callback(
            _mpv,
            [](void *self) {
                QMetaObject::invokeMethod(static_cast<PlaylistWindow *>(self), &PlaylistWindow::readEvents,
                                          Qt::QueuedConnection);
            },
            this);
        for (const QString &file : files) {
            const QByteArray name = QFile::encodeName(file);
            const char *args[] = {"loadfile", name.constData(), "append-play", nullptr};
            mpv_command(_mpv, args);
        }
        mpv_set_property(_mpv, "speed", MPV_FORMAT_DOUBLE, &speed);
        mpv_observe_property(_mpv, 0, "eof-reached", MPV_FORMAT_FLAG);
    }
    ~PlaylistWindow() override
    {
        mpv_render_context_free(_render);
        mpv_terminate_destroy(_mpv);
    }

    void play()
    {
        int paused = 0;
        mpv_set_property(_mpv, "pause", MPV_FORMAT_FLAG, &paused);
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("playing %lld\n", static_cast<long long>(
                                          std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        if (_picture.isNull())
            painter.fillRect(rect(), Qt::black);
        else
            painter.drawImage(rect(), _picture);
    }

private:
    void renderFrame()
    {
        if (!(mpv_render_context_update(_render) & MPV_RENDER_UPDATE_FRAME))
            return;
        const QSize size = this->size() * devicePixelRatio();
        if (_picture.size() != size)
            _picture = QImage(size, QImage::Format_RGBX8888);
        int wh[2] = {size.width(), size.height()};
        size_t stride = size_t(_picture.bytesPerLine());
        mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, wh},
                                     {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>("rgb0")},
                                     {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                     {MPV_RENDER_PARAM_SW_POINTER, _picture.bits()},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        mpv_render_context_render(_render, params);
        repaint();
    }

    void readEvents()
    {
        for (mpv_event *event = mpv_wait_event(_mpv, 0); event->event_id != MPV_EVENT_NONE;
             event = mpv_wait_event(_mpv, 0)) {
            if (event->event_id != MPV_EVENT_PROPERTY_CHANGE || _ended)
                continue;
            const auto *property = static_cast<mpv_event_property *>(event->data);
            // The last file stays open on its last picture (keep-open); the others go on to the next.
            if (property->format == MPV_FORMAT_FLAG && *static_cast<int *>(property->data)) {
                _ended = true;
                printLine("ended");
                QTimer::singleShot(1000, qApp, &QApplication::quit);
            }
        }
    }

    static void printLine(const char *what)
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf(
            "%s %lld\n", what,
            static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
    }

    mpv_handle *_mpv = nullptr;
    mpv_render_context *_render = nullptr;
    QImage _picture;
    bool _ended = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Plays movie files as one libmpv playlist in a plain window.");
    parser.addHelpOption();
    const QCommandLineOption geometry("place", "the window's place and size on the screen", "X,Y,W,H");
    const QCommandLineOption speed("speed", "the playing rate (default 1)", "R", "1");
    const QCommandLineOption wait("wait-ms", "how long the first picture shows before play (default 1000)",
                                  "MS", "1000");
    parser.addOptions({geometry, speed, wait});
    parser.addPositionalArgument("files", "the movie files, in playing order", "FILE...");
    parser.process(app);
    const QStringList place = parser.value(geometry).split(',');
    bool speedOk = false, waitOk = false;
    const double rate = parser.value(speed).toDouble(&speedOk);
    const int waitMs = parser.value(wait).toInt(&waitOk);
    if (place.size() != 4 || parser.positionalArguments().isEmpty() || !speedOk || rate <= 0 || !waitOk) {
        std::fputs("usage: playlistplayer --place X,Y,W,H [--speed R] [--wait-ms MS] FILE...\n", stderr);
        return 2;
    }
    PlaylistWindow window(parser.positionalArguments(), rate);
    window.setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window.setGeometry(place[0].toInt(), place[1].toInt(), place[2].toInt(), place[3].toInt());
    window.show();
    QTimer::singleShot(waitMs, &window, [&window] { window.play(); });
    return app.exec();
}

// playerdemo: plays a generated trip in a window with the track bar.
//
//   playerdemo [--chapters N] [--seconds S] [--size WxH] [--fps F] [--rate R]
//              [--quit-after MS] [--screenshot FILE] [--software | --opengl] [--zoom N] [--cut] [--check]
//              [--border-shots DIR] [--script STEPS] [--own-context]
//
// OpenGL contexts share one application-wide context, as in the viewer (its web engine needs that);
// --own-context leaves it out, so the render path's probe makes a context of its own.
//
// --script "MS:ACTION;..." runs actions at times after the start: key:NAME (a key sequence such as
// Right, Return, Escape, Shift+Tab, sent to the focused control), click:NAME (a control of the panel:
// play, pause, stop, komaGo, zoom, fullscrn, ...), focus:NAME, trim:on|off, shot:FILE, quit.
//
// Space plays or pauses, Left/Right step a frame, PgUp/PgDn jump a chapter, 1-5 choose the zoom
// scale (click the picture to zoom there), S stops.
#include "player/MoviePlayerView.h"
#include "player/MoviePlayerViewDelegate.h"
#include "player/MpvEngine.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlaybackClock.h"
#include "player/PlayerControls.h"
#include "player/PlayerPanelHost.h"
#include "player/PlayerView.h"
#include "player/ZoomMenuControl.h"

#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"
#include "card/TripData.h"
#include "samplecard/SampleCardWriter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCommandLineParser>
#include <QKeyEvent>
#include <QKeySequence>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

// Stands in for the main window: prints what the panel asks of it.
class DemoWindow : public QObject, public MoviePlayerViewDelegate
{
public:
    explicit DemoWindow(MoviePlayerView *panel) : _panel(panel) {}

    void updateFrameWithStopWatch() override {}
    bool syncChapterSelection() override
    {
        std::printf("[playerdemo] chapter %lld\n",
                    static_cast<long long>(_panel->valueInfo()->currentIndex()));
        return true;
    }
    void updateFrameDisplay(bool) override {}
    void showFileNotFound() override { std::printf("[playerdemo] Unable to locate the file.\n"); }
    void showLoadFailed() override
    {
        std::printf("[playerdemo] The current video data could not be loaded.\n");
    }
    void moviePlayerNotify(int code) override { std::printf("[playerdemo] notify %d\n", code); }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(object, event);
        auto *key = static_cast<QKeyEvent *>(event);
        // The open zoom menu takes the arrows and Return.
        if (_panel->controls()->zoom()->isShown())
            return QObject::eventFilter(object, event);
        switch (key->key()) {
        case Qt::Key_Space:
            if (_panel->currentStatus() == CommonConst::PlayStatus::Play)
                _panel->pauseMovie();
            else
                _panel->playMovie();
            return true;
        case Qt::Key_S:
            _panel->stopMovie();
            return true;
        case Qt::Key_Left:
            _panel->frameBack();
            return true;
        case Qt::Key_Right:
            _panel->frameForward();
            return true;
        case Qt::Key_PageUp:
            _panel->previousChapter();
            return true;
        case Qt::Key_PageDown:
            _panel->nextChapter();
            return true;
        default:
            if (const auto scale = PlayerView::scaleFromRaw(key->key() - Qt::Key_0)) {
                PlayerView *view = _panel->playerView();
                view->resetZoom();
                view->setPlayerScale(*scale);
                view->layoutZoom();
                return true;
            }
        }
        return QObject::eventFilter(object, event);
    }

private:
    MoviePlayerView *_panel;
};

// The window's side of the tool bar: full screen only, as in the application today.
class DemoHost : public PlayerPanelHost
{
public:
    explicit DemoHost(QWidget *window) : _window(window) {}
    bool provides(Service service) const override { return service == Service::FullScreen; }
    bool isFullscreen() const override { return _full; }
    void toggleFullScreen() override
    {
        _full = !_full;
        if (!_full) {
            _window->showNormal();
            _window->resize(960, 580);
        } else {
            _window->showFullScreen();
            // Without a window manager (Xvfb) the window is not resized for it.
            _window->setGeometry(_window->screen()->geometry());
        }
    }

private:
    QWidget *_window;
    bool _full = false;
};

// Runs one scripted step; false for a step it does not know.
bool runStep(QApplication &app, MoviePlayerView &panel, const QString &action, const QString &arg)
{
    if (action == "key") {
        const QKeyCombination combo = QKeySequence::fromString(arg)[0];
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &panel;
        int key = combo.key();
        if (key == Qt::Key_Tab && (combo.keyboardModifiers() & Qt::ShiftModifier))
            key = Qt::Key_Backtab;
        QKeyEvent press(QEvent::KeyPress, key, combo.keyboardModifiers());
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, combo.keyboardModifiers());
        QApplication::sendEvent(target, &release);
    } else if (action == "click" || action == "focus") {
        auto *w = panel.controls()->control(arg);
        if (!w)
            return false;
        if (auto *b = qobject_cast<QAbstractButton *>(w); b && action == "click")
            b->click();
        else
            w->setFocus(Qt::TabFocusReason);
    } else if (action == "trim") {
        panel.setTrimMode(arg == "on");
    } else if (action == "shot") {
        panel.window()->grab().toImage().save(arg);
    } else if (action == "quit") {
        app.quit();
    } else {
        return false;
    }
    std::printf("[playerdemo] %s %s\n", qPrintable(action), qPrintable(arg));
    return true;
}

// The frame number the picture carries in its stamp (see SampleMovieArgs::frameStampFilter),
// read from a screenshot of the panel; none when a block is neither black nor white.
std::optional<int> frameStampIn(const QImage &shot, MoviePlayerView &panel, int videoWidth)
{
    const QRectF picture = panel.playerView()->maskRect().translated(panel.playerView()->pos());
    const double scale = picture.width() / videoWidth;
    int frame = 0;
    for (int bit = 0; bit < 16; ++bit) {
        const QPoint at(int(picture.x() + (32 * bit + 16) * scale), int(picture.y() + 16 * scale));
        const int grey = qGray(shot.pixel(at));
        if (grey > 64 && grey < 192)
            return std::nullopt;
        frame |= (grey >= 192 ? 1 : 0) << bit;
    }
    return frame;
}

} // namespace

int main(int argc, char **argv)
{
    // Read before the application exists, which creates the shared context.
    if (std::none_of(argv + 1, argv + argc,
                     [](const char *arg) { return qstrcmp(arg, "--own-context") == 0; }))
        QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Plays a generated trip in a window with the track bar.");
    parser.addHelpOption();
    parser.addOptions({
        {"chapters", "Number of chapters.", "N", "3"},
        {"seconds", "Length of each chapter in seconds.", "S", "5"},
        {"size", "Movie size.", "WxH", "1280x720"},
        {"fps", "Frames per second.", "F", "28"},
        {"rate", "Play rate, one of the speed slider's: 0.5, 1, 2, 3, 5 or 10.", "R", "1"},
        {"quit-after", "Quit after this many ms of playback.", "MS"},
        {"screenshot", "Save the window to this file just before quitting.", "FILE"},
        {"software", "Use mpv's software renderer even on a display."},
        {"opengl", "Use mpv's OpenGL render context even on a software OpenGL driver."},
        {"own-context", "No application-wide shared OpenGL context."},
        {"zoom", "Start zoomed at this scale (2-5) around the picture's upper left third.", "N"},
        {"cut", "Show the band of a trimmed clip and the trim-mode label."},
        {"check", "Before quitting, fail unless a picture is shown and playback reached the last chapter "
                  "(and, with --border-shots, each shot shows the new chapter's first frames)."},
        {"border-shots", "Save the window 50 ms after each of the first two chapter borders into DIR.",
         "DIR"},
        {"script", "Scripted input: MS:ACTION[:ARG];... (see the head of the source).", "STEPS"},
    });
    parser.process(app);

    const int chapters = std::max(1, parser.value("chapters").toInt());
    const int lengthMs = std::max(1000, static_cast<int>(parser.value("seconds").toDouble() * 1000));
    const QStringList size = parser.value("size").split('x');

    SampleScenario scenario;
    scenario.fps = parser.value("fps").toDouble();
    scenario.videoWidth = size.value(0).toInt();
    scenario.videoHeight = size.value(1).toInt();
    scenario.frameStamp = true;
    SampleTrip trip;
    trip.key = "202405011200";
    trip.start = QDateTime(QDate(2024, 5, 1), QTime(12, 0, 0), Qt::UTC);
    for (int i = 0; i < chapters; ++i)
        trip.chapters.push_back({i + 1, int64_t(i) * lengthMs, lengthMs});
    const int64_t total = int64_t(chapters) * lengthMs;
    trip.route = {{0, 135.0, 34.0}, {total, 135.01, 34.01}};
    trip.speed = {{0, 40.0}, {total, 60.0}};
    trip.g = {{0, 0.0, 0.0, 0.0}, {total, 0.2, -0.2, 0.05}};
    scenario.trips.push_back(trip);

    QTemporaryDir dir;
    SampleCardWriter writer(scenario);
    QList<QUrl> paths;
    for (const SampleChapter &chapter : trip.chapters) {
        const QString path = writer.chapterPath(dir.path(), trip, chapter);
        if (!writer.writeChapterMovie(trip, chapter, path)) {
            std::fprintf(stderr, "playerdemo: %s\n", qPrintable(writer.lastError()));
            return 1;
        }
        paths.append(QUrl::fromLocalFile(path));
    }
    const auto tripData = TripData::create(nullptr, paths, trip.key);

    const MpvEngine::RenderMode mode = parser.isSet("software") ? MpvEngine::RenderMode::Software
                                       : parser.isSet("opengl") ? MpvEngine::RenderMode::OpenGL
                                                                : MpvEngine::RenderMode::Automatic;
    // The application will choose its engine the same way: the panel only asks the factory.
    MoviePlayerView panel([mode] {
        auto engine = std::make_unique<MpvEngine>(mode);
        std::printf("[playerdemo] render path %s\n", engine->isSoftwareRender() ? "software" : "opengl");
        return engine;
    });
    DemoWindow window(&panel);
    panel.setDelegate(&window);
    DemoHost host(&panel);
    panel.setHost(&host);
    app.installEventFilter(&window);
    panel.setWindowTitle("playerdemo");
    QPalette dark = panel.palette();
    dark.setColor(QPalette::Window, QColor(0x16, 0x17, 0x1a));
    panel.setPalette(dark);
    panel.setAutoFillBackground(true);
    panel.resize(960, 580);
    panel.show();

    panel.setValueInfo(
        std::make_shared<PlayMovieValueInfo>(tripData->chapters(), CardData::ActiveType::MovieRec));
    panel.setAutoPlay(true);
    if (!panel.setPlayRate(parser.value("rate").toFloat())) {
        std::fprintf(stderr, "playerdemo: the speed slider has no rate %s\n",
                     qPrintable(parser.value("rate")));
        return 2;
    }
    panel.preparePlayer();
    if (const auto scale = PlayerView::scaleFromRaw(parser.value("zoom").toInt())) {
        PlayerView *view = panel.playerView();
        view->setPlayerScale(*scale);
        view->setZoomPoint(QPointF(0.33, 0.33));
        view->layoutZoom();
    }
    if (parser.isSet("cut")) {
        panel.playerView()->setCutFile(true);
        panel.playerView()->showTrimLabel(true);
        panel.playerView()->layoutZoom();
    }

    // 50 ms after the clock crosses each of the first two borders, the picture should be one of
    // the new chapter's first frames.
    int shots = 0;
    bool bordersShown = true;
    int64_t lastIndex = 0;
    const double fps = scenario.fps;
    if (parser.isSet("border-shots")) {
        QObject::connect(panel.clock(), &PlaybackClock::ticked, &panel, [&] {
            const int64_t index = panel.valueInfo()->currentIndex();
            if (index != lastIndex + 1 || shots >= 2 || panel.clock()->rate() <= 0) {
                lastIndex = index;
                return;
            }
            lastIndex = index;
            const int64_t border = PictureDataUtil::getPosition(panel.valueInfo()->timeline(), index, 0);
            // When the clock crossed the border, on its own time source (ns).
            const double crossedNs = double(*panel.clock()->lastTickNs()) -
                                     double(panel.clock()->position() - border) / panel.clock()->rate() * 1e6;
            const double since = (double(panel.clock()->now()) - crossedNs) / 1e6;
            const int shot = ++shots;
            QTimer::singleShot(
                std::max(0, int(50.0 - since)), Qt::PreciseTimer, &panel, [&, shot, index, crossedNs] {
                    const QImage image = panel.grab().toImage();
                    const double afterMs = (double(panel.clock()->now()) - crossedNs) / 1e6;
                    image.save(QString("%1/border-%2.png").arg(parser.value("border-shots")).arg(shot));
                    const auto frame = frameStampIn(image, panel, scenario.videoWidth);
                    // One of the new chapter's first frames: not past the one due at the moment of the
                    // grab (the old chapter's are far beyond it). A frame lagging behind the due one is
                    // the sync benchmark's business; it is printed.
                    const int expected = int(afterMs * panel.clock()->rate() * fps / 1000.0);
                    const bool ok = frame && *frame <= expected + 1;
                    bordersShown = bordersShown && ok;
                    std::printf(
                        "[playerdemo] border %d into chapter %lld: frame %d on screen %.0f ms after (%s)\n",
                        shot, static_cast<long long>(index + 1), frame ? *frame : -1, afterMs,
                        ok ? "the new chapter's" : "NOT the new chapter's");
                });
        });
    }

    for (const QString &step : parser.value("script").split(';', Qt::SkipEmptyParts)) {
        const QStringList parts = step.split(':');
        const QString action = parts.value(1), arg = parts.mid(2).join(':');
        QTimer::singleShot(parts.value(0).toInt(), &panel, [&app, &panel, action, arg] {
            if (!runStep(app, panel, action, arg))
                std::fprintf(stderr, "playerdemo: unknown step %s:%s\n", qPrintable(action), qPrintable(arg));
        });
    }

    if (parser.isSet("quit-after")) {
        QTimer::singleShot(parser.value("quit-after").toInt(), &app, [&] {
            const QImage shot = panel.grab().toImage();
            if (parser.isSet("screenshot"))
                shot.save(parser.value("screenshot"));
            int code = 0;
            if (parser.isSet("check")) {
                const QPoint centre = panel.playerView()->geometry().center();
                const QRgb pixel = shot.pixel(centre);
                const bool picture = qRed(pixel) + qGreen(pixel) + qBlue(pixel) > 60;
                const bool lastChapter =
                    panel.valueInfo()->currentIndex() == panel.valueInfo()->chapterCount() - 1;
                std::printf("[playerdemo] picture %s, chapter %lld of %lld\n", picture ? "shown" : "missing",
                            static_cast<long long>(panel.valueInfo()->currentIndex() + 1),
                            static_cast<long long>(panel.valueInfo()->chapterCount()));
                const bool borders = !parser.isSet("border-shots") || (shots >= 2 && bordersShown);
                code = picture && lastChapter && borders ? 0 : 1;
            }
            app.exit(code);
        });
    }
    return app.exec();
}

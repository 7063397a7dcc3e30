// playerdemo: plays a generated trip in a window with the track bar.
//
//   playerdemo [--chapters N] [--seconds S] [--size WxH] [--fps F] [--rate R]
//              [--quit-after MS] [--screenshot FILE] [--software] [--zoom N] [--cut] [--check]
//
// Space plays or pauses, Left/Right step a frame, PgUp/PgDn jump a chapter, 1-5 choose the zoom
// scale (click the picture to zoom there), S stops.
#include "player/MoviePlayerView.h"
#include "player/MoviePlayerViewDelegate.h"
#include "player/MpvEngine.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlayerView.h"

#include "card/ChapterData.h"
#include "card/TripData.h"
#include "samplecard/SampleCardWriter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <cstdio>

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
                    static_cast<long long>(_panel->_valueInfo->currentIndex()));
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
                view->playerScale = *scale;
                view->zoomPoint.reset();
                view->locationInWindow.reset();
                view->layoutZoom();
                return true;
            }
        }
        return QObject::eventFilter(object, event);
    }

private:
    MoviePlayerView *_panel;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Plays a generated trip in a window with the track bar.");
    parser.addHelpOption();
    parser.addOptions({
        {"chapters", "Number of chapters.", "N", "3"},
        {"seconds", "Length of each chapter in seconds.", "S", "5"},
        {"size", "Movie size.", "WxH", "1280x720"},
        {"fps", "Frames per second.", "F", "28"},
        {"rate", "Play rate (0.5 to 10).", "R", "1"},
        {"quit-after", "Quit after this many ms of playback.", "MS"},
        {"screenshot", "Save the window to this file just before quitting.", "FILE"},
        {"software", "Use mpv's software renderer even on a display."},
        {"zoom", "Start zoomed at this scale (2-5) around the picture's upper left third.", "N"},
        {"cut", "Show the band of a trimmed clip and the trim-mode label."},
        {"check", "Before quitting, fail unless a picture is shown and playback reached the last chapter."},
    });
    parser.process(app);

    const int chapters = std::max(1, parser.value("chapters").toInt());
    const int lengthMs = std::max(1000, static_cast<int>(parser.value("seconds").toDouble() * 1000));
    const QStringList size = parser.value("size").split('x');

    SampleScenario scenario;
    scenario.fps = parser.value("fps").toDouble();
    scenario.videoWidth = size.value(0).toInt();
    scenario.videoHeight = size.value(1).toInt();
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

    const bool software = parser.isSet("software");
    MoviePlayerView panel(nullptr, [software] {
        return std::make_unique<MpvEngine>(software ? MpvEngine::RenderMode::Software
                                                    : MpvEngine::RenderMode::Automatic);
    });
    DemoWindow window(&panel);
    panel.setDelegate(&window);
    app.installEventFilter(&window);
    panel.setWindowTitle("playerdemo");
    QPalette dark = panel.palette();
    dark.setColor(QPalette::Window, QColor(0x16, 0x17, 0x1a));
    panel.setPalette(dark);
    panel.setAutoFillBackground(true);
    panel.resize(960, 580);
    panel.show();

    panel._valueInfo =
        std::make_shared<PlayMovieValueInfo>(tripData->chapters(), CardData::ActiveType::MovieRec);
    panel.autoPlay = true;
    panel.setPlayRate(parser.value("rate").toFloat());
    panel.preparePlayer();
    if (const auto scale = PlayerView::scaleFromRaw(parser.value("zoom").toInt())) {
        PlayerView *view = panel.playerView();
        view->playerScale = *scale;
        view->zoomPoint = QPointF(0.33, 0.33);
        view->layoutZoom();
    }
    if (parser.isSet("cut")) {
        panel.playerView()->isCutFile = true;
        panel.playerView()->showTrimLabel(true);
        panel.playerView()->layoutZoom();
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
                    panel._valueInfo->currentIndex() == panel._valueInfo->chapterCount() - 1;
                std::printf("[playerdemo] picture %s, chapter %lld of %lld\n", picture ? "shown" : "missing",
                            static_cast<long long>(panel._valueInfo->currentIndex() + 1),
                            static_cast<long long>(panel._valueInfo->chapterCount()));
                code = picture && lastChapter ? 0 : 1;
            }
            app.exit(code);
        });
    }
    return app.exec();
}

// graphdemo: plays a generated trip with the driving-data panel under the video, the panel following the
// player's clock as the main window drives it. Dragging on the line chart seeks.
//
//   graphdemo [--chapters N] [--seconds S] [--mph] [--pause-after MS] [--quit-after MS] [--screenshot FILE]
//             [--software]
//
// Space plays or pauses, S stops.
#include "graph/ChapterDrivingData.h"
#include "graph/CircleChartView.h"
#include "graph/DrivingInfoView.h"
#include "graph/DrivingInfoViewDelegate.h"
#include "graph/SpeedDurations.h"
#include "player/CustomSliderCell.h"
#include "player/MoviePlayerView.h"
#include "player/MoviePlayerViewDelegate.h"
#include "player/MpvEngine.h"
#include "player/PlayMovieValueInfo.h"

#include "card/TripData.h"
#include "recording/UserDefaultUtil.h"
#include "samplecard/SampleCardWriter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <cstdio>

namespace {

// Stands in for the main window: hands every frame the player shows to the panel.
class DemoWindow : public QWidget, public MoviePlayerViewDelegate, public DrivingInfoViewDelegate
{
public:
    DemoWindow(MoviePlayerView *player, DrivingInfoView *panel, std::shared_ptr<ChapterDrivingData> source)
        : _player(player), _panel(panel), _source(std::move(source))
    {
    }

    void updateFrameWithStopWatch() override
    {
        updateFrameDisplay(_player->currentStatus() == CommonConst::PlayStatus::Play);
    }
    bool syncChapterSelection() override
    {
        updateFrameDisplay(false);
        return true;
    }
    void updateFrameDisplay(bool playing) override
    {
        // Until the first chapter is ready the panel keeps the trip it was given.
        const auto status = _player->currentStatus();
        if (status == CommonConst::PlayStatus::NotReady)
            return;
        const auto position = static_cast<int32_t>(_player->trackCell()->integerValue());
        int64_t index = 0;
        int32_t offset = 0;
        _source->chapterPosition(position, index, offset);
        if (index != _durIndex) {
            _durIndex = index;
            _durInfo = chapterDurations(static_cast<size_t>(index));
        }
        _panel->showFrame(position, _source->sampleAtPosition(position), status, playing, _durInfo);
    }
    void showFileNotFound() override { std::printf("[graphdemo] Unable to locate the file.\n"); }
    void showLoadFailed() override
    {
        std::printf("[graphdemo] The current video data could not be loaded.\n");
    }
    void moviePlayerNotify(int) override {}

    void saveDisplaySetting(bool circleChart) override
    {
        std::printf("[graphdemo] display setting of the %s changed\n",
                    circleChart ? "circle chart" : "meter");
        updateFrameDisplay(false);
    }
    void lineChartSeek(CommonConst::MouseStatus phase) override
    {
        if (phase == CommonConst::MouseStatus::MouseDown) {
            _seekStatus = _player->currentStatus();
            _released = false;
            return;
        }
        if (_released)
            return;
        const auto target = _panel->selectedPosition();
        if (!target)
            return;
        const bool up = phase == CommonConst::MouseStatus::MouseUp;
        _player->moveToPosition(*target, up ? _seekStatus : CommonConst::PlayStatus::Pause);
        updateFrameDisplay(false);
        _released = up;
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Space) {
            if (_player->currentStatus() == CommonConst::PlayStatus::Play)
                _player->pauseMovie();
            else
                _player->playMovie();
        } else if (event->key() == Qt::Key_S) {
            _player->stopMovie();
        }
    }

private:
    // The meter's animation times of one movie file, from its frames in order.
    SpeedDurationTable chapterDurations(size_t index)
    {
        std::vector<DrivingSample> frames;
        for (int32_t offset = 0; offset <= _source->chapterSpan(index); offset += 10) {
            const auto sample = _source->sampleAt(index, offset);
            if (sample && (frames.empty() || frames.back().movieTimeStampMs != sample->movieTimeStampMs))
                frames.push_back(*sample);
        }
        return SpeedDurations::build(frames);
    }

    MoviePlayerView *_player;
    DrivingInfoView *_panel;
    std::shared_ptr<ChapterDrivingData> _source;
    int64_t _durIndex = -1;
    SpeedDurationTable _durInfo;
    CommonConst::PlayStatus _seekStatus = CommonConst::PlayStatus::NotReady;
    bool _released = true;
};

// A drive that speeds up, brakes, turns both ways and loses the GPS fix for a while.
SampleTrip makeTrip(int chapters, int lengthMs)
{
    SampleTrip trip;
    trip.key = "202405011200";
    trip.start = QDateTime(QDate(2024, 5, 1), QTime(12, 0, 0), Qt::UTC);
    for (int i = 0; i < chapters; ++i)
        trip.chapters.push_back({i + 1, int64_t(i) * lengthMs, lengthMs});
    const int64_t total = int64_t(chapters) * lengthMs;
    trip.route = {{0, 135.0, 34.0}, {total, 135.02, 34.01}};
    for (int64_t at = 0; at <= total; at += 1000) {
        const double t = at / 1000.0;
        trip.speed.push_back({at, std::max(0.0, 70.0 + 55.0 * std::sin(t / 9.0) + 15.0 * std::sin(t / 2.3))});
        trip.g.push_back({at, 0.45 * std::sin(t / 3.1), 0.35 * std::cos(t / 4.7) * std::sin(t / 9.0), 0.02});
    }
    trip.gpsLostFromMs = total * 3 / 5;
    trip.gpsLostToMs = total * 3 / 5 + 4000;
    return trip;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Plays a generated trip with the driving-data panel under the video.");
    parser.addHelpOption();
    parser.addOptions({
        {"chapters", "Number of chapters.", "N", "2"},
        {"seconds", "Length of each chapter in seconds.", "S", "20"},
        {"mph", "Show the speed in mph."},
        {"pause-after", "Pause after this many ms of playback.", "MS"},
        {"quit-after", "Quit after this many ms of playback.", "MS"},
        {"screenshot", "Save the window to this file just before quitting.", "FILE"},
        {"software", "Use mpv's software renderer even on a display."},
    });
    parser.process(app);

    const int chapters = std::max(1, parser.value("chapters").toInt());
    const int lengthMs = std::max(1000, static_cast<int>(parser.value("seconds").toDouble() * 1000));
    SampleScenario scenario;
    scenario.videoWidth = 640;
    scenario.videoHeight = 360;
    const SampleTrip trip = makeTrip(chapters, lengthMs);
    scenario.trips.push_back(trip);

    QTemporaryDir dir;
    SampleCardWriter writer(scenario);
    QList<QUrl> paths;
    for (const SampleChapter &chapter : trip.chapters) {
        const QString path = writer.chapterPath(dir.path(), trip, chapter);
        if (!writer.writeChapterMovie(trip, chapter, path)) {
            std::fprintf(stderr, "graphdemo: %s\n", qPrintable(writer.lastError()));
            return 1;
        }
        paths.append(QUrl::fromLocalFile(path));
    }
    const auto tripData = TripData::create(nullptr, paths, trip.key);
    auto source = std::make_shared<ChapterDrivingData>(tripData->chapters());

    UserDefaultUtil settings(dir.filePath("settings.ini"));
    settings.speedMeter = !parser.isSet("mph");
    settings.timeZone = 1;
    const bool software = parser.isSet("software");
    auto *player = new MoviePlayerView([software] {
        return std::make_unique<MpvEngine>(software ? MpvEngine::RenderMode::Software
                                                    : MpvEngine::RenderMode::Automatic);
    });
    auto *panel = new DrivingInfoView(&settings);
    DemoWindow window(player, panel, source);
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(player, 1);
    layout->addWidget(panel);
    panel->setFixedHeight(panel->sizeHint().height());
    player->setDelegate(&window);
    panel->delegate = &window;
    window.setWindowTitle("graphdemo");
    QPalette dark = window.palette();
    dark.setColor(QPalette::Window, QColor(0x16, 0x17, 0x1a));
    window.setPalette(dark);
    window.setAutoFillBackground(true);
    window.resize(960, 720);
    window.show();
    panel->setupView();

    player->setValueInfo(
        std::make_shared<PlayMovieValueInfo>(tripData->chapters(), CardData::ActiveType::MovieRec));
    player->setAutoPlay(true);
    player->preparePlayer();
    panel->loadMovieChapters(source);
    panel->circleChartView()->loadMovieChapters(source);

    if (parser.isSet("pause-after"))
        QTimer::singleShot(parser.value("pause-after").toInt(), player, &MoviePlayerView::pauseMovie);
    if (parser.isSet("quit-after")) {
        QTimer::singleShot(parser.value("quit-after").toInt(), &app, [&] {
            if (parser.isSet("screenshot"))
                window.grab().save(parser.value("screenshot"));
            app.quit();
        });
    }
    return app.exec();
}

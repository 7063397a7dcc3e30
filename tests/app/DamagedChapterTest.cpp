// A card whose trip has a damaged chapter in the middle, in the main window: the chapter is named once
// among the files that could not be read, and playing into it stops with one alert.
#include "app/CardOpener.h"
#include "app/ItemPlayback.h"
#include "app/MainWindow.h"
#include "app/MainWindowLayout.h"
#include "app/ModalRunner.h"
#include "app/WindowCoordinators.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"
#include "card/TripData.h"
#include "graph/CircleChartView.h"
#include "graph/DrivingInfoView.h"
#include "maintenance/MessageBoxPrompter.h"
#include "player/CustomSliderCell.h"
#include "player/MediaEngine.h"
#include "player/MoviePlayerView.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlaybackClock.h"
#include "player/TrackSlider.h"
#include "recording/UserDefaultUtil.h"
#include "samplecard/SampleCardWriter.h"
#include "support/EventLoop.h"
#include "support/ModalAnswerer.h"
#include "support/TempDir.h"

#include "../maintenance/FakePrompts.h"
#include "OpenedWindow.h"

#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// Alerts stay up for a while as a user reads them: the event loop runs meanwhile, as under a modal
// alert. Counts alerts shown over another.
struct ReadingPrompter : FakePrompter
{
    void warn(QWidget *parent, const QString &text, const QString &cause = {}) override
    {
        FakePrompter::warn(parent, text, cause);
        stacked += open > 0;
        ++open;
        QEventLoop reading;
        QTimer::singleShot(readingMs, &reading, &QEventLoop::quit);
        reading.exec();
        --open;
    }
    int readingMs = 5000; // longer than the first chapter
    int open = 0;
    int stacked = 0;
};

const QString LOAD_FAILED =
    "warn: The current video data could not be loaded. Please restart the application "
    "and try again. If still unsuccessful, please select another chapter for playback.";
} // namespace

TEST(DamagedChapterTest, ListedOnceAndPlayingIntoItStopsWithOneAlert)
{
    TempDir dir;
    ASSERT_TRUE(SampleCardWriter(SampleScenario::standard()).writeCard(dir.path()));
    const QString card = SampleCardWriter::cardFolder(dir.path());
    // The first trip's middle chapter, cut short: its movie index is gone.
    const QString damaged = card + "/MOVE001/m2024050112300002.MP4";
    ASSERT_TRUE(QFile::resize(damaged, 20000));

    UserDefaultUtil settings(dir.filePath("s.conf"));
    settings.load();
    ReadingPrompter prompter;
    const std::unique_ptr<MainWindow> started = startedWindow(settings, prompter);
    MainWindow &window = *started;
    ASSERT_TRUE(openSource(window, QUrl::fromLocalFile(card + "/")));

    // The damaged chapter is named once, as still listed (it is not left out); the first trip plays only
    // after that.
    const QStringList leftOut = prompter.shown.filter("could not be read");
    ASSERT_EQ(leftOut.size(), 1);
    EXPECT_FALSE(leftOut[0].contains("left out")) << leftOut[0].toStdString();
    const QStringList lines = leftOut[0].split('\n').mid(1);
    EXPECT_EQ(lines.filter("m2024050112300002.MP4").size(), 1) << leftOut[0].toStdString();
    EXPECT_EQ(window.panels()->moviePlayerView()->valueInfo()->chapterCount(), 3) << "kept in the trip";

    // It plays into the damaged chapter after 4 s: one alert, on its own, and the clock stops.
    MoviePlayerView *player = window.panels()->moviePlayerView();
    ASSERT_TRUE(EventLoop::waitUntil([&] { return prompter.shown.size() == 2; }, std::chrono::seconds(30)));
    EXPECT_EQ(prompter.shown.last(), LOAD_FAILED);
    EventLoop::runFor(std::chrono::milliseconds(3000));
    EXPECT_EQ(prompter.shown.size(), 2) << prompter.shown.join('|').toStdString();
    EXPECT_EQ(prompter.stacked, 0) << "an alert over another";
    EXPECT_FALSE(player->clock()->isRunning()) << "the clock stops with the picture";
    const int64_t stopped = player->clock()->position();
    EventLoop::runFor(std::chrono::milliseconds(500));
    EXPECT_EQ(player->clock()->position(), stopped);
    EXPECT_NE(player->currentStatus(), CommonConst::PlayStatus::Play);
    EXPECT_EQ(player->valueInfo()->currentIndex(), 1) << "at the damaged chapter";

    const int64_t border = [&] {
        for (int64_t position = player->valueInfo()->minValue(); position < player->valueInfo()->maxValue();
             position += 10) {
            player->valueInfo()->setCurrentValue(position);
            if (player->valueInfo()->currentIndex() == 1)
                return position;
        }
        return int64_t(0);
    }();
    ASSERT_GT(border, 0);
    prompter.readingMs = 1000;
    // The same by the other ways into the chapter: the chapter row, the next-chapter button.
    const std::function<void()> ways[] = {
        [&] { window.itemPlayback().selectListItem(CommonConst::ListType::TripChapter, 0, 1, false); },
        [&] { player->nextChapter(); },
    };
    for (const auto &way : ways) {
        player->moveToPosition(border - 1500, CommonConst::PlayStatus::Play);
        EventLoop::runFor(std::chrono::milliseconds(300));
        prompter.shown.clear();
        way();
        EventLoop::runFor(std::chrono::milliseconds(2500));
        EXPECT_EQ(prompter.shown, QStringList{LOAD_FAILED});
        EXPECT_FALSE(player->clock()->isRunning());
        EXPECT_NE(player->currentStatus(), CommonConst::PlayStatus::Play);
    }
}

namespace {
// Alerts as the user sees them: a real modal box, up for a moment. The window below gets no mouse
// meanwhile, so a button let go while the box is up (the release of the click that raised it) is lost
// to the window.
struct ModalPrompter : FakePrompter
{
    void warn(QWidget *parent, const QString &text, const QString &cause = {}) override
    {
        FakePrompter::warn(parent, text, cause);
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Warning"), text, QMessageBox::Ok, parent);
        QTimer::singleShot(300, &box, [&] {
            if (const auto up = std::exchange(whileUp, nullptr))
                up();
            box.accept();
        });
        box.exec();
    }
    std::function<void()> whileUp;
};

// The clock runs, the picture moves with it and the panel beside shows the chapter's driving data.
bool plays(MainWindow &window)
{
    MoviePlayerView &player = *window.panels()->moviePlayerView();
    if (player.currentStatus() != CommonConst::PlayStatus::Play)
        player.playMovie();
    EventLoop::runFor(std::chrono::milliseconds(300));
    const int64_t from = player.clock()->position();
    const double shown = player.engine() ? player.engine()->currentTime() : -1.0;
    EventLoop::runFor(std::chrono::milliseconds(1000));
    DrivingInfoView *panel = window.coordinators()->drivingInfoView();
    return player.currentStatus() == CommonConst::PlayStatus::Play &&
           player.clock()->position() - from >= 500 && player.engine() &&
           player.engine()->currentTime() != shown && !panel->model().chart().speedData.empty() &&
           panel->model().currentIndex() == player.valueInfo()->currentIndex() &&
           !panel->circleChartView()->model().isEmpty();
}
} // namespace

// Each way into an unreadable chapter alerts once and leaves the player as it was: the next chapter,
// another trip and another card play.
TEST(DamagedChapterTest, AfterTheAlertEveryOtherRecordingPlays)
{
    TempDir dir;
    ASSERT_TRUE(SampleCardWriter(SampleScenario::standard()).writeCard(dir.path()));
    const QString card = SampleCardWriter::cardFolder(dir.path());
    ASSERT_TRUE(SampleCardWriter(SampleScenario::standard()).writeCard(dir.filePath("healthy")));
    ASSERT_TRUE(QFile::resize(card + "/MOVE001/m2024050112300002.MP4", 20000));

    UserDefaultUtil settings(dir.filePath("s.conf"));
    settings.load();
    ModalPrompter prompter;
    const std::unique_ptr<MainWindow> started = startedWindow(settings, prompter);
    MainWindow &window = *started;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(openSource(window, QUrl::fromLocalFile(card + "/")));
    MoviePlayerView *player = window.panels()->moviePlayerView();
    const auto start = [&](int chapter) {
        return PictureDataUtil::getPosition(player->valueInfo()->timeline(), chapter, 0);
    };
    const auto trackBarPoint = [&](int64_t position) {
        CustomSliderCell *cell = player->trackCell();
        const double x = CustomSliderCell::TRACK_INSET + cell->valueToPosition(position - cell->minValue());
        return player->trackSlider()->mapTo(
            &window, QPoint(qRound(x), qRound(cell->mouseTrackingArea().center().y())));
    };

    const struct
    {
        const char *way;
        std::function<void()> enter;
    } ways[] = {
        {"playing across the border",
         [&] {
             player->moveToPosition(start(1) - 500, CommonConst::PlayStatus::Play);
             EventLoop::waitUntil([&] { return !prompter.shown.isEmpty(); }, std::chrono::seconds(10));
         }},
        {"the next-chapter button", [&] { player->nextChapter(); }},
        {"a click on the track bar, let go while the alert is up",
         [&] {
             const QPoint at = trackBarPoint(start(1) + 1000);
             prompter.whileUp = [&, at] {
                 QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, at);
             };
             QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, at);
         }},
    };
    for (const auto &[way, enter] : ways) {
        SCOPED_TRACE(way);
        player->moveToPosition(start(0), CommonConst::PlayStatus::Pause);
        EventLoop::runFor(std::chrono::milliseconds(300));
        prompter.shown.clear();
        enter();
        EventLoop::runFor(std::chrono::milliseconds(500));
        EXPECT_EQ(prompter.shown, QStringList{LOAD_FAILED});
        player->nextChapter();
        EXPECT_EQ(player->valueInfo()->currentIndex(), 2);
        EXPECT_TRUE(plays(window)) << "the chapter after it";
    }

    ASSERT_TRUE(window.itemPlayback().playTripItem(1, 0, false, true));
    EXPECT_TRUE(plays(window)) << "another trip";
    ASSERT_TRUE(
        openSource(window, QUrl::fromLocalFile(SampleCardWriter::cardFolder(dir.filePath("healthy")) + "/")));
    EXPECT_TRUE(plays(window)) << "another card";
    EXPECT_EQ(prompter.shown, QStringList{LOAD_FAILED});
}

// The alerts of a chapter that is missing or cannot be loaded are real message boxes in the warning style,
// as the user can put them right; the card's own read failure stays critical.
TEST(DamagedChapterTest, AMissingOrUnloadableChapterAlertsInTheWarningStyle)
{
    TempDir dir;
    ASSERT_TRUE(SampleCardWriter(SampleScenario::standard()).writeCard(dir.path()));
    const QString card = SampleCardWriter::cardFolder(dir.path());
    ASSERT_TRUE(QFile::resize(card + "/MOVE001/m2024050112300002.MP4", 20000));

    UserDefaultUtil settings(dir.filePath("s.conf"));
    settings.load();
    MessageBoxPrompter prompter;
    ModalAnswerer answerer;
    const std::unique_ptr<MainWindow> started = startedWindow(settings, prompter);
    MainWindow &window = *started;
    ASSERT_TRUE(openSource(window, QUrl::fromLocalFile(card + "/")));
    MoviePlayerView *player = window.panels()->moviePlayerView();
    player->moveToPosition(0, CommonConst::PlayStatus::Pause);
    player->nextChapter();
    ASSERT_TRUE(EventLoop::waitUntil([&] { return answerer.boxes.size() == 2; }, std::chrono::seconds(10)));
    ASSERT_GE(window.cardData()->_tripList.size(), 2u);
    const auto second = window.cardData()->_tripList[1]->chapters();
    ASSERT_FALSE(second.empty());
    ASSERT_TRUE(QFile::remove(second.front()->_pathMp4.toLocalFile()));
    EXPECT_FALSE(window.itemPlayback().playTripItem(1, 0, false, true));
    EventLoop::runFor(std::chrono::milliseconds(300));

    const std::pair<QString, QMessageBox::Icon> expected[] = {
        {"These files could not be read", QMessageBox::Critical},
        {"The current video data could not be loaded.", QMessageBox::Warning},
        {"Unable to locate the file.", QMessageBox::Warning},
    };
    ASSERT_EQ(answerer.boxes.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(answerer.boxes[i].text.toStdString());
        EXPECT_TRUE(answerer.boxes[i].text.startsWith(expected[i].first));
        EXPECT_EQ(answerer.boxes[i].title, "Warning");
        EXPECT_EQ(answerer.boxes[i].icon, expected[i].second);
    }
}

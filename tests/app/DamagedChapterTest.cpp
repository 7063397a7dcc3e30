// A card whose trip has a damaged chapter in the middle, in the main window: the chapter is listed once
// among the files left out, and playing into it stops with one alert.
#include "app/CardOpener.h"
#include "app/ItemPlayback.h"
#include "app/MainWindow.h"
#include "app/MainWindowLayout.h"
#include "app/ModalRunner.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/TripData.h"
#include "player/MoviePlayerView.h"
#include "player/PlayMovieValueInfo.h"
#include "recording/UserDefaultUtil.h"
#include "samplecard/SampleCardWriter.h"
#include "support/EventLoop.h"
#include "support/TempDir.h"

#include "../maintenance/FakePrompts.h"
#include "OpenedWindow.h"

#include <QEventLoop>
#include <QFile>
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

    // The damaged chapter is named once; the first trip plays only after that.
    const QStringList leftOut = prompter.shown.filter("left out");
    ASSERT_EQ(leftOut.size(), 1);
    const QStringList lines = leftOut[0].split('\n').mid(1);
    EXPECT_EQ(lines.filter("m2024050112300002.MP4").size(), 1) << leftOut[0].toStdString();

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

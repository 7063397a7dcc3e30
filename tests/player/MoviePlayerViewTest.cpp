#include "player/MoviePlayerView.h"

#include "player/CustomSliderCell.h"
#include "player/MoviePlayerViewDelegate.h"
#include "player/PlayMovieValueInfo.h"
#include "player/TrackSlider.h"

#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"

#include "FakeMediaEngine.h"
#include "TripFixture.h"

#include <QFile>

#include <gtest/gtest.h>

using PlayStatus = CommonConst::PlayStatus;

namespace {

constexpr int64_t MS = 1000000; // ns

class RecordingDelegate : public QObject, public MoviePlayerViewDelegate
{
public:
    void updateFrameWithStopWatch() override
    {
        ++frames;
        if (onFrame)
            onFrame();
    }
    bool syncChapterSelection() override
    {
        ++syncs;
        if (onSync)
            onSync();
        return true;
    }
    void updateFrameDisplay(bool playing) override { displays.push_back(playing); }
    void showFileNotFound() override { ++notFound; }
    void showLoadFailed() override { ++loadFailed; }
    void moviePlayerNotify(int) override {}

    int frames = 0;
    int syncs = 0;
    int notFound = 0;
    int loadFailed = 0;
    std::vector<bool> displays;
    std::function<void()> onFrame;
    std::function<void()> onSync;
};

// An event over the trip's chapters from 500 ms on.
struct EventOnTrip : PlayMovieValueInfo
{
    explicit EventOnTrip(const ChapterList &chapters)
        : PlayMovieValueInfo(chapters, CardData::ActiveType::MovieRec)
    {
        _playType = CommonConst::PlayType::Event;
        _minValue = 500;
        _eventValue = 1500;
        clock()->setRange(_minValue, _maxValue);
    }
};

// Three generated chapters of about 2 s; the engine is a fake and the clock is the test's.
class MoviePlayerViewTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { trip = std::make_unique<TripFixture>(std::vector<int>{2000, 2000, 2000}); }
    static void TearDownTestSuite() { trip.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(trip->ok()) << qPrintable(trip->error);
        panel = std::make_unique<MoviePlayerView>(
            [this] {
                auto engine = std::make_unique<FakeMediaEngine>();
                engine->fps = 30.0;
                engines.push_back(engine.get());
                return engine;
            },
            [this] { return now; });
        panel->setDelegate(&delegate);
    }

    FakeMediaEngine *engine() const { return static_cast<FakeMediaEngine *>(panel->engine()); }
    CustomSliderCell *cell() const { return panel->trackCell(); }
    std::shared_ptr<PlayMovieValueInfo> model() const { return panel->valueInfo(); }
    bool clockRuns() const { return panel->clock()->isRunning(); }
    int64_t start(int64_t index) const { return PictureDataUtil::getPosition(trip->chapters, index, 0); }
    QString file(int index) const { return trip->chapters[index]->_pathMp4.toLocalFile(); }

    // Loads the trip and lets the first item become ready, playing or stopped.
    void load(bool play)
    {
        panel->setValueInfo(
            std::make_shared<PlayMovieValueInfo>(trip->chapters, CardData::ActiveType::MovieRec));
        panel->setAutoPlay(play);
        panel->preparePlayer();
        engine()->becomeReady();
    }
    // One clock tick after the given time.
    void tick(int64_t ms)
    {
        now += ms * MS;
        cell()->onValueChanged();
    }

    static std::unique_ptr<TripFixture> trip;
    int64_t now = 5000 * MS;
    RecordingDelegate delegate;
    std::vector<FakeMediaEngine *> engines;
    std::unique_ptr<MoviePlayerView> panel;
};

std::unique_ptr<TripFixture> MoviePlayerViewTest::trip;

} // namespace

TEST_F(MoviePlayerViewTest, PlayBeforeReadyStartsOnReadyAndSyncsOnce)
{
    panel->setValueInfo(std::make_shared<PlayMovieValueInfo>(trip->chapters, CardData::ActiveType::MovieRec));
    panel->preparePlayer();
    ASSERT_NE(engine(), nullptr);
    EXPECT_EQ(engine()->items, QStringList{file(0)});
    EXPECT_EQ(panel->currentStatus(), PlayStatus::NotReady);
    EXPECT_EQ(cell()->valueInfo(), panel->valueInfo());

    panel->playMovie();
    EXPECT_TRUE(panel->autoPlay());
    EXPECT_EQ(panel->currentStatus(), PlayStatus::NotReady);
    EXPECT_FALSE(clockRuns());

    engine()->becomeReady();
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Play);
    EXPECT_TRUE(clockRuns());
    EXPECT_FALSE(panel->autoPlay());
    EXPECT_EQ(delegate.syncs, 1);
    // The status is watched once per prepared item.
    engine()->becomeReady();
    EXPECT_EQ(delegate.syncs, 1);
}

TEST_F(MoviePlayerViewTest, ReadyWithoutAutoPlayStopsAtTheStartAndAReadyPlayerPreparesToStop)
{
    load(false);
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Stop);
    EXPECT_FALSE(clockRuns());
    EXPECT_EQ(delegate.syncs, 1);
    // The next item on the same (ready) player is stopped at once, without waiting for its status.
    panel->setValueInfo(std::make_shared<PlayMovieValueInfo>(trip->chapters, CardData::ActiveType::MovieRec));
    model()->setCurrentValue(start(2) + 10);
    panel->preparePlayer();
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Stop);
    EXPECT_EQ(engine()->items.back(), file(2));
    EXPECT_EQ(delegate.syncs, 1);
    EXPECT_EQ(engines.size(), 1u);
}

TEST_F(MoviePlayerViewTest, TheNextChapterIsPreparedAndSwappedInAtTheBorder)
{
    load(true);
    ASSERT_EQ(panel->currentStatus(), PlayStatus::Play);
    const int64_t border = start(1);
    tick(border - 1000);
    // Within the preparation lead: the second engine opens the next file at its first frame.
    ASSERT_EQ(engines.size(), 2u);
    EXPECT_EQ(panel->preparedChapterIndex(), 1);
    EXPECT_EQ(engines[1]->items, QStringList{file(1)});
    const auto firstFrame = PictureDataUtil::getMovieTimeStamp(trip->chapters, int32_t(border));
    ASSERT_TRUE(firstFrame.has_value());
    EXPECT_EQ(engines[1]->seeks.back(), int64_t(*firstFrame));
    engines[1]->becomeReady();
    std::vector<double> shown;
    QObject::connect(panel.get(), &MoviePlayerView::frameShown, [&](double t) { shown.push_back(t); });
    tick(990);
    EXPECT_EQ(panel->engine(), engines[0]);
    const int syncs = delegate.syncs;
    tick(20); // the tick that crosses the border shows the new chapter
    EXPECT_EQ(panel->engine(), engines[1]);
    EXPECT_EQ(panel->currentChapterData(), trip->chapters[1]);
    EXPECT_EQ(engines[0]->items.size(), 1); // no file was swapped into the engine on screen
    EXPECT_EQ(engines[0]->rate(), 0.0);
    EXPECT_EQ(engines[1]->rate(), 1.0); // already lagging the clock: it plays at once
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), *firstFrame / 1000.0);
    EXPECT_EQ(delegate.syncs, syncs + 1);
    EXPECT_TRUE(clockRuns());
    // The old engine waits for the chapter after.
    tick(start(2) - start(1) - 1500);
    EXPECT_EQ(panel->preparedEngine(), engines[0]);
    EXPECT_EQ(engines[0]->items.back(), file(2));
    EXPECT_EQ(engines.size(), 2u);
}

TEST_F(MoviePlayerViewTest, PreparingAReadyPlayingPlayerStopsTheClock)
{
    load(true);
    tick(500);
    ASSERT_TRUE(clockRuns());
    panel->setValueInfo(std::make_shared<PlayMovieValueInfo>(trip->chapters, CardData::ActiveType::MovieRec));
    panel->preparePlayer();
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Stop);
    EXPECT_FALSE(clockRuns());
    tick(500);
    EXPECT_EQ(model()->currentValue(), 0);
}

TEST_F(MoviePlayerViewTest, ClockModelAndTrackBarAgreeAfterEveryKindOfMove)
{
    load(false);
    const std::vector<std::function<void()>> moves = {
        [&] { panel->moveToPosition(start(1) + 300, PlayStatus::Pause); },
        [&] { panel->frameForward(); },
        [&] { panel->frameBack(); },
        [&] { panel->nextChapter(); },
        [&] { panel->previousChapter(); },
        [&] {
            cell()->setIntegerValue(start(2) + 40);
            emit cell()->userValueChanged();
        },
        [&] {
            panel->playMovie();
            tick(100);
            panel->pauseMovie();
        },
        [&] { panel->stopMovie(); },
    };
    for (size_t i = 0; i < moves.size(); ++i) {
        moves[i]();
        EXPECT_EQ(model()->currentValue(), panel->clock()->position()) << i;
        EXPECT_EQ(cell()->integerValue(), panel->clock()->position()) << i;
        EXPECT_EQ(model()->currentChapter(), panel->currentChapterData()) << i;
        EXPECT_DOUBLE_EQ(cell()->knobRect().center().x(),
                         CustomSliderCell::TRACK_INSET +
                             cell()->valueToPosition(double(panel->clock()->position())))
            << i;
    }
}

TEST_F(MoviePlayerViewTest, AFileThatOpensSlowlyIsSeekedToTheClocksPositionWhenReady)
{
    load(true);
    engine()->holdItems = true;
    tick(start(1) + 10);
    tick(33);
    ASSERT_EQ(panel->currentChapterData(), trip->chapters[1]);
    EXPECT_EQ(engine()->status(), MediaEngine::Status::Unknown);
    for (int i = 0; i < 10; ++i)
        tick(33);
    engine()->becomeReady();
    const auto expected =
        PictureDataUtil::getMovieTimeStamp(trip->chapters, int32_t(model()->currentValue()));
    ASSERT_TRUE(expected.has_value());
    EXPECT_GT(*expected, 300u);
    EXPECT_EQ(engine()->seeks.back(), int64_t(*expected));
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Play);
}

TEST_F(MoviePlayerViewTest, ClockReachingTheEndPauses)
{
    load(true);
    tick(start(2) + 5000);
    EXPECT_EQ(cell()->doubleValue(), cell()->maxValue());
    tick(33);
    tick(33);
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Pause);
    EXPECT_FALSE(clockRuns());
    EXPECT_EQ(model()->currentValue(), model()->maxValue());
}

TEST_F(MoviePlayerViewTest, StopReturnsToTheChapterStartForTripsAndToTheBoundsForEvents)
{
    load(true);
    panel->moveToPosition(start(1) + 700, PlayStatus::Play);
    panel->stopMovie();
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Stop);
    EXPECT_EQ(model()->currentValue(), start(1));
    EXPECT_EQ(cell()->integerValue(), start(1));

    // An event of the same chapters: minimum 500, stopwatch start 900.
    auto event = std::make_shared<EventOnTrip>(trip->chapters);
    panel->setValueInfo(event);
    panel->preparePlayer();
    panel->playMovie();
    panel->moveToPosition(start(1) + 700, PlayStatus::Play);
    event->setStartValueStopwatch(900);
    panel->stopMovie();
    EXPECT_EQ(event->currentValue(), 900);
    EXPECT_EQ(panel->currentChapterData(), trip->chapters[0]);
}

TEST_F(MoviePlayerViewTest, FrameStepsUseTheFrameRate)
{
    load(false);
    EXPECT_EQ(panel->frameStep(), 33);
    engine()->fps = 0.0;
    EXPECT_EQ(panel->frameStep(), 35);
    engine()->fps = 30.0;

    panel->moveToPosition(1000, PlayStatus::Pause);
    panel->frameForward();
    EXPECT_EQ(model()->currentValue(), 1033);
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Pause);
    panel->frameBack();
    panel->frameBack();
    EXPECT_EQ(model()->currentValue(), 967);

    // Back at the first frame: the minimum, stopped.
    panel->moveToPosition(20, PlayStatus::Pause);
    panel->frameBack();
    EXPECT_EQ(model()->currentValue(), 0);
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Stop);

    // Forward never passes the maximum.
    panel->moveToPosition(model()->maxValue() - 10, PlayStatus::Pause);
    panel->frameForward();
    EXPECT_EQ(model()->currentValue(), model()->maxValue());

    // Forward while playing only pauses.
    panel->moveToPosition(1000, PlayStatus::Play);
    ASSERT_EQ(panel->currentStatus(), PlayStatus::Play);
    panel->frameForward();
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Pause);
    EXPECT_EQ(model()->currentValue(), 1000);
}

TEST_F(MoviePlayerViewTest, FrameStepAcrossABorderChangesTheFileAndSelection)
{
    load(false);
    panel->moveToPosition(start(1) - 10, PlayStatus::Pause);
    const int syncs = delegate.syncs;
    panel->frameForward();
    EXPECT_EQ(model()->currentIndex(), 1);
    EXPECT_EQ(panel->currentChapterData(), trip->chapters[1]);
    EXPECT_EQ(engine()->items.back(), file(1));
    EXPECT_EQ(delegate.syncs, syncs + 1);
}

TEST_F(MoviePlayerViewTest, ChapterJumpsGoToChapterStartsAndKeepTheState)
{
    load(true);
    panel->nextChapter();
    EXPECT_EQ(model()->currentValue(), start(1));
    EXPECT_EQ(panel->currentChapterData(), trip->chapters[1]);
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Play);
    panel->nextChapter();
    panel->nextChapter(); // already the last
    EXPECT_EQ(model()->currentValue(), start(2));
    EXPECT_EQ(panel->prevAdventureChapter(), trip->chapters[1]);
    EXPECT_EQ(panel->nextAdventureChapter(), nullptr);
    panel->previousChapter();
    panel->previousChapter();
    panel->previousChapter(); // already the first
    EXPECT_EQ(model()->currentValue(), 0);
    EXPECT_EQ(panel->prevAdventureChapter(), nullptr);
    EXPECT_EQ(panel->nextAdventureChapter(), trip->chapters[1]);
    EXPECT_EQ(engine()->items, (QStringList{file(0), file(1), file(2), file(1), file(0)}));
}

TEST_F(MoviePlayerViewTest, ChapterJumpStartedInsideAJumpIsIgnored)
{
    load(false);
    int inner = 0;
    delegate.onSync = [&] {
        ++inner;
        panel->nextChapter();
    };
    panel->nextChapter();
    delegate.onSync = nullptr;
    EXPECT_GT(inner, 0);
    EXPECT_EQ(model()->currentIndex(), 1);
    EXPECT_EQ(model()->currentValue(), start(1));
}

TEST_F(MoviePlayerViewTest, MoveStartedInsideAMoveIsIgnored)
{
    load(false);
    int inner = 0;
    delegate.onFrame = [&] {
        ++inner;
        panel->moveToPosition(0, PlayStatus::Pause);
    };
    panel->moveToPosition(3000, PlayStatus::Pause);
    EXPECT_GT(inner, 0);
    EXPECT_EQ(model()->currentValue(), 3000);
    delegate.onFrame = nullptr;
    panel->moveToPosition(0, PlayStatus::Pause);
    EXPECT_EQ(model()->currentValue(), 0);
}

TEST_F(MoviePlayerViewTest, UserSeekIntoAnotherChapterMovesAndTellsTheWindow)
{
    load(false);
    const int syncs = delegate.syncs;
    cell()->setIntegerValue(start(2) + 500);
    emit cell()->userValueChanged();
    EXPECT_EQ(panel->currentChapterData(), trip->chapters[2]);
    EXPECT_EQ(model()->currentValue(), start(2) + 500);
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Pause);
    EXPECT_GE(delegate.syncs, syncs + 1);
    ASSERT_FALSE(delegate.displays.empty());
    EXPECT_FALSE(delegate.displays.back());
}

TEST_F(MoviePlayerViewTest, EndOfItemIsHeardOnceAndOnlyFromThisPlayer)
{
    load(false);
    panel->preparePlayer();
    panel->preparePlayer();
    // Another panel's player reaching its end is none of ours.
    MoviePlayerView other([] { return std::make_unique<FakeMediaEngine>(); });
    other.setValueInfo(std::make_shared<PlayMovieValueInfo>(trip->chapters, CardData::ActiveType::MovieRec));
    other.preparePlayer();
    const int syncs = delegate.syncs;
    const int items = engine()->items.size();
    static_cast<FakeMediaEngine *>(other.engine())->finishItem();
    EXPECT_EQ(delegate.syncs, syncs);

    // The position has gone on into the next chapter: the end of this item moves there once.
    model()->setCurrentValue(start(1) + 100);
    engine()->finishItem();
    EXPECT_EQ(delegate.syncs, syncs + 1);
    EXPECT_EQ(engine()->items.size(), items + 1);
    EXPECT_EQ(panel->currentChapterData(), trip->chapters[1]);
}

TEST_F(MoviePlayerViewTest, FailedMoveToAChapterClearsThePictureKeepsTheChapterAndAlertsOnce)
{
    TripFixture broken({2000, 2000});
    ASSERT_TRUE(broken.ok());
    panel->setValueInfo(
        std::make_shared<PlayMovieValueInfo>(broken.chapters, CardData::ActiveType::MovieRec));
    // Gone after the trip was read, as when the card is pulled out.
    ASSERT_TRUE(QFile::remove(broken.chapters[1]->_pathMp4.toLocalFile()));
    panel->setAutoPlay(true);
    panel->preparePlayer();
    engine()->becomeReady();
    const int64_t second = PictureDataUtil::getPosition(broken.chapters, 1, 0);
    tick(second + 10);
    tick(33);
    EXPECT_EQ(delegate.notFound, 1);
    EXPECT_FALSE(engine()->hasItem());
    EXPECT_EQ(panel->currentChapterData(), broken.chapters[1]);
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Pause);
    for (int i = 0; i < 5; ++i)
        tick(33);
    panel->playMovie();
    for (int i = 0; i < 5; ++i)
        tick(33);
    EXPECT_EQ(delegate.notFound, 1);
}

TEST_F(MoviePlayerViewTest, FailedJumpToAChapterKeepsTheTrackBarOnTheNewChapter)
{
    TripFixture broken({2000, 2000});
    ASSERT_TRUE(broken.ok());
    panel->setValueInfo(
        std::make_shared<PlayMovieValueInfo>(broken.chapters, CardData::ActiveType::MovieRec));
    ASSERT_TRUE(QFile::remove(broken.chapters[1]->_pathMp4.toLocalFile()));
    panel->preparePlayer();
    engine()->becomeReady();
    const int64_t second = PictureDataUtil::getPosition(broken.chapters, 1, 0);
    panel->nextChapter();
    EXPECT_EQ(delegate.notFound, 1);
    EXPECT_FALSE(engine()->hasItem());
    EXPECT_EQ(panel->currentChapterData(), broken.chapters[1]);
    EXPECT_EQ(cell()->integerValue(), second);
    // Playing on goes on in the new chapter, not back in the old one.
    const int items = engine()->items.size();
    panel->playMovie();
    for (int i = 0; i < 3; ++i)
        tick(33);
    EXPECT_EQ(panel->currentChapterData(), broken.chapters[1]);
    EXPECT_GT(model()->currentValue(), second);
    EXPECT_EQ(engine()->items.size(), items);
    EXPECT_EQ(delegate.notFound, 1);
}

TEST_F(MoviePlayerViewTest, FailedPrepareOfTheNextItemLeavesNoOldMoviePlaying)
{
    TripFixture broken({2000, 2000});
    ASSERT_TRUE(broken.ok());
    ASSERT_TRUE(QFile::remove(broken.chapters[0]->_pathMp4.toLocalFile()));
    load(true);
    tick(500);
    ASSERT_EQ(panel->currentStatus(), PlayStatus::Play);
    // The next item is chosen while this one plays; its first file is gone.
    panel->setValueInfo(
        std::make_shared<PlayMovieValueInfo>(broken.chapters, CardData::ActiveType::MovieRec));
    panel->preparePlayer();
    EXPECT_EQ(delegate.notFound, 1);
    // The previous item's movie is not left in the player under the new item's chapter.
    EXPECT_FALSE(engine()->hasItem());
    EXPECT_NE(panel->currentStatus(), PlayStatus::Play);
    EXPECT_FALSE(clockRuns());
    for (int i = 0; i < 5; ++i)
        tick(33);
    EXPECT_EQ(engine()->rate(), 0.0);
    EXPECT_EQ(delegate.notFound, 1);
}

TEST_F(MoviePlayerViewTest, UnplayableFileAlertsLoadFailed)
{
    auto *probe = new FakeMediaEngine;
    probe->unplayable.insert(file(0));
    std::unique_ptr<MediaEngine> owned(probe);
    MoviePlayerView view([&] { return std::move(owned); });
    view.setDelegate(&delegate);
    view.setValueInfo(std::make_shared<PlayMovieValueInfo>(trip->chapters, CardData::ActiveType::MovieRec));
    view.preparePlayer();
    EXPECT_EQ(delegate.loadFailed, 1);
    EXPECT_TRUE(probe->items.isEmpty());
}

TEST_F(MoviePlayerViewTest, ResetDropsThePlayerAndInstallsAnEmptyModel)
{
    load(true);
    panel->clearMovie(true);
    EXPECT_EQ(panel->engine(), nullptr);
    EXPECT_EQ(panel->currentStatus(), PlayStatus::NotReady);
    EXPECT_FALSE(clockRuns());
    EXPECT_TRUE(model()->chapterDataList().empty());
    EXPECT_EQ(cell()->valueInfo(), model());
    EXPECT_EQ(panel->backText(), QString("Now Loading"));
    panel->pauseMovie();
    panel->stopMovie();
    EXPECT_EQ(panel->currentStatus(), PlayStatus::NotReady);
}

TEST(MoviePlayerViewRules, EventFrameIsComputedWithoutWrapping)
{
    const struct
    {
        uint32_t event, first;
        int64_t frame;
    } cases[] = {{5000, 2000, 3000},
                 {2000, 2000, 0},
                 {1000, 2000, -1},
                 {0, 0xFFFFFFFFu, -1},
                 {0xFFFFFFFFu, 0, 0xFFFFFFFFll}};
    for (const auto &c : cases)
        EXPECT_EQ(PlayMovieValueInfo::eventFrameOf(c.event, c.first), c.frame) << c.event;
    EXPECT_NEAR(PlayerEngines::brightnessForGamma(0.1), -0.27, 1e-12);
    EXPECT_NEAR(PlayerEngines::brightnessForGamma(5.0), 0.4, 1e-12);
}

#include "player/MoviePlayerView.h"

#include "player/FrameSteps.h"
#include "player/TrackSlider.h"

#include "card/ChapterData.h"

#include "PanelFixture.h"
#include "support/EventLoop.h"

#include <QCoreApplication>
#include <QFile>

using PlayStatus = CommonConst::PlayStatus;

namespace {

using MoviePlayerViewTest = PanelFixture;

// A chapter's movie gone after the trip was read, as when the card is pulled out.
bool removeMovie(const std::shared_ptr<ChapterData> &chapter)
{
    return QFile::remove(chapter->_pathMp4.toLocalFile());
}

} // namespace

TEST_F(MoviePlayerViewTest, PlayBeforeReadyStartsOnReadyAndSyncsOnce)
{
    panel->setValueInfo(tripModel(trip->chapters));
    panel->preparePlayer();
    ASSERT_NE(engine(), nullptr);
    EXPECT_EQ(engine()->items, QStringList{file(0)});
    panel->playMovie();
    EXPECT_EQ(panel->currentStatus(), PlayStatus::NotReady);
    EXPECT_FALSE(clockRuns());

    engine()->becomeReady();
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Play);
    EXPECT_TRUE(clockRuns());
    EXPECT_FALSE(panel->autoPlay());
    // The status is watched once per prepared item.
    engine()->becomeReady();
    EXPECT_EQ(delegate.syncs, 1);
}

TEST_F(MoviePlayerViewTest, PreparingAReadyPlayerStopsItAtOnceAndStopsTheClock)
{
    load(false);
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Stop);
    EXPECT_FALSE(clockRuns());
    // The next item on a ready player, stopped or playing, is stopped without waiting for its status.
    for (const bool playing : {false, true}) {
        SCOPED_TRACE(playing);
        if (playing) {
            panel->playMovie();
            tick(500);
            ASSERT_TRUE(clockRuns());
        }
        panel->setValueInfo(tripModel(trip->chapters));
        model()->setCurrentValue(start(2) + 10);
        panel->preparePlayer();
        EXPECT_EQ(panel->currentStatus(), PlayStatus::Stop);
        EXPECT_FALSE(clockRuns());
        EXPECT_EQ(engine()->items.back(), file(2));
        tick(500);
        EXPECT_EQ(model()->currentValue(), start(2) + 10);
        EXPECT_EQ(delegate.syncs, 1);
    }
    // The two engines of an item of several chapters, made once.
    EXPECT_EQ(engines.size(), 2u);
}

TEST_F(MoviePlayerViewTest, TheNextChapterIsPreparedAndSwappedInAtTheBorder)
{
    load(true);
    ASSERT_EQ(panel->currentStatus(), PlayStatus::Play);
    // The second engine comes with the item: made at the first border, its core took the main thread
    // from a playing picture.
    ASSERT_EQ(engines.size(), 2u);
    EXPECT_TRUE(engines[1]->items.isEmpty());
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

// After each move the clock, the model, the track bar and its knob agree; a move into another chapter
// loads its file and tells the window once; a stop returns to the chapter's start.
TEST_F(MoviePlayerViewTest, ClockModelAndTrackBarAgreeAfterEveryKindOfMove)
{
    load(false);
    const struct
    {
        const char *name;
        std::function<void()> move;
        int chapter;
        PlayStatus status;
        bool tellsTheWindow;
    } moves[] = {
        {"move", [&] { panel->moveToPosition(start(1) + 300, PlayStatus::Pause); }, 1, PlayStatus::Pause,
         false},
        {"frame forward", [&] { panel->frameForward(); }, 1, PlayStatus::Pause, false},
        {"frame back", [&] { panel->frameBack(); }, 1, PlayStatus::Pause, false},
        {"next chapter", [&] { panel->nextChapter(); }, 2, PlayStatus::Stop, true},
        {"previous chapter", [&] { panel->previousChapter(); }, 1, PlayStatus::Stop, true},
        {"drag",
         [&] {
             cell()->setIntegerValue(start(2) + 40);
             emit cell()->userValueChanged();
         },
         2, PlayStatus::Pause, true},
        {"play and pause",
         [&] {
             panel->playMovie();
             tick(100);
             panel->pauseMovie();
         },
         2, PlayStatus::Pause, false},
        {"frame step over the border",
         [&] {
             // On to the second chapter's first picture, at its start: stopped there.
             panel->moveToPosition(start(1) - 10, PlayStatus::Pause);
             panel->frameForward();
         },
         1, PlayStatus::Stop, true},
        {"stop", [&] { panel->stopMovie(); }, 1, PlayStatus::Stop, false},
    };
    for (const auto &m : moves) {
        SCOPED_TRACE(m.name);
        const int syncs = delegate.syncs;
        m.move();
        const int64_t position = panel->clock()->position();
        EXPECT_EQ(model()->currentValue(), position);
        EXPECT_EQ(cell()->integerValue(), position);
        EXPECT_DOUBLE_EQ(cell()->knobRect().center().x(),
                         CustomSliderCell::TRACK_INSET + cell()->valueToPosition(double(position)));
        EXPECT_EQ(model()->currentChapter(), panel->currentChapterData());
        EXPECT_EQ(panel->currentChapterData(), trip->chapters[m.chapter]);
        EXPECT_EQ(panel->currentStatus(), m.status);
        EXPECT_EQ(engine()->items.back(), file(m.chapter));
        EXPECT_EQ(delegate.syncs, syncs + (m.tellsTheWindow ? 1 : 0));
    }
    EXPECT_EQ(model()->currentValue(), start(1)); // stopped at the chapter's start
    // The drag drew the paused frame.
    ASSERT_FALSE(delegate.displays.empty());
    EXPECT_FALSE(delegate.displays.back());
}

TEST_F(MoviePlayerViewTest, AFileThatOpensSlowlyIsSeekedToTheClocksPositionWhenReady)
{
    load(true);
    engine()->holdItems = true;
    tick(start(1) + 10);
    tick(33);
    ASSERT_EQ(panel->currentChapterData(), trip->chapters[1]);
    EXPECT_EQ(engine()->status(), MediaEngine::Status::Unknown);
    tick(33, 10);
    engine()->becomeReady();
    const auto expected =
        PictureDataUtil::getMovieTimeStamp(trip->chapters, int32_t(model()->currentValue()));
    ASSERT_TRUE(expected.has_value());
    EXPECT_GT(*expected, 300u);
    // The record's movie time, or up to a record's interval (36 ms) after it between two records.
    EXPECT_GE(engine()->seeks.back(), int64_t(*expected));
    EXPECT_LT(engine()->seeks.back(), int64_t(*expected) + 36);
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Play);
}

TEST_F(MoviePlayerViewTest, FrameStepsUseTheFrameRateAndStayInTheRange)
{
    load(false);
    engine()->fps = 0.0;
    EXPECT_EQ(panel->frameStep(), 35);
    engine()->fps = 30.0;
    panel->moveToPosition(1000, PlayStatus::Pause);
    panel->frameForward();
    EXPECT_EQ(model()->currentValue(), 1033);
    panel->frameBack();
    panel->frameBack();
    EXPECT_EQ(model()->currentValue(), 967);
    // Back at the first frame: the minimum, stopped.
    panel->moveToPosition(20, PlayStatus::Pause);
    panel->frameBack();
    EXPECT_EQ(model()->currentValue(), 0);
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Stop);
    panel->moveToPosition(model()->maxValue() - 10, PlayStatus::Pause);
    panel->frameForward();
    EXPECT_EQ(model()->currentValue(), model()->maxValue());
    // Forward while playing only pauses.
    panel->moveToPosition(1000, PlayStatus::Play);
    panel->frameForward();
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Pause);
    EXPECT_EQ(model()->currentValue(), 1000);
}

// Playing, the picture may run a picture or two ahead of the clock, and the core still shows those it had
// queued after the pause: seeking it to the clock's position stepped it back. The picture stays and the
// position comes to it, to each of those after it too, until the engine says it rests.
TEST_F(MoviePlayerViewTest, APauseKeepsThePictureAndThePositionComesToItUntilItRests)
{
    load(false);
    engine()->settlesPauses = true;
    const auto counts = [info = model()](int64_t index) { return info->pictureCount(index); };
    const auto pictureAtPosition = [&] {
        return FrameSteps::pictureAtPosition(model()->timeline(), model()->currentValue(), 30.0, counts);
    };
    // Into the second chapter, playing.
    panel->moveToPosition(start(1) + 400, PlayStatus::Play);
    tick(33, 6);
    const auto atClock = pictureAtPosition();
    ASSERT_TRUE(atClock && atClock->chapter == 1);
    const int64_t ahead = atClock->number + 2;
    engine()->show(ahead / 30.0);
    const size_t seeks = engine()->seeks.size();
    bool atRest = false;
    panel->pauseMovie();
    panel->whenPictureAtRest([&] { atRest = true; });
    EXPECT_EQ(engine()->seeks.size(), seeks) << "the picture stays";
    EXPECT_EQ(pictureAtPosition(), (FrameSteps::Picture{1, ahead}));
    EXPECT_EQ(cell()->integerValue(), model()->currentValue());
    // The core's last queued picture.
    engine()->show((ahead + 1) / 30.0);
    EXPECT_EQ(pictureAtPosition(), (FrameSteps::Picture{1, ahead + 1}));
    engine()->settle();
    EXPECT_FALSE(atRest) << "a waiter runs on a later pass of the event loop";
    QCoreApplication::processEvents();
    EXPECT_TRUE(atRest);
    // At rest nothing the engine shows moves the position; a frame step goes on from the picture.
    engine()->show((ahead + 5) / 30.0);
    EXPECT_EQ(pictureAtPosition(), (FrameSteps::Picture{1, ahead + 1}));
    panel->frameForward();
    EXPECT_EQ(pictureAtPosition(), (FrameSteps::Picture{1, ahead + 2}));
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Pause);

    // A waiter while nothing settles runs at once; a play ends the wait, the waiter runs after it.
    atRest = false;
    panel->whenPictureAtRest([&] { atRest = true; });
    EXPECT_TRUE(atRest);
    panel->playMovie();
    tick(33, 3);
    engine()->setRate(1.0);
    panel->pauseMovie();
    atRest = false;
    panel->whenPictureAtRest([&] { atRest = true; });
    panel->playMovie();
    QCoreApplication::processEvents();
    EXPECT_TRUE(atRest);
}

// At the rates that seek on every tick the picture is on its way to the position, and at the item's end its
// last picture is the end's: a pause there brings the picture to the position, forward.
TEST_F(MoviePlayerViewTest, AtTheFastRatesAPauseBringsThePictureToThePosition)
{
    load(false);
    engine()->settlesPauses = true;
    ASSERT_TRUE(panel->setPlayRate(3.0f));
    panel->moveToPosition(start(1) + 400, PlayStatus::Play);
    tick(33, 6);
    const int64_t position = model()->currentValue();
    engine()->show(0.1);
    panel->pauseMovie();
    ASSERT_FALSE(engine()->seeks.empty());
    EXPECT_EQ(engine()->seeks.back(), *model()->movieTimeOfCurrentFrame());
    EXPECT_EQ(model()->currentValue(), position);
}

TEST_F(MoviePlayerViewTest, ChapterJumpsGoToChapterStartsAndKeepPlayingUntilTheEndPauses)
{
    load(true);
    panel->nextChapter();
    EXPECT_EQ(model()->currentValue(), start(1));
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Play);
    panel->nextChapter();
    panel->nextChapter(); // already the last
    EXPECT_EQ(model()->currentValue(), start(2));
    EXPECT_EQ(panel->prevAdventureChapter(), trip->chapters[1]);
    EXPECT_EQ(panel->nextAdventureChapter(), nullptr);
    for (int i = 0; i < 3; ++i) // the last one at the first chapter
        panel->previousChapter();
    EXPECT_EQ(model()->currentValue(), 0);
    EXPECT_EQ(panel->prevAdventureChapter(), nullptr);
    EXPECT_EQ(panel->nextAdventureChapter(), trip->chapters[1]);
    EXPECT_EQ(engine()->items, (QStringList{file(0), file(1), file(2), file(1), file(0)}));
    // Playing on to the end pauses there.
    tick(start(2) + 5000);
    EXPECT_EQ(cell()->doubleValue(), cell()->maxValue());
    tick(33, 2);
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Pause);
    EXPECT_FALSE(clockRuns());
    EXPECT_EQ(model()->currentValue(), model()->maxValue());
}

TEST_F(MoviePlayerViewTest, AMoveOrChapterJumpStartedInsideAnotherIsIgnored)
{
    load(false);
    int inner = 0;
    delegate.onFrame = [&] { ++inner, panel->moveToPosition(0, PlayStatus::Pause); };
    panel->moveToPosition(3000, PlayStatus::Pause);
    EXPECT_GT(inner, 0);
    EXPECT_EQ(model()->currentValue(), 3000);
    delegate.onFrame = nullptr;
    panel->moveToPosition(0, PlayStatus::Pause);
    inner = 0;
    delegate.onSync = [&] { ++inner, panel->nextChapter(); };
    panel->nextChapter();
    delegate.onSync = nullptr;
    EXPECT_GT(inner, 0);
    EXPECT_EQ(model()->currentIndex(), 1);
    EXPECT_EQ(model()->currentValue(), start(1));
}

TEST_F(MoviePlayerViewTest, EndOfItemIsHeardOnceAndOnlyFromThisPlayer)
{
    load(false);
    panel->preparePlayer();
    panel->preparePlayer();
    // Another panel's player reaching its end is none of ours.
    MoviePlayerView other([] { return std::make_unique<FakeMediaEngine>(); });
    other.setValueInfo(tripModel(trip->chapters));
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

TEST_F(MoviePlayerViewTest, AFailedMoveToAChapterClearsThePictureKeepsTheChapterAndAlertsOnce)
{
    TripFixture broken({2000, 2000});
    ASSERT_TRUE(broken.ok());
    const int64_t second = PictureDataUtil::getPosition(broken.chapters, 1, 0);
    // Playing over the border, then a chapter jump while stopped.
    for (const bool jump : {false, true}) {
        SCOPED_TRACE(jump);
        delegate.notFound = 0;
        load(!jump, broken.chapters);
        if (jump) {
            panel->nextChapter();
        } else {
            ASSERT_TRUE(removeMovie(broken.chapters[1]));
            tick(second + 10);
            tick(33);
        }
        EXPECT_EQ(delegate.notFound, 1);
        EXPECT_FALSE(engine()->hasItem());
        EXPECT_EQ(panel->currentChapterData(), broken.chapters[1]);
        EXPECT_EQ(panel->currentStatus(), PlayStatus::Pause);
        EXPECT_GE(cell()->integerValue(), second); // the track bar stays in the new chapter
        // Playing on goes on in the new chapter, not back in the old one.
        const int64_t at = model()->currentValue();
        const int items = engine()->items.size();
        panel->playMovie();
        tick(33, 3);
        EXPECT_EQ(panel->currentChapterData(), broken.chapters[1]);
        EXPECT_GT(model()->currentValue(), at);
        EXPECT_EQ(engine()->items.size(), items);
        EXPECT_EQ(delegate.notFound, 1);
    }
}

TEST_F(MoviePlayerViewTest, FailedPrepareOfTheNextItemLeavesNoOldMoviePlaying)
{
    TripFixture broken({2000, 2000});
    ASSERT_TRUE(broken.ok());
    ASSERT_TRUE(removeMovie(broken.chapters[0]));
    load(true);
    tick(500);
    ASSERT_EQ(panel->currentStatus(), PlayStatus::Play);
    // The next item is chosen while this one plays; its first file is gone.
    panel->setValueInfo(tripModel(broken.chapters));
    panel->preparePlayer();
    EXPECT_EQ(delegate.notFound, 1);
    // The previous item's movie is not left in the player under the new item's chapter.
    EXPECT_FALSE(engine()->hasItem());
    EXPECT_NE(panel->currentStatus(), PlayStatus::Play);
    EXPECT_FALSE(clockRuns());
    tick(33, 5);
    EXPECT_EQ(engine()->rate(), 0.0);
    EXPECT_EQ(delegate.notFound, 1);
}

TEST_F(MoviePlayerViewTest, UnplayableFileAlertsLoadFailed)
{
    auto owned = std::make_unique<FakeMediaEngine>();
    FakeMediaEngine *probe = owned.get();
    probe->unplayable.insert(file(0));
    // The engine on screen, then the one for the next chapter.
    MoviePlayerView view([&] {
        return owned ? std::unique_ptr<FakeMediaEngine>(std::move(owned))
                     : std::make_unique<FakeMediaEngine>();
    });
    view.setDelegate(&delegate);
    view.setValueInfo(tripModel(trip->chapters));
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

// Engines made ahead, while no item is held, are the ones the next item takes: it makes none itself, and
// they carry the sound chosen after they were made. A reset keeps them until then.
TEST_F(MoviePlayerViewTest, EnginesMadeAheadAreTakenByTheNextItem)
{
    panel->makeEnginesAhead();
    EXPECT_TRUE(engines.empty()) << "made on later passes of the event loop, not in the caller's";
    ASSERT_TRUE(EventLoop::waitUntil([&] { return panel->spareEngines() == PlayerEngines::SPARES; }));
    EventLoop::runFor(std::chrono::milliseconds(50));
    ASSERT_EQ(engines.size(), size_t(PlayerEngines::SPARES));
    panel->clearMovie(true);
    panel->setMute(true);
    panel->setValueInfo(tripModel(trip->chapters));
    panel->setAutoPlay(true);
    panel->preparePlayer();
    EXPECT_EQ(engines.size(), size_t(PlayerEngines::SPARES)) << "no engine made at the item's preparation";
    EXPECT_EQ(panel->spareEngines(), 0);
    EXPECT_EQ(panel->engine(), engines[0]);
    EXPECT_TRUE(engines[0]->isMuted());
    EXPECT_TRUE(engines[1]->isMuted());
    engine()->becomeReady();
    tick(500);
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Play);
}

// An item that comes before the engines are made ahead has made its own: no spare is made after it.
TEST_F(MoviePlayerViewTest, NoEngineIsMadeAheadForAPlayerThatHoldsOne)
{
    panel->makeEnginesAhead();
    load(false);
    const size_t made = engines.size();
    EventLoop::runFor(std::chrono::milliseconds(50));
    EXPECT_EQ(panel->spareEngines(), 0);
    EXPECT_EQ(engines.size(), made);
}

TEST(MoviePlayerViewRules, BrightnessOffsetsAtTheGammaEnds)
{
    EXPECT_NEAR(PlayerEngines::brightnessForGamma(0.1), -0.27, 1e-12);
    EXPECT_NEAR(PlayerEngines::brightnessForGamma(5.0), 0.4, 1e-12);
}

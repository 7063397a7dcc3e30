// The stopwatch: its model on the shared tool card, then the window's buttons, keys and hiding.
#include "videotools/StopWatchModel.h"
#include "videotools/StopWatchView.h"

#include "ToolTestCard.h"
#include "card/ChapterTimeline.h"
#include "card/EventClip.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"
#include "recording/UserDefaultUtil.h"
#include "support/EventLoop.h"
#include "support/LostRecord.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

struct FakeDelegate : StopWatchViewDelegate
{
    std::vector<StopWatchMarkers> markers;
    int hidden = 0;
    void updateStopWatchMarkers(const StopWatchMarkers &m) override { markers.push_back(m); }
    void stopWatchHidden() override { ++hidden; }
};

class StopWatchModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        _model.setChapterDataList(ToolTestCard::shared().trip._tripList.front()->sortedChapters());
        _model.onMarkersChanged = [this](const StopWatchMarkers &markers) { _sent.push_back(markers); };
    }
    void at(int64_t ms) { _model.setCurrentMs(ms); }

    StopWatchModel _model;
    std::vector<StopWatchMarkers> _sent;
};

// A trip of twelve chapters none of which has been read yet, as just after a card's opening; optionally
// with one chapter's record lost.
struct UnreadTrip
{
    static constexpr size_t CHAPTERS = 12;
    explicit UnreadTrip(std::optional<int> lostRecord = std::nullopt)
        : UnreadTrip(lostRecord ? std::vector<int>{*lostRecord} : std::vector<int>{})
    {
    }
    explicit UnreadTrip(const std::vector<int> &lostRecords)
    {
        SampleScenario scenario = SampleScenario::chapters(int(CHAPTERS), 2000);
        scenario.movieMs = 500;
        EXPECT_TRUE(SampleCardWriter(scenario).writeCard(dir.path()));
        for (const int lost : lostRecords)
            EXPECT_TRUE(loseMovieRecord(dir.filePath("MOVE"), lost));
        card.loadCardFolder(FileUtil::fileUrl(dir.filePath("MOVE")));
        chapters = card._tripList.front()->sortedChapters();
    }
    ~UnreadTrip() { card.dispose(); }
    int64_t at(int64_t index, int32_t offset) const
    {
        return PictureDataUtil::getPosition(chapters, index, offset);
    }

    TempDir dir;
    CardData card;
    ChapterList chapters;
};

} // namespace

TEST_F(StopWatchModelTest, NineLapsFillTheRowsAndTheTenthIsTheRunningLap)
{
    at(1000);
    _model.startStop();
    for (int lap = 1; lap <= 9; ++lap) {
        EXPECT_TRUE(_model.buttons().lapReset) << lap;
        at(1000 + lap * 2000);
        _model.lapReset();
        EXPECT_EQ(_model.lastMarkSumFrameTimeSpan(), 1000 + lap * 2000);
    }
    EXPECT_TRUE(!_model.buttons().lapReset && _model.buttons().previousLap) << "ten laps at most";
    at(21500);
    const auto rows = _model.rows();
    EXPECT_EQ(rows[8]->pos, 19000);
    EXPECT_EQ(rows[9]->lapTimeSpan, 2500);
    EXPECT_EQ(_sent.back().lapMs.size(), 9u);

    _model.previousLap();
    EXPECT_TRUE(_model.buttons().lapReset);
    EXPECT_EQ(_model.lastMarkSumFrameTimeSpan(), 17000);
    EXPECT_EQ(_model.rows()[8]->lapTimeSpan, 4500); // the running lap now starts at the eighth mark
}

TEST_F(StopWatchModelTest, ButtonsMarkersAndRowsThroughTheStates)
{
    const auto buttons = [this] {
        const auto b = _model.buttons();
        return std::array{b.startStop, b.lapReset, b.previousLap};
    };
    EXPECT_EQ(buttons(), (std::array{true, false, false}));
    EXPECT_FALSE(_model.total());
    _model.startStop(); // at the trip's very start: 0 is a marker like any other
    EXPECT_EQ(_sent.back(), (StopWatchMarkers{StopWatchStatus::Start, 0, {}, 0, 0}));
    EXPECT_EQ(buttons(), (std::array{true, true, false}));
    at(5000);
    // The running lap and the total reach from the start to the position.
    EXPECT_EQ(
        (std::array{_model.rows()[0]->lapTimeSpan, _model.rows()[0]->aveSpeed, _model.total()->lapTimeSpan}),
        (std::array<int64_t, 3>{5000, 100, 5000}));
    EXPECT_FALSE(_model.rows()[1]);
    _model.lapReset();
    EXPECT_EQ(buttons(), (std::array{true, true, true}));
    at(7000);
    _model.stopMeasurement(); // the player's Stop button
    EXPECT_EQ(buttons(), (std::array{false, true, false}));
    EXPECT_EQ(_sent.back(), (StopWatchMarkers{StopWatchStatus::Stop, 0, {5000}, 7000, 7000}));
    EXPECT_EQ(_model.rows()[1]->lapTimeSpan, 2000); // the final lap from the last mark to the stop
    at(9000);                                       // playing on after the stop changes nothing
    EXPECT_EQ(_model.total()->lapTimeSpan, 7000);

    _model.lapReset(); // RESET in Stop
    EXPECT_EQ(_model.status(), StopWatchStatus::Ready);
    EXPECT_EQ(buttons(), (std::array{true, false, false}));
    EXPECT_EQ(_sent.back(), StopWatchMarkers{});
    EXPECT_FALSE(_model.rows()[0]);
    _model.stopMeasurement();
    EXPECT_EQ(_model.status(), StopWatchStatus::Ready); // only a running measurement stops
}

TEST_F(StopWatchModelTest, AverageSpeedsInTheUnitShown)
{
    EXPECT_EQ(_model.setLap(1000, 8000).aveSpeed, 100);
    _model.setSpeedMeter(false);
    const LapInfo mph = _model.setLap(1000, 8000);
    EXPECT_EQ(mph.aveSpeed, 62); // floor(100 / 1.6093)
    EXPECT_EQ(StopWatchModel::speedText(mph, false), "62MPH");

    // Backwards or empty laps, and a list without driving data, give 0.
    const LapInfo backwards = _model.setLap(5000, 3000);
    EXPECT_EQ((std::array{backwards.pos, backwards.lapTimeSpan, backwards.aveSpeed}),
              (std::array<int64_t, 3>{5000, 0, 0}));
    _model.clearData();
    const LapInfo empty = _model.setLap(1000, 8000);
    EXPECT_EQ(empty.lapTimeSpan, 7000);
    EXPECT_EQ(empty.aveSpeed, 0);
    EXPECT_EQ(_model.getDistance(5000), 0.0f);
}

// A chapter whose driving data had not come when a lap was first measured over it counts once it
// has come: its distance is not kept as the 0 it had without data.
TEST(StopWatchDistanceTest, AChapterWhoseDataCameLateCountsInTheDistance)
{
    const struct
    {
        const char *name;
        bool heldBack;
    } cases[] = {
        {"the data there", false},
        {"the data held back", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        ASSERT_TRUE(SampleCardWriter(SampleScenario::standard()).writeCard(dir.path()));
        CardData card;
        card.loadCardFolder(FileUtil::fileUrl(dir.filePath("MOVE")));
        ASSERT_FALSE(card._advMoveProtectList.empty());
        const EventClip clip = card.getAdventureChapters(*card._advMoveProtectList.front());
        ASSERT_TRUE(clip.chapters && clip.chapters->size() == 3);
        const ChapterList &chapters = *clip.chapters;
        const std::shared_ptr<ChapterData> middle = chapters[1];
        const QString path = middle->_pathMove.toLocalFile();
        if (c.heldBack) {
            // A worker's first read finds the movie away for a moment.
            ASSERT_TRUE(QFile::rename(path, path + ".away"));
            EXPECT_FALSE(middle->retryPicture());
            ASSERT_TRUE(QFile::rename(path + ".away", path));
        }
        const int64_t end = PictureDataUtil::getPosition(chapters, 2, 0) + 1000;
        StopWatchModel model;
        model.setChapterDataList(chapters);
        model.getDistance(end);
        ASSERT_TRUE(middle->retryPicture());
        StopWatchModel fresh;
        fresh.setChapterDataList(chapters);
        EXPECT_GT(fresh.getDistance(end), fresh.getDistance(PictureDataUtil::getPosition(chapters, 1, 0)));
        EXPECT_EQ(model.getDistance(end), fresh.getDistance(end));
        card.dispose();
    }
}

TEST(StopWatchTextTest, RowTexts)
{
    const std::pair<int64_t, const char *> times[] = {
        {83456, "01'23\"4"}, {3723456, "62'03\"4"}, {99, "00'00\"0"}};
    for (const auto &[ms, text] : times)
        EXPECT_EQ(StopWatchModel::lapTimeText(LapInfo{0, ms, 0}), text);
    EXPECT_EQ(StopWatchModel::speedText(std::nullopt, false), "-MPH");
}

TEST(StopWatchEventTest, AnEventOrAdventureReplacesTheItemAndStartsAtItsStart)
{
    TempDir dir;
    ASSERT_TRUE(SampleCardWriter(SampleScenario::standard()).writeCard(dir.path()));
    CardData card;
    card.loadCardFolder(FileUtil::fileUrl(dir.filePath("MOVE")));
    ASSERT_FALSE(card._moveProtectList.empty());
    ASSERT_FALSE(card._advMoveProtectList.empty());
    StopWatchModel model;
    std::vector<StopWatchMarkers> sent;
    model.onMarkersChanged = [&](const StopWatchMarkers &m) { sent.push_back(m); };
    const auto load = [&](auto &record, auto clipOf, auto setter) {
        model.setChapterDataList(card._tripList.front()->sortedChapters());
        model.setCurrentMs(900);
        model.startStop();
        (model.*setter)(card, record);
        const EventClip clip = (card.*clipOf)(record);
        ASSERT_TRUE(clip.chapters);
        EXPECT_EQ(model.chapterDataList(), *clip.chapters);
        EXPECT_EQ(model.currentMs(), clip.start);
        EXPECT_EQ(model.status(), StopWatchStatus::Ready);
        EXPECT_EQ(sent.back(), StopWatchMarkers{});
    };
    MoveProtectInfo &event = *card._moveProtectList.front();
    load(event,
         event._detect == MoveProtectInfo::DetectStatus::SURV ? &CardData::getSurveillanceChapters
                                                              : &CardData::getEventChapters,
         &StopWatchModel::setEventChapters);
    load(*card._advMoveProtectList.front(), &CardData::getAdventureChapters,
         &StopWatchModel::setTripChapters);
    card.dispose();
}

TEST(StopWatchViewTest, EscapeAndCloseHideAndKeepTheLaps)
{
    TempDir dir;
    UserDefaultUtil settings(dir.filePath("settings.ini"));
    StopWatchView view(settings);
    FakeDelegate delegate;
    view.setDelegate(&delegate);
    view.model().setChapterDataList(ToolTestCard::shared().trip._tripList.front()->sortedChapters());
    view.setupWindow();
    view.show();
    EXPECT_EQ(view.lapText(0), "--'--\"-");
    EXPECT_EQ(view.speedText(10), "-km/h");

    view.setCurrentSumFrameTimeSpan(2000);
    view.btnStartStop->click();
    view.setCurrentSumFrameTimeSpan(6000);
    view.btnLapReset->click();
    view.setCurrentSumFrameTimeSpan(9000);
    view.redrawLaps();
    const QStringList shown{view.lapText(0), view.lapText(1), view.lapText(10), view.speedText(1)};
    EXPECT_EQ(shown, (QStringList{"00'04\"0", "00'03\"0", "00'07\"0", "100km/h"}));
    EXPECT_EQ(delegate.markers.back().lapMs, std::vector<int64_t>{6000});
    EXPECT_EQ(view.btnReturn->toolTip(), "PREVIOUS LAP");

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &escape);
    EXPECT_FALSE(view.isVisible());
    view.show();
    view.close(); // the close button
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(delegate.hidden, 2);
    view.show();
    EXPECT_EQ((QStringList{view.lapText(0), view.lapText(1), view.lapText(10), view.speedText(1)}), shown);

    // Stop: only LAP/RESET is left, and it resets.
    view.btnStartStop->click();
    EXPECT_FALSE(view.btnStartStop->isEnabled());
    EXPECT_EQ(view.btnStartStop->toolTip(), QString());
    view.btnLapReset->click();
    EXPECT_EQ(view.lapText(0), "--'--\"-");
    EXPECT_EQ(delegate.markers.back(), StopWatchMarkers{});
}

// With the recordings read elsewhere, a lap over chapters nobody has read yet reads here only the chapters
// at its ends and at the position: the speed waits for each chapter in between, asked once, and is then
// the speed reading them all here gives. A chapter whose read brought nothing counts as without driving
// data, as it does here.
TEST(StopWatchDistanceTest, ALapOverUnreadChaptersWaitsForTheirReadsElsewhere)
{
    for (const bool unreadable : {false, true}) {
        SCOPED_TRACE(unreadable ? "a chapter that cannot be read" : "every chapter readable");
        UnreadTrip trip;
        ASSERT_EQ(trip.chapters.size(), UnreadTrip::CHAPTERS);
        const QString away = trip.chapters[2]->_pathMove.toLocalFile();
        if (unreadable)
            ASSERT_TRUE(QFile::rename(away, away + ".away"));
        StopWatchModel model;
        std::vector<std::shared_ptr<ChapterData>> asked;
        model.readElsewhere = [&](const std::shared_ptr<ChapterData> &chapter) { asked.push_back(chapter); };
        model.setChapterDataList(trip.chapters);
        const uint64_t before = ChapterData::mainThreadReads();
        model.setCurrentMs(trip.at(0, 1000));
        model.startStop();
        model.setCurrentMs(trip.at(6, 500));
        model.lapReset();
        model.setCurrentMs(trip.at(10, 1500));
        const auto total = model.total();
        ASSERT_TRUE(total);
        EXPECT_EQ(model.laps()[0].lapTimeSpan, trip.at(6, 500) - trip.at(0, 1000));
        EXPECT_TRUE(model.laps()[0].isSpeedPending && model.rows()[1]->isSpeedPending &&
                    total->isSpeedPending);
        EXPECT_EQ(StopWatchModel::speedText(total, true), "-km/h");
        EXPECT_LE(ChapterData::mainThreadReads() - before, 3u) << "the lap's ends and the position at most";
        ASSERT_EQ(asked.size(), 10u) << "each whole chapter before the position, once";

        for (const auto &chapter : asked) {
            chapter->getPicture(true);
            model.chapterRead(*chapter);
        }
        StopWatchModel here;
        here.setChapterDataList(trip.chapters);
        const LapInfo lap = here.setLap(trip.at(0, 1000), trip.at(6, 500));
        const LapInfo whole = here.setLap(trip.at(0, 1000), trip.at(10, 1500));
        EXPECT_GT(lap.aveSpeed, 0);
        EXPECT_EQ((std::array{model.laps()[0].aveSpeed, model.total()->aveSpeed}),
                  (std::array{lap.aveSpeed, whole.aveSpeed}));
        EXPECT_FALSE(model.laps()[0].isSpeedPending || model.total()->isSpeedPending);
        if (unreadable)
            ASSERT_TRUE(QFile::rename(away + ".away", away));
    }
}

// A chapter whose record was lost, before one that has its record, is as long as only its recording tells.
// Until it is read the stopwatch reads positions on the player's timeline, which takes the recording's own
// span, and reads that chapter elsewhere like the others; once it has come the marks stay on their pictures
// and the laps are measured on the length learned, as a stopwatch started afterwards measures them.
TEST(StopWatchDistanceTest, ALengthLearnedLaterKeepsTheMarksOnTheirPictures)
{
    UnreadTrip trip(1);
    ASSERT_EQ(trip.chapters.size(), UnreadTrip::CHAPTERS);
    ASSERT_FALSE(trip.chapters[1]->_vmmInfo);
    const ChapterTimeline played(trip.chapters);
    ASSERT_FALSE(played.isSettled());
    StopWatchModel model;
    std::vector<std::shared_ptr<ChapterData>> asked;
    model.readElsewhere = [&](const std::shared_ptr<ChapterData> &chapter) { asked.push_back(chapter); };
    std::vector<StopWatchMarkers> sent;
    model.onMarkersChanged = [&sent](const StopWatchMarkers &markers) { sent.push_back(markers); };
    model.setChapterDataList(trip.chapters);
    const uint64_t before = ChapterData::mainThreadReads();
    model.setCurrentMs(played.position(0, 1000));
    model.startStop();
    model.setCurrentMs(played.position(6, 500));
    model.lapReset();
    model.setCurrentMs(played.position(10, 1500));
    ASSERT_TRUE(model.total());
    EXPECT_LE(ChapterData::mainThreadReads() - before, 3u) << "the lap's ends and the position at most";
    EXPECT_FALSE(model.refreshTimeline()) << "nothing learned yet";

    for (const auto &chapter : asked) {
        chapter->getPicture(true);
        model.chapterRead(*chapter);
    }
    ASSERT_TRUE(model.refreshTimeline());
    const ChapterTimeline settled(trip.chapters);
    ASSERT_TRUE(settled.isSettled());
    ASSERT_NE(settled.length(1), played.length(1));
    EXPECT_EQ(model.startMs(), settled.position(0, 1000));
    ASSERT_EQ(model.laps().size(), 1u);
    EXPECT_EQ(model.laps()[0].pos, settled.position(6, 500));
    EXPECT_EQ(model.currentMs(), settled.position(10, 1500));
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().lapMs, std::vector<int64_t>{settled.position(6, 500)}) << "the track bar's marks";

    StopWatchModel afterwards;
    afterwards.setChapterDataList(trip.chapters);
    const LapInfo lap = afterwards.setLap(settled.position(0, 1000), settled.position(6, 500));
    const LapInfo whole = afterwards.setLap(settled.position(0, 1000), settled.position(10, 1500));
    EXPECT_GT(lap.aveSpeed, 0);
    EXPECT_EQ((std::array{model.laps()[0].lapTimeSpan, model.laps()[0].aveSpeed, model.total()->aveSpeed}),
              (std::array{lap.lapTimeSpan, lap.aveSpeed, whole.aveSpeed}));
    EXPECT_FALSE(model.refreshTimeline());
}

// Over a trip whose odd chapters lost their records, the lengths learned before the marks, inside the lap,
// after it or in turns with the stopwatch's own reads: once all have come the lap and the total are those
// of a stopwatch started afterwards. Each whole chapter is looked up at most twice (asked for, then kept
// once read), however often the laps are worked out again: the kept distances are summed, not walked.
TEST(StopWatchDistanceTest, LapsOverLengthsLearnedAtAnyTimeMatchAStopwatchStartedAfterwards)
{
    using Place = ChapterTimeline::Place;
    const Place startAt{0, 1000}, lapAt{6, 500}, currentAt{10, 1500};
    const struct
    {
        const char *name;
        std::vector<size_t> learnedBefore; // read before the marks
        bool readsBeforeLengths;           // the stopwatch's reads handed over before the lengths
    } cases[] = {
        {"all after the lap", {}, false},  {"all before the marks", {1, 3, 5, 7, 9}, false},
        {"inside the lap", {3, 5}, false}, {"after the lap's end", {7, 9}, true},
        {"the reads first", {}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        UnreadTrip trip(std::vector<int>{1, 3, 5, 7, 9});
        ChapterTimeline played(trip.chapters);
        ASSERT_FALSE(played.isSettled());
        StopWatchModel model;
        std::vector<std::shared_ptr<ChapterData>> asked;
        model.readElsewhere = [&](const std::shared_ptr<ChapterData> &chapter) { asked.push_back(chapter); };
        model.setChapterDataList(trip.chapters);
        const auto refresh = [&] {
            played.refresh();
            model.refreshTimeline();
            model.rows();
            model.total();
        };
        for (const size_t i : c.learnedBefore)
            ASSERT_TRUE(trip.chapters[i]->getPicture(true));
        refresh();
        model.setCurrentMs(played.position(startAt));
        model.startStop();
        model.setCurrentMs(played.position(lapAt));
        model.lapReset();
        model.setCurrentMs(played.position(currentAt));
        refresh();

        // The stopwatch's reads and the workers' hand-overs, each followed by a refresh as in the window.
        const auto readAsked = [&] {
            for (const auto &chapter : std::exchange(asked, {})) {
                chapter->getPicture(true);
                model.chapterRead(*chapter);
                refresh();
            }
        };
        if (c.readsBeforeLengths)
            readAsked();
        for (const size_t i : {9, 1, 7, 3, 5}) {
            trip.chapters[i]->getPicture(true);
            refresh();
        }
        readAsked();
        ASSERT_TRUE(played.isSettled());
        EXPECT_LE(model.chapterLookups(), 2 * UnreadTrip::CHAPTERS);
        const uint64_t lookups = model.chapterLookups();
        refresh();
        EXPECT_EQ(model.chapterLookups(), lookups) << "kept sums only";

        StopWatchModel afterwards;
        afterwards.setChapterDataList(trip.chapters);
        const LapInfo lap = afterwards.setLap(played.position(startAt), played.position(lapAt));
        const LapInfo whole = afterwards.setLap(played.position(startAt), played.position(currentAt));
        ASSERT_GT(lap.aveSpeed, 0);
        ASSERT_EQ(model.laps().size(), 1u);
        const auto total = model.total();
        ASSERT_TRUE(total);
        EXPECT_EQ((std::array{model.laps()[0].pos, model.laps()[0].lapTimeSpan, model.laps()[0].aveSpeed,
                              total->lapTimeSpan, total->aveSpeed}),
                  (std::array{lap.pos, lap.lapTimeSpan, lap.aveSpeed, whole.lapTimeSpan, whole.aveSpeed}));
        EXPECT_FALSE(model.laps()[0].isSpeedPending || total->isSpeedPending);
    }
}

// The window's stopwatch reads the chapters between its laps' ends off the main thread and shows the laps'
// speeds once they have come.
TEST(StopWatchViewTest, ALapOverUnreadChaptersReadsTheChaptersBetweenItsEndsElsewhere)
{
    UnreadTrip trip;
    TempDir dir;
    UserDefaultUtil settings(dir.filePath("settings.ini"));
    StopWatchView view(settings);
    view.model().setChapterDataList(trip.chapters);
    const uint64_t before = ChapterData::mainThreadReads();
    view.setCurrentSumFrameTimeSpan(trip.at(0, 1000));
    view.btnStartStop->click();
    view.setCurrentSumFrameTimeSpan(trip.at(6, 500));
    view.btnLapReset->click();
    view.setCurrentSumFrameTimeSpan(trip.at(10, 1500));
    view.redrawLaps();
    EXPECT_LE(ChapterData::mainThreadReads() - before, 3u) << "recordings read on the main thread";
    EXPECT_EQ(view.lapText(0), StopWatchModel::lapTimeText(LapInfo{0, trip.at(6, 500) - trip.at(0, 1000)}));

    StopWatchModel here;
    here.setChapterDataList(trip.chapters);
    const QString lap = StopWatchModel::speedText(here.setLap(trip.at(0, 1000), trip.at(6, 500)), true);
    const QString whole = StopWatchModel::speedText(here.setLap(trip.at(0, 1000), trip.at(10, 1500)), true);
    ASSERT_NE(lap, "-km/h");
    EXPECT_TRUE(EventLoop::waitUntil([&] { return view.speedText(0) == lap && view.speedText(10) == whole; }))
        << view.speedText(0).toStdString() << " " << view.speedText(10).toStdString();
}

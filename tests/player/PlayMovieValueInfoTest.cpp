#include "player/PlayMovieValueInfo.h"

#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"
#include "card/TripData.h"
#include "player/CustomSliderCell.h"
#include "player/PlaybackClock.h"
#include "samplecard/SampleCardWriter.h"
#include "support/LostRecord.h"
#include "support/TempDir.h"

#include "TestModels.h"
#include "TripFixture.h"

#include <gtest/gtest.h>

using PlayType = CommonConst::PlayType;

TEST(PlayMovieValueInfoTest, EmptyModelsHaveAnEmptyRangeAndKeepThePositionInIt)
{
    PlayMovieValueInfo none;
    EXPECT_EQ(none.maxValue(), 1);
    EXPECT_EQ(none.currentChapter(), nullptr);
    none.setCurrentValue(7);
    EXPECT_EQ(none.currentValue(), 1);

    PlayMovieValueInfo trip(ChapterList{}, CardData::ActiveType::AdventureRec);
    EXPECT_EQ(trip.playType(), PlayType::Adventure);
    EXPECT_EQ(trip.maxValue(), 0);
    EXPECT_EQ(trip.currentIndex(), 0);
    EXPECT_EQ(trip.currentFrame(), 0);

    // An event whose movie is not on the card falls back to the empty range.
    CardData card;
    auto record = makeRecord(MoveProtectInfo::DetectStatus::G);
    record->_fileName = "m2024050112000003.MP4";
    PlayMovieValueInfo event(card, record);
    EXPECT_EQ(event.playType(), PlayType::Event);
    EXPECT_EQ(event.eventValue(), -1);
    EXPECT_EQ(event.maxValue(), 1);
    EXPECT_TRUE(event.chapterDataList().empty());
    EXPECT_EQ(event.protectInfo(), record);
    EXPECT_EQ(PlayMovieValueInfo(card, makeRecord(MoveProtectInfo::DetectStatus::SURV)).playType(),
              PlayType::Surveillance);
    EXPECT_EQ(PlayMovieValueInfo(card, makeRecord(MoveProtectInfo::DetectStatus::SW)).playType(),
              PlayType::Event);
}

TEST(PlayMovieValueInfoTest, WrittenPositionsAreClampedToStopwatchAndTrimBounds)
{
    // Range 0..3001; bounds (-1: none), the position written and the position kept.
    const struct
    {
        int64_t stopwatch, cutStart, cutEnd, written, kept;
    } cases[] = {
        {500, 1000, 2500, 200, 1000},
        {500, 1000, 2500, 2600, 2500},
        {500, 1000, 2500, 1500, 1500},
        {2000, -1, -1, 100, 2000},
        {2000, -1, -1, 5000, 3001},
        {-1, -1, -1, 3001, 3001},
        // A start above the end gives the end.
        {2000, -1, 1500, 0, 1500},
        {2000, -1, 1500, 1700, 1500},
        {2000, -1, 1500, 9000, 1500},
    };
    const auto bound = [](int64_t v) { return v < 0 ? std::nullopt : std::optional(v); };
    for (const auto &c : cases) {
        RangeModel info(0, 3001, 1500);
        info.setStartValueStopwatch(bound(c.stopwatch));
        info.setStartValueMovieCut(bound(c.cutStart));
        info.setEndValueMovieCut(bound(c.cutEnd));
        EXPECT_EQ(info.currentValue(), 1500); // writing a bound does not move the position
        info.setCurrentValue(c.written);
        EXPECT_EQ(info.currentValue(), c.kept) << c.written;
    }
}

TEST(PlayMovieValueInfoTest, TripModelConvertsThePositionAndTheTrimBoundsToChapters)
{
    TripFixture trip({2000, 3000});
    ASSERT_TRUE(trip.ok()) << qPrintable(trip.error);
    PlayMovieValueInfo info(trip.chapters, CardData::ActiveType::MovieRec);
    const int64_t first = trip.chapters[0]->frameTimeSpan();
    const int64_t second = trip.chapters[1]->frameTimeSpan();
    ASSERT_GT(first, 1000);
    EXPECT_EQ(info.maxValue(), first + 1 + second);
    EXPECT_EQ(info.maxValue(), PictureDataUtil::getTotalLength(trip.chapters));
    EXPECT_FALSE(info.eventValue().has_value());

    info.setCurrentValue(first);
    EXPECT_EQ(info.currentIndex(), 0);
    EXPECT_EQ(info.currentFrame(), first);
    info.setCurrentValue(first + 1);
    EXPECT_EQ(info.currentIndex(), 1);
    EXPECT_EQ(info.currentFrame(), 0);
    EXPECT_EQ(info.currentChapter(), trip.chapters[1]);

    // The clock moves the position under the model: the conversion follows it.
    info.clock()->setPosition(first + 11);
    EXPECT_EQ(info.currentFrame(), 10);
    EXPECT_EQ(info.currentIndex(), 1);
    info.clock()->setPosition(5);
    EXPECT_EQ(info.currentIndex(), 0);

    // The trim bounds' chapters.
    info.setStartValueMovieCut(info.maxValue() - 10);
    EXPECT_EQ(info.startFrameIndex(), 1);
    info.setEndValueMovieCut(100);
    EXPECT_EQ(info.endFrameIndex(), 0);
    info.setEndValueMovieCut(std::nullopt);
    info.setStartValueMovieCut(std::nullopt);
    EXPECT_EQ(info.startFrameIndex(), 0);
    EXPECT_EQ(info.endFrameIndex(), 1);
}

namespace {
// A trip of four chapters whose second lost its record.
struct LostRecordTrip
{
    LostRecordTrip()
    {
        SampleScenario scenario = SampleScenario::chapters(4, 2000);
        scenario.movieMs = 500;
        const QString folder = SampleCardWriter::cardFolder(dir.path());
        if (!SampleCardWriter(scenario).writeCard(dir.path()) || !loseMovieRecord(folder, 1))
            return;
        card.loadCardFolder(QUrl::fromLocalFile(folder + QLatin1Char('/')));
        if (card._tripList.size() == 1)
            chapters = card._tripList.front()->sortedChapters();
    }
    TempDir dir;
    CardData card;
    ChapterList chapters;
};
} // namespace

// A chapter whose record was lost but whose next chapter has one is as long as the next chapter's
// counter less its own, which only its recording tells: until it is read the timeline takes the
// recording's own span, and the refresh that follows keeps the position and the bounds on their pictures.
TEST(PlayMovieValueInfoTest, ALengthLearnedLaterMovesTheStartsAfterItAndKeepsThePlaces)
{
    const LostRecordTrip trip;
    ASSERT_EQ(trip.chapters.size(), size_t(4));
    const ChapterList &chapters = trip.chapters;
    ASSERT_FALSE(chapters[1]->_vmmInfo);
    ASSERT_TRUE(chapters[2]->_vmmInfo);

    const uint64_t readsBefore = ChapterData::mainThreadReads();
    PlayMovieValueInfo info(chapters, CardData::ActiveType::MovieRec);
    EXPECT_EQ(ChapterData::mainThreadReads(), readsBefore) << "the timeline read a recording";
    ASSERT_FALSE(info.timeline().isSettled());
    const int32_t provisional = info.timeline().length(1);
    EXPECT_FALSE(info.refreshTimeline()) << "nothing learned yet";

    const auto at = [&info](int64_t index, int32_t offset) {
        return int64_t(info.timeline().position(index, offset));
    };
    info.setStartValueStopwatch(at(2, 50));
    info.setEndValueMovieCut(at(3, 400));
    info.setCurrentValue(at(3, 100));
    ASSERT_EQ(info.currentIndex(), 3);

    ASSERT_TRUE(chapters[1]->getPicture(true));
    ASSERT_TRUE(info.refreshTimeline());
    EXPECT_TRUE(info.timeline().isSettled());
    EXPECT_EQ(info.timeline().length(1), chapters[1]->frameTimeSpan());
    EXPECT_NE(info.timeline().length(1), provisional);
    EXPECT_EQ(info.maxValue(), PictureDataUtil::getTotalLength(chapters));
    EXPECT_EQ(info.clock()->maximum(), info.maxValue());
    EXPECT_EQ(info.currentIndex(), 3);
    EXPECT_EQ(info.currentFrame(), 100);
    EXPECT_EQ(info.startValueStopwatch(), at(2, 50));
    EXPECT_EQ(info.endValueMovieCut(), at(3, 400));
    EXPECT_FALSE(info.refreshTimeline());
}

// The track bar keeps the trim selection's start: a length learned after it leaves it on its picture, with
// the selection's 30 minutes counted from there.
TEST(PlayMovieValueInfoTest, ALengthLearnedLaterLeavesTheTrimSelectionsStartOnItsPicture)
{
    const LostRecordTrip trip;
    ASSERT_EQ(trip.chapters.size(), size_t(4));
    const ChapterList &chapters = trip.chapters;
    const auto info = std::make_shared<PlayMovieValueInfo>(chapters, CardData::ActiveType::MovieRec);
    ASSERT_FALSE(info->timeline().isSettled());
    CustomSliderCell cell;
    cell.setValueInfo(info);
    const auto at = [&info](int64_t index, int32_t offset) {
        return int64_t(info->timeline().position(index, offset));
    };
    info->setCurrentValue(at(2, 700));
    cell.setSelectFrame(true);
    info->setCurrentValue(at(3, 100));

    ASSERT_TRUE(chapters[1]->getPicture(true));
    ASSERT_TRUE(info->refreshTimeline());
    cell.timelineRefreshed(info);
    EXPECT_EQ(cell.selectStartSumFrameTS(), at(2, 700));
    EXPECT_EQ(info->startValueMovieCut(), at(2, 700));
    EXPECT_EQ(info->endValueMovieCut(), at(2, 700) + TrackMarks::TRM_MAX_VAL);
    EXPECT_EQ(cell.integerValue(), at(3, 100));
}

#include "player/PlayMovieValueInfo.h"

#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"

#include "TestModels.h"
#include "TripFixture.h"

#include <gtest/gtest.h>

namespace {

auto record = makeRecord;

} // namespace

TEST(PlayMovieValueInfoTest, EmptyModelCoversZeroToOne)
{
    PlayMovieValueInfo info;
    EXPECT_EQ(info.playType(), CommonConst::PlayType::Movie);
    EXPECT_EQ(info.minValue(), 0);
    EXPECT_EQ(info.maxValue(), 1);
    EXPECT_EQ(info.currentValue(), 0);
    EXPECT_FALSE(info.eventValue().has_value());
    EXPECT_EQ(info.currentIndex(), 0);
    EXPECT_EQ(info.currentFrame(), 0);
    EXPECT_EQ(info.currentChapter(), nullptr);
    info.setCurrentValue(7);
    EXPECT_EQ(info.currentValue(), 1);
}

TEST(PlayMovieValueInfoTest, WrittenPositionsAreClampedToStopwatchAndTrimBounds)
{
    RangeModel info(0, 3001);
    info.setStartValueStopwatch(500);
    info.setStartValueMovieCut(1000);
    info.setEndValueMovieCut(2500);
    info.setCurrentValue(200);
    EXPECT_EQ(info.currentValue(), 1000);
    info.setCurrentValue(2600);
    EXPECT_EQ(info.currentValue(), 2500);
    info.setCurrentValue(1500);
    EXPECT_EQ(info.currentValue(), 1500);
    // Writing a bound does not move the position.
    info.setStartValueMovieCut(std::nullopt);
    info.setEndValueMovieCut(std::nullopt);
    info.setStartValueStopwatch(2000);
    EXPECT_EQ(info.currentValue(), 1500);
    info.setCurrentValue(100);
    EXPECT_EQ(info.currentValue(), 2000);
    info.setCurrentValue(5000);
    EXPECT_EQ(info.currentValue(), 3001);
}

TEST(PlayMovieValueInfoTest, StartAboveEndGivesTheEnd)
{
    RangeModel info(0, 3001);
    info.setStartValueStopwatch(2000);
    info.setEndValueMovieCut(1500);
    for (int64_t v : {0, 1700, 2500, 9000}) {
        info.setCurrentValue(v);
        EXPECT_EQ(info.currentValue(), 1500) << v;
    }
}

TEST(PlayMovieValueInfoTest, AnEventWhoseMovieIsNotOnTheCardFallsBack)
{
    CardData card;
    auto event_ = record(MoveProtectInfo::DetectStatus::G);
    event_->_fileName = "m2024050112000003.MP4";
    PlayMovieValueInfo event(card, event_);
    EXPECT_EQ(event.playType(), CommonConst::PlayType::Event);
    EXPECT_EQ(event.eventValue(), -1);
    EXPECT_EQ(event.minValue(), 0);
    EXPECT_EQ(event.maxValue(), 1);
    EXPECT_EQ(event.currentValue(), 0);
    EXPECT_TRUE(event.chapterDataList().empty());
    EXPECT_EQ(event.protectInfo(), event_);

    EXPECT_EQ(PlayMovieValueInfo(card, record(MoveProtectInfo::DetectStatus::SURV)).playType(),
              CommonConst::PlayType::Surveillance);
    EXPECT_EQ(PlayMovieValueInfo(card, record(MoveProtectInfo::DetectStatus::SW)).playType(),
              CommonConst::PlayType::Event);
}

TEST(PlayMovieValueInfoTest, EmptyTripHasRangeZeroToZero)
{
    PlayMovieValueInfo trip(ChapterList{}, CardData::ActiveType::MovieRec);
    EXPECT_EQ(trip.minValue(), 0);
    EXPECT_EQ(trip.maxValue(), 0);
    EXPECT_EQ(trip.currentIndex(), 0);
    EXPECT_EQ(trip.currentFrame(), 0);
    EXPECT_EQ(PlayMovieValueInfo(ChapterList{}, CardData::ActiveType::AdventureRec).playType(),
              CommonConst::PlayType::Adventure);
}

TEST(PlayMovieValueInfoTest, TripModelConvertsAndCachesTheCurrentPosition)
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
}

TEST(PlayMovieValueInfoTest, AttachingAClockMovesThePositionAndRangeIntoIt)
{
    RangeModel info(1000, 5000, 2500);
    auto clock = std::make_shared<PlaybackClock>();
    clock->setRange(0, 1);
    info.attachClock(clock);
    EXPECT_EQ(clock->minimum(), 1000);
    EXPECT_EQ(clock->maximum(), 5000);
    EXPECT_EQ(clock->position(), 2500);
    clock->setPosition(4000);
    EXPECT_EQ(info.currentValue(), 4000);
}

TEST(PlayMovieValueInfoTest, FrameIndexesFollowTheBounds)
{
    TripFixture trip({2000, 3000});
    ASSERT_TRUE(trip.ok()) << qPrintable(trip.error);
    PlayMovieValueInfo info(trip.chapters, CardData::ActiveType::MovieRec);
    EXPECT_EQ(info.startFrameIndex(), 0);
    EXPECT_EQ(info.endFrameIndex(), 1);
    info.setStartValueMovieCut(info.maxValue() - 10);
    EXPECT_EQ(info.startFrameIndex(), 1);
    info.setEndValueMovieCut(100);
    EXPECT_EQ(info.endFrameIndex(), 0);
    info.setEndValueMovieCut(std::nullopt);
    EXPECT_EQ(info.endFrameIndex(), 1);
    info.setStartValueMovieCut(std::nullopt);
    EXPECT_EQ(info.startFrameIndex(), 0);
}

#include "card/PictureDataUtil.h"
#include "card/CardData.h"
#include "card/CardFixture.h"
#include "card/ChapterData.h"
#include "card/ChapterTimeline.h"

#include <gtest/gtest.h>

#include <random>

namespace {
const QString kKey = "202405011200";

// A trip whose first lengths.size() chapters have exactly those lengths (one trailing chapter
// closes the last length), and the list of those chapters.
struct TimelineCard
{
    CardFixture fixture;
    std::unique_ptr<CardData> card;
    std::shared_ptr<TripData> trip;
    ChapterList chapters;

    explicit TimelineCard(const std::vector<uint32_t> &lengths)
    {
        QList<QUrl> movies;
        uint32_t stamp = 100000;
        for (size_t i = 0; i <= lengths.size(); ++i) {
            movies.append(
                fixture.addMovie(kKey, static_cast<int>(i) + 1, stamp, static_cast<int64_t>(i) * 60));
            if (i < lengths.size())
                stamp += lengths[i];
        }
        card = fixture.recordsOnly();
        trip = TripData::create(card.get(), movies, kKey);
        const auto all = trip->sortedChapters();
        chapters.assign(all.begin(), all.begin() + static_cast<qsizetype>(lengths.size()));
    }
};

std::pair<int64_t, int32_t> chapterPosition(const ChapterList &chapters, int32_t position)
{
    int64_t index = -1;
    int32_t offset = -1;
    PictureDataUtil::getChapterPosition(chapters, position, index, offset);
    return {index, offset};
}

std::pair<int64_t, int32_t> timelinePosition(const ChapterTimeline &timeline, int32_t position)
{
    int64_t index = -1;
    int32_t offset = -1;
    PictureDataUtil::getChapterPosition(timeline, position, index, offset);
    return {index, offset};
}

using P = std::pair<int64_t, int32_t>;
} // namespace

TEST(PictureDataUtilTest, TwoChapterExamplesHoldForTheListAndTheTimeline)
{
    TimelineCard t({1000, 2000});
    const ChapterTimeline timeline(t.chapters);
    for (const auto &[position, expected] : std::vector<std::pair<int32_t, P>>{{1000, {0, 1000}},
                                                                               {1001, {1, 0}},
                                                                               {3001, {1, 2000}},
                                                                               {3002, {1, 2000}},
                                                                               {99999, {1, 2000}},
                                                                               {-5, {0, 0}},
                                                                               {0, {0, 0}}}) {
        EXPECT_EQ(chapterPosition(t.chapters, position), expected) << position;
        EXPECT_EQ(timelinePosition(timeline, position), expected) << position;
    }
    for (const auto &[index, offset, expected] : std::vector<std::tuple<int64_t, int32_t, int32_t>>{
             {1, 0, 1001}, {2, 5, 3007}, {7, 5, 3007}, {0, 1500, 1500}}) {
        EXPECT_EQ(PictureDataUtil::getPosition(t.chapters, index, offset), expected);
        EXPECT_EQ(PictureDataUtil::getPosition(timeline, index, offset), expected);
    }
    EXPECT_EQ(PictureDataUtil::getTotalLength(t.chapters), 3001);
    EXPECT_EQ(PictureDataUtil::getTotalLength(timeline), 3001);
}

TEST(PictureDataUtilTest, TotalLengthOfOneAndOfNoChapter)
{
    TimelineCard t({1000});
    EXPECT_EQ(PictureDataUtil::getTotalLength(t.chapters), 1000);
    EXPECT_EQ(PictureDataUtil::getTotalLength(ChapterTimeline(t.chapters)), 1000);
    const ChapterList none;
    EXPECT_EQ(PictureDataUtil::getTotalLength(none), 0);
    EXPECT_EQ(chapterPosition(none, 500), (P{0, 0}));
    EXPECT_EQ(timelinePosition(ChapterTimeline(), 500), (P{0, 0}));
    EXPECT_FALSE(PictureDataUtil::getVideoFrame(none, 0));
    EXPECT_FALSE(PictureDataUtil::getMovieTimeStamp(none, 0));
}

TEST(PictureDataUtilTest, ZeroLengthChapterTakesOnePosition)
{
    TimelineCard t({1000, 0, 500});
    const ChapterTimeline timeline(t.chapters);
    EXPECT_EQ(chapterPosition(t.chapters, 1001), (P{1, 0}));
    EXPECT_EQ(chapterPosition(t.chapters, 1002), (P{2, 0}));
    EXPECT_EQ(timelinePosition(timeline, 1001), (P{1, 0}));
    EXPECT_EQ(timelinePosition(timeline, 1002), (P{2, 0}));
    EXPECT_EQ(PictureDataUtil::getTotalLength(t.chapters), 1502);
}

TEST(PictureDataUtilTest, PositionsRoundTripOverRandomLengths)
{
    std::mt19937 random(20240501);
    for (int round = 0; round < 12; ++round) {
        std::uniform_int_distribution<int> count(1, 12);
        std::uniform_int_distribution<uint32_t> length(0, 70000);
        std::vector<uint32_t> lengths(static_cast<size_t>(count(random)));
        for (auto &l : lengths)
            l = round % 4 == 0 ? length(random) % 5 : length(random);
        TimelineCard t(lengths);
        const ChapterTimeline timeline(t.chapters);
        const auto total = PictureDataUtil::getTotalLength(t.chapters);
        ASSERT_EQ(timeline.totalLength(), total);
        std::uniform_int_distribution<int32_t> position(-10, total + 10);
        for (int i = 0; i < 400; ++i) {
            const auto p = i < 20 ? total - 10 + i : position(random);
            const auto [index, offset] = chapterPosition(t.chapters, p);
            ASSERT_EQ(timelinePosition(timeline, p), (P{index, offset})) << p;
            if (p >= 0 && p <= total) {
                ASSERT_EQ(PictureDataUtil::getPosition(t.chapters, index, offset), p);
                ASSERT_EQ(PictureDataUtil::getPosition(timeline, index, offset), p);
            }
        }
    }
}

TEST(PictureDataUtilTest, FrameLookupWithoutDrivingDataGivesNothing)
{
    TimelineCard t({1000});
    EXPECT_FALSE(PictureDataUtil::getVideoFrame(t.chapters, 10));
    EXPECT_FALSE(PictureDataUtil::getMovieTimeStamp(ChapterTimeline(t.chapters), 10));
}

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

using P = std::pair<int64_t, int32_t>;

// The chapter index and offset of a position, on a chapter list or a timeline.
template <typename Chapters> P positionIn(const Chapters &chapters, int32_t position)
{
    int64_t index = -1;
    int32_t offset = -1;
    PictureDataUtil::getChapterPosition(chapters, position, index, offset);
    return {index, offset};
}
} // namespace

// Each chapter after the first adds one position; positions outside the trip are clamped to it.
TEST(PictureDataUtilTest, ExamplesHoldForTheListAndTheTimeline)
{
    struct Case
    {
        std::vector<uint32_t> lengths;
        int32_t total;
        std::vector<std::pair<int32_t, P>> positions; // position -> chapter index, offset
        std::vector<std::pair<P, int32_t>> back;      // chapter index, offset -> position
    };
    const Case cases[] = {
        {{1000, 2000},
         3001,
         {{1000, {0, 1000}},
          {1001, {1, 0}},
          {3001, {1, 2000}},
          {3002, {1, 2000}},
          {99999, {1, 2000}},
          {-5, {0, 0}},
          {0, {0, 0}}},
         {{{1, 0}, 1001}, {{2, 5}, 3007}, {{7, 5}, 3007}, {{0, 1500}, 1500}}},
        {{1000, 0, 500}, 1502, {{1001, {1, 0}}, {1002, {2, 0}}}, {}},
        {{}, 0, {{500, {0, 0}}}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.lengths.size());
        TimelineCard t(c.lengths);
        const ChapterTimeline timeline(t.chapters);
        EXPECT_EQ(PictureDataUtil::getTotalLength(t.chapters), c.total);
        EXPECT_EQ(PictureDataUtil::getTotalLength(timeline), c.total);
        for (const auto &[position, expected] : c.positions) {
            EXPECT_EQ(positionIn(t.chapters, position), expected) << position;
            EXPECT_EQ(positionIn(timeline, position), expected) << position;
        }
        for (const auto &[at, expected] : c.back) {
            EXPECT_EQ(PictureDataUtil::getPosition(t.chapters, at.first, at.second), expected);
            EXPECT_EQ(PictureDataUtil::getPosition(timeline, at.first, at.second), expected);
        }
        // The placeholder movies have no driving data.
        EXPECT_FALSE(PictureDataUtil::getVideoFrame(t.chapters, 10));
        EXPECT_FALSE(PictureDataUtil::getMovieTimeStamp(timeline, 10));
    }
    EXPECT_EQ(positionIn(ChapterTimeline(), 500), (P{0, 0}));
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
            const auto [index, offset] = positionIn(t.chapters, p);
            ASSERT_EQ(positionIn(timeline, p), (P{index, offset})) << p;
            if (p >= 0 && p <= total) {
                ASSERT_EQ(PictureDataUtil::getPosition(t.chapters, index, offset), p);
                ASSERT_EQ(PictureDataUtil::getPosition(timeline, index, offset), p);
            }
        }
    }
}

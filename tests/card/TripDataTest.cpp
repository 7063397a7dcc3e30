#include "card/TripData.h"
#include "card/CardData.h"
#include "card/CardFixture.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"

#include <gtest/gtest.h>

namespace {
const QString kKey = "202405011200";
using Numbers = std::vector<int>;
} // namespace

TEST(TripDataTest, KeepsTheGivenOrderUntilTimeOrderIsNeeded)
{
    CardFixture f;
    const auto m3 = f.addMovie(kKey, 3, 3000, 120);
    const auto m1 = f.addMovie(kKey, 1, 1000, 0);
    const auto m2 = f.addMovie(kKey, 2, 2000, 60);
    const auto m4 = f.addMovie(kKey, 4, std::nullopt);
    const auto m5 = f.addMovie(kKey, 5, 1000, 60);
    const auto card = f.recordsOnly();
    const auto trip = TripData::create(card.get(), {m3, m1, m2}, kKey);
    EXPECT_EQ(CardFixture::numbers(trip->chapters()), (Numbers{3, 1, 2}));
    EXPECT_FALSE(trip->isSort());
    EXPECT_EQ(CardFixture::numbers(trip->sortedChapters()), (Numbers{1, 2, 3}));
    EXPECT_TRUE(trip->isSort());
    EXPECT_EQ(CardFixture::numbers(trip->chapters()), (Numbers{1, 2, 3}));
    EXPECT_EQ(trip->chapters()[0]->parent(), trip);

    // The time order is stable, with unknown dates first.
    trip->setChapters({m2, m5, m3, m4, m1});
    EXPECT_FALSE(trip->isSort());
    EXPECT_EQ(CardFixture::numbers(trip->chapters()), (Numbers{2, 5, 3, 4, 1}));
    EXPECT_EQ(CardFixture::numbers(trip->sortedChapters()), (Numbers{4, 1, 2, 5, 3}));
    // One chapter is never sorted and has no neighbours.
    trip->setChapters({m1});
    trip->sortedChapters();
    EXPECT_FALSE(trip->isSort());
    EXPECT_FALSE(trip->chapters()[0]->nextChapter() || trip->chapters()[0]->previousChapter());
}

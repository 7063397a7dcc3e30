#include "card/TripData.h"
#include "card/CardData.h"
#include "card/CardFixture.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"

#include <gtest/gtest.h>

namespace {
const QString kKey = "202405011200";

std::shared_ptr<MoveProtectInfo> eventRecord(const QString &name)
{
    ManagementRecordValues v;
    v.type = 0x10;
    v.fileName = name;
    const auto bytes = ManagementFileWriter::prctRecord(v);
    return std::make_shared<MoveProtectInfo>(
        std::span(reinterpret_cast<const uint8_t *>(bytes.constData()), static_cast<size_t>(bytes.size())),
        MoveProtectInfo::DetectStatus::G);
}
} // namespace

TEST(TripDataTest, KeepsTheGivenOrderUntilTimeOrderIsNeeded)
{
    CardFixture f;
    const auto m3 = f.addMovie(kKey, 3, 3000, 120);
    const auto m1 = f.addMovie(kKey, 1, 1000, 0);
    const auto m2 = f.addMovie(kKey, 2, 2000, 60);
    const auto card = f.recordsOnly();
    const auto trip = TripData::create(card.get(), {m3, m1, m2}, kKey);
    EXPECT_EQ(CardFixture::numbers(trip->chapters()), (std::vector<int>{3, 1, 2}));
    EXPECT_FALSE(trip->isSort());
    EXPECT_EQ(CardFixture::numbers(trip->sortedChapters()), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(trip->isSort());
    EXPECT_EQ(CardFixture::numbers(trip->chapters()), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(trip->chapters()[0]->parent(), trip);

    trip->setChapters({m2, m1});
    EXPECT_FALSE(trip->isSort());
    EXPECT_EQ(CardFixture::numbers(trip->chapters()), (std::vector<int>{2, 1}));
}

TEST(TripDataTest, OneChapterIsNeverSorted)
{
    CardFixture f;
    const auto m1 = f.addMovie(kKey, 1, 1000);
    const auto card = f.recordsOnly();
    const auto trip = TripData::create(card.get(), {m1}, kKey);
    trip->sortedChapters();
    EXPECT_FALSE(trip->chapters()[0]->nextChapter());
    EXPECT_FALSE(trip->chapters()[0]->previousChapter());
    EXPECT_FALSE(trip->isSort());
}

TEST(TripDataTest, FindsTheEventChapterByKeyAndNumber)
{
    CardFixture f;
    const auto m2 = f.addMovie(kKey, 2, 2000, 60);
    const auto m1 = f.addMovie(kKey, 1, 1000, 0);
    const auto card = f.recordsOnly();
    const auto trip = TripData::create(card.get(), {m2, m1}, kKey);

    EXPECT_FALSE(trip->getEventChapter(*eventRecord("2024050212000001")));
    EXPECT_FALSE(trip->isSort()); // another key: the list is not even sorted

    const auto found = trip->getEventChapter(*eventRecord(CardFixture::recordName(kKey, 2)));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->_pathMp4, m2);
    EXPECT_TRUE(trip->isSort());
    EXPECT_FALSE(trip->getEventChapter(*eventRecord(CardFixture::recordName(kKey, 3))));
}

TEST(TripDataTest, DisposeLetsGoOfTheChapters)
{
    CardFixture f;
    const auto m1 = f.addMovie(kKey, 1, 1000, 0);
    const auto m2 = f.addMovie(kKey, 2, 2000, 60);
    const auto card = f.recordsOnly();
    const auto trip = TripData::create(card.get(), {m2, m1}, kKey);
    std::weak_ptr<ChapterData> chapter = trip->chapters()[0];
    trip->dispose();
    EXPECT_EQ(trip->chapterCount(), 0u);
    EXPECT_TRUE(chapter.expired());
    EXPECT_EQ(trip->_tripName, kKey);

    const auto empty = TripData::create(card.get(), {}, kKey);
    empty->dispose();
    EXPECT_EQ(empty->chapterCount(), 0u);
}

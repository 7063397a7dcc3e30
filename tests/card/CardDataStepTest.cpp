#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"

#include "StandardCardFixture.h"

#include <gtest/gtest.h>

namespace {

QString nameOf(const std::shared_ptr<ChapterData> &chapter)
{
    return chapter ? chapter->_pathMp4.fileName() : QString("none");
}

// The workers' steps called one by one on the main thread, on the standard sample card.
class CardDataStepTest : public StandardCardFixture
{
};

} // namespace

TEST(CardDataEmptyStepTest, NothingToDoOnAnEmptyCard)
{
    CardData card;
    EXPECT_EQ(card.loadNextPictureData(), nullptr);
    EXPECT_EQ(card.loadNextThumbnail(), nullptr);
    card._activeType = CardData::ActiveType::EventRec;
    EXPECT_EQ(card.loadNextPictureData(), nullptr);
    EXPECT_EQ(card.loadNextThumbnail(), nullptr);
}

TEST_F(CardDataStepTest, EventViewTurnsToTheEventChaptersOnceTheyAreKnown)
{
    card._activeType = CardData::ActiveType::EventRec;
    for (const auto &record : card._moveProtectList)
        ASSERT_EQ(record->eventChapter(), nullptr);
    // No event chapter is known yet: the trips in their order.
    EXPECT_EQ(nameOf(card.loadNextPictureData()), "m2024050112300001.MP4");

    for (const auto &record : card._moveProtectList)
        ASSERT_NE(card.getEventChapter(*record), nullptr);
    // Now the records' chapters in record order (oldest first), then the trips again.
    EXPECT_EQ(nameOf(card.loadNextPictureData()), "m2024050112300002.MP4");
    EXPECT_EQ(nameOf(card.loadNextPictureData()), "m2024050217000002.MP4");
    EXPECT_EQ(nameOf(card.loadNextPictureData()), "m2024050322000001.MP4");
    EXPECT_EQ(nameOf(card.loadNextPictureData()), "m2024050112300003.MP4");
}

TEST_F(CardDataStepTest, EventViewMakesTheEventStillsFirst)
{
    card._activeType = CardData::ActiveType::EventRec;
    const auto &g = card._moveProtectList.front();
    EXPECT_EQ(nameOf(card.loadNextThumbnail()), "m2024050112300002.MP4");
    EXPECT_TRUE(g->pathThumbnail().has_value());
    // The event step does not give the chapter itself its thumbnail.
    EXPECT_FALSE(g->eventChapter()->makeThumbnail(false).has_value());
}

TEST_F(CardDataStepTest, MovieViewServesTheActiveTripFirstThenEveryTrip)
{
    for (const auto &trip : card._tripList_tab)
        if (trip->_tripName == "202405031000")
            trip->_isActive = true; // both trips of the key, the gap splits them
    card._activeType = CardData::ActiveType::MovieRec;
    std::vector<QString> pictures;
    for (int i = 0; i < 4; ++i)
        pictures.push_back(nameOf(card.loadNextPictureData()));
    EXPECT_EQ(pictures, (std::vector<QString>{"m2024050310000001.MP4", "m2024050310000002.MP4",
                                              "m2024050310000004.MP4", "m2024050112300001.MP4"}));
    std::vector<QString> thumbnails;
    for (int i = 0; i < 4; ++i)
        thumbnails.push_back(nameOf(card.loadNextThumbnail()));
    EXPECT_EQ(thumbnails, pictures);
}

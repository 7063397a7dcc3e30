#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"

#include "CardFixture.h"
#include "StandardCardFixture.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace {

// The standard sample card: a G event 1.5 s into its chapter, a switch event and a surveillance
// record 1 s into theirs.
class CardDataEventStillTest : public StandardCardFixture
{
protected:
    MoveProtectInfo &record(MoveProtectInfo::DetectStatus detect)
    {
        for (const auto &r : card._moveProtectList)
            if (r->_detect == detect)
                return *r;
        throw std::runtime_error("no such record");
    }
};

} // namespace

TEST_F(CardDataEventStillTest, AStillIsMadeOnceAndThenKeptWithoutNewAttempts)
{
    MoveProtectInfo &g = record(MoveProtectInfo::DetectStatus::G);
    // Asked without force before any still exists: nothing, nothing counted.
    EXPECT_FALSE(card.makeEventThumbnail(false, g).has_value());
    EXPECT_EQ(g.retryCntThumbnail(), 0);

    ASSERT_TRUE(card.loadEventThumbnail(g));
    ASSERT_TRUE(g.pathThumbnail().has_value());
    // 1.5 s into the movie, half a second earlier on the first attempt: second 1.
    EXPECT_EQ(g.pathThumbnail()->fileName(), "m2024050112300002_000001.jpeg");
    EXPECT_TRUE(QFileInfo(g.pathThumbnail()->toLocalFile()).isFile());
    EXPECT_EQ(g.retryCntThumbnail(), 1);

    const auto first = g.pathThumbnail();
    EXPECT_FALSE(card.loadEventThumbnail(g));
    EXPECT_EQ(card.makeEventThumbnail(false, g), first);
    EXPECT_EQ(card.makeEventThumbnail(true, g), first);
    EXPECT_EQ(g.retryCntThumbnail(), 1);
}

TEST_F(CardDataEventStillTest, AskingForTheStillDoesNotWaitForAnAttemptInProgress)
{
    MoveProtectInfo &g = record(MoveProtectInfo::DetectStatus::G);
    ASSERT_TRUE(card.getEventChapter(g));
    // The worker is in the middle of an attempt (which may first build the chapter's driving data).
    auto attempt = g.lockThumbnailBuild();
    auto report = std::async(std::launch::async, [&] { return card.makeEventThumbnail(false, g); });
    const auto status = report.wait_for(std::chrono::seconds(2));
    attempt.unlock();
    EXPECT_EQ(status, std::future_status::ready);
    EXPECT_FALSE(report.get().has_value());
    EXPECT_EQ(g.retryCntThumbnail(), 0);
}

TEST_F(CardDataEventStillTest, LaterAttemptsStepBackButNeverBeforeTheMovieStarts)
{
    MoveProtectInfo &sw = record(MoveProtectInfo::DetectStatus::SW);
    // Three failed attempts so far: the fourth would look 2 s before an event 1 s into the movie.
    for (int i = 0; i < 3; ++i)
        sw.addRetryCntThumbnail();
    const auto still = card.makeEventThumbnail(true, sw);
    ASSERT_TRUE(still.has_value());
    EXPECT_EQ(still->fileName(), "m2024050217000002_000000.jpeg");
    EXPECT_EQ(sw.retryCntThumbnail(), 4);
}

TEST_F(CardDataEventStillTest, SurveillanceRecordsGetStillsToo)
{
    MoveProtectInfo &surv = record(MoveProtectInfo::DetectStatus::SURV);
    EXPECT_FALSE(card.makeSurveillanceThumbnail(false, surv).has_value());
    ASSERT_TRUE(card.loadEventThumbnail(surv));
    EXPECT_EQ(surv.pathThumbnail()->fileName(), "m2024050322000001_000000.jpeg");
    EXPECT_FALSE(card.loadEventThumbnail(surv));
    EXPECT_EQ(surv.retryCntThumbnail(), 1);
}

TEST_F(CardDataEventStillTest, ARecordWithItsAttemptsUsedUpIsNotTriedAgain)
{
    MoveProtectInfo &g = record(MoveProtectInfo::DetectStatus::G);
    for (int i = 0; i < CardData::MAX_RETRY_CNT_THUMBNAIL; ++i)
        g.addRetryCntThumbnail();
    EXPECT_FALSE(card.loadEventThumbnail(g));
    EXPECT_FALSE(g.pathThumbnail().has_value());
    EXPECT_EQ(g.retryCntThumbnail(), CardData::MAX_RETRY_CNT_THUMBNAIL);
}

TEST(CardDataEventStillEdgeTest, EventsAtTheChapterStartAndMissingChapters)
{
    CardFixture fixture;
    fixture.addMovie("202405011230", 1, 5000);
    fixture.addEvent(1, "202405011230", 1, 5000); // G right at the chapter's start
    fixture.addEvent(3, "202405011230", 7, 9000); // SW whose movie is not on the card
    auto card = fixture.load();
    ASSERT_EQ(card->_moveProtectList.size(), 2u);
    MoveProtectInfo &atStart = *card->_moveProtectList[0];
    MoveProtectInfo &missing = *card->_moveProtectList[1];

    // The attempt is counted, but no still is taken for an event at offset 0.
    EXPECT_FALSE(card->makeEventThumbnail(true, atStart).has_value());
    EXPECT_EQ(atStart.retryCntThumbnail(), 1);
    EXPECT_FALSE(card->loadEventThumbnail(missing));
    EXPECT_EQ(missing.retryCntThumbnail(), 0);
}

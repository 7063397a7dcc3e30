#include "card/CardData.h"
#include "card/CardFixture.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/StandardCardFixture.h"
#include "recording/CommonConst.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <future>

namespace {
using Detect = MoveProtectInfo::DetectStatus;

QString nameOf(const std::shared_ptr<ChapterData> &chapter)
{
    return chapter ? chapter->_pathMp4.fileName() : QString("none");
}

// The workers' steps and the stills they make, called on the main thread on the standard sample card:
// a G event 1.5 s into its chapter, a switch event and a surveillance record 1 s into theirs.
class CardDataStepTest : public StandardCardFixture
{
protected:
    MoveProtectInfo &record(Detect detect)
    {
        for (const auto &r : card._moveProtectList)
            if (r->_detect == detect)
                return *r;
        throw std::runtime_error("no such record");
    }
    std::optional<QUrl> still(bool force, MoveProtectInfo &r)
    {
        return r._detect == Detect::SURV ? card.makeSurveillanceThumbnail(force, r)
                                         : card.makeEventThumbnail(force, r);
    }
};
} // namespace

TEST(CardDataEmptyStepTest, NothingToDoOnAnEmptyCard)
{
    CardData card;
    for (const auto type : {CardData::ActiveType::MovieRec, CardData::ActiveType::EventRec}) {
        card._activeType = type;
        EXPECT_EQ(card.loadNextPictureData(), nullptr);
        EXPECT_EQ(card.loadNextThumbnail(), nullptr);
    }
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
    std::vector<QString> pictures;
    for (int i = 0; i < 4; ++i)
        pictures.push_back(nameOf(card.loadNextPictureData()));
    EXPECT_EQ(pictures, (std::vector<QString>{"m2024050112300002.MP4", "m2024050217000002.MP4",
                                              "m2024050322000001.MP4", "m2024050112300003.MP4"}));
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

TEST_F(CardDataStepTest, AChapterThumbnailIsMadeOnceFromTheMovieAndThenOnlyReported)
{
    const auto chapter = card._tripList.at(0)->chapters().at(0);
    EXPECT_FALSE(chapter->makeThumbnail(false).has_value());
    EXPECT_EQ(chapter->retryCntThumbnail(), 0);
    const auto made = chapter->makeThumbnail(true);
    ASSERT_TRUE(made.has_value());
    EXPECT_EQ(QFileInfo(made->toLocalFile()).absolutePath() + '/',
              QFileInfo(CommonConst::DIR_PATH_THUMB()).absoluteFilePath());
    EXPECT_EQ(chapter->makeThumbnail(true), made);
    EXPECT_EQ(chapter->makeThumbnail(false), made);
    EXPECT_EQ(chapter->retryCntThumbnail(), 1);
}

// The still's name carries its second in the movie: the G event is 1.5 s in, taken half a second
// earlier on the first attempt.
TEST_F(CardDataStepTest, AnEventStillIsMadeOnceAndThenKeptWithoutNewAttempts)
{
    for (const auto &[detect, name] : {std::pair{Detect::G, "m2024050112300002_000001.jpeg"},
                                       std::pair{Detect::SURV, "m2024050322000001_000000.jpeg"}}) {
        SCOPED_TRACE(name);
        MoveProtectInfo &r = record(detect);
        EXPECT_FALSE(still(false, r).has_value()); // before any still exists: nothing, nothing counted
        EXPECT_EQ(r.retryCntThumbnail(), 0);
        ASSERT_TRUE(card.loadEventThumbnail(r));
        const auto first = r.pathThumbnail();
        ASSERT_TRUE(first.has_value());
        EXPECT_EQ(first->fileName(), name);
        EXPECT_TRUE(QFileInfo(first->toLocalFile()).isFile());
        EXPECT_FALSE(card.loadEventThumbnail(r));
        EXPECT_EQ(still(false, r), first);
        EXPECT_EQ(still(true, r), first);
        EXPECT_EQ(r.retryCntThumbnail(), 1);
    }
}

TEST_F(CardDataStepTest, AskingForAStillDoesNotWaitForAnAttemptInProgress)
{
    MoveProtectInfo &g = record(Detect::G);
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

TEST_F(CardDataStepTest, LaterStillAttemptsStepBackButNeverBeforeTheMovieStarts)
{
    MoveProtectInfo &sw = record(Detect::SW);
    // Three failed attempts so far: the fourth would look 2 s before an event 1 s into the movie.
    for (int i = 0; i < 3; ++i)
        sw.addRetryCntThumbnail();
    const auto still = card.makeEventThumbnail(true, sw);
    ASSERT_TRUE(still.has_value());
    EXPECT_EQ(still->fileName(), "m2024050217000002_000000.jpeg");
    EXPECT_EQ(sw.retryCntThumbnail(), 4);
    // Once the attempts are used up, no more.
    MoveProtectInfo &g = record(Detect::G);
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

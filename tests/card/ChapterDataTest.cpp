#include "card/ChapterData.h"
#include "card/AdvMoveProtectInfo.h"
#include "card/CardData.h"
#include "card/CardFixture.h"
#include "card/TripData.h"
#include "card/VrecMoveManagerInfo.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"
#include "samplecard/SampleCardWriter.h"

#include <gtest/gtest.h>

namespace {
const QString kKey = "202405011200";
} // namespace

TEST(ChapterDataTest, LinksTheLastMatchingRecordsOfItsTripNameAndNumber)
{
    CardFixture f;
    const auto m1 = f.addMovie(kKey, 1, 1000, 0);
    f.addVrec(kKey, 1, 5000, 30); // a second record for the same file wins
    f.addVrec("202405021300", 1, 9000, 90);
    f.addAdventure(kKey, 1, 7);
    const auto card = f.recordsOnly();
    const auto trip = TripData::create(card.get(), {m1}, kKey);
    const auto chapter = trip->chapters()[0];
    ASSERT_TRUE(chapter->_vmmInfo);
    EXPECT_EQ(chapter->_vmmInfo->_timeStamp, 5000u);
    EXPECT_EQ(chapter->timeStamp(), 5000u);
    EXPECT_EQ(chapter->startTime(), Date::fromUnixSeconds(CardFixture::BASE_SECONDS + 30));
    ASSERT_TRUE(chapter->_advInfo);
    EXPECT_EQ(chapter->startAdvTime(), Date::fromUnixSeconds(CardFixture::BASE_SECONDS + 7));

    // Records are matched by the trip's name: an unnamed trip links nothing.
    const auto unnamed = TripData::create(card.get(), {m1}, "");
    EXPECT_FALSE(unnamed->chapters()[0]->_vmmInfo);
    // Without a card there is nothing to link.
    const auto orphan = TripData::create(nullptr, {m1}, kKey);
    EXPECT_FALSE(orphan->chapters()[0]->_vmmInfo);
}

TEST(ChapterDataTest, LengthIsTheNextConsecutiveChaptersTimeStampDifference)
{
    CardFixture f;
    const auto m1 = f.addMovie(kKey, 1, 10000, 0);
    const auto m2 = f.addMovie(kKey, 2, 70000, 60);
    const auto m3 = f.addMovie(kKey, 3, 100000, 90);
    const auto m5 = f.addMovie(kKey, 5, 200000, 190);
    const auto card = f.recordsOnly();
    const auto trip = TripData::create(card.get(), {m5, m3, m2, m1}, kKey);
    const auto chapters = trip->sortedChapters();
    EXPECT_EQ(chapters[0]->frameTimeSpan(), 60000);
    EXPECT_EQ(chapters[1]->frameTimeSpan(), 30000);
    // A gap and the last chapter take the recording's own span; these placeholders have none.
    EXPECT_EQ(chapters[2]->frameTimeSpan(), 0);
    EXPECT_EQ(chapters[3]->frameTimeSpan(), 0);
    EXPECT_EQ(chapters[0]->nextChapter(), chapters[1]);
    EXPECT_EQ(chapters[1]->previousChapter(), chapters[0]);
    EXPECT_FALSE(chapters[0]->previousChapter());
    EXPECT_FALSE(chapters[3]->nextChapter());
}

TEST(ChapterDataTest, NumberOneFollowsNineThousandNineHundredNinetyNine)
{
    CardFixture f;
    const auto m9999 = f.addMovie(kKey, 9999, 10000, 0);
    const auto m1 = f.addMovie(kKey, 1, 70000, 60);
    const auto m9998 = f.addMovie(kKey, 9998, 10000, -100);
    const auto card = f.recordsOnly();
    const auto wrap = TripData::create(card.get(), {m1, m9999}, kKey);
    EXPECT_EQ(wrap->sortedChapters()[0]->frameTimeSpan(), 60000);

    // 1 after any other number is a gap.
    const auto gap = TripData::create(card.get(), {m9998, m1}, kKey);
    EXPECT_EQ(gap->sortedChapters()[0]->fileNumber(), 9998);
    EXPECT_EQ(gap->sortedChapters()[0]->frameTimeSpan(), 0);
}

TEST(ChapterDataTest, CounterRestartFallsBackToTheChaptersOwnSpan)
{
    CardFixture f;
    const auto m1 = f.addMovie(kKey, 1, 500000, 0);
    const auto m2 = f.addMovie(kKey, 2, 1000, 60); // the camera's counter restarted
    const auto card = f.recordsOnly();
    const auto trip = TripData::create(card.get(), {m1, m2}, kKey);
    // Never negative: the placeholder's own span (0) instead of -499000.
    EXPECT_EQ(trip->sortedChapters()[0]->frameTimeSpan(), 0);
}

TEST(ChapterDataTest, CounterRestartTakesTheRecordedSpanOfARealMovie)
{
    CardFixture f;
    auto scenario = SampleScenario::singleChapter(3000);
    SampleCardWriter writer(scenario);
    const auto &trip = writer.scenario().trips.front();
    const auto path = f.root() + "/MOVE001/" + CardFixture::movieName(trip.key, 1);
    ASSERT_TRUE(writer.writeChapterMovie(trip, trip.chapters.front(), path))
        << writer.lastError().toStdString();
    f.addVrec(trip.key, 1, 500000, 0);
    const auto next = f.addMovie(trip.key, 2, 1000, 3); // the camera's counter restarted
    const auto card = f.recordsOnly();
    const auto made = TripData::create(card.get(), {QUrl::fromLocalFile(path), next}, trip.key);
    const auto first = made->sortedChapters().front();
    const auto picture = first->getPicture(true);
    ASSERT_TRUE(picture && picture->video);
    EXPECT_GT(picture->video->_timeSpan, 2900u);
    EXPECT_EQ(first->frameTimeSpan(), static_cast<int64_t>(picture->video->_timeSpan));
}

TEST(ChapterDataTest, StartTimeAndTimeStampComeFromTheFirstFrameWithoutARecord)
{
    CardFixture f;
    SampleCardWriter writer(SampleScenario::singleChapter(2000));
    const auto &trip = writer.scenario().trips.front();
    const auto path = f.root() + "/MOVE001/" + CardFixture::movieName(trip.key, 1);
    ASSERT_TRUE(writer.writeChapterMovie(trip, trip.chapters.front(), path))
        << writer.lastError().toStdString();
    const auto card = f.recordsOnly();
    const auto chapter =
        TripData::create(card.get(), {QUrl::fromLocalFile(path)}, trip.key)->chapters().front();
    EXPECT_EQ(chapter->startTime(), Date::fromDateTime(trip.start));
    EXPECT_EQ(chapter->timeStamp(), trip.counterStart);
    EXPECT_GT(chapter->frameTimeSpan(), 1900);
    EXPECT_EQ(chapter->retryCntPictureData(), 1);
}

TEST(ChapterDataTest, UnreadableMovieWithoutRecordIsReadAtMostFiveTimes)
{
    CardFixture f;
    const auto m1 = f.addMovie(kKey, 1, std::nullopt);
    const auto card = f.recordsOnly();
    const auto trip = TripData::create(card.get(), {m1}, kKey);
    const auto chapter = trip->chapters()[0];
    EXPECT_FALSE(chapter->getPicture(false));
    EXPECT_EQ(chapter->retryCntPictureData(), 0);
    // A recording that cannot be read leaves no picture data: each read on demand is a new,
    // counted attempt until the limit, and then the file is not read again.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(chapter->startTime(), Date::distantPast());
        EXPECT_EQ(chapter->timeStamp(), 0u);
        EXPECT_EQ(chapter->frameTimeSpan(), 0);
    }
    EXPECT_EQ(chapter->retryCntPictureData(), CardData::MAX_RETRY_CNT_PICTUREDATA);
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(chapter->getPicture(true));
    EXPECT_EQ(chapter->retryCntPictureData(), CardData::MAX_RETRY_CNT_PICTUREDATA);
}

TEST(ChapterDataTest, SortByStartTimeIsStableWithUnknownDatesFirst)
{
    CardFixture f;
    const auto a = f.addMovie(kKey, 1, 1000, 60);
    const auto b = f.addMovie(kKey, 2, 1000, 0);
    const auto c = f.addMovie(kKey, 3, 1000, 60);
    const auto d = f.addMovie(kKey, 4, std::nullopt);
    const auto card = f.recordsOnly();
    const auto trip = TripData::create(card.get(), {a, b, c, d}, kKey);
    auto chapters = trip->chapters();
    ChapterData::sortByStartTime(chapters);
    EXPECT_EQ(CardFixture::numbers(chapters), (std::vector<int>{4, 2, 1, 3}));
}

TEST(ChapterDataTest, WorkerSeamsCountAttemptsAndKeepTheThumbnail)
{
    CardFixture f;
    const auto m1 = f.addMovie(kKey, 1, 1000);
    const auto card = f.recordsOnly();
    const auto chapter = TripData::create(card.get(), {m1}, kKey)->chapters()[0];
    EXPECT_FALSE(chapter->pathThumbnail());
    chapter->addRetryCntThumbnail();
    chapter->setPathThumbnail(QUrl::fromLocalFile("/tmp/x.jpeg"));
    EXPECT_EQ(chapter->retryCntThumbnail(), 1);
    EXPECT_EQ(chapter->pathThumbnail(), QUrl::fromLocalFile("/tmp/x.jpeg"));
}

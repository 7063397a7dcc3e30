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
    const auto linked = TripData::create(card.get(), {m1}, kKey);
    const auto chapter = linked->chapters()[0];
    EXPECT_EQ(chapter->timeStamp(), 5000u);
    EXPECT_EQ(chapter->startTime(), Date::fromUnixSeconds(CardFixture::BASE_SECONDS + 30));
    ASSERT_TRUE(chapter->_advInfo);
    EXPECT_EQ(chapter->startAdvTime(), Date::fromUnixSeconds(CardFixture::BASE_SECONDS + 7));
    // Records are matched by the trip's name, and only with a card.
    EXPECT_FALSE(TripData::create(card.get(), {m1}, "")->chapters()[0]->_vmmInfo);
    EXPECT_FALSE(TripData::create(nullptr, {m1}, kKey)->chapters()[0]->_vmmInfo);
}

// A chapter lasts until the next consecutive chapter's time stamp; a gap, a counter restart and the
// last chapter take the recording's own span, which these placeholders do not have.
TEST(ChapterDataTest, LengthIsTheNextConsecutiveChaptersTimeStampDifference)
{
    struct Case
    {
        const char *what;
        std::vector<std::pair<int, uint32_t>> movies; // number, time stamp; in time order
        std::vector<int64_t> spans;
    };
    const Case cases[] = {
        {"consecutive, then a gap", {{1, 10000}, {2, 70000}, {3, 100000}, {5, 200000}}, {60000, 30000, 0, 0}},
        {"1 follows 9999", {{9999, 10000}, {1, 70000}}, {60000, 0}},
        {"1 after any other number is a gap", {{9998, 10000}, {1, 70000}}, {0, 0}},
        {"the counter restarted", {{1, 500000}, {2, 1000}}, {0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CardFixture f;
        QList<QUrl> movies;
        for (const auto &[number, stamp] : c.movies)
            movies.prepend(f.addMovie(kKey, number, stamp, 60 * movies.size()));
        const auto card = f.recordsOnly();
        const auto trip = TripData::create(card.get(), movies, kKey);
        const auto chapters = trip->sortedChapters();
        ASSERT_EQ(chapters.size(), c.spans.size());
        for (size_t i = 0; i < chapters.size(); ++i) {
            EXPECT_EQ(chapters[i]->fileNumber(), c.movies[i].first);
            EXPECT_EQ(chapters[i]->frameTimeSpan(), c.spans[i]) << i;
            EXPECT_EQ(chapters[i]->previousChapter(), i > 0 ? chapters[i - 1] : nullptr);
            EXPECT_EQ(chapters[i]->nextChapter(), i + 1 < chapters.size() ? chapters[i + 1] : nullptr);
        }
    }
}

TEST(ChapterDataTest, ARealMovieGivesTimesWithoutARecordAndItsSpanAfterACounterRestart)
{
    CardFixture f;
    SampleCardWriter writer(SampleScenario::singleChapter(3000));
    const auto &trip = writer.scenario().trips.front();
    const auto path = QUrl::fromLocalFile(f.root() + "/MOVE001/" + CardFixture::movieName(trip.key, 1));
    ASSERT_TRUE(writer.writeChapterMovie(trip, trip.chapters.front(), path.toLocalFile()))
        << writer.lastError().toStdString();
    const auto bare = f.recordsOnly();
    const auto single = TripData::create(bare.get(), {path}, trip.key);
    const auto chapter = single->chapters().front();
    EXPECT_EQ(chapter->startTime(), Date::fromDateTime(trip.start));
    EXPECT_EQ(chapter->timeStamp(), trip.counterStart);
    EXPECT_GT(chapter->frameTimeSpan(), 2900);
    EXPECT_EQ(chapter->retryCntPictureData(), 1);

    f.addVrec(trip.key, 1, 500000, 0);
    const auto next = f.addMovie(trip.key, 2, 1000, 3); // the camera's counter restarted
    const auto card = f.recordsOnly();
    const auto made = TripData::create(card.get(), {path, next}, trip.key);
    const auto first = made->sortedChapters().front();
    const auto picture = first->getPicture(true);
    ASSERT_TRUE(picture && picture->video);
    EXPECT_EQ(first->frameTimeSpan(), static_cast<int64_t>(picture->video->_timeSpan));
}

// A recording that cannot be read leaves no picture data: each read on demand is a new, counted
// attempt until the limit, and then the file is not read again.
TEST(ChapterDataTest, UnreadableMovieWithoutRecordIsReadAtMostFiveTimes)
{
    CardFixture f;
    const auto m1 = f.addMovie(kKey, 1, std::nullopt);
    const auto card = f.recordsOnly();
    const auto trip = TripData::create(card.get(), {m1}, kKey);
    const auto chapter = trip->chapters()[0];
    EXPECT_FALSE(chapter->getPicture(false));
    EXPECT_EQ(chapter->retryCntPictureData(), 0);
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

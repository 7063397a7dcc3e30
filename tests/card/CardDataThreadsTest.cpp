#include "card/CardData.h"
#include "card/CardFixture.h"
#include "card/ChapterData.h"
#include "card/ChapterTimeline.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"

#include <gtest/gtest.h>

#include <thread>

// What a background worker and the main thread do to the same card at once: the worker builds
// driving data and reads times while the main thread sorts the trip, walks neighbours, looks up
// events and converts timeline positions. Run under ThreadSanitizer by the CI step.
TEST(CardDataThreadsTest, WorkerAndMainThreadShareChaptersAndRecords)
{
    const QString key = "202405011200";
    CardFixture f;
    QList<QUrl> movies;
    for (int n = 12; n >= 1; --n) // given in reverse: the first time-ordered read sorts the trip
        movies.append(f.addMovie(key, n, 100000 + 60000 * static_cast<uint32_t>(n), 60 * n));
    f.addEvent(1, key, 6, 100000 + 60000 * 6 + 500);
    const auto card = f.recordsOnly();
    const auto trip = TripData::create(card.get(), movies, key);
    card->_tripList.push_back(trip);
    auto &record = *card->_moveProtectList.front();
    const auto unsorted = trip->chapters();

    std::thread worker([&] {
        for (int round = 0; round < 20; ++round) {
            for (const auto &chapter : unsorted) {
                chapter->getPicture(true);
                chapter->startTime();
                chapter->timeStamp();
                chapter->frameTimeSpan();
                if (!chapter->pathThumbnail())
                    chapter->addRetryCntThumbnail();
                card->getEventChapter(record);
            }
        }
    });
    for (int round = 0; round < 20; ++round) {
        const auto sorted = trip->sortedChapters();
        for (const auto &chapter : sorted) {
            chapter->nextChapter();
            chapter->previousChapter();
            chapter->setPathThumbnail(chapter->pathThumbnail());
        }
        const auto clip = card->getEventChapters(record);
        ASSERT_TRUE(clip.chapters);
        const ChapterTimeline timeline(sorted);
        int64_t index = 0;
        int32_t offset = 0;
        PictureDataUtil::getChapterPosition(timeline, 60000 * 3 + 10, index, offset);
        EXPECT_EQ(index, 3);
        EXPECT_EQ(offset, 7);
    }
    worker.join();
    EXPECT_EQ(CardFixture::numbers(trip->chapters()).front(), 1);
    // The placeholder movies cannot be read: nothing is stored, and the builds were counted one at
    // a time per chapter up to the limit.
    for (const auto &chapter : unsorted) {
        EXPECT_EQ(chapter->retryCntPictureData(), CardData::MAX_RETRY_CNT_PICTUREDATA);
        EXPECT_EQ(chapter->getPicture(false), nullptr);
    }
}

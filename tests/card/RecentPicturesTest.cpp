#include "card/RecentPictures.h"
#include "card/CardFixture.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"
#include "support/HostileFiles.h"

#include <QFile>
#include <gtest/gtest.h>

#include <functional>
#include <latch>
#include <thread>

namespace {
const QString kKey = "202405011200";

std::shared_ptr<PictureData> emptyPicture()
{
    return std::make_shared<PictureData>(QUrl(), PictureData::PictureDataType::All, Date::distantPast(),
                                         Date::distantFuture(), nullptr, std::nullopt, QByteArray());
}

// A trip of one readable chapter (200 frame records 30 ms apart) that has no management record.
struct ReadableChapter
{
    CardFixture fixture;
    std::unique_ptr<CardData> card;
    std::shared_ptr<TripData> trip;
    std::shared_ptr<ChapterData> chapter;

    ReadableChapter()
    {
        const QUrl movie = fixture.addMovie(kKey, 1, std::nullopt);
        QFile file(movie.toLocalFile());
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(HostileFiles::chapter(200, 30, 6000));
        file.close();
        card = fixture.recordsOnly();
        trip = TripData::create(card.get(), {movie}, kKey);
        chapter = trip->chapters()[0];
    }
};
} // namespace

// Only the data used last stays; what is used again moves to the front.
TEST(RecentPicturesTest, KeepsTheLastUsedAndLetsTheOldestGo)
{
    RecentPictures &recent = RecentPictures::shared();
    recent.clear();
    std::vector<std::weak_ptr<PictureData>> made;
    for (size_t i = 0; i < RecentPictures::CAPACITY; ++i) {
        const auto picture = emptyPicture();
        made.push_back(picture);
        recent.keep(picture);
    }
    recent.keep(made[0].lock()); // the first is used again
    recent.keep(emptyPicture()); // one more than fits
    EXPECT_FALSE(made[0].expired());
    EXPECT_TRUE(made[1].expired());
    EXPECT_FALSE(made.back().expired());
    EXPECT_EQ(recent.size(), RecentPictures::CAPACITY);
    recent.clear();
    EXPECT_TRUE(made[0].expired());
}

// A chapter does not hold its driving data once nobody uses it, and every road that may load reads it
// again: the same frames, no attempt counted, still known as read and handed on once. The road without
// load reads nothing: it gives nothing, and the outline stays.
TEST(RecentPicturesTest, ALetGoChaptersDataIsReadAgainByEveryRoadThatLoads)
{
    struct Road
    {
        const char *name;
        std::function<std::shared_ptr<PictureData>(ChapterData &)> take;
        bool reads;
    };
    const std::vector<Road> roads = {
        {"on demand", [](ChapterData &c) { return c.getPicture(true); }, true},
        {"read before", [](ChapterData &c) { return c.getPicture(false); }, false},
        {"worker retry", [](ChapterData &c) { return c.retryPicture(); }, true},
    };
    for (const auto &[name, road, reads] : roads) {
        ReadableChapter f;
        auto first = f.chapter->getPicture(true);
        ASSERT_TRUE(first && first->video) << name;
        const size_t frames = first->video->getCameraFrames(0).size();
        const uint32_t span = first->video->_timeSpan;
        EXPECT_TRUE(f.chapter->takePictureReport()) << name;
        const std::weak_ptr<PictureData> weak = first;
        first.reset();
        RecentPictures::shared().clear();
        EXPECT_TRUE(weak.expired()) << name;
        EXPECT_TRUE(f.chapter->hasPicture()) << name;
        const auto outline = f.chapter->outline();
        ASSERT_TRUE(outline) << name;

        const uint64_t readsBefore = ChapterData::mainThreadReads();
        const auto again = road(*f.chapter);
        EXPECT_EQ(f.chapter->outline(), outline) << name;
        if (!reads) {
            EXPECT_FALSE(again) << name;
            EXPECT_EQ(ChapterData::mainThreadReads(), readsBefore) << name;
            continue;
        }
        ASSERT_TRUE(again && again->video) << name;
        EXPECT_EQ(again->video->getCameraFrames(0).size(), frames) << name;
        EXPECT_EQ(again->video->_timeSpan, span) << name;
        EXPECT_EQ(f.chapter->retryCntPictureData(), 1) << name;
        EXPECT_EQ(f.chapter->getPicture(false), again) << name; // held while used
        EXPECT_FALSE(f.chapter->takePictureReport()) << name;
    }
}

// Threads reading a chapter's data while it is let go and read again meet only under the locks.
TEST(RecentPicturesTest, ReadsAndLettingGoMeetSafely)
{
    ReadableChapter f;
    ASSERT_TRUE(f.chapter->getPicture(true));
    std::atomic<bool> stop = false;
    std::thread letGo([&] {
        while (!stop)
            RecentPictures::shared().clear();
    });
    std::vector<std::thread> readers;
    std::atomic<int> missing = 0;
    for (int t = 0; t < 3; ++t) {
        readers.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                // Without load, the data only while somebody holds it.
                const bool load = i % 2 == 0;
                const auto picture = f.chapter->getPicture(load);
                if ((load && !picture) || (picture && !picture->video))
                    ++missing;
            }
        });
    }
    for (auto &reader : readers)
        reader.join();
    stop = true;
    letGo.join();
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(f.chapter->retryCntPictureData(), 1);
}

// Two first reads at once (the main thread asking while a worker reads): the later one waits for the
// earlier and takes its data, instead of finding an attempt counted but not done and taking nothing.
TEST(RecentPicturesTest, AFirstReadUnderWayIsWaitedForNotTakenForAFailure)
{
    int missing = 0, differing = 0;
    for (int round = 0; round < 40; ++round) {
        ReadableChapter f;
        std::latch start(2);
        std::shared_ptr<PictureData> got[2];
        std::thread other([&] {
            start.arrive_and_wait();
            got[1] = f.chapter->getPicture(true);
        });
        start.arrive_and_wait();
        got[0] = f.chapter->getPicture(true);
        other.join();
        missing += !got[0] + !got[1];
        differing += got[0] != got[1];
        EXPECT_EQ(f.chapter->retryCntPictureData(), 1);
    }
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(differing, 0);
}

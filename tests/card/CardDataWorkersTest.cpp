#include "card/CardDataDelegate.h"
#include "card/CardFixture.h"
#include "card/ChapterTimeline.h"
#include "card/MoveProtectInfo.h"
#include "card/StandardCardFixture.h"
#include "card/WorkerGroup.h"
#include "recording/CommonConst.h"
#include "support/EventLoop.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <future>
#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace {
using Detect = MoveProtectInfo::DetectStatus;

// The movies of the chapters that count steps of one worker made.
std::vector<QString> stepNames(int count, const std::function<std::shared_ptr<ChapterData>()> &step)
{
    std::vector<QString> names;
    for (int i = 0; i < count; ++i)
        if (const auto chapter = step())
            names.push_back(chapter->_pathMp4.fileName());
    return names;
}

// Records every hand-off and the thread it arrived on.
class RecordingDelegate : public CardDataDelegate
{
public:
    void chapterDataUpdated(ChapterData &chapter) override { note(chapter, thumbnails); }
    void redrawRoute(ChapterData &chapter) override { note(chapter, routes); }

    std::vector<QString> thumbnails; // movie file names in arrival order
    std::vector<QString> routes;
    bool allOnMainThread = true;

private:
    void note(ChapterData &chapter, std::vector<QString> &list)
    {
        allOnMainThread = allOnMainThread && QThread::currentThread() == qApp->thread();
        list.push_back(chapter._pathMp4.fileName());
    }
};

const QString CORRUPT_MOVIE = "m2024050415000003.MP4";

class CardDataWorkersTest : public ::testing::Test
{
protected:
    // The standard sample card with one movie that no reader or decoder can use.
    static void SetUpTestSuite()
    {
        dir = new TempDir;
        ASSERT_TRUE(writeStandardCard(dir->path()));
        ASSERT_TRUE(QFileInfo::exists(dir->filePath("MOVE/MOVE001/" + CORRUPT_MOVIE)));
        ASSERT_FALSE(dir->write("MOVE/MOVE001/" + CORRUPT_MOVIE, QByteArray(64 * 1024, 'x')).isEmpty());
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }

    void SetUp() override
    {
        card = std::make_unique<CardData>();
        card->loadCardFolder(FileUtil::fileUrl(dir->filePath("MOVE")));
        ASSERT_FALSE(card->_tripList.empty());
        delegate = std::make_shared<RecordingDelegate>();
        card->delegate = delegate;
    }
    void TearDown() override
    {
        if (card)
            card->dispose();
        EventLoop::waitUntil([&] { return !card || !card->_wkThreadGroup; });
    }

    // The chapters of the trips, or the adventure trips' chapter objects of their own.
    std::vector<std::shared_ptr<ChapterData>> allChapters(bool adventure = false) const
    {
        std::vector<std::shared_ptr<ChapterData>> result;
        for (const auto &trip : adventure ? card->_advTripList : card->_tripList)
            for (const auto &chapter : trip->chapters())
                result.push_back(chapter);
        return result;
    }
    bool workersIdle() const { return card->_wkThreadGroup && card->_wkThreadGroup->allLoopsIdle(); }
    MoveProtectInfo &record(Detect detect)
    {
        for (const auto &r : card->_moveProtectList)
            if (r->_detect == detect)
                return *r;
        throw std::runtime_error("no such record");
    }
    std::optional<QUrl> still(bool force, MoveProtectInfo &r)
    {
        return r._detect == Detect::SURV ? card->makeSurveillanceThumbnail(force, r)
                                         : card->makeEventThumbnail(force, r);
    }

    static inline TempDir *dir = nullptr;
    std::unique_ptr<CardData> card;
    std::shared_ptr<RecordingDelegate> delegate;
};

// The workers' steps and the stills they make, called on the main thread on the same card: a G event
// 1.5 s into its chapter, a switch event and a surveillance record 1 s into theirs.
using CardDataStepTest = CardDataWorkersTest;
} // namespace

// The movie no reader or decoder can use is a chapter both of its trip and of the adventure trip (another
// chapter object): each is tried five times, then left alone.
// An event's still reads its chapter's driving data before the picture worker gets there (it did so
// under load): the worker still hands that chapter's route on, once, or the map's route would stop
// short of it.
TEST_F(CardDataWorkersTest, AChapterWhoseDrivingDataAnotherCallerReadFirstStillHandsOnItsRoute)
{
    const auto chapters = allChapters();
    const auto early = std::find_if(chapters.begin(), chapters.end(), [](const auto &chapter) {
        return chapter->_pathMp4.fileName() != CORRUPT_MOVIE;
    });
    ASSERT_NE(early, chapters.end());
    ASSERT_NE((*early)->getPicture(true), nullptr);
    const QString name = (*early)->_pathMp4.fileName();
    card->startLoadWorkers();
    ASSERT_TRUE(EventLoop::waitUntil([&] { return card->loadWorkersDone(); }));
    EventLoop::runFor(std::chrono::milliseconds(1200));
    EXPECT_EQ(std::count(delegate->routes.begin(), delegate->routes.end(), name), 1);
}

TEST_F(CardDataWorkersTest, EveryChapterGetsDrivingDataAndAThumbnailOnTheMainThread)
{
    card->startLoadWorkers();
    // A failed attempt lets the step go on to other chapters, so a failing chapter gets about one
    // attempt per pass, a pass a second once everything else is done.
    ASSERT_TRUE(EventLoop::waitUntil([&] { return card->loadWorkersDone(); }));
    // Further idle passes come once a second; none of them tries again.
    EventLoop::runFor(std::chrono::milliseconds(2300));

    // One route hand-off per trip chapter with driving data; one thumbnail hand-off per chapter
    // thumbnail and per event still.
    std::multiset<QString> routes, thumbnails;
    for (const bool adventure : {false, true})
        for (const auto &chapter : allChapters(adventure)) {
            const QString name = chapter->_pathMp4.fileName();
            SCOPED_TRACE(name.toStdString());
            // Made once into the thumbnail folder, then only reported.
            const auto thumbnail = chapter->makeThumbnail(false);
            if (name == CORRUPT_MOVIE) {
                EXPECT_FALSE(thumbnail.has_value());
                EXPECT_EQ(chapter->retryCntThumbnail(), CardData::MAX_RETRY_CNT_THUMBNAIL);
                if (!adventure) {
                    EXPECT_EQ(chapter->retryCntPictureData(), CardData::MAX_RETRY_CNT_PICTUREDATA);
                    EXPECT_EQ(chapter->getPicture(false), nullptr);
                }
                continue;
            }
            ASSERT_TRUE(thumbnail.has_value());
            EXPECT_TRUE(QFileInfo(thumbnail->toLocalFile()).isFile());
            EXPECT_EQ(QFileInfo(thumbnail->toLocalFile()).absolutePath() + '/',
                      QFileInfo(CommonConst::DIR_PATH_THUMB()).absoluteFilePath());
            EXPECT_EQ(chapter->retryCntThumbnail(), 1);
            thumbnails.insert(name);
            if (!adventure) {
                EXPECT_NE(chapter->getPicture(false), nullptr);
                routes.insert(name);
            }
        }
    ASSERT_FALSE(card->_moveProtectList.empty());
    for (const auto &record : card->_moveProtectList) {
        SCOPED_TRACE(record->_fileName.toStdString());
        ASSERT_TRUE(record->pathThumbnail().has_value());
        EXPECT_TRUE(QFileInfo(record->pathThumbnail()->toLocalFile()).isFile());
        EXPECT_EQ(record->retryCntThumbnail(), 1);
        thumbnails.insert(record->eventChapter()->_pathMp4.fileName());
    }
    EXPECT_EQ(std::multiset<QString>(delegate->routes.begin(), delegate->routes.end()), routes);
    EXPECT_EQ(std::multiset<QString>(delegate->thumbnails.begin(), delegate->thumbnails.end()), thumbnails);
    EXPECT_TRUE(delegate->allOnMainThread);
}

TEST_F(CardDataWorkersTest, DisposeReleasesTheListsOnceTheWorkersEndAndDropsLaterHandOffs)
{
    card->startLoadWorkers();
    ASSERT_TRUE(EventLoop::waitUntil([&] { return delegate->routes.size() + delegate->thumbnails.size(); }));
    card->dispose();
    // The lists stay while the workers may still be reading them.
    EXPECT_TRUE(card->_isDispose);
    EXPECT_FALSE(card->_tripList.empty());
    ASSERT_TRUE(EventLoop::waitUntil([&] { return !card->_wkThreadGroup; }));
    EXPECT_TRUE(card->_tripList.empty() && card->_tripList_tab.empty() && card->_advTripList.empty() &&
                card->_moveProtectList.empty());
    EXPECT_FALSE(card->_isDispose);

    // Hand-offs for a card or delegate gone meanwhile are dropped: work piles up on the main queue
    // while the main thread does not look.
    for (const bool dropCard : {true, false}) {
        SetUp();
        card->startLoadWorkers();
        QThread::msleep(400);
        if (dropCard) {
            card->dispose();
            card.reset(); // waits for the steps in progress
            QCoreApplication::processEvents();
            EXPECT_TRUE(delegate->routes.empty() && delegate->thumbnails.empty());
        } else {
            delegate.reset();
            ASSERT_TRUE(EventLoop::waitUntil([&] { return workersIdle(); }));
            QCoreApplication::processEvents();
        }
    }
}

// The workers, the main thread and another thread on the same card at once, as the video list and the
// player do: driving data built and times read while trips are sorted, neighbours walked, events looked up
// and timelines laid out. Run under ThreadSanitizer by the CI step.
TEST_F(CardDataWorkersTest, TheMainThreadAndTheWorkersShareEachBuild)
{
    // A trip object of the first trip's movies given in reverse: its first time-ordered read sorts it.
    QList<QUrl> movies;
    for (const auto &chapter : card->_tripList[0]->chapters())
        movies.prepend(chapter->_pathMp4);
    const auto reversed = TripData::create(card.get(), movies, card->_tripList[0]->_tripName);
    auto trips = card->_tripList;
    trips.push_back(reversed);
    const auto chapters = allChapters();
    card->startLoadWorkers();
    std::thread other([&] {
        for (const auto &list : {chapters, reversed->chapters()})
            for (const auto &chapter : list) {
                chapter->getPicture(true);
                chapter->startTime();
                chapter->timeStamp();
                chapter->frameTimeSpan();
            }
    });
    do {
        for (const auto &chapter : chapters) {
            chapter->getPicture(true);
            chapter->makeThumbnail(false);
            chapter->setPathThumbnail(chapter->pathThumbnail());
        }
        for (const auto &record : card->_moveProtectList)
            card->getEventChapters(*record);
        for (const auto &trip : trips) {
            const auto sorted = trip->sortedChapters();
            for (const auto &chapter : sorted) {
                chapter->nextChapter();
                chapter->previousChapter();
            }
            ChapterTimeline(sorted).totalLength();
        }
        QCoreApplication::processEvents();
    } while (!workersIdle());
    other.join();

    EXPECT_EQ(CardFixture::numbers(reversed->chapters()).front(), 1);
    for (const auto &chapter : chapters) {
        SCOPED_TRACE(chapter->_pathMp4.fileName().toStdString());
        if (chapter->_pathMp4.fileName() == CORRUPT_MOVIE) {
            // Failed builds are counted one at a time up to the limit, then no more; on demand it
            // is not read again, the workers' retries go on to the limit.
            for (int i = 0; i < 10; ++i)
                chapter->getPicture(true);
            for (int i = 0; i < 10; ++i)
                chapter->retryPicture();
            EXPECT_EQ(chapter->retryCntPictureData(), CardData::MAX_RETRY_CNT_PICTUREDATA);
            continue;
        }
        // Whoever came second waited for the first build and took its result.
        EXPECT_EQ(chapter->retryCntPictureData(), 1);
        EXPECT_NE(chapter->getPicture(false), nullptr);
    }
}

TEST_F(CardDataStepTest, EventViewTurnsToTheEventChaptersAndStillsOnceTheyAreKnown)
{
    card->_activeType = CardData::ActiveType::EventRec;
    for (const auto &record : card->_moveProtectList)
        ASSERT_EQ(record->eventChapter(), nullptr);
    const auto pictures = [&](int count) {
        return stepNames(count, [&] { return card->loadNextPictureData(); });
    };
    // No event chapter is known yet: the trips in their order.
    EXPECT_EQ(pictures(1), std::vector<QString>{"m2024050112300001.MP4"});

    for (const auto &record : card->_moveProtectList)
        ASSERT_NE(card->getEventChapter(*record), nullptr);
    // Now the records' chapters in record order (oldest first), then the trips again.
    EXPECT_EQ(pictures(4), (std::vector<QString>{"m2024050112300002.MP4", "m2024050217000002.MP4",
                                                 "m2024050322000001.MP4", "m2024050112300003.MP4"}));
    // The event stills come first, and not as the chapters' own thumbnails.
    const auto &g = card->_moveProtectList.front();
    EXPECT_EQ(stepNames(1, [&] { return card->loadNextThumbnail(); }),
              std::vector<QString>{"m2024050112300002.MP4"});
    EXPECT_TRUE(g->pathThumbnail().has_value());
    EXPECT_FALSE(g->eventChapter()->makeThumbnail(false).has_value());
}

TEST_F(CardDataStepTest, MovieViewServesTheActiveTripFirstThenEveryTrip)
{
    for (const auto &trip : card->_tripList_tab)
        if (trip->_tripName == "202405031000")
            trip->_isActive = true; // both trips of the key, the gap splits them
    card->_activeType = CardData::ActiveType::MovieRec;
    const auto pictures = stepNames(4, [&] { return card->loadNextPictureData(); });
    EXPECT_EQ(pictures, (std::vector<QString>{"m2024050310000001.MP4", "m2024050310000002.MP4",
                                              "m2024050310000004.MP4", "m2024050112300001.MP4"}));
    EXPECT_EQ(stepNames(4, [&] { return card->loadNextThumbnail(); }), pictures);
}

// The main thread takes a trimmed clip's still back once its driving data shows what it is; the
// thumbnail worker, which had passed the chapter by as done, makes it again.
TEST_F(CardDataStepTest, AStillTakenBackIsMadeAgain)
{
    std::shared_ptr<ChapterData> last;
    while (const auto chapter = card->loadNextThumbnail())
        last = chapter;
    ASSERT_TRUE(last);
    EXPECT_EQ(card->loadNextThumbnail(), nullptr);
    last->setPathThumbnail(std::nullopt);
    EXPECT_EQ(card->loadNextThumbnail(), last);
    EXPECT_TRUE(last->pathThumbnail().has_value());
    EXPECT_EQ(card->loadNextThumbnail(), nullptr);
}

// The still's name carries its second in the movie. The G event is 1.5 s in, taken half a second earlier
// on the first attempt; after three failed attempts the fourth would look 2 s before the switch event,
// which is 1 s into its movie.
TEST_F(CardDataStepTest, StillsStepBackButNeverBeforeTheMovieStartsAndAreMadeOnce)
{
    for (const auto &[detect, failed, name] : {std::tuple{Detect::G, 0, "m2024050112300002_000001.jpeg"},
                                               {Detect::SURV, 0, "m2024050322000001_000000.jpeg"},
                                               {Detect::SW, 3, "m2024050217000002_000000.jpeg"}}) {
        SCOPED_TRACE(name);
        MoveProtectInfo &r = record(detect);
        EXPECT_FALSE(still(false, r).has_value()); // before any still exists: nothing, nothing counted
        EXPECT_EQ(r.retryCntThumbnail(), 0);
        for (int i = 0; i < failed; ++i)
            r.addRetryCntThumbnail();
        ASSERT_TRUE(card->loadEventThumbnail(r));
        const auto first = r.pathThumbnail();
        ASSERT_TRUE(first.has_value());
        EXPECT_EQ(first->fileName(), name);
        EXPECT_TRUE(QFileInfo(first->toLocalFile()).isFile());
        EXPECT_FALSE(card->loadEventThumbnail(r));
        EXPECT_EQ(still(false, r), first);
        EXPECT_EQ(still(true, r), first);
        EXPECT_EQ(r.retryCntThumbnail(), failed + 1);
    }
    // Once the attempts are used up, no more.
    SetUp();
    MoveProtectInfo &g = record(Detect::G);
    for (int i = 0; i < CardData::MAX_RETRY_CNT_THUMBNAIL; ++i)
        g.addRetryCntThumbnail();
    EXPECT_FALSE(card->loadEventThumbnail(g));
    EXPECT_FALSE(g.pathThumbnail().has_value());
    EXPECT_EQ(g.retryCntThumbnail(), CardData::MAX_RETRY_CNT_THUMBNAIL);
}

TEST_F(CardDataStepTest, AskingForAStillDoesNotWaitForAnAttemptInProgress)
{
    MoveProtectInfo &g = record(Detect::G);
    ASSERT_TRUE(card->getEventChapter(g));
    // The worker is in the middle of an attempt (which may first build the chapter's driving data).
    auto attempt = g.lockThumbnailBuild();
    auto report = std::async(std::launch::async, [&] { return card->makeEventThumbnail(false, g); });
    const auto status = report.wait_for(std::chrono::seconds(2));
    attempt.unlock();
    EXPECT_EQ(status, std::future_status::ready);
    EXPECT_FALSE(report.get().has_value());
    EXPECT_EQ(g.retryCntThumbnail(), 0);
}

// Without a record, the times come from the movie's first frame; a trip's last chapter lasts as long as
// its recording.
TEST_F(CardDataStepTest, ARealMovieGivesItsOwnTimesAndSpan)
{
    const auto trip = TripData::create(nullptr, {card->_tripList[0]->chapters()[2]->_pathMp4}, "");
    const auto chapter = trip->chapters().front();
    EXPECT_EQ(chapter->startTime(), Date::fromUnixSeconds(1714566608)); // 2024-05-01 12:30:08 UTC
    EXPECT_EQ(chapter->timeStamp(), 3608000u);
    const auto span = chapter->frameTimeSpan();
    EXPECT_TRUE(span > 3800 && span < 4000) << span;
    EXPECT_EQ(chapter->retryCntPictureData(), 1);
}

#include "card/AVUtil.h"
#include "card/CardData.h"
#include "card/CardFixture.h"
#include "card/ChapterTimeline.h"
#include "card/PictureDataUtil.h"
#include "card/RecentPictures.h"
#include "card/VrecMoveManagerInfo.h"
#include "recording/CommonConst.h"
#include "recording/CutVideoBoxWriter.h"
#include "recording/CutVideoKihonInfo.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"
#include "samplecard/SampleCardWriter.h"
#include "support/Ffmpeg.h"
#include "support/HostileFiles.h"
#include "support/LostRecord.h"
#include "support/TempDir.h"

#include <QImageReader>
#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace {
const QString kKey = "202405011200";
using Numbers = std::vector<int>;

// Makes a trimmed clip: an ffmpeg movie with the trim tool's metadata box of count frames.
bool writeTrimmedClip(const QString &path, QSize size)
{
    if (!Ffmpeg::writeTestMovie(path, size.width(), size.height(), 1.0))
        return false;
    const Date start = Date::fromUnixSeconds(1714566896);
    VideoInfo recording;
    std::map<int, VideoFrame> table;
    for (int i = 0; i < 20; ++i) {
        VideoFrame frame;
        frame.time = start.addingMilliseconds(i * 36);
        frame._timeStamp = uint32_t(700000 + i * 36);
        frame._movieTimeStamp = uint32_t(i * 36);
        frame._id = 0x55;
        frame.blockNo = 1;
        table.emplace(i * 36, frame);
    }
    recording.setCameraFrames(0, table);
    recording.setCameraFrames(1, table);
    recording.rebuildKeyLists();
    recording.detectType = 10;
    recording._playback.detectTime = start;
    recording._fileVersion = "0714";
    recording._terminalType = TerminalType::AllInOne;
    recording._recMode = CommonConst::RecMode::Nomal;
    return CutVideoBoxWriter::append(
        path, CutVideoKihonInfo::initFromVideoInfo(recording, 0, 19 * 36, 20 * 36, true, true, true, true));
}

// A trip whose first lengths.size() chapters have exactly those lengths (one trailing chapter
// closes the last length), and the list of those chapters.
struct TimelineCard
{
    CardFixture fixture;
    std::unique_ptr<CardData> card;
    std::shared_ptr<TripData> trip;
    ChapterList chapters;

    explicit TimelineCard(const std::vector<uint32_t> &lengths)
    {
        QList<QUrl> movies;
        uint32_t stamp = 100000;
        for (size_t i = 0; i <= lengths.size(); ++i) {
            movies.append(fixture.addMovie(kKey, int(i) + 1, stamp, int64_t(i) * 60));
            if (i < lengths.size())
                stamp += lengths[i];
        }
        card = fixture.recordsOnly();
        trip = TripData::create(card.get(), movies, kKey);
        const auto all = trip->sortedChapters();
        chapters.assign(all.begin(), all.begin() + static_cast<qsizetype>(lengths.size()));
    }
};

using P = std::pair<int64_t, int32_t>;

// The chapter index and offset of a position, on a chapter list or a timeline.
template <typename Chapters> P positionIn(const Chapters &chapters, int32_t position)
{
    int64_t index = -1;
    int32_t offset = -1;
    PictureDataUtil::getChapterPosition(chapters, position, index, offset);
    return {index, offset};
}
} // namespace

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

// A chapter's neighbours and index come from the list in start-time order, however the chapters were
// given, and a chapter of a list replaced since has none.
TEST(TripDataTest, NeighboursAndIndicesByChapterAgreeWithTheSortedList)
{
    const std::vector<Numbers> orders = {{1, 2, 3, 4, 5}, {5, 4, 3, 2, 1}, {3, 1, 5, 2, 4}, {2}};
    for (const Numbers &order : orders) {
        SCOPED_TRACE(::testing::PrintToString(order));
        CardFixture f;
        QList<QUrl> movies;
        for (const int number : order)
            movies.append(f.addMovie(kKey, number, uint32_t(number * 1000), number * 60));
        const auto card = f.recordsOnly();
        const auto trip = TripData::create(card.get(), movies, kKey);
        const ChapterList given = trip->chapters();
        const ChapterList sorted = trip->sortedChapters();
        ASSERT_EQ(sorted.size(), order.size());
        Numbers ascending = order;
        std::sort(ascending.begin(), ascending.end());
        for (const auto &chapter : given) {
            const auto at = trip->sortedIndexOf(chapter.get());
            ASSERT_TRUE(at);
            ASSERT_EQ(sorted[*at], chapter);
            EXPECT_EQ(chapter->fileNumber(), ascending[*at]);
            EXPECT_EQ(chapter->previousChapter(), *at > 0 ? sorted[*at - 1] : nullptr);
            EXPECT_EQ(chapter->nextChapter(), *at + 1 < sorted.size() ? sorted[*at + 1] : nullptr);
        }
        trip->setChapters(movies);
        EXPECT_FALSE(trip->sortedIndexOf(given.front().get()));
        EXPECT_FALSE(trip->neighbour(given.front().get(), 1));
        const ChapterList again = trip->sortedChapters();
        for (size_t i = 0; i < again.size(); ++i)
            EXPECT_EQ(trip->sortedIndexOf(again[i].get()), std::optional(i));
    }
}

// Without records a placeholder movie's times are unknown; it cannot be read and leaves no picture
// data: on demand it is read once in the open, however often its times and length are asked for;
// the workers' retries are counted up to the limit, and then it is not read again.
TEST(TripDataTest, KeepsTheGivenOrderUntilTimeOrderIsNeededAndReadsAnUnreadableMovieOnceOnDemand)
{
    CardFixture f;
    const auto m3 = f.addMovie(kKey, 3, 3000, 120);
    const auto m1 = f.addMovie(kKey, 1, 1000, 0);
    const auto m2 = f.addMovie(kKey, 2, 2000, 60);
    const auto m4 = f.addMovie(kKey, 4, std::nullopt);
    const auto m5 = f.addMovie(kKey, 5, 1000, 60);
    const auto card = f.recordsOnly();
    const auto trip = TripData::create(card.get(), {m2, m5, m3, m4, m1}, kKey);
    const auto unreadable = trip->chapters()[3];
    EXPECT_FALSE(unreadable->getPicture(false));
    EXPECT_EQ(unreadable->retryCntPictureData(), 0);
    // The time order is stable, with unknown dates first.
    EXPECT_EQ(CardFixture::numbers(trip->chapters()), (Numbers{2, 5, 3, 4, 1}));
    EXPECT_FALSE(trip->isSort());
    EXPECT_EQ(CardFixture::numbers(trip->sortedChapters()), (Numbers{4, 1, 2, 5, 3}));
    EXPECT_TRUE(trip->isSort());
    EXPECT_EQ(CardFixture::numbers(trip->chapters()), (Numbers{4, 1, 2, 5, 3}));
    EXPECT_EQ(trip->chapters()[0]->parent(), trip);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(unreadable->startTime(), Date::distantPast());
        EXPECT_EQ(unreadable->timeStamp(), 0u);
        EXPECT_EQ(unreadable->frameTimeSpan(), 0);
        EXPECT_FALSE(unreadable->getPicture(true));
    }
    EXPECT_EQ(unreadable->retryCntPictureData(), 1);
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(unreadable->retryPicture());
    EXPECT_EQ(unreadable->retryCntPictureData(), CardData::MAX_RETRY_CNT_PICTUREDATA);
    EXPECT_FALSE(unreadable->getPicture(true));
    EXPECT_EQ(unreadable->retryCntPictureData(), CardData::MAX_RETRY_CNT_PICTUREDATA);
    // One chapter is never sorted and has no neighbours.
    trip->setChapters({m1});
    trip->sortedChapters();
    EXPECT_FALSE(trip->isSort());
    EXPECT_FALSE(trip->chapters()[0]->nextChapter() || trip->chapters()[0]->previousChapter());
}

// A movie that could not be read gives a length of 0 for now; once a worker has read it, its own
// length is given, not the 0 of the failed read.
TEST(TripDataTest, ALengthWorkedOutWhileTheMovieCouldNotBeReadIsNotKept)
{
    CardFixture f;
    const auto movie = f.addMovie(kKey, 1, std::nullopt);
    const auto card = f.recordsOnly();
    const auto trip = TripData::create(card.get(), {movie}, kKey);
    const auto chapter = trip->chapters()[0];
    EXPECT_EQ(chapter->frameTimeSpan(), 0);
    QFile file(movie.toLocalFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(HostileFiles::chapter(200, 30, 6000));
    file.close();
    // On demand it is not read again in this open.
    EXPECT_EQ(chapter->frameTimeSpan(), 0);
    ASSERT_TRUE(chapter->retryPicture());
    EXPECT_EQ(chapter->frameTimeSpan(), 199 * 30);
}

// The timeline a trip fixes when it starts spans its last chapter also when that chapter's driving data
// has not come yet (its first read failed and the workers will try again): the light read of the movie
// tells the span the data will have, so the length is the data's from the start.
TEST(TripDataTest, ATripStartedBeforeItsLastChaptersDataArrivesSpansEveryChapter)
{
    const struct
    {
        const char *name;
        bool heldBack;
        int lastLength;
    } cases[] = {
        {"the data there", false, 199 * 30},
        {"the data held back", true, 199 * 30},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CardFixture f;
        std::vector<QUrl> movies;
        for (int number = 1; number <= 3; ++number) {
            movies.push_back(f.addMovie(kKey, number, uint32_t(number * 6000), number * 6));
            f.write("MOVE/MOVE001/" + CardFixture::movieName(kKey, number),
                    HostileFiles::chapter(200, 30, 6000));
        }
        const auto card = f.recordsOnly();
        const auto trip = TripData::create(card.get(), {movies[0], movies[1], movies[2]}, kKey);
        const auto last = trip->chapters()[2];
        const QString path = movies[2].toLocalFile();
        if (c.heldBack) {
            // A worker's first read finds the movie away for a moment.
            ASSERT_TRUE(QFile::rename(path, path + ".away"));
            EXPECT_FALSE(last->retryPicture());
            ASSERT_TRUE(QFile::rename(path + ".away", path));
        }
        const ChapterTimeline started(trip->sortedChapters());
        EXPECT_EQ(started.totalLength(), 6000 + 1 + 6000 + 1 + c.lastLength);
        EXPECT_EQ(started.length(2), c.lastLength);
        EXPECT_TRUE(started.isSettled());
        // The data comes: later timelines take its span.
        ASSERT_TRUE(last->retryPicture());
        EXPECT_EQ(ChapterTimeline(trip->sortedChapters()).length(2), 199 * 30);
    }
}

// A chapter that lost its record, before one that has its record, is as long as the next record's counter
// less its first frame's, which only its driving data tells: once read, its length is known for good, also
// after the data has been let go.
TEST(TripDataTest, ARecordlessChaptersLengthIsKnownOnceReadEvenAfterItsDataWasLetGo)
{
    TempDir dir;
    SampleScenario scenario = SampleScenario::chapters(3, 2000);
    scenario.movieMs = 500;
    ASSERT_TRUE(SampleCardWriter(scenario).writeCard(dir.path()));
    const QString folder = SampleCardWriter::cardFolder(dir.path());
    ASSERT_TRUE(loseMovieRecord(folder, 1));
    CardData card;
    card.loadCardFolder(QUrl::fromLocalFile(folder + "/"));
    ASSERT_EQ(card._tripList.size(), 1u);
    const ChapterList chapters = card._tripList.front()->sortedChapters();
    ASSERT_EQ(chapters.size(), 3u);
    ASSERT_FALSE(chapters[1]->_vmmInfo);
    ASSERT_FALSE(ChapterTimeline(chapters).isSettled()) << "only the driving data tells";
    // A worker reads the chapter; its data is let go before a timeline asks for the length.
    ASSERT_TRUE(chapters[1]->retryPicture());
    const auto first = chapters[1]->getPicture(true)->video->findFrame(0, 0, true)._timeStamp;
    RecentPictures::shared().clear();
    ASSERT_FALSE(chapters[1]->getPicture(false));
    const ChapterTimeline started(chapters);
    EXPECT_TRUE(started.isSettled());
    EXPECT_EQ(started.length(1), int64_t(chapters[2]->_vmmInfo->_timeStamp) - int64_t(first));
}

// An on-demand read while a worker reads the movie for the first time waits for that read and gets
// its data; while a worker tries again after a failed first read, it gives up at once as before.
TEST(TripDataTest, AnOnDemandReadDuringTheWorkersFirstReadTakesItsData)
{
    const struct
    {
        const char *name;
        bool firstReadFailed;
        bool expectData;
    } cases[] = {
        {"the worker's first read", false, true},
        {"the worker's second read", true, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CardFixture f;
        const QUrl movie = f.addMovie(kKey, 1, 6000, 6);
        // Many records, so that the worker's read lasts while it is watched.
        const QByteArray bytes = HostileFiles::chapter(60000, 30, 1800000);
        const auto card = f.recordsOnly();
        const auto trip = TripData::create(card.get(), {movie}, kKey);
        const auto chapter = trip->chapters()[0];
        if (c.firstReadFailed) {
            EXPECT_FALSE(chapter->retryPicture());
        }
        f.write("MOVE/MOVE001/" + CardFixture::movieName(kKey, 1), bytes);
        const int64_t attempts = chapter->retryCntPictureData() + 1;
        std::atomic<bool> done = false;
        std::thread worker([&] {
            chapter->retryPicture();
            done = true;
        });
        while (!done && !(chapter->retryCntPictureData() == attempts && !chapter->getPicture(false)))
            std::this_thread::yield();
        const bool watched = !done;
        const bool hasData = chapter->getPicture(true) != nullptr;
        worker.join();
        ASSERT_TRUE(watched) << "the worker's read ended before it could be watched";
        EXPECT_EQ(hasData, c.expectData);
        EXPECT_TRUE(chapter->getPicture(false));
        EXPECT_EQ(chapter->retryCntPictureData(), attempts);
    }
}

TEST(ChapterThumbnailTest, EachTrimmedClipGetsItsOwnMaskedThumbnail)
{
    TempDir dir;
    const QString wide = dir.write("a/clip.mp4", {});
    const QString narrow = dir.write("b/clip.mp4", {}); // same name, other folder
    ASSERT_TRUE(writeTrimmedClip(wide, {640, 360}));
    ASSERT_TRUE(writeTrimmedClip(narrow, {640, 480}));
    const auto trip = TripData::create(nullptr, {QUrl::fromLocalFile(wide), QUrl::fromLocalFile(narrow)}, "");
    std::vector<QImage> made;
    for (const auto &chapter : trip->chapters()) {
        // Before its driving data is known, a clip's thumbnail is not masked; so build it first.
        const auto picture = chapter->getPicture(true);
        ASSERT_TRUE(picture && picture->video && picture->video->_isCutVideo);
        const auto thumbnail = chapter->makeThumbnail(true);
        ASSERT_TRUE(thumbnail.has_value());
        EXPECT_EQ(thumbnail->toLocalFile(), chapter->maskedThumbnailPath());
        made.emplace_back(thumbnail->toLocalFile());
    }
    // Each file still holds its own clip's picture, with the band along the bottom.
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(std::pair(made[0].size(), made[1].size()), std::pair(QSize(320, 180), QSize(240, 180)));
    for (const QImage &image : made) {
        EXPECT_LT(qGray(image.pixel(image.width() / 2, image.height() - 2)), 16);
        EXPECT_GT(qGray(image.pixel(image.width() / 2, image.height() / 2)), 16);
    }
}

// Each chapter after the first adds one position, an empty chapter too; positions outside the trip
// are clamped to it.
TEST(PictureDataUtilTest, ExamplesHoldForTheListAndTheTimeline)
{
    TimelineCard t({1000, 0, 500});
    const ChapterTimeline timeline(t.chapters);
    EXPECT_EQ(PictureDataUtil::getTotalLength(t.chapters), 1502);
    EXPECT_EQ(PictureDataUtil::getTotalLength(timeline), 1502);
    for (const auto &[position, at] : {std::pair{1000, P{0, 1000}},
                                       {1001, {1, 0}},
                                       {1002, {2, 0}},
                                       {1502, {2, 500}},
                                       {99999, {2, 500}},
                                       {-5, {0, 0}},
                                       {0, {0, 0}}}) {
        EXPECT_EQ(positionIn(t.chapters, position), at) << position;
        EXPECT_EQ(positionIn(timeline, position), at) << position;
    }
    for (const auto &[index, offset, position] :
         {std::tuple{1, 0, 1001}, {3, 5, 1508}, {7, 5, 1508}, {0, 1500, 1500}}) {
        EXPECT_EQ(PictureDataUtil::getPosition(t.chapters, index, offset), position);
        EXPECT_EQ(PictureDataUtil::getPosition(timeline, index, offset), position);
    }
    EXPECT_EQ(positionIn(ChapterList(), 500), (P{0, 0}));
    EXPECT_EQ(positionIn(ChapterTimeline(), 500), (P{0, 0}));
}

TEST(PictureDataUtilTest, PositionsRoundTripOverRandomLengths)
{
    std::mt19937 random(20240501);
    for (int round = 0; round < 12; ++round) {
        std::uniform_int_distribution<int> count(1, 12);
        std::uniform_int_distribution<uint32_t> length(0, 70000);
        std::vector<uint32_t> lengths(static_cast<size_t>(count(random)));
        for (auto &l : lengths)
            l = round % 4 == 0 ? length(random) % 5 : length(random);
        TimelineCard t(lengths);
        const ChapterTimeline timeline(t.chapters);
        const auto total = PictureDataUtil::getTotalLength(t.chapters);
        ASSERT_EQ(timeline.totalLength(), total);
        std::uniform_int_distribution<int32_t> position(-10, total + 10);
        for (int i = 0; i < 400; ++i) {
            const auto p = i < 20 ? total - 10 + i : position(random);
            const auto [index, offset] = positionIn(t.chapters, p);
            ASSERT_EQ(positionIn(timeline, p), (P{index, offset})) << p;
            if (p >= 0 && p <= total) {
                ASSERT_EQ(PictureDataUtil::getPosition(t.chapters, index, offset), p);
                ASSERT_EQ(PictureDataUtil::getPosition(timeline, index, offset), p);
            }
        }
    }
}

// A trip whose odd chapters lost their records: their lengths are learned as their recordings are read.
// Each refresh asks only the chapters read since it last looked (a read of a chapter whose length was
// known asks none) and then agrees with a timeline made afresh.
TEST(ChapterTimelineTest, ARefreshAsksOnlyTheChaptersReadSinceAndAgreesWithAFreshTimeline)
{
    constexpr int CHAPTERS = 12;
    const struct
    {
        const char *name;
        std::vector<std::vector<size_t>> reads; // chapters read before each refresh
        std::vector<uint64_t> asked;            // unsettled chapters among them
    } cases[] = {
        {"one at a time, backwards", {{9}, {7}, {5}, {3}, {1}}, {1, 1, 1, 1, 1}},
        {"all at once", {{1, 3, 5, 7, 9}}, {5}},
        {"with settled ones and none", {{4, 5}, {}, {0, 1, 2, 3}, {6, 7, 8, 9, 10, 11}}, {1, 0, 2, 2}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        SampleScenario scenario = SampleScenario::chapters(CHAPTERS, 2000);
        scenario.movieMs = 500;
        ASSERT_TRUE(SampleCardWriter(scenario).writeCard(dir.path()));
        for (int lost = 1; lost < CHAPTERS; lost += 2)
            ASSERT_TRUE(loseMovieRecord(dir.filePath("MOVE"), lost));
        CardData card;
        card.loadCardFolder(FileUtil::fileUrl(dir.filePath("MOVE")));
        const ChapterList chapters = card._tripList.front()->sortedChapters();
        ASSERT_EQ(chapters.size(), size_t(CHAPTERS));
        ChapterTimeline timeline(chapters);
        ASSERT_FALSE(timeline.isSettled());
        // What the first asks may have learned meanwhile (the movies' light read) is taken first.
        timeline.refresh();
        for (size_t step = 0; step < c.reads.size(); ++step) {
            SCOPED_TRACE(step);
            for (const size_t i : c.reads[step])
                ASSERT_TRUE(chapters[i]->getPicture(true));
            const uint64_t before = timeline.lengthsAsked();
            const ChapterTimeline fresh(chapters);
            EXPECT_EQ(timeline.refresh(), c.asked[step] > 0);
            EXPECT_EQ(timeline.lengthsAsked() - before, c.asked[step]);
            for (size_t i = 0; i < chapters.size(); ++i) {
                ASSERT_EQ(timeline.length(i), fresh.length(i)) << i;
                ASSERT_EQ(timeline.start(i + 1), fresh.start(i + 1)) << i;
            }
        }
        EXPECT_TRUE(timeline.isSettled());
        card.dispose();
    }
}

TEST(AVUtilTest, WritesTheStillIntoTheFolderMadeOnDemandAndRefusesBadArguments)
{
    TempDir dir;
    const QString movie = dir.filePath("240501123456_0001.MP4");
    ASSERT_TRUE(Ffmpeg::writeTestMovie(movie, 1280, 720, 2.0));
    const QUrl movieUrl = QUrl::fromLocalFile(movie);
    const auto still = AVUtil::saveThumbnail(movieUrl, 1500, QUrl::fromLocalFile(dir.filePath("TMP/THUMB/")));
    ASSERT_TRUE(still.has_value());
    EXPECT_EQ(still->toLocalFile(), dir.filePath("TMP/THUMB/240501123456_0001_000001.jpeg"));
    QImageReader reader(still->toLocalFile());
    EXPECT_EQ(std::pair(reader.format(), reader.size()), std::pair(QByteArray("jpeg"), QSize(320, 180)));
    // The name carries the position as a time of day: 25 h 1 min 1 s wraps to 01:01:01.
    EXPECT_EQ(AVUtil::thumbnailFileName(movieUrl, 90061000), "240501123456_0001_010101.jpeg");
    EXPECT_EQ(AVUtil::thumbnailFileName(QUrl::fromLocalFile("/x/clip.cut.mp4"), 999), "clip.cut_000000.jpeg");

    // A folder URL without the trailing "/", a remote movie, positions outside the movie, a file that is
    // no movie, a file where the folder should be: nothing is made.
    dir.write("D", "x");
    const QUrl folder = QUrl::fromLocalFile(dir.filePath("C/"));
    const QUrl bad = QUrl::fromLocalFile(dir.write("bad.MP4", "not a movie"));
    for (const auto &[source, ms, target] : {std::tuple{movieUrl, 1, QUrl::fromLocalFile(dir.filePath("A"))},
                                             {QUrl("http://host/x.mp4"), 1, folder},
                                             {movieUrl, -500, folder},
                                             {movieUrl, 5000, folder},
                                             {bad, 1, folder},
                                             {movieUrl, 1, QUrl::fromLocalFile(dir.filePath("D/"))}})
        EXPECT_FALSE(AVUtil::saveThumbnail(source, ms, target).has_value())
            << target.toString().toStdString() << ms;
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("A")));
    EXPECT_TRUE(QDir(dir.filePath("C")).entryList(QDir::Files).isEmpty());
}

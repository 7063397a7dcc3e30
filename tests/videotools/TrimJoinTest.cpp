// Each frame of a trimmed selection appears once in the clip, in order, across the joins of its
// chapters: the chapters' pictures carry their frame numbers, read back from the clip's every frame.
// Each frame also shows for one frame period: the frames' times step evenly across the joins, and the
// picture and the sound start together at 0.
#include "videotools/TrimWorker.h"

#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"
#include "card/TripData.h"
#include "platform/MovieProbe.h"
#include "recording/FileUtil.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"
#include "samplecard/SampleCardWriter.h"
#include "support/Ffmpeg.h"
#include "support/TempDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <tuple>

namespace {

constexpr double FPS = 28.0;
constexpr uint32_t COUNTER_START = 100000; // the camera's millisecond counter at the trip's first record
constexpr int CHAPTER_MS = 3000;

// Three chapters of 3 s whose pictures show their frame numbers and whose sound marks each whole
// second with a tone; the sound runs on soundTailMs past the last picture. Written once per tail and
// encoding: with B-frames (as a camera compresses) or without.
QString cardFolder(int soundTailMs, bool hasBFrames, double videoFps = 0.0)
{
    static QMap<std::tuple<int, bool, double>, std::shared_ptr<TempDir>> cards;
    const std::tuple key{soundTailMs, hasBFrames, videoFps};
    if (!cards.contains(key)) {
        auto dir = std::make_shared<TempDir>();
        SampleScenario scenario = SampleScenario::singleChapter(CHAPTER_MS);
        scenario.trips.front().chapters = {
            {1, 0, CHAPTER_MS}, {2, CHAPTER_MS, CHAPTER_MS}, {3, 2 * CHAPTER_MS, CHAPTER_MS}};
        scenario.trips.front().counterStart = COUNTER_START;
        scenario.keyFrameInterval = 10;
        scenario.frameStamp = true;
        scenario.videoWidth = 512; // the stamp's 16 blocks of 32 pixels
        scenario.videoHeight = 96;
        scenario.soundTailMs = soundTailMs;
        scenario.soundMarks = true;
        scenario.compactMovies = hasBFrames;
        scenario.videoFps = videoFps;
        EXPECT_TRUE(SampleCardWriter(scenario).writeCard(dir->path()));
        cards.insert(key, dir);
    }
    return cards.value(key)->filePath("MOVE");
}

// The frame number of every frame the clip holds, in order: no frame repeated or dropped on the way.
std::vector<int> stampedFrames(const QString &clip)
{
    QByteArray gray;
    EXPECT_TRUE(
        Ffmpeg::run({"-i", clip, "-fps_mode", "passthrough", "-vf", "crop=512:32:0:0,scale=16:1:flags=area",
                     "-f", "rawvideo", "-pix_fmt", "gray", "-"},
                    &gray));
    std::vector<int> frames;
    for (qsizetype at = 0; at + 16 <= gray.size(); at += 16) {
        int number = 0;
        for (int bit = 0; bit < 16; ++bit)
            number |= uchar(gray[at + bit]) > 128 ? 1 << bit : 0;
        frames.push_back(number);
    }
    return frames;
}

// ffprobe's entries of the clip as JSON.
QJsonObject probed(const QString &clip, const QStringList &options)
{
    QProcess probe;
    probe.start("ffprobe", QStringList{"-v", "error", "-of", "json"} + options + QStringList{clip});
    probe.waitForFinished(-1);
    EXPECT_EQ(probe.readAllStandardError(), QByteArray());
    return QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
}

// The time of every picture the clip shows, in order, in seconds.
std::vector<double> pictureTimes(const QString &clip)
{
    std::vector<double> times;
    const QJsonArray frames =
        probed(clip, {"-select_streams", "v:0", "-show_entries", "frame=pts_time"})["frames"].toArray();
    for (const QJsonValue &frame : frames)
        times.push_back(frame["pts_time"].toString().toDouble());
    return times;
}

// Where the clip's picture and sound start, in seconds.
std::pair<double, double> streamStarts(const QString &clip)
{
    std::pair<double, double> starts{-1.0, -1.0};
    const QJsonArray streams =
        probed(clip, {"-show_entries", "stream=codec_type,start_time"})["streams"].toArray();
    for (const QJsonValue &stream : streams)
        (stream["codec_type"] == "video" ? starts.first : starts.second) =
            stream["start_time"].toString().toDouble();
    return starts;
}

// The picture steps that differ from one frame period by more than a millisecond, as "index: from -> to".
std::string unevenSteps(const std::vector<double> &times)
{
    QStringList uneven;
    for (size_t i = 1; i < times.size(); ++i) {
        if (std::abs(times[i] - times[i - 1] - 1.0 / FPS) > 0.001)
            uneven << QString("%1: %2 -> %3").arg(i).arg(times[i - 1], 0, 'f', 4).arg(times[i], 0, 'f', 4);
    }
    return uneven.join(", ").toStdString();
}

// Where the clip's sound marks begin, in seconds: the first loud sample after half a second of quiet.
std::vector<double> soundMarks(const QString &clip)
{
    constexpr int RATE = 16000;
    QByteArray pcm;
    EXPECT_TRUE(
        Ffmpeg::run({"-i", clip, "-vn", "-f", "s16le", "-ac", "1", "-ar", QString::number(RATE), "-"}, &pcm));
    std::vector<double> marks;
    qsizetype lastLoud = -RATE;
    for (qsizetype at = 0; at + 1 < pcm.size(); at += 2) {
        const qsizetype sample = at / 2;
        if (std::abs(qFromLittleEndian<qint16>(pcm.constData() + at)) < 8000)
            continue;
        if (sample - lastLoud > RATE / 2)
            marks.push_back(double(sample) / RATE);
        lastLoud = sample;
    }
    return marks;
}

// The marks that are not where the pictures of whole seconds are (frame numbers that are multiples
// of the rate), as "picture time: mark time", and the marks beyond them.
std::string misplacedMarks(const std::vector<int> &frames, const std::vector<double> &times,
                           const std::vector<double> &marks)
{
    QStringList misplaced;
    size_t mark = 0;
    for (size_t i = 0; i < frames.size() && i < times.size(); ++i) {
        if (frames[i] % int(FPS) != 0)
            continue;
        const QString at = mark < marks.size() ? QString::number(marks[mark], 'f', 4) : QString("none");
        if (mark >= marks.size() || std::abs(marks[mark] - times[i]) > 0.003)
            misplaced << QString("%1: %2").arg(times[i], 0, 'f', 4).arg(at);
        ++mark;
    }
    for (; mark < marks.size(); ++mark)
        misplaced << QString("none: %1").arg(marks[mark], 0, 'f', 4);
    return misplaced.join(", ").toStdString();
}

// The clip's driving data: the movie time of each record, by the camera's counter.
std::map<uint32_t, uint32_t> movieTimesByCounter(const QString &clip)
{
    std::map<uint32_t, uint32_t> times;
    const auto trip = TripData::create(nullptr, {QUrl::fromLocalFile(clip)}, QString());
    const auto picture = trip->sortedChapters().front()->getPicture(true);
    if (picture && picture->video) {
        for (const auto &[key, frame] : picture->video->getCameraFrames(1))
            times[frame._timeStamp] = frame._movieTimeStamp;
    }
    trip->dispose();
    return times;
}

std::string listed(const std::vector<int> &frames)
{
    QStringList numbers;
    for (const int frame : frames)
        numbers << QString::number(frame);
    return numbers.join(' ').toStdString();
}

// The trip's selection from startMs to endMs saved as clip.mp4 in work.
TrimRequest clipRequest(const CardData &card, int64_t startMs, int64_t endMs, OverlayFlags flags,
                        const TempDir &work)
{
    TrimRequest request;
    request.chapters = card._tripList.front()->sortedChapters();
    request.startMs = startMs;
    request.endMs = endMs;
    request.flags = flags;
    request.destination = work.filePath("clip.mp4");
    request.workFolderBase = work.filePath("TMP");
    return request;
}

TEST(TrimJoinTest, EveryFrameOfTheSelectionOnceInOrder)
{
    // The sound of a tail and the first clip's decoding delay put gaps before a join's next picture.
    const struct
    {
        int soundTailMs;
        int64_t start, end;
        OverlayFlags flags;
        bool hasBFrames = false;
    } cases[] = {
        {0, 1000, 6500, {}},
        {0, 1000, 6500, {false, true, false, false}},
        {30, 1500, 4500, {}},
        {30, 1500, 4500, {false, true, false, false}},
        {30, 1000, 6500, {true, true, false, false}},
        // A copied cut ends by decode order, and B-frames are decoded after pictures shown later.
        {0, 1000, 6500, {}, true},
        {0, 1000, 6460, {}, true},
        {30, 1500, 4500, {}, true},
        {0, 500, 2430, {}, true},
        {0, 1000, 6500, {false, true, false, false}, true},
    };
    TempDir work;
    for (const auto &c : cases) {
        SCOPED_TRACE(QString("sound tail %1 ms, %2..%3 ms, data %4, B-frames %5")
                         .arg(c.soundTailMs)
                         .arg(c.start)
                         .arg(c.end)
                         .arg(c.flags.any())
                         .arg(c.hasBFrames)
                         .toStdString());
        CardData card;
        card.loadCardFolder(FileUtil::fileUrl(cardFolder(c.soundTailMs, c.hasBFrames)));
        ASSERT_EQ(card._tripList.size(), 1u);
        const TrimRequest request = clipRequest(card, c.start, c.end, c.flags, work);
        const auto range = TrimWorker::planRange(request.chapters, c.start, c.end);
        ASSERT_TRUE(range);
        const auto startStamp = PictureDataUtil::getMovieTimeStamp(request.chapters, range->startPosition);
        const auto endStamp = PictureDataUtil::getMovieTimeStamp(request.chapters, range->endPosition);
        const auto movie = MovieProbe::probe(request.chapters.front()->_pathMp4.toLocalFile());
        TrimWorker worker(request);
        const TrimWorker::Result result = worker.run();
        card.dispose();
        ASSERT_EQ(result, TrimWorker::Result::Saved) << worker.errorText().toStdString();
        ASSERT_TRUE(startStamp && endStamp && movie);

        // The frames the selection covers: from its start in the first chapter, every frame of the
        // chapters between, up to its end in the last one. The clip starts on the start's frame; its end
        // may fall a frame either way.
        const std::vector<int> frames = stampedFrames(request.destination);
        ASSERT_FALSE(frames.empty());
        const int perChapter = int(movie->videoFrames);
        const int first = int(std::lround(*startStamp * FPS / 1000.0));
        const int last = int(std::lround(*endStamp * FPS / 1000.0)) - 1;
        EXPECT_EQ(frames.front(), first);
        EXPECT_NEAR(frames.back(), last, 1);
        std::vector<int> expected;
        const int lastChapter = int(range->chapterCount()) - 1;
        int chapter = 0;
        for (int frame = frames.front();
             chapter < lastChapter || (chapter == lastChapter && frame <= frames.back());) {
            expected.push_back(frame);
            if (++frame == perChapter) {
                frame = 0;
                ++chapter;
            }
        }
        EXPECT_EQ(listed(frames), listed(expected));

        const std::vector<double> times = pictureTimes(request.destination);
        EXPECT_EQ(times.size(), frames.size());
        EXPECT_EQ(unevenSteps(times), "");
        const auto [pictureStart, soundStart] = streamStarts(request.destination);
        EXPECT_NEAR(pictureStart, 0.0, 0.0005);
        EXPECT_NEAR(soundStart, 0.0, 0.0005);
        ASSERT_FALSE(times.empty());
        EXPECT_NEAR(times.front(), 0.0, 0.0005);
        // The sound stays with the pictures across the joins.
        EXPECT_EQ(misplacedMarks(frames, times, soundMarks(request.destination)), "");

        // The clip's driving data puts each chapter's first record where that chapter's first picture is.
        const std::map<uint32_t, uint32_t> recordTimes = movieTimesByCounter(request.destination);
        int64_t chapterIndex = range->startIndex;
        for (size_t i = 1; i < frames.size() && i < times.size(); ++i) {
            if (frames[i] != 0)
                continue;
            ++chapterIndex;
            const auto record = recordTimes.find(COUNTER_START + uint32_t(chapterIndex * CHAPTER_MS));
            ASSERT_NE(record, recordTimes.end()) << chapterIndex;
            EXPECT_NEAR(record->second, times[i] * 1000.0, 1.0) << chapterIndex;
        }
        EXPECT_EQ(chapterIndex, range->endIndex);
    }
}

TEST(TrimJoinTest, TheClipStartsOnThePictureShownAtTheSelectionsStart)
{
    // As a camera records: 30 pictures a second under 28 records. Between two records the movie runs
    // on, so the picture at a start may come after the record at or before it (1034 ms shows picture 31,
    // the record before it is picture 30's). A picture starts at frame * 1000 / 30 ms.
    constexpr double VIDEO_FPS = 30.0;
    const struct
    {
        int64_t start, end;
        OverlayFlags flags;
    } cases[] = {
        {1034, 2500, {}}, {1034, 2500, {false, true, false, false}}, {1500, 4500, {}},
        {1570, 4900, {}}, {1570, 4900, {false, true, false, false}}, {3100, 6000, {}},
    };
    TempDir work;
    for (const auto &c : cases) {
        SCOPED_TRACE(QString("%1..%2 ms, data %3").arg(c.start).arg(c.end).arg(c.flags.any()).toStdString());
        CardData card;
        card.loadCardFolder(FileUtil::fileUrl(cardFolder(0, false, VIDEO_FPS)));
        ASSERT_EQ(card._tripList.size(), 1u);
        const TrimRequest request = clipRequest(card, c.start, c.end, c.flags, work);
        const auto range = TrimWorker::planRange(request.chapters, c.start, c.end);
        ASSERT_TRUE(range);
        TrimWorker worker(request);
        const TrimWorker::Result result = worker.run();
        card.dispose();
        ASSERT_EQ(result, TrimWorker::Result::Saved) << worker.errorText().toStdString();
        const std::vector<int> frames = stampedFrames(request.destination);
        ASSERT_FALSE(frames.empty());
        // Each chapter's records run from movie time 0, one per 1000 / 28 ms, so an offset is its movie time.
        EXPECT_EQ(frames.front(), int(range->startOffset * VIDEO_FPS / 1000.0));
    }
}

} // namespace

#include "recording/DatFileReader.h"
#include "recording/DividedDatReader.h"
#include "recording/EventRecordingReader.h"
#include "recording/FileUtil.h"
#include "recording/LegacyFrameFileReader.h"
#include "recording/MovieDatReader.h"
#include "recording/Mp4RecordingReader.h"
#include "recording/PlaybackInfo.h"
#include "recording/RecordingRead.h"
#include "recording/SettingInfo.h"
#include "recording/VersionInfo.h"
#include "samplecard/SampleCardWriter.h"
#include "support/FileFlipper.h"
#include "support/HostileFiles.h"
#include "support/TempDir.h"
#include <QElapsedTimer>
#include <optional>

namespace {

QByteArray u32(uint32_t value)
{
    return HostileFiles::u32(value);
}

constexpr qint64 FOUR_GIB = 4ll << 30;
const QByteArray KEY("KEY1", 4);

// An 8 KiB DAT file header whose records carry KEY, with `items` setting items of group 0, 1.
QByteArray datHeader(int items)
{
    QByteArray header(0x2000, '\0');
    header.replace(44, 4, KEY);
    header[64] = char(items);
    for (int i = 0; i < items; ++i)
        header[80 + 8 * i + 1] = char(0x01);
    return header;
}

// A block of each DAT layout every `step` bytes from `from` to the end of a 4 GiB file.
std::vector<std::pair<qint64, QByteArray>> everyStep(qint64 from, qint64 step, const QByteArray &block)
{
    std::vector<std::pair<qint64, QByteArray>> pieces;
    for (qint64 at = from; at + step <= FOUR_GIB; at += step)
        pieces.emplace_back(at, block);
    return pieces;
}

enum class Layout
{
    Movie,
    Event,
    Legacy,
    Divided,
};

// Reads the file as the layout with the widest window; whether the reader flagged an error (none for
// the divided layout, which has no such flag).
std::optional<bool> readAs(Layout layout, const QString &path)
{
    const auto all = PictureData::PictureDataType::All;
    const Date past = Date::distantPast();
    const Date future = Date::distantFuture();
    bool isError = false;
    switch (layout) {
    case Layout::Movie:
        MovieDatReader::read(path, past, future, all, nullptr, isError);
        break;
    case Layout::Event:
        EventRecordingReader::readFileEvent(path, past, future, all, nullptr, isError);
        break;
    case Layout::Legacy:
        LegacyFrameFileReader::readFileOther(path, past, future, all, nullptr, isError);
        break;
    case Layout::Divided:
        DividedDatReader::readDivisionFile(path);
        return std::nullopt;
    }
    return isError;
}

// A legacy frame file's header with one setting item.
QByteArray legacyHeader()
{
    QByteArray header(56, '\0');
    header[32] = 1;
    header[49] = char(0x01);
    return header;
}

struct CraftedDat
{
    const char *name;
    Layout layout;
    std::vector<std::pair<qint64, QByteArray>> pieces;
};

} // namespace

// A movie cut and restored while it is read: every round reads it or says why not, and no round
// ends in a signal, in recdump or in this process.
TEST(HostileFileTest, AMovieCutWhileItIsReadIsReadOrReported)
{
    TempDir dir;
    SampleCardWriter writer(SampleScenario::singleChapter(10000));
    const SampleTrip &trip = writer.scenario().trips.front();
    const QString path = dir.filePath("m2024050112300001.MP4");
    ASSERT_TRUE(writer.writeChapterMovie(trip, trip.chapters.front(), path));
    FileFlipper flipper(path, readAll(path));
    for (int round = 0; round < 200; ++round) {
        QProcess process;
        process.start(tool("recdump"), {path});
        ASSERT_TRUE(process.waitForFinished(-1));
        ASSERT_EQ(process.exitStatus(), QProcess::NormalExit) << round;
        const auto json = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        ASSERT_FALSE(json.isEmpty()) << round;
        const bool read = !json.value("cameras").toObject().isEmpty();
        EXPECT_TRUE(read || !json.value("problem").isNull()) << round;

        const PictureData picture = pictureOf(path);
        EXPECT_TRUE(picture.video || !picture.problem.isEmpty()) << round;
    }
    EXPECT_GT(flipper.flips(), 0);
}

// 100,000 records 2 s apart in a one-minute movie would fill millions of frames; the reader keeps
// no more than the movie's length allows, and says so.
TEST(HostileFileTest, MoreFramesThanTheMovieAllowsStopAtTheBoundAndGapFillingStopsThere)
{
    TempDir dir;
    const QString path = dir.write("m2024050112300001.MP4", HostileFiles::chapter(100000, 2000, 60000));
    // What the read adds to the peak: a suite run in one process (or under a sanitizer) starts high.
    ASSERT_TRUE(HostileFiles::resetPeakResident());
    const qint64 before = HostileFiles::peakResidentBytes();
    const PictureData picture = pictureOf(path);
    ASSERT_TRUE(picture.video);
    EXPECT_EQ(picture.video->getCameraFrames(0).size(), Mp4RecordingReader::maxFramesFor(60000));
    EXPECT_LE(picture.video->getCameraFrames(1).size(), Mp4RecordingReader::maxFramesFor(60000));
    EXPECT_FALSE(picture.problem.isEmpty());
    const qint64 peak = HostileFiles::peakResidentBytes();
    EXPECT_LT(peak - before, 100ll << 20);

    // The same records in a movie long enough for them are read.
    const QString fitting = dir.write("m2024050112300002.MP4", HostileFiles::chapter(200, 30, 6000));
    EXPECT_TRUE(pictureOf(fitting).video);

    // However far apart a block's frames lie, the copies that fill the gaps stop at the bound.
    FramePool pool;
    std::vector<uint32_t> frames;
    for (uint32_t i = 0; i < 1000; ++i) {
        VideoFrame frame;
        frame.blockNo = 1;
        frame._timeStamp = i * 2000;
        frames.push_back(pool.add(frame));
    }
    for (const size_t bound : {size_t(0), size_t(1000), size_t(5000)}) {
        const auto table = VideoInfo::makeMovieFrameTable(pool, frames, 0, 30.0f, bound);
        EXPECT_EQ(table.keys.size(), std::max(bound, frames.size())) << bound;
    }
}

// A 60 s movie whose records go on for 80 s: the frames up to the bound stay, so the meter, graphs and
// route still show the chapter, and the problem is given once.
TEST(HostileFileTest, SurplusRecordsOfAMovieKeepTheFramesUpToTheBound)
{
    TempDir dir;
    const size_t bound = Mp4RecordingReader::maxFramesFor(60000);
    const int gapMs = 15;
    const int records = 80000 / gapMs;
    ASSERT_GT(size_t(records), bound);
    const QString path = dir.write("m2024050112300001.MP4", HostileFiles::chapter(records, gapMs, 60000));
    bool isError = false;
    QString problem;
    const auto info =
        Mp4RecordingReader::read(path, Date::distantPast(), Date::distantFuture(), isError, {}, &problem);
    ASSERT_TRUE(info);
    EXPECT_FALSE(isError);
    EXPECT_EQ(problem, "holds more driving data than its movie's length allows");
    const std::vector<uint32_t> kept = stamps(*info);
    ASSERT_EQ(kept.size(), bound);
    for (size_t i = 0; i < kept.size(); ++i)
        ASSERT_EQ(kept[i], i * gapMs) << i;
    EXPECT_EQ(info->_timeSpan, (bound - 1) * gapMs);
}

// FIFOs in place of a movie, the settings files and the header file are skipped, never waited on.
TEST(HostileFileTest, FifosInPlaceOfRecordingFilesAreSkipped)
{
    TempDir dir;
    for (const char *name : {"m2024050112300001.MP4", "SETINF.DAT", "GROUP.DAT", "Playback.inf", "ver.txt"})
        ASSERT_TRUE(HostileFiles::makeFifo(dir.filePath(name))) << name;
    const PictureData picture = pictureOf(dir.filePath("m2024050112300001.MP4"));
    EXPECT_FALSE(picture.video);
    EXPECT_FALSE(picture.problem.isEmpty());
    SettingInfo settings;
    settings.Load_SETINF(dir.filePath("SETINF.DAT"));
    settings.Load(dir.filePath("GROUP.DAT"));
    PlaybackInfo playback;
    playback.load(dir.filePath("Playback.inf"));
    EXPECT_EQ(playback.title, QStringLiteral("なし"));
    EXPECT_EQ(VersionInfo::check(QUrl::fromLocalFile(dir.path()))._versionString,
              VersionInfo::fallback()._versionString);
}

// The selected folder's path is removed from the front of a file's path only: when its text appears
// again deeper down, removing every occurrence made "move1/x/<folder>/m...MP4" look like
// "move1/xm...MP4", a movie directly in a move folder.
TEST(HostileFileTest, TheMovieSearchStripsTheFolderOnlyAsAPrefix)
{
    TempDir dir;
    const QString folder = dir.path() + "/";
    const QString nested = dir.filePath("move1/x") + folder + "m2020010112345601.MP4";
    ASSERT_TRUE(QDir().mkpath(QFileInfo(nested).absolutePath()));
    ASSERT_TRUE(QFile(nested).open(QIODevice::WriteOnly));
    const QString direct = dir.write("move1/m2020010112345602.MP4", "x");
    EXPECT_EQ(FileUtil::searchMovieFiles(QUrl::fromLocalFile(folder)),
              QList<QUrl>{QUrl::fromLocalFile(direct)});
}

// Sparse 4 GiB files (a few KB on disk) shaped as each DAT layout, claiming millions of records or
// gigabytes of pictures: every reader stops at its bounds with isError, and the read takes what the
// bounds allow, not what the file claims.
TEST(HostileFileTest, CraftedFourGigabyteDatFilesAreReadWithinBoundedMemory)
{
    const uint32_t image = uint32_t(EventRecordingReader::MAX_IMAGE_SIZE);
    QByteArray event(EventRecordingReader::FIXED_SIZE, '\0');
    event.replace(0, 4, u32(image + 96));
    event.replace(8, 4, u32(image));
    event[76] = char(0x55);
    event.replace(92, 4, KEY);
    auto events = everyStep(0x2000, image + 96, event);
    events.insert(events.begin(), {0, datHeader(1)});
    QByteArray legacy(LegacyFrameFileReader::RECORD_FIXED_SIZE, '\0');
    legacy.replace(0, 4, u32(image));
    legacy[8] = char(0x55);
    legacy.replace(32, 6, QByteArray::fromHex("240501123000"));
    auto legacies = everyStep(56, image + legacy.size(), legacy);
    legacies.insert(legacies.begin(), {0, legacyHeader()});
    const CraftedDat cases[] = {
        // One block over the whole file: 67 million records of zeros, none of them an end record.
        {"movie DAT, a block of 4 GiB", Layout::Movie, {{0, datHeader(0)}, {0x2000, u32(0xFFFF0000)}}},
        // 8 MiB pictures one after another, each read into memory.
        {"event recording, 511 pictures of 8 MiB", Layout::Event, events},
        {"legacy frame file, 511 pictures of 8 MiB", Layout::Legacy, legacies},
        // Records of zeros: each a bad date, after which the reader looks for the next picture.
        {"legacy frame file, records of zeros", Layout::Legacy, {{0, legacyHeader()}}},
        // Frame headers of zeros: 67 million of them before the end, each a read.
        {"divided recording, frames without pictures", Layout::Divided, {{0, QByteArray(48, 0)}}},
    };
    for (const CraftedDat &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const QString path = dir.filePath("m2024050112300009.MP40009");
        ASSERT_TRUE(HostileFiles::writeSparse(path, FOUR_GIB, c.pieces));
        // What the read adds to the peak: a suite run in one process (or under a sanitizer) starts high.
        ASSERT_TRUE(HostileFiles::resetPeakResident());
        const qint64 before = HostileFiles::peakResidentBytes();
        QElapsedTimer timer;
        timer.start();
        EXPECT_NE(readAs(c.layout, path), std::optional(false));
        EXPECT_LT(HostileFiles::peakResidentBytes() - before, 200ll << 20);
        // Before the bounds the divided walk alone took many minutes; a loaded machine or a sanitizer is slow.
        EXPECT_LT(timer.elapsed(), 30000);
    }
}

// A crafted chapter-named file that is no MP4 goes to the movie DAT reader: with more picture records
// than an hour holds it keeps no more than the bound.
TEST(HostileFileTest, AMovieDatOfMorePicturesThanAnHourKeepsTheBound)
{
    constexpr size_t records = DatFileReader::MAX_FRAMES + 1000;
    QByteArray block = u32(uint32_t(48 + records * 64)) + QByteArray(44, '\0');
    block.reserve(qsizetype(48 + records * 64));
    QByteArray record(64, '\0');
    record[44] = char(0x55);
    record[32] = char(1);
    for (size_t i = 0; i < records; ++i) {
        record.replace(40, 4, u32(uint32_t(1 + i * 33)));
        block += record;
    }
    TempDir dir;
    const QString path = dir.write("m2024050112300009.MP40009", datHeader(0) + block);
    ASSERT_TRUE(HostileFiles::resetPeakResident());
    const qint64 before = HostileFiles::peakResidentBytes();
    const PictureData picture = pictureOf(path);
    ASSERT_TRUE(picture.video);
    EXPECT_FALSE(picture.errors.isEmpty());
    EXPECT_LE(picture.video->getCameraFrames(1).size(), DatFileReader::MAX_FRAMES);
    EXPECT_LT(HostileFiles::peakResidentBytes() - before, 200ll << 20);
}

#include "recording/FileUtil.h"
#include "recording/Mp4RecordingReader.h"
#include "recording/PlaybackInfo.h"
#include "recording/RecordingRead.h"
#include "recording/SettingInfo.h"
#include "recording/VersionInfo.h"
#include "samplecard/SampleCardWriter.h"
#include "support/FileFlipper.h"
#include "support/HostileFiles.h"
#include "support/TempDir.h"

namespace {

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

// 100,000 records 2 s apart in a one-minute movie would fill millions of frames; the reader refuses
// the file before it builds more than the movie's length allows.
TEST(HostileFileTest, MoreFramesThanTheMovieAllowsAreRefusedAndGapFillingStopsAtTheBound)
{
    TempDir dir;
    const QString path = dir.write("m2024050112300001.MP4", HostileFiles::chapter(100000, 2000, 60000));
    // What the read adds to the peak: a suite run in one process (or under a sanitizer) starts high.
    ASSERT_TRUE(HostileFiles::resetPeakResident());
    const qint64 before = HostileFiles::peakResidentBytes();
    const PictureData picture = pictureOf(path);
    EXPECT_FALSE(picture.video);
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

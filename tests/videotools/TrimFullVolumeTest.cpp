// A trim onto a volume that runs out of room fails and names the full volume as the cause, whichever of
// its writes stopped, with ffmpeg talking or quiet; the destination's old file stays whole. The disk check
// asks the work folder and the destination each for its own room.
#include "videotools/TrimRules.h"
#include "videotools/TrimWorker.h"

#include "card/CardData.h"
#include "recording/FileUtil.h"
#include "samplecard/SampleCardWriter.h"
#include "support/SmallVolume.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace {

constexpr int64_t MiB = 1 << 20;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Every entry of a folder, hidden ones too.
QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

class TrimFullVolumeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SampleScenario scenario = SampleScenario::singleChapter(3000);
        scenario.trips.front().chapters = {{1, 0, 3000}, {2, 3000, 3000}, {3, 6000, 3000}};
        scenario.keyFrameInterval = 10;
        scenario.videoWidth = 256;
        scenario.videoHeight = 192;
        ASSERT_TRUE(SampleCardWriter(scenario).writeCard(_work.path()));
        _card.loadCardFolder(FileUtil::fileUrl(_work.filePath("MOVE")));
        ASSERT_EQ(_card._tripList.size(), 1u);
    }
    void TearDown() override { _card.dispose(); }

    TrimRequest request(const QString &destination, OverlayFlags flags) const
    {
        TrimRequest r;
        r.chapters = _card._tripList.front()->sortedChapters();
        r.startMs = 1500;
        r.endMs = 7500;
        r.flags = flags;
        r.destination = destination;
        r.workFolderBase = _work.filePath("TMP");
        return r;
    }

    TempDir _work;
    CardData _card;
};

TEST_F(TrimFullVolumeTest, FullVolumeIsTheCause)
{
    SmallVolume volume(_work.filePath("volume"), 20);
    if (!volume.active())
        GTEST_SKIP() << volume.whyNot().toStdString();
    const OverlayFlags data{true, true, false, false};
    // The clip's size on a roomy disk sets the room left: none (the clip's copy fails), or enough for
    // the cuts but not for the join and the start's cut.
    TrimWorker roomy(request(_work.filePath("roomy.mp4"), {}));
    ASSERT_EQ(roomy.run(), TrimWorker::Result::Saved) << roomy.errorText().toStdString();
    const int64_t clipBytes = QFileInfo(_work.filePath("roomy.mp4")).size();
    const QString destination = volume.path() + "/clip.mp4";
    const QString workFolder = volume.path() + "/TMP";
    const struct
    {
        int64_t freeBytes;
        OverlayFlags flags;
        bool isWorkOnVolume; // else the destination is
    } cases[] = {
        {0, {}, true},
        {64 << 10, data, true}, // room for the subtitle files: the cuts burn them in, with ffmpeg quiet
        {clipBytes * 3 / 2, {}, true},
        {0, {}, false},
        {64 << 10, data, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QString("%1 bytes free, data %2, work on the volume %3")
                         .arg(c.freeBytes)
                         .arg(c.flags.any())
                         .arg(c.isWorkOnVolume)
                         .toStdString());
        ASSERT_TRUE(QDir().mkpath(workFolder));
        ASSERT_TRUE(volume.leaveFree(c.freeBytes));
        TrimRequest r = request(c.isWorkOnVolume ? _work.filePath("clip.mp4") : destination, c.flags);
        if (c.isWorkOnVolume)
            r.workFolderBase = workFolder;
        const QString cause = (c.isWorkOnVolume ? workFolder : destination) + ": " +
                              QString::fromLocal8Bit(std::strerror(ENOSPC));
        TrimWorker worker(r);
        QStringList commands;
        worker.setLogHandler([&commands](const QString &line) { commands << line; });
        EXPECT_EQ(worker.run(), TrimWorker::Result::Failed);
        EXPECT_EQ(commands.join('\n').contains("-loglevel quiet"), c.flags.any());
        EXPECT_EQ(worker.failureReason().toStdString(), cause.toStdString())
            << worker.errorText().toStdString();
        EXPECT_TRUE(worker.errorText().startsWith(cause));
        EXPECT_EQ(entriesOf(volume.path()), (QStringList{"filler", "TMP"}));
        EXPECT_TRUE(entriesOf(workFolder).isEmpty());
        EXPECT_FALSE(QFile::exists(r.destination));
    }

    // trimclip tells the same.
    ASSERT_TRUE(volume.leaveFree(0));
    QProcess trimclip;
    trimclip.start(QDir(qEnvironmentVariable("ORV_BUILD_DIR")).filePath("devtools/trimclip"),
                   {_work.filePath("MOVE"), "--trip", "0", "--from", "1500", "--to", "7500", destination});
    ASSERT_TRUE(trimclip.waitForFinished(-1));
    EXPECT_EQ(trimclip.exitCode(), 1);
    const QString errors = QString::fromLocal8Bit(trimclip.readAllStandardError());
    EXPECT_TRUE(errors.contains("Cut was unsuccessful. " + destination + ": " +
                                QString::fromLocal8Bit(std::strerror(ENOSPC))))
        << errors.toStdString();
}

// The clip's copy onto its volume runs out of room half-way: the trim fails naming the full volume, the
// old clip of that name stays as it was, and no part of the new one is left there. The cuts never touch
// the destination's volume: they are made in the work folder.
TEST_F(TrimFullVolumeTest, ACopyThatRunsOutOfRoomKeepsTheOldClip)
{
    SmallVolume volume(_work.filePath("volume"), 20);
    if (!volume.active())
        GTEST_SKIP() << volume.whyNot().toStdString();
    TrimWorker roomy(request(_work.filePath("roomy.mp4"), {}));
    ASSERT_EQ(roomy.run(), TrimWorker::Result::Saved) << roomy.errorText().toStdString();
    const int64_t clipBytes = QFileInfo(_work.filePath("roomy.mp4")).size();
    ASSERT_GT(clipBytes, 64 << 10);

    const QString destination = volume.path() + "/clip.mp4";
    const QByteArray old(64 << 10, 'o');
    QFile oldClip(destination);
    ASSERT_TRUE(oldClip.open(QIODevice::WriteOnly) && oldClip.write(old) == old.size());
    oldClip.close();
    ASSERT_TRUE(volume.leaveFree(clipBytes / 2));
    TrimWorker worker(request(destination, {}));
    QStringList commands;
    worker.setLogHandler([&commands](const QString &line) { commands << line; });
    EXPECT_EQ(worker.run(), TrimWorker::Result::Failed);
    const QString cause = destination + ": " + QString::fromLocal8Bit(std::strerror(ENOSPC));
    EXPECT_EQ(worker.failureReason().toStdString(), cause.toStdString()) << worker.errorText().toStdString();
    EXPECT_EQ(worker.errorText().toStdString(), cause.toStdString()) << "the copy's own error, once";
    ASSERT_FALSE(commands.isEmpty());
    for (const QString &command : commands) {
        EXPECT_TRUE(command.contains(_work.filePath("TMP/trim-"))) << command.toStdString();
        EXPECT_FALSE(command.contains(volume.path())) << command.toStdString();
    }
    EXPECT_EQ(readAll(destination), old);
    EXPECT_EQ(entriesOf(volume.path()), (QStringList{"clip.mp4", "filler"}));
    EXPECT_TRUE(entriesOf(_work.filePath("TMP")).isEmpty());
}

// m is 36 MiB for each started card file of the range (52 s of a Nomal recording): the work folder is
// asked for m + (m - 36) MiB, the destination for m - 36, each on its own volume.
TEST_F(TrimFullVolumeTest, EachFolderIsAskedForItsOwnRoom)
{
    SmallVolume volume(_work.filePath("volume"), 120);
    if (!volume.active())
        GTEST_SKIP() << volume.whyNot().toStdString();
    const QString roomy = _work.filePath("TMP");
    const struct
    {
        int64_t rangeMs;
        int64_t freeMiB; // on the volume, and half a MiB
        bool isWorkOnVolume;
        bool isAccepted;
    } cases[] = {
        {3000, 35, false, true}, // one file: nothing asked of the destination
        {62000, 99, false, true}, {62000, 35, false, false}, {3000, 35, true, false},
        {3000, 36, true, true},   {62000, 107, true, false}, {62000, 108, true, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QString("%1 ms, %2 MiB free, work on the volume %3")
                         .arg(c.rangeMs)
                         .arg(c.freeMiB)
                         .arg(c.isWorkOnVolume)
                         .toStdString());
        ASSERT_TRUE(volume.leaveFree(c.freeMiB * MiB + MiB / 2));
        const QString work = c.isWorkOnVolume ? volume.path() + "/TMP" : roomy;
        const QString destination = c.isWorkOnVolume ? _work.path() : volume.path();
        EXPECT_EQ(TrimRules::checkDiskSpace(CommonConst::RecMode::Nomal, c.rangeMs, work, destination),
                  c.isAccepted);
    }

    // The one-file trim that 35 MiB take runs as the check let it: the cuts in the work folder, on the
    // volume only the clip.
    ASSERT_TRUE(volume.leaveFree(35 * MiB + MiB / 2));
    const QString destination = volume.path() + "/clip.mp4";
    TrimWorker worker(request(destination, {}));
    QStringList commands;
    worker.setLogHandler([&commands](const QString &line) { commands << line; });
    ASSERT_EQ(worker.run(), TrimWorker::Result::Saved) << worker.errorText().toStdString();
    for (const QString &command : commands)
        EXPECT_FALSE(command.contains(volume.path())) << command.toStdString();
    EXPECT_EQ(entriesOf(volume.path()), (QStringList{"clip.mp4", "filler", "TMP"}));
}

} // namespace

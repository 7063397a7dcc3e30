// A trim onto a volume that runs out of room fails and names the full volume as the cause, whichever of
// its writes stopped, with ffmpeg talking or quiet.
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
    // The clip's size on a roomy disk sets the room left: none (the cuts fail), or enough for the cuts
    // but not for the join and the start's cut.
    TrimWorker roomy(request(_work.filePath("roomy.mp4"), {}));
    ASSERT_EQ(roomy.run(), TrimWorker::Result::Saved) << roomy.errorText().toStdString();
    const int64_t clipBytes = QFileInfo(_work.filePath("roomy.mp4")).size();
    const struct
    {
        int64_t freeBytes;
        OverlayFlags flags;
    } cases[] = {
        {0, {}},
        {64 << 10, data}, // room for the subtitle files: the cuts burn them in, with ffmpeg quiet
        {clipBytes * 3 / 2, {}},
    };
    const QString destination = volume.path() + "/clip.mp4";
    const QString cause = destination + ": " + QString::fromLocal8Bit(std::strerror(ENOSPC));
    for (const auto &c : cases) {
        SCOPED_TRACE(QString("%1 bytes free, data %2").arg(c.freeBytes).arg(c.flags.any()).toStdString());
        ASSERT_TRUE(volume.leaveFree(c.freeBytes));
        TrimWorker worker(request(destination, c.flags));
        QStringList commands;
        worker.setLogHandler([&commands](const QString &line) { commands << line; });
        EXPECT_EQ(worker.run(), TrimWorker::Result::Failed);
        EXPECT_EQ(commands.join('\n').contains("-loglevel quiet"), c.flags.any());
        EXPECT_EQ(worker.failureReason().toStdString(), cause.toStdString())
            << worker.errorText().toStdString();
        EXPECT_TRUE(worker.errorText().startsWith(cause));
        EXPECT_EQ(QDir(volume.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList{"filler"});
    }

    // trimclip tells the same.
    ASSERT_TRUE(volume.leaveFree(0));
    QProcess trimclip;
    trimclip.start(QDir(qEnvironmentVariable("ORV_BUILD_DIR")).filePath("devtools/trimclip"),
                   {_work.filePath("MOVE"), "--trip", "0", "--from", "1500", "--to", "7500", destination});
    ASSERT_TRUE(trimclip.waitForFinished(-1));
    EXPECT_EQ(trimclip.exitCode(), 1);
    const QString errors = QString::fromLocal8Bit(trimclip.readAllStandardError());
    EXPECT_TRUE(errors.contains("Cut was unsuccessful. " + cause)) << errors.toStdString();
}

} // namespace

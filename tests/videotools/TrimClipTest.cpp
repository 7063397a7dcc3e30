// trimclip, the trim job without windows: exit status, the clip, and an empty work folder either way.
#include "samplecard/SampleCardWriter.h"
#include "support/TempDir.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

TEST(TrimClipTest, ExitStatusAndNothingLeftBehind)
{
    TempDir dir;
    SampleScenario scenario = SampleScenario::singleChapter(3000);
    scenario.keyFrameInterval = 10;
    ASSERT_TRUE(SampleCardWriter(scenario).writeCard(dir.path()));
    const QString tmp = dir.filePath("tmp");
    ASSERT_TRUE(QDir().mkpath(tmp));
    const QStringList trip0{dir.filePath("MOVE"), "--trip", "0", "--from", "200", "--to", "2800"};
    QStringList trip1 = trip0;
    trip1[2] = "1"; // no such trip
    const struct
    {
        QStringList args;
        int exitCode;
        bool isSaved;
    } cases[] = {
        {trip0 + QStringList{"--overlay", "speed,point", dir.filePath("a.mp4")}, 0, true},
        {trip1 + QStringList{dir.filePath("b.mp4")}, 1, false},
        {trip0 + QStringList{"--overlay", "colour", dir.filePath("c.mp4")}, 2, false},
        {trip0 + QStringList{dir.filePath("no/such/folder/d.mp4")}, 1, false},
    };
    for (const auto &c : cases) {
        QProcess trimclip;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TMPDIR", tmp);
        trimclip.setProcessEnvironment(env);
        trimclip.start(QDir(qEnvironmentVariable("ORV_BUILD_DIR")).filePath("devtools/trimclip"), c.args);
        ASSERT_TRUE(trimclip.waitForFinished(-1));
        EXPECT_EQ(trimclip.exitCode(), c.exitCode) << trimclip.readAllStandardError().toStdString();
        EXPECT_EQ(QFile::exists(c.args.last()), c.isSaved);
        QDirIterator files(tmp, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        EXPECT_FALSE(files.hasNext()) << files.next().toStdString();
    }
}

} // namespace

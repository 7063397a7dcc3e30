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
    SampleCardWriter writer(scenario);
    ASSERT_TRUE(writer.writeCard(dir.path()));
    const QString tmp = dir.filePath("tmp");
    ASSERT_TRUE(QDir().mkpath(tmp));
    const QString move = dir.filePath("MOVE");
    struct Case
    {
        QStringList args;
        int exitCode;
        bool isSaved;
    };
    const Case cases[] = {
        {{move, "--trip", "0", "--from", "200", "--to", "2800", "--overlay", "speed,point",
          dir.filePath("a.mp4")},
         0,
         true},
        {{move, "--trip", "1", "--from", "200", "--to", "2800", dir.filePath("b.mp4")}, 1, false},
        {{move, "--trip", "0", "--from", "200", "--to", "2800", "--overlay", "colour", dir.filePath("c.mp4")},
         2,
         false},
        {{move, "--trip", "0", "--from", "200", "--to", "2800", dir.filePath("no/such/folder/d.mp4")},
         1,
         false},
    };
    for (const Case &c : cases) {
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

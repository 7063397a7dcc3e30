// trimclip killed while ffmpeg cuts: its ffmpeg runs end with it, and the next trim into the same folder
// finds nothing hidden of the dead run's, in the temporary folder or beside the destination.
#include "samplecard/SampleCardWriter.h"
#include "support/TempDir.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QString trimclipProgram()
{
    return QDir(qEnvironmentVariable("ORV_BUILD_DIR")).filePath("devtools/trimclip");
}

// An ffmpeg that notes its process id and then runs on, as a long cut does.
QString writeSlowFfmpeg(const TempDir &work)
{
    const QString program =
        work.write("bin/ffmpeg", "#!/bin/sh\necho $$ >>\"$ORV_FFMPEG_PIDS\"\nexec sleep 60\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return QFileInfo(program).absolutePath();
}

QList<qint64> pidsIn(const QString &path)
{
    QFile file(path);
    QList<qint64> pids;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : file.readAll().split('\n'))
            if (!line.isEmpty())
                pids << line.toLongLong();
    }
    return pids;
}

// A process that is gone or only waits to be reaped has ended.
bool isRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype end = text.lastIndexOf(')');
    return end >= 0 && end + 2 < text.size() && text[end + 2] != 'Z';
}

// Everything in folder and below it, hidden entries too, by path relative to it.
std::string entriesBelow(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(folder).relativeFilePath(it.next());
    entries.sort();
    return entries.join(' ').toStdString();
}

} // namespace

TEST(KilledTrimTest, NothingRunsOnAndTheNextTrimLeavesNothingHidden)
{
    TempDir work;
    SampleScenario scenario = SampleScenario::singleChapter(2000);
    scenario.trips.front().chapters = {{1, 0, 2000}, {2, 2000, 2000}};
    ASSERT_TRUE(SampleCardWriter(scenario).writeCard(work.filePath("card")));
    const QString card = work.filePath("card/MOVE");
    const QString slowFfmpeg = writeSlowFfmpeg(work);
    // A destination in memory: the clip is copied there from the temporary folder's disk.
    QTemporaryDir memory(QStringLiteral("/dev/shm/orv-killed-XXXXXX"));
    const struct
    {
        const char *what;
        QString folder;
        bool isOtherFileSystem;
    } cases[] = {
        {"beside the temporary folder", work.filePath("out"), false},
        {"on another file system", memory.path(), true},
    };
    for (const auto &c : cases) {
        if (c.isOtherFileSystem &&
            (!memory.isValid() || QStorageInfo(work.path()).rootPath() == QStorageInfo(c.folder).rootPath()))
            continue;
        const QString tmp = work.filePath(QStringLiteral("tmp-%1").arg(c.what));
        const QString pids = work.filePath(QStringLiteral("pids-%1").arg(c.what));
        ASSERT_TRUE(QDir().mkpath(tmp) && QDir().mkpath(c.folder)) << c.what;
        QFile earlier(c.folder + "/earlier.mp4");
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7) << c.what;
        earlier.close();
        const QStringList args{card, "--trip", "0", "--from", "200", "--to", "3800", c.folder + "/clip.mp4"};
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", tmp);

        QProcessEnvironment slow = environment;
        slow.insert("PATH", slowFfmpeg + ":" + environment.value("PATH"));
        slow.insert("ORV_FFMPEG_PIDS", pids);
        QProcess killed;
        killed.setProcessEnvironment(slow);
        killed.start(trimclipProgram(), args);
        ASSERT_TRUE(killed.waitForStarted()) << c.what;
        const QDeadlineTimer started(60000);
        while (pidsIn(pids).isEmpty() && !started.hasExpired() && killed.state() == QProcess::Running)
            QThread::msleep(20);
        ASSERT_FALSE(pidsIn(pids).isEmpty()) << c.what << killed.readAllStandardError().toStdString();
        ::kill(pid_t(killed.processId()), SIGKILL);
        ASSERT_TRUE(killed.waitForFinished(10000));

        const QDeadlineTimer ending(5000);
        QList<qint64> running = pidsIn(pids);
        while (!running.isEmpty() && !ending.hasExpired()) {
            running.removeIf([](qint64 pid) { return !isRunning(pid); });
            QThread::msleep(20);
        }
        EXPECT_EQ(running.size(), 0) << c.what << ": ffmpeg went on after trimclip was killed";
        for (const qint64 pid : running)
            ::kill(pid_t(pid), SIGKILL);

        // What the dead run left: its own folder in the temporary folder, nothing beside the destination.
        // A run killed while it copied its clip there leaves the clip's folder: one is put there.
        EXPECT_TRUE(QString::fromStdString(entriesBelow(tmp)).contains("/run-")) << c.what;
        EXPECT_EQ(entriesBelow(c.folder), "earlier.mp4") << c.what;
        QFile deadCopy(c.folder + "/.trim-Dead01/file.part");
        ASSERT_TRUE(QDir().mkpath(QFileInfo(deadCopy).absolutePath()) && deadCopy.open(QIODevice::WriteOnly))
            << c.what;
        deadCopy.close();

        QProcess next;
        next.setProcessEnvironment(environment);
        next.start(trimclipProgram(), args);
        ASSERT_TRUE(next.waitForFinished(120000));
        EXPECT_EQ(next.exitCode(), 0) << c.what << next.readAllStandardError().toStdString();
        EXPECT_EQ(entriesBelow(c.folder), "clip.mp4 earlier.mp4") << c.what;
        EXPECT_EQ(entriesBelow(tmp), QStringLiteral("orvalind-%1").arg(::getuid()).toStdString()) << c.what;
    }
}

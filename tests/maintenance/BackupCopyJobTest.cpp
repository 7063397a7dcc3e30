#include "maintenance/BackupCopyJob.h"
#include "maintenance/VerifiedFileCopier.h"

#include "recording/FileUtil.h"
#include "support/TempDir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <cerrno>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

namespace {
using Snapshot = std::map<QString, QByteArray>;

Snapshot snapshot(const QString &root)
{
    Snapshot files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        files[path.mid(root.size())] = file.readAll();
    }
    return files;
}

// Bytes that differ from file to file and from run to run of the generator.
QByteArray pattern(int size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(seed + i * 7 + (i >> 11));
    return bytes;
}

BackupCopyPlan planOf(const TempDir &dir, const QStringList &chapters, const QString &dest = "dest/bk")
{
    QStringList paths;
    for (const auto &c : chapters)
        paths << dir.filePath("card/MOVE/" + c);
    auto plan = BackupCopyPlan::make(FileUtil::fileUrl(dir.filePath("card/MOVE")), paths, dir.filePath(dest));
    EXPECT_TRUE(plan);
    return *plan;
}

// Runs a developer program of the build; a non-zero exit fails the test unless the caller takes the code.
QByteArray run(const QString &program, const QStringList &args, int *exitCode = nullptr)
{
    QProcess process;
    process.start(qEnvironmentVariable("ORV_BUILD_DIR") + "/devtools/" + program, args);
    EXPECT_TRUE(process.waitForFinished(-1));
    if (exitCode)
        *exitCode = process.exitCode();
    else
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

// The real copier recording the names it copies, with an optional fault on its n-th file and an optional
// cancel raised after its n-th file.
class FaultyCopier : public VerifiedFileCopier
{
public:
    enum class Fault
    {
        None,
        DiskFull,
        SourceVanishes,
        ReadOnlyTarget,
        CorruptWrite,
        ShortRead
    };
    explicit FaultyCopier(Fault fault = Fault::None, int onCall = 0, QString vanishing = {})
        : _fault(fault), _onCall(onCall), _vanishing(std::move(vanishing))
    {
    }
    Result copy(const QString &source, const QString &target) override
    {
        calls << QFileInfo(source).fileName();
        _written = 0;
        const Result result = VerifiedFileCopier::copy(source, target);
        if (cancelOn == calls.size())
            cancel->store(true);
        return result;
    }
    QStringList calls;
    int cancelOn = 0;
    std::atomic<bool> *cancel = nullptr;

protected:
    bool active(Fault fault) const { return _fault == fault && calls.size() == _onCall; }
    ssize_t readChunk(int fd, char *buffer, size_t size) override
    {
        const ssize_t n = VerifiedFileCopier::readChunk(fd, buffer, size);
        if (active(Fault::SourceVanishes))
            QFile::remove(_vanishing);
        return active(Fault::ShortRead) && _written > 0 ? 0 : n;
    }
    ssize_t writeChunk(int fd, const char *buffer, size_t size) override
    {
        if (active(Fault::DiskFull) && _written > 0) {
            errno = ENOSPC;
            return -1;
        }
        std::string bytes(buffer, size);
        if (active(Fault::CorruptWrite))
            bytes[size / 2] ^= 0x01;
        const ssize_t n = VerifiedFileCopier::writeChunk(fd, bytes.data(), size);
        _written += n > 0 ? n : 0;
        return n;
    }
    int openTemporary(const QByteArray &path) override
    {
        if (active(Fault::ReadOnlyTarget)) {
            errno = EROFS;
            return -1;
        }
        return VerifiedFileCopier::openTemporary(path);
    }

private:
    Fault _fault;
    int _onCall;
    QString _vanishing;
    ssize_t _written = 0;
};
} // namespace

// Each fault strikes the second file, which replaces a file of an earlier backup; the first file is new.
TEST(BackupCopyJobTest, FaultsEndWithAMessageAndLoseNothing)
{
    using Fault = FaultyCopier::Fault;
    for (const Fault fault : {Fault::DiskFull, Fault::SourceVanishes, Fault::ReadOnlyTarget,
                              Fault::CorruptWrite, Fault::ShortRead}) {
        SCOPED_TRACE(int(fault));
        TempDir dir;
        dir.write("card/MOVE/MOVE001/a.MP4", pattern(3 << 20, 1));
        dir.write("card/MOVE/MOVE001/b.MP4", pattern((2 << 20) + 5, 2));
        dir.write("card/MOVE/MOV_PRCT.DAT", pattern(1536, 3));
        dir.write("dest/bk/MOVE001/b.MP4", "old b");
        dir.write("dest/bk/MOV_PRCT.DAT", "old prct");
        dir.write("dest/bk/notes.txt", "the user's");
        const Snapshot sources = snapshot(dir.filePath("card"));
        const Snapshot earlier = snapshot(dir.filePath("dest"));

        FaultyCopier copier(fault, 2, dir.filePath("card/MOVE/MOVE001/b.MP4"));
        BackupCopyJob job(planOf(dir, {"MOVE001/a.MP4", "MOVE001/b.MP4"}), copier);
        const std::atomic<bool> cancel = false;
        const auto outcome = job.run(cancel);

        EXPECT_TRUE(outcome.cancelled);
        EXPECT_EQ(outcome.alert, "Unable to copy the file.");
        EXPECT_FALSE(outcome.detail.isEmpty());
        EXPECT_EQ(snapshot(dir.filePath("dest")), earlier); // a.MP4 was new, so it is gone again
        Snapshot remaining = sources;
        if (fault == Fault::SourceVanishes)
            remaining.erase("/MOVE/MOVE001/b.MP4");
        EXPECT_EQ(snapshot(dir.filePath("card")), remaining);
    }
}

TEST(BackupCopyJobTest, CancelDuringTheThirdOfTenFilesKeepsTheUsersFolder)
{
    TempDir dir;
    QStringList chapters;
    for (int i = 0; i < 10; ++i) {
        chapters << QString("MOVE001/m%1.MP4").arg(i);
        dir.write("card/MOVE/" + chapters.last(), pattern(1000 + i, char(i)));
    }
    dir.write("dest/bk/keep.txt", "mine");
    dir.write("dest/bk/MOVE001/m1.MP4", "an earlier m1");
    std::atomic<bool> cancel = false;
    FaultyCopier copier;
    copier.cancel = &cancel;
    copier.cancelOn = 3;
    BackupCopyJob job(planOf(dir, chapters), copier);
    const auto outcome = job.run(cancel);

    EXPECT_TRUE(outcome.cancelled);
    EXPECT_FALSE(outcome.alert);
    EXPECT_EQ(outcome.copied, 3);
    EXPECT_EQ(copier.calls, (QStringList{"m0.MP4", "m1.MP4", "m2.MP4"}));
    // m0 and m2 were new and are removed; m1 stood there before and keeps its new content.
    Snapshot expected{{"/bk/keep.txt", "mine"}, {"/bk/MOVE001/m1.MP4", pattern(1001, 1)}};
    EXPECT_EQ(snapshot(dir.filePath("dest")), expected);
}

TEST(BackupCopyJobTest, CopiesInOrderWithProgressAndFailuresLeaveTargetsAsTheyWere)
{
    TempDir dir;
    dir.write("card/MOVE/MOVE001/m0.MP4", pattern(5000, 9));
    dir.write("card/MOVE/ADV_PRCT.DAT", "adv");
    dir.write("card/MOVE/VREC_MOV_MNG.DAT", "vrec");
    QStringList labels;
    FaultyCopier copier;
    BackupCopyJob job(planOf(dir, {"MOVE001/m0.MP4"}), copier);
    const std::atomic<bool> cancel = false;
    const auto outcome = job.run(
        cancel, [&](int copied, int total) { labels << BackupCopyJob::percentText(copied * 100.0 / total); });
    EXPECT_FALSE(outcome.cancelled);
    EXPECT_EQ(copier.calls, (QStringList{"m0.MP4", "VREC_MOV_MNG.DAT", "ADV_PRCT.DAT"}));
    EXPECT_EQ(labels, (QStringList{u"33％"_qs, u"66％"_qs, u"100％"_qs}));
    EXPECT_EQ(snapshot(dir.filePath("dest/bk")), snapshot(dir.filePath("card/MOVE")));

    // A folder standing at a target is refused and kept with what it holds.
    dir.write("dest2/bk/MOVE001/m0.MP4/inside.txt", "kept");
    VerifiedFileCopier real;
    BackupCopyJob blocked(planOf(dir, {"MOVE001/m0.MP4"}, "dest2/bk"), real);
    EXPECT_EQ(blocked.run(cancel).alert, "Unable to copy the file.");
    EXPECT_EQ(snapshot(dir.filePath("dest2")), (Snapshot{{"/bk/MOVE001/m0.MP4/inside.txt", "kept"}}));

    // A failure on the first file into a new folder removes the folders the run made.
    FaultyCopier failing(FaultyCopier::Fault::ReadOnlyTarget, 1);
    const auto outcome3 = BackupCopyJob(planOf(dir, {"MOVE001/m0.MP4"}, "dest3/new/bk"), failing).run(cancel);
    EXPECT_EQ(outcome3.alert, "Unable to copy the file.");
    EXPECT_EQ(outcome3.copied, 0);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("dest3")));
}

// The sample card backed up whole reads back as the same card; a backup onto the card itself is refused.
TEST(BackupCardToolTest, BackupOfTheSampleCardReopensAsTheSameCard)
{
    TempDir dir;
    run("samplecard", {dir.path()});
    const QString card = dir.filePath("MOVE");
    const Snapshot before = snapshot(card);
    run("backupcard", {card, dir.filePath("backups"), "whole", "--all"});
    const QString whole = dir.filePath("backups/whole");
    EXPECT_EQ(run("carddump", {whole}).replace(whole.toUtf8(), "<source>"),
              run("carddump", {card}).replace(card.toUtf8(), "<source>"));

    int exitCode = 0;
    run("backupcard", {card, dir.path(), "MOVE", "--all"}, &exitCode);
    EXPECT_NE(exitCode, 0);
    run("backupcard", {card, dir.filePath("backups"), "part", "--trips", "0,9"}, &exitCode);
    EXPECT_NE(exitCode, 0);
    EXPECT_EQ(snapshot(card), before);
}

// What a backup that died, or ran beside another, leaves behind: never an earlier file away from its name,
// hidden files only until the next run, and no failure for a folder another run made first.
#include "maintenance/BackupLeftovers.h"
#include "maintenance/BackupCopyJob.h"
#include "maintenance/VerifiedFileCopier.h"

#include "card/CardFixture.h"
#include "support/CaseBlindVolume.h"
#include "support/FolderSnapshot.h"
#include "support/TempDir.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>

namespace {
QStringList hiddenFiles(const QString &root)
{
    QStringList hidden;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        if (const QString path = it.next(); QFileInfo(path).fileName().startsWith(u'.'))
            hidden << path.mid(root.size());
    return hidden;
}

QByteArray pattern(int size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(seed * 31 + i * 7 + (i >> 13));
    return bytes;
}

QString backupcard()
{
    return qEnvironmentVariable("ORV_BUILD_DIR") + "/devtools/backupcard";
}

// Starts backupcard and kills it once it has copied done files, as the next one is copied (for none: once
// the first copy's temporary file is there); false when it ended first.
bool killAfter(const QStringList &args, const QString &backup, int done)
{
    QProcess process;
    process.start(backupcard(), args);
    EXPECT_TRUE(process.waitForStarted());
    QByteArray progress; // a line per file copied
    while (process.state() == QProcess::Running) {
        process.waitForReadyRead(1);
        progress += process.readAllStandardError();
        const int copied = int(progress.count('\n'));
        if (copied > done)
            break;
        if (copied == done && done > 0)
            break;
        if (done == 0 &&
            !QDir(backup + "/MOVE001").entryList({".*.part"}, QDir::Files | QDir::Hidden).isEmpty())
            break;
    }
    const bool killed = process.state() == QProcess::Running;
    process.kill(); // SIGKILL: nothing of the run's own clean-up takes place
    process.waitForFinished();
    return killed && process.exitStatus() == QProcess::CrashExit;
}

// The real copier, raising the cancel flag after its first file.
class CancellingCopier : public VerifiedFileCopier
{
public:
    std::atomic<bool> *cancel = nullptr;
    Result copy(const QString &source, const QString &target) override
    {
        const Result result = VerifiedFileCopier::copy(source, target);
        if (cancel)
            cancel->store(true);
        return result;
    }
};

// A job whose every new folder another run makes in the moment before it does.
class RacedJob : public BackupCopyJob
{
public:
    using BackupCopyJob::BackupCopyJob;
    QStringList raced;

protected:
    int makeFolder(const QByteArray &path) override
    {
        if (::mkdir(path.constData(), 0755) == 0)
            raced << QFile::decodeName(path);
        return BackupCopyJob::makeFolder(path);
    }
};
} // namespace

TEST(BackupLeftoversTest, NamesOfCopiesAndSetAsideFiles)
{
    using Kind = BackupLeftovers::Leftover::Kind;
    const struct
    {
        QString name;
        std::optional<Kind> kind;
        QString target;
    } rows[] = {
        {".m2024050112300001.MP4.a1B2c3D4.part", Kind::Copy, "m2024050112300001.MP4"},
        {".VREC_MOV_MNG.DAT.zzzzzzzz.keep", Kind::Kept, "VREC_MOV_MNG.DAT"},
        {".a.b.12345678.part", Kind::Copy, "a.b"},
        {".12345678.keep", Kind::Kept, ""},
        {".m1.MP4.1234567.part", std::nullopt, ""}, // seven characters
        {".m1.MP4.1234-678.part", std::nullopt, ""},
        {"m1.MP4.12345678.part", std::nullopt, ""}, // not hidden
        {".m1.MP4.12345678.probe", std::nullopt, ""},
        {".m1.MP4.12345678.part.mp4", std::nullopt, ""},
        {".hidden", std::nullopt, ""},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        const auto leftover = BackupLeftovers::parse(row.name);
        ASSERT_EQ(leftover.has_value(), row.kind.has_value());
        if (leftover) {
            EXPECT_EQ(leftover->kind, *row.kind);
            EXPECT_EQ(leftover->target, row.target);
        }
    }
}

// Copies left by a dead run go, a set-aside file goes back to a free name and else goes, a copy still
// being written (locked) and the user's own hidden files stay.
TEST(BackupLeftoversTest, SweepClearsWhatDeadRunsLeft)
{
    TempDir dir;
    dir.write("bk/m1.MP4", "new m1");
    dir.write("bk/.m1.MP4.aaaaaaaa.keep", "old m1");
    dir.write("bk/.m2.MP4.bbbbbbbb.keep", "old m2"); // m2 was set aside and never copied back
    dir.write("bk/.m3.MP4.cccccccc.part", "half a copy");
    dir.write("bk/.dddddddd.keep", "a set-aside file of a shortened name");
    dir.write("bk/.notes", "the user's");
    const QString live = dir.write("bk/.m4.MP4.eeeeeeee.part", "being written");
    QFile writing(live);
    ASSERT_TRUE(writing.open(QIODevice::ReadWrite));
    ASSERT_EQ(::flock(writing.handle(), LOCK_EX), 0);

    EXPECT_EQ(BackupLeftovers::sweep(dir.filePath("bk")), 3);
    EXPECT_EQ(snapshotFolder(dir.filePath("bk")),
              (FolderSnapshot{{"/m1.MP4", "new m1"},
                        {"/m2.MP4", "old m2"},
                        {"/.dddddddd.keep", "a set-aside file of a shortened name"},
                        {"/.notes", "the user's"},
                        {"/.m4.MP4.eeeeeeee.part", "being written"}}));
}

// Two backups into the same new folder at once: the folders the other run made are used, and stay when
// this run is cancelled after its first file, since they are not this run's.
TEST(BackupLeftoversTest, FolderMadeMeanwhileByAnotherRunIsUsed)
{
    for (const bool cancelled : {false, true}) {
        SCOPED_TRACE(cancelled);
        TempDir dir;
        dir.write("card/MOVE/MOVE001/a.MP4", pattern(5000, 1));
        dir.write("card/MOVE/MOVE002/b.MP4", pattern(7000, 2));
        auto plan = BackupCopyPlan::make(
            FileUtil::fileUrl(dir.filePath("card/MOVE")),
            {dir.filePath("card/MOVE/MOVE001/a.MP4"), dir.filePath("card/MOVE/MOVE002/b.MP4")},
            dir.filePath("dest/new/bk"));
        ASSERT_TRUE(plan);
        std::atomic<bool> cancel = false;
        CancellingCopier copier;
        copier.cancel = cancelled ? &cancel : nullptr;
        RacedJob job(std::move(*plan), copier);
        const auto outcome = job.run(cancel);
        EXPECT_FALSE(outcome.alert) << outcome.detail.toStdString();
        EXPECT_EQ(outcome.cancelled, cancelled);
        EXPECT_EQ(job.raced.size(), cancelled ? 4 : 5);
        EXPECT_EQ(snapshotFolder(dir.filePath("dest")).size(), cancelled ? 0u : 2u);
        for (const QString &folder : job.raced)
            EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
    }
}

// A backup over an earlier backup of the card, killed at several moments, on the local disk and on a card
// drive (no hard links): each kill leaves every earlier file whole at its name, and the next full run
// leaves the backup equal to the card, with nothing hidden beside it.
TEST(BackupLeftoversTest, KilledBackupsLeaveEveryEarlierFileInPlace)
{
    CardFixture card;
    const QString kKey = "202405011200";
    for (int i = 1; i <= 13; ++i) {
        card.addMovie(kKey, i, 100000 + 60000 * uint32_t(i), 60 * i);
        card.write("MOVE/MOVE001/" + CardFixture::movieName(kKey, i), pattern(2 << 20, i));
    }
    card.writeManagementFiles();
    const FolderSnapshot cardFiles = snapshotFolder(card.root());

    using Kind = CaseBlindVolume::Kind;
    QString unmounted;
    // Not FAT through FUSE: that driver reads back other bytes than were written, which the copier refuses.
    for (const std::optional<Kind> kind : {std::optional<Kind>{}, std::optional{Kind::Exfat}}) {
        SCOPED_TRACE(kind ? CaseBlindVolume::name(*kind).toStdString() : "local folder");
        TempDir local;
        std::optional<CaseBlindVolume> volume;
        if (kind) {
            volume.emplace(*kind);
            if (!volume->mounted()) {
                unmounted = CaseBlindVolume::name(*kind) + ": " + volume->problem();
                continue;
            }
        }
        const QString root = volume ? volume->filePath("backups") : local.filePath("backups");
        const QString backup = root + "/bk";
        const QStringList args{card.root(), root, "bk", "--all"};
        QProcess first;
        first.start(backupcard(), args);
        ASSERT_TRUE(first.waitForFinished(-1));
        ASSERT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
        const FolderSnapshot earlier = snapshotFolder(backup);
        ASSERT_EQ(earlier.size(), 14u);

        for (const int done : {0, 4, 9}) {
            SCOPED_TRACE(done);
            EXPECT_TRUE(killAfter(args, backup, done)) << "the run ended before it was killed";
            FolderSnapshot visible = snapshotFolder(backup);
            for (const QString &name : hiddenFiles(backup))
                visible.erase(name);
            EXPECT_EQ(visible, earlier);
        }
        QProcess last;
        last.start(backupcard(), args);
        ASSERT_TRUE(last.waitForFinished(-1));
        EXPECT_EQ(last.exitCode(), 0) << last.readAllStandardError().toStdString();
        EXPECT_EQ(snapshotFolder(backup), cardFiles);
    }
    if (!unmounted.isEmpty())
        GTEST_SKIP() << "tested on the local disk only; " << unmounted.toStdString();
}

// Backing up: the copy job with injected faults, the backup dialog around it, and the backupcard program.
#include "maintenance/BackupCopyJob.h"
#include "maintenance/BackupSettingDialog.h"
#include "maintenance/BackupTreeModel.h"
#include "maintenance/VerifiedFileCopier.h"

#include "MaintenanceFakes.h"
#include "card/CardFixture.h"
#include "recording/FileUtil.h"
#include "recording/UserDefaultUtil.h"
#include "support/CaseBlindVolume.h"
#include "support/FileSizeLimit.h"
#include "support/QuickSampleCard.h"
#include "support/FolderSnapshot.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <cerrno>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

namespace {
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
    // As between file systems the kernel cannot copy between: every byte goes through the buffer.
    bool refusesKernelCopy = false;
    qint64 kernelBytes = 0;
    qint64 bufferBytes = 0;

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
        bufferBytes += n > 0 ? n : 0;
        return n;
    }
    // The same faults when the kernel copies, in pieces of 1 MiB so that they strike after the first.
    ssize_t copyRange(int in, int out, size_t size) override
    {
        if (refusesKernelCopy) {
            errno = EXDEV;
            return -1;
        }
        if (active(Fault::DiskFull) && _written > 0) {
            errno = ENOSPC;
            return -1;
        }
        if (active(Fault::ShortRead) && _written > 0)
            return 0;
        const off_t at = ::lseek(out, 0, SEEK_CUR);
        const ssize_t n = VerifiedFileCopier::copyRange(in, out, std::min<size_t>(size, 1 << 20));
        if (active(Fault::SourceVanishes))
            QFile::remove(_vanishing);
        char byte = 0;
        if (active(Fault::CorruptWrite) && n > 0 && ::pread(out, &byte, 1, at + n / 2) == 1) {
            byte ^= 0x01;
            EXPECT_EQ(::pwrite(out, &byte, 1, at + n / 2), 1);
        }
        _written += n > 0 ? n : 0;
        kernelBytes += n > 0 ? n : 0;
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
// A card with a trip of three chapters, the first of 1 MiB, and its backup dialog.
struct DialogRig
{
    DialogRig() : settings(dir.filePath("settings.ini"))
    {
        const QString kKey = "202405011200";
        for (int i = 0; i < 3; ++i)
            f.addMovie(kKey, i + 1, 100000 + 60000 * uint32_t(i), 60 * i);
        f.write("MOVE/MOVE001/" + CardFixture::movieName(kKey, 1), QByteArray(1048576, 'a'));
        card = f.load(); // writes VREC_MOV_MNG.DAT (3 records)
        dialog = std::make_unique<BackupSettingDialog>(settings, host, prompter);
        dialog->cardData = card.get();
        dialog->pathBackup = dir.filePath("backups");
        QDir().mkpath(*dialog->pathBackup);
        dialog->setFinishPause(0);
        dialog->setupDialog();
    }
    void waitForEnd()
    {
        while (dialog->isRunning())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    TempDir dir;
    CardFixture f;
    std::unique_ptr<CardData> card;
    UserDefaultUtil settings;
    FakeMaintenanceHost host;
    FakeMaintenancePrompter prompter;
    std::unique_ptr<BackupSettingDialog> dialog;
};
} // namespace

// Each fault strikes the second file, which replaces a file of an earlier backup; the first file is new.
TEST(BackupCopyJobTest, FaultsEndWithAMessageAndLoseNothing)
{
    using Fault = FaultyCopier::Fault;
    for (const Fault fault : {Fault::DiskFull, Fault::SourceVanishes, Fault::ReadOnlyTarget,
                              Fault::CorruptWrite, Fault::ShortRead})
        for (const bool refusesKernelCopy : {false, true}) {
            SCOPED_TRACE(QString("fault %1, kernel copy %2")
                             .arg(int(fault))
                             .arg(refusesKernelCopy ? "refused" : "used")
                             .toStdString());
            TempDir dir;
            dir.write("card/MOVE/MOVE001/a.MP4", pattern(3 << 20, 1));
            dir.write("card/MOVE/MOVE001/b.MP4", pattern((2 << 20) + 5, 2));
            dir.write("card/MOVE/MOV_PRCT.DAT", pattern(1536, 3));
            dir.write("dest/bk/MOVE001/b.MP4", "old b");
            dir.write("dest/bk/MOV_PRCT.DAT", "old prct");
            dir.write("dest/bk/notes.txt", "the user's");
            const FolderSnapshot sources = snapshotFolder(dir.filePath("card"));
            const FolderSnapshot earlier = snapshotFolder(dir.filePath("dest"));

            FaultyCopier copier(fault, 2, dir.filePath("card/MOVE/MOVE001/b.MP4"));
            copier.refusesKernelCopy = refusesKernelCopy;
            BackupCopyJob job(planOf(dir, {"MOVE001/a.MP4", "MOVE001/b.MP4"}), copier);
            const std::atomic<bool> cancel = false;
            const auto outcome = job.run(cancel);

            EXPECT_TRUE(outcome.cancelled);
            EXPECT_EQ(outcome.alert, "Unable to copy the file.");
            EXPECT_FALSE(outcome.detail.isEmpty());
            EXPECT_EQ(snapshotFolder(dir.filePath("dest")), earlier); // a.MP4 was new, so it is gone again
            FolderSnapshot remaining = sources;
            if (fault == Fault::SourceVanishes)
                remaining.erase("/MOVE/MOVE001/b.MP4");
            EXPECT_EQ(snapshotFolder(dir.filePath("card")), remaining);
        }
}

// The bytes move inside the kernel where it can copy between the two files, else through the buffer;
// either way the backup holds the card's bytes.
TEST(BackupCopyJobTest, CopiesInsideTheKernelWhereItCan)
{
    for (const bool refusesKernelCopy : {false, true}) {
        SCOPED_TRACE(refusesKernelCopy);
        TempDir dir;
        dir.write("card/MOVE/MOVE001/a.MP4", pattern((5 << 20) + 3, 1));
        dir.write("card/MOVE/MOVE001/empty.MP4", QByteArray());
        dir.write("card/MOVE/MOV_PRCT.DAT", pattern(1536, 3));
        FaultyCopier copier;
        copier.refusesKernelCopy = refusesKernelCopy;
        const std::atomic<bool> cancel = false;
        EXPECT_FALSE(
            BackupCopyJob(planOf(dir, {"MOVE001/a.MP4", "MOVE001/empty.MP4"}), copier).run(cancel).cancelled);
        EXPECT_EQ(snapshotFolder(dir.filePath("dest/bk")), snapshotFolder(dir.filePath("card/MOVE")));
        const qint64 total = (5 << 20) + 3 + 1536;
        EXPECT_EQ(copier.kernelBytes, refusesKernelCopy ? 0 : total);
        EXPECT_EQ(copier.bufferBytes, refusesKernelCopy ? total : 0);
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
    FolderSnapshot expected{{"/bk/keep.txt", "mine"}, {"/bk/MOVE001/m1.MP4", pattern(1001, 1)}};
    EXPECT_EQ(snapshotFolder(dir.filePath("dest")), expected);
}

// A run into an earlier backup of the same card that fails or is cancelled part-way leaves each file of
// that backup whole at its name: those it completed with the card's bytes, the one in progress and the
// rest, management files included, as they were, and nothing beside them; a run that succeeds leaves only
// the new files.
TEST(BackupCopyJobTest, FailedOrCancelledRunLeavesTheEarlierBackupAsItWas)
{
    TempDir dir;
    QStringList chapters;
    const auto writeCard = [&](char seed, int bigChapter) {
        chapters.clear();
        for (int i = 0; i < 10; ++i) {
            chapters << QString("MOVE001/m%1.MP4").arg(i);
            dir.write("card/MOVE/" + chapters.last(),
                      pattern(i == bigChapter ? 300000 : 20000 + i, char(seed + i)));
        }
        for (const char *name : {"VREC_MOV_MNG.DAT", "MOV_PRCT.DAT", "ADV_PRCT.DAT"})
            dir.write(QString("card/MOVE/") + name, pattern(1000, seed) + name);
    };
    writeCard('a', -1);
    VerifiedFileCopier real;
    const std::atomic<bool> noCancel = false;
    ASSERT_FALSE(BackupCopyJob(planOf(dir, chapters), real).run(noCancel).cancelled);
    const FolderSnapshot earlier = snapshotFolder(dir.filePath("dest"));
    ASSERT_EQ(earlier.size(), 13u);
    // The earlier backup with the first n files of the copy list as the card has them now.
    const auto completed = [&](int n) {
        FolderSnapshot files = earlier;
        const FolderSnapshot card = snapshotFolder(dir.filePath("card/MOVE"));
        for (int i = 0; i < n; ++i)
            files["/bk/" + chapters[i]] = card.at("/" + chapters[i]);
        return files;
    };
    const auto putBackEarlier = [&] {
        for (const auto &[path, bytes] : earlier)
            dir.write("dest" + path, bytes);
    };

    // The card has moved on: every file differs, and the eighth chapter is larger than the disk takes.
    writeCard('k', 7);
    {
        const FileSizeLimit limit(100000);
        ASSERT_TRUE(limit.active());
        const auto outcome = BackupCopyJob(planOf(dir, chapters), real).run(noCancel);
        EXPECT_EQ(outcome.alert, "Unable to copy the file.");
        EXPECT_TRUE(outcome.failureReason().contains("m7.MP4")) << outcome.failureReason().toStdString();
    }
    EXPECT_EQ(snapshotFolder(dir.filePath("dest")), completed(7));
    putBackEarlier();

    // A chapter that cannot be read, past half of the run.
    const BackupCopyPlan plan = planOf(dir, chapters);
    const QString gone = dir.filePath("card/MOVE/MOVE001/m6.MP4");
    const QByteArray goneBytes = snapshotFolder(dir.filePath("card"))["/MOVE/MOVE001/m6.MP4"];
    QFile::remove(gone);
    EXPECT_TRUE(BackupCopyJob(plan, real).run(noCancel).alert);
    EXPECT_EQ(snapshotFolder(dir.filePath("dest")), completed(6));
    putBackEarlier();
    dir.write("card/MOVE/MOVE001/m6.MP4", goneBytes);

    // Cancelled through the progress flag after the eighth file.
    std::atomic<bool> cancel = false;
    FaultyCopier cancelling;
    cancelling.cancel = &cancel;
    cancelling.cancelOn = 8;
    const auto cancelled = BackupCopyJob(planOf(dir, chapters), cancelling).run(cancel);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(cancelled.copied, 8);
    EXPECT_EQ(snapshotFolder(dir.filePath("dest")), completed(8));

    // Run to its end: the backup is the card's, with nothing kept beside its files.
    EXPECT_FALSE(BackupCopyJob(planOf(dir, chapters), real).run(noCancel).cancelled);
    EXPECT_EQ(snapshotFolder(dir.filePath("dest/bk")), snapshotFolder(dir.filePath("card/MOVE")));
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
    EXPECT_EQ(snapshotFolder(dir.filePath("dest/bk")), snapshotFolder(dir.filePath("card/MOVE")));

    // A folder standing at a target is refused and kept with what it holds.
    dir.write("dest2/bk/MOVE001/m0.MP4/inside.txt", "kept");
    VerifiedFileCopier real;
    BackupCopyJob blocked(planOf(dir, {"MOVE001/m0.MP4"}, "dest2/bk"), real);
    EXPECT_EQ(blocked.run(cancel).alert, "Unable to copy the file.");
    EXPECT_EQ(snapshotFolder(dir.filePath("dest2")), (FolderSnapshot{{"/bk/MOVE001/m0.MP4/inside.txt", "kept"}}));

    // A failure on the first file into a new folder removes the folders the run made.
    FaultyCopier failing(FaultyCopier::Fault::ReadOnlyTarget, 1);
    const auto outcome3 = BackupCopyJob(planOf(dir, {"MOVE001/m0.MP4"}, "dest3/new/bk"), failing).run(cancel);
    EXPECT_EQ(outcome3.alert, "Unable to copy the file.");
    EXPECT_EQ(outcome3.copied, 0);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("dest3")));
}

TEST(BackupSettingDialogTest, SizeFollowsTheChecksAndOkChecksTheName)
{
    DialogRig rig;
    EXPECT_EQ(rig.dialog->sizeText(), "0.0 MB");
    const QModelIndex trip = rig.dialog->model()->index(0, 0);
    rig.dialog->model()->setData(rig.dialog->model()->index(0, BackupTreeModel::ChapterColumn, trip),
                                 Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(rig.dialog->sizeText(), "1.0 MB"); // the chapter and the management file
    rig.dialog->btnCheckOff_Click();
    EXPECT_EQ(rig.dialog->sizeText(), "0.0 MB");

    rig.dialog->folderNameField()->setText("");
    rig.dialog->btnOk_Click();
    rig.dialog->folderNameField()->setText("ok");
    rig.dialog->btnOk_Click();
    EXPECT_EQ(rig.prompter.log,
              (QStringList{"warn:Please provide the folder name.", "warn:Chapter was not selected."}));
    EXPECT_EQ(rig.host.progress.starts, 0);

    bool closed = false;
    QObject::connect(rig.dialog.get(), &BackupSettingDialog::closeRequested, [&] { closed = true; });
    rig.settings.setFlag(UserDefaultUtil::KEY_BACKUP_SETTING_FLG, true);
    rig.dialog->btnCancel_Click();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(rig.settings.flag(UserDefaultUtil::KEY_BACKUP_SETTING_FLG));
}

TEST(BackupSettingDialogTest, BackupRunsAsksBeforeCopyingIntoAnExistingFolderAndReportsFailures)
{
    DialogRig rig;
    rig.settings.setFlag(UserDefaultUtil::KEY_BACKUP_SETTING_FLG, true);
    rig.dialog->folderNameField()->setText("bk");
    rig.dialog->btnCheckOn_Click();
    rig.dialog->btnOk_Click();
    rig.waitForEnd();
    EXPECT_EQ(rig.host.progress.finished, QStringList{"Save completed."});
    EXPECT_FALSE(rig.settings.flag(UserDefaultUtil::KEY_BACKUP_SETTING_FLG));
    EXPECT_EQ(QDir(rig.dir.filePath("backups/bk/MOVE001")).entryList(QDir::Files).size(), 3);
    EXPECT_TRUE(QFileInfo::exists(rig.dir.filePath("backups/bk/VREC_MOV_MNG.DAT")));

    rig.prompter.confirmAnswers = {false};
    rig.dialog->btnOk_Click();
    EXPECT_EQ(rig.host.progress.starts, 1);

    const FolderSnapshot earlier = snapshotFolder(rig.dir.filePath("backups"));
    rig.dialog->setCopier(std::make_shared<FaultyCopier>(FaultyCopier::Fault::ReadOnlyTarget, 1));
    rig.prompter.log.clear();
    rig.dialog->btnOk_Click(); // "OK" to the overwrite question
    rig.waitForEnd();
    EXPECT_EQ(rig.prompter.log,
              (QStringList{"confirm:The folder already exists at the selected destination. Would "
                           "you like to overwrite?",
                           "warn:Unable to copy the file."}));
    EXPECT_FALSE(rig.prompter.causes.last().isEmpty()) << "the alert says which file failed and why";
    EXPECT_EQ(rig.host.progress.finished, (QStringList{"Save completed.", "Backup cancelled."}));
    EXPECT_EQ(snapshotFolder(rig.dir.filePath("backups")), earlier);
}

// The sample card backed up whole reads back as the same card; a backup onto the card itself is refused.
TEST(BackupCardToolTest, BackupOfTheSampleCardReopensAsTheSameCard)
{
    TempDir dir;
    run("samplecard", quickSampleCardArgs(dir.path()));
    const QString card = dir.filePath("MOVE");
    const FolderSnapshot before = snapshotFolder(card);
    run("backupcard", {card, dir.filePath("backups"), "whole", "--all"});
    const QString whole = dir.filePath("backups/whole");
    EXPECT_EQ(run("carddump", {whole}).replace(whole.toUtf8(), "<source>"),
              run("carddump", {card}).replace(card.toUtf8(), "<source>"));

    int exitCode = 0;
    run("backupcard", {card, dir.path(), "MOVE", "--all"}, &exitCode);
    EXPECT_NE(exitCode, 0);
    run("backupcard", {card, dir.filePath("backups"), "part", "--trips", "0,9"}, &exitCode);
    EXPECT_NE(exitCode, 0);
    EXPECT_EQ(snapshotFolder(card), before);
}

// On a card drive, which ignores letter case, a backup into the card under another spelling of its movie
// folder is refused like one under the same spelling, and the card is left as it was. (Not on FAT through
// FUSE: that driver reads back other bytes than were written, so every backup onto it fails anyway.)
TEST(BackupCardToolTest, BackupIntoTheCardUnderAnotherSpellingIsRefused)
{
    const CaseBlindVolume volume(CaseBlindVolume::Kind::Exfat);
    if (!volume.mounted())
        GTEST_SKIP() << "no exFAT volume: " << volume.problem().toStdString();
    run("samplecard", quickSampleCardArgs(volume.path()));
    const QString card = volume.filePath("MOVE");
    const FolderSnapshot before = snapshotFolder(card);
    const QStringList rows[] = {
        {volume.path(), "move"}, {volume.filePath("Move"), "bk"}, {volume.filePath("move/MOVE001"), "bk"}};
    for (const QStringList &row : rows) {
        SCOPED_TRACE(row.join(' ').toStdString());
        int exitCode = 0;
        run("backupcard", {card, row[0], row[1], "--all"}, &exitCode);
        EXPECT_NE(exitCode, 0);
        EXPECT_EQ(snapshotFolder(card), before);
    }
}

// Backup copy throughput as from a card just put in: the verified copier (copy, read back from the disk,
// rename) against `cp` and `rsync` of the same files, alone and followed by a sync of what they wrote (the
// copier's files are on the disk when it returns). The card is 24 files of 100 MiB (2.4 GiB) on an exFAT
// image, the card's own kind of file system, so that every copy takes the buffered path a card gets; the
// backup folder is on the disk the benchmark runs in. Before each copy every cache is dropped, so each
// side reads the card from the disk. The image needs root (mkfs.exfat, losetup, exfat-fuse); without, the
// card is a folder beside the backup and only its own pages are dropped. The ratios are printed after the
// table.
#include "maintenance/BackupCopyJob.h"
#include "maintenance/VerifiedFileCopier.h"
#include "recording/FileUtil.h"

#include "RatioReporter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {
constexpr int kFiles = 24;
constexpr qint64 kFileSize = qint64(100) << 20;

bool runTool(const QString &program, const QStringList &args, QByteArray *output = nullptr)
{
    QProcess tool;
    tool.start(program, args);
    const bool ok =
        tool.waitForFinished(-1) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    if (output)
        *output = tool.readAllStandardOutput().trimmed();
    return ok;
}

struct Source
{
    QTemporaryDir dir{QDir::currentPath() + "/backupbench-XXXXXX"};
    QString card;    // the card's root
    QByteArray loop; // the image's loop device, while mounted
    bool asRoot = ::geteuid() == 0;
    QStringList files;

    Source()
    {
        card = dir.filePath("card");
        QDir().mkpath(card);
        if (asRoot && !mountImage())
            std::fprintf(stderr, "BackupCopyBench: no exFAT image (mkfs.exfat, losetup, exfat-fuse?)\n");
        QDir().mkpath(card + "/MOVE/MOVE001");
        QByteArray block(1 << 20, Qt::Uninitialized);
        for (int i = 0; i < kFiles; ++i) {
            files << card + QString("/MOVE/MOVE001/m%1.MP4").arg(i);
            QFile file(files.last());
            file.open(QIODevice::WriteOnly);
            for (qint64 written = 0; written < kFileSize; written += block.size()) {
                for (int j = 0; j < block.size(); j += 64)
                    block[j] = char(i + j + written);
                file.write(block);
            }
        }
        // The written card goes to the disk now, not during the first measured copy.
        ::sync();
        std::fprintf(stderr, "BackupCopyBench: the card is %s\n",
                     loop.isEmpty() ? "a folder beside the backup" : "an exFAT image");
    }

    ~Source()
    {
        if (loop.isEmpty())
            return;
        ::umount2(QFile::encodeName(card).constData(), 0);
        runTool("losetup", {"-d", QString::fromLatin1(loop)});
    }

    bool mountImage()
    {
        const QString image = dir.filePath("card.img");
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(kFiles * kFileSize + (qint64(256) << 20)))
            return false;
        file.close();
        return runTool("mkfs.exfat", {image}) && runTool("losetup", {"-f", "--show", image}, &loop) &&
               runTool("mount.exfat-fuse", {QString::fromLatin1(loop), card});
    }
};

Source &source()
{
    static Source s;
    return s;
}

// Outside the timing: no backup folder, and nothing of the card or the last copy in memory.
void prepare(benchmark::State &state, const Source &s)
{
    state.PauseTiming();
    QDir(s.dir.filePath("dest")).removeRecursively();
    ::sync();
    QFile drop("/proc/sys/vm/drop_caches");
    if (!s.asRoot || !drop.open(QIODevice::WriteOnly) || drop.write("3\n") != 2) {
        for (const QString &path : s.files) {
            const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            ::close(fd);
        }
    }
    state.ResumeTiming();
}

void BM_VerifiedCopier(benchmark::State &state)
{
    Source &s = source();
    VerifiedFileCopier copier;
    for (auto _ : state) {
        prepare(state, s);
        auto plan =
            BackupCopyPlan::make(FileUtil::fileUrl(s.card + "/MOVE"), s.files, s.dir.filePath("dest"));
        BackupCopyJob job(std::move(*plan), copier);
        const std::atomic<bool> cancel = false;
        if (job.run(cancel).cancelled) {
            state.SkipWithError("copy failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * kFiles * kFileSize);
}

// The same files through an outside program into a fresh folder; with isSynced, then on the disk.
void copyWith(benchmark::State &state, const QString &program, const QStringList &options,
              bool isSynced = false)
{
    Source &s = source();
    const QString dest = s.dir.filePath("dest/MOVE001");
    QStringList written;
    for (const QString &file : s.files)
        written << dest + "/" + QFileInfo(file).fileName();
    for (auto _ : state) {
        prepare(state, s);
        QDir().mkpath(dest);
        if (!runTool(program, options + s.files << dest + "/") ||
            (isSynced && !runTool("sync", QStringList{"--data"} + written))) {
            state.SkipWithError(qPrintable(program + " failed (is it installed?)"));
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * kFiles * kFileSize);
}

void BM_Cp(benchmark::State &state)
{
    copyWith(state, "cp", {});
}

void BM_CpThenSync(benchmark::State &state)
{
    copyWith(state, "cp", {}, true);
}

void BM_Rsync(benchmark::State &state)
{
    copyWith(state, "rsync", {"-a"});
}

void BM_RsyncThenSync(benchmark::State &state)
{
    copyWith(state, "rsync", {"-a"}, true);
}

// Two copies of 2.4 GiB each: every one reads the whole card from the disk.
BENCHMARK(BM_VerifiedCopier)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_Cp)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_CpThenSync)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_Rsync)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_RsyncThenSync)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);
} // namespace

RATIO_BENCHMARK_MAIN({"BM_VerifiedCopier", "BM_Cp"}, {"BM_VerifiedCopier", "BM_CpThenSync"},
                     {"BM_VerifiedCopier", "BM_Rsync"}, {"BM_VerifiedCopier", "BM_RsyncThenSync"});

// Backup copy throughput: the verified copier (copy, read back from the disk, rename) against `cp` and
// `rsync` of the same files on the same disk, and against rsync followed by a sync of what it wrote (the
// copier's files are on the disk when it returns). Each copies 8 files of 32 MiB into a fresh folder per
// iteration, from a source in memory (/0) or, as from a card just put in, read from the disk (/1). The
// ratios are printed after the table.
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
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int kFiles = 8;
constexpr qint64 kFileSize = 32 << 20;

struct Source
{
    QTemporaryDir dir{QDir::currentPath() + "/backupbench-XXXXXX"};
    QStringList files;
    Source()
    {
        QDir().mkpath(dir.filePath("MOVE/MOVE001"));
        QByteArray block(1 << 20, Qt::Uninitialized);
        for (int i = 0; i < kFiles; ++i) {
            files << dir.filePath(QString("MOVE/MOVE001/m%1.MP4").arg(i));
            QFile file(files.last());
            file.open(QIODevice::WriteOnly);
            for (qint64 written = 0; written < kFileSize; written += block.size()) {
                for (int j = 0; j < block.size(); j += 64)
                    block[j] = char(i + j + written);
                file.write(block);
            }
        }
        // The written source goes to the disk now, not during the first measured copy.
        ::sync();
    }
};

Source &source()
{
    static Source s;
    return s;
}

// Outside the timing: no backup folder, and with a cold source (/1) no source page in memory.
void prepare(benchmark::State &state, const Source &s)
{
    state.PauseTiming();
    QDir(s.dir.filePath("dest")).removeRecursively();
    if (state.range(0) == 1) {
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
            BackupCopyPlan::make(FileUtil::fileUrl(s.dir.filePath("MOVE")), s.files, s.dir.filePath("dest"));
        BackupCopyJob job(std::move(*plan), copier);
        const std::atomic<bool> cancel = false;
        if (job.run(cancel).cancelled) {
            state.SkipWithError("copy failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * kFiles * kFileSize);
}

bool runTool(const QString &program, const QStringList &args)
{
    QProcess tool;
    tool.start(program, args);
    return tool.waitForFinished(-1) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
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

void BM_Rsync(benchmark::State &state)
{
    copyWith(state, "rsync", {"-a"});
}

void BM_RsyncThenSync(benchmark::State &state)
{
    copyWith(state, "rsync", {"-a"}, true);
}

BENCHMARK(BM_VerifiedCopier)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0)->Arg(0)->Arg(1);
BENCHMARK(BM_Cp)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0)->Arg(0)->Arg(1);
BENCHMARK(BM_Rsync)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0)->Arg(0)->Arg(1);
BENCHMARK(BM_RsyncThenSync)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0)->Arg(0)->Arg(1);
} // namespace

RATIO_BENCHMARK_MAIN({"BM_VerifiedCopier/0", "BM_Cp/0"}, {"BM_VerifiedCopier/0", "BM_Rsync/0"},
                     {"BM_VerifiedCopier/0", "BM_RsyncThenSync/0"}, {"BM_VerifiedCopier/1", "BM_Cp/1"},
                     {"BM_VerifiedCopier/1", "BM_Rsync/1"}, {"BM_VerifiedCopier/1", "BM_RsyncThenSync/1"});

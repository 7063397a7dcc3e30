// Backup copy throughput: the verified copier (hash while copying, read back, rename) against `cp` of the
// same files on the same disk. Both copy 8 files of 32 MiB into a fresh folder per iteration.
#include "maintenance/BackupCopyJob.h"
#include "maintenance/VerifiedFileCopier.h"
#include "recording/FileUtil.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
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

void BM_VerifiedCopier(benchmark::State &state)
{
    Source &s = source();
    VerifiedFileCopier copier;
    for (auto _ : state) {
        const QString dest = s.dir.filePath("dest");
        auto plan = BackupCopyPlan::make(FileUtil::fileUrl(s.dir.filePath("MOVE")), s.files, dest);
        BackupCopyJob job(std::move(*plan), copier);
        const std::atomic<bool> cancel = false;
        if (job.run(cancel).cancelled)
            state.SkipWithError("copy failed");
        state.PauseTiming();
        QDir(dest).removeRecursively();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * kFiles * kFileSize);
}
BENCHMARK(BM_VerifiedCopier)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BM_Cp(benchmark::State &state)
{
    Source &s = source();
    for (auto _ : state) {
        const QString dest = s.dir.filePath("dest/MOVE001");
        QDir().mkpath(dest);
        QProcess cp;
        cp.start("cp", QStringList(s.files) << dest);
        cp.waitForFinished(-1);
        if (cp.exitCode() != 0)
            state.SkipWithError("cp failed");
        state.PauseTiming();
        QDir(s.dir.filePath("dest")).removeRecursively();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * kFiles * kFileSize);
}
BENCHMARK(BM_Cp)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
} // namespace

BENCHMARK_MAIN();

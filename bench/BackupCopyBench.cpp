// Backup copy throughput: the verified copier (copy, read back from the disk, rename) against `cp` and
// `rsync` of the same files on the same disk. Each copies 8 files of 32 MiB into a fresh folder per
// iteration; the ratios to cp and rsync are printed after the table.
#include "maintenance/BackupCopyJob.h"
#include "maintenance/VerifiedFileCopier.h"
#include "recording/FileUtil.h"

#include "RatioReporter.h"

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

// The same files through an outside program into a fresh folder.
void copyWith(benchmark::State &state, const QString &program, const QStringList &options)
{
    Source &s = source();
    for (auto _ : state) {
        const QString dest = s.dir.filePath("dest/MOVE001");
        QDir().mkpath(dest);
        QProcess tool;
        tool.start(program, options + s.files << dest + "/");
        if (!tool.waitForFinished(-1) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
            state.SkipWithError(qPrintable(program + " failed (is it installed?)"));
            return;
        }
        state.PauseTiming();
        QDir(s.dir.filePath("dest")).removeRecursively();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * kFiles * kFileSize);
}

void BM_Cp(benchmark::State &state)
{
    copyWith(state, "cp", {});
}
BENCHMARK(BM_Cp)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BM_Rsync(benchmark::State &state)
{
    copyWith(state, "rsync", {"-a"});
}
BENCHMARK(BM_Rsync)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
} // namespace

RATIO_BENCHMARK_MAIN({"BM_VerifiedCopier", "BM_Cp"}, {"BM_VerifiedCopier", "BM_Rsync"});

// Runs side by side, with a stand-in for ffmpeg that notes when each run starts and ends.
#include "videotools/FfmpegBatch.h"

#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>
#include <thread>

namespace {

// Arguments after ffmpeg's own options: what to do (ok, fail, hang), a name, the log file.
const char *const STAND_IN = R"(#!/bin/sh
shift 5
echo "start $2" >> "$3"
case $1 in
  ok) sleep 0.3 ;;
  fail) sleep 0.1; echo "broken input" >&2; exit 1 ;;
  hang) trap 'echo "stopped $2" >> "$3"; exit 255' TERM; while :; do sleep 0.05; done ;;
esac
echo "end $2" >> "$3"
)";

class FfmpegBatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        _program = _dir.write("ffmpeg", STAND_IN);
        QFile::setPermissions(_program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        _log = _dir.filePath("log");
    }
    std::vector<FfmpegBatch::Run> runs(const QStringList &steps) const
    {
        std::vector<FfmpegBatch::Run> list;
        for (const QString &step : steps)
            list.push_back({QStringList(step.split(' ')) << _log, 0});
        return list;
    }
    QStringList log() const
    {
        QFile file(_log);
        return file.open(QIODevice::ReadOnly)
                   ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                   : QStringList();
    }
    // The most runs that were going at the same time.
    int mostAtOnce() const
    {
        int now = 0, most = 0;
        for (const QString &line : log()) {
            now += line.startsWith("start") ? 1 : -1;
            most = std::max(most, now);
        }
        return most;
    }

    TempDir _dir;
    QString _program;
    QString _log;
};

TEST_F(FfmpegBatchTest, RunsSideBySideUpToTheLimitAndReportsEachEnd)
{
    FfmpegBatch batch(_program, 2);
    std::vector<size_t> ended;
    const std::atomic<bool> cancel = false;
    EXPECT_EQ(batch.run(runs({"ok a", "ok b", "ok c", "ok d", "ok e"}), cancel,
                        [&](size_t index) { ended.push_back(index); }),
              FfmpegBatch::Outcome::Succeeded);
    std::sort(ended.begin(), ended.end());
    EXPECT_EQ(ended, (std::vector<size_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(log().filter("end").size(), 5);
    EXPECT_EQ(mostAtOnce(), 2);
    EXPECT_TRUE(batch.errorText().isEmpty());
}

// The first failure stops the runs still going and starts no more; a cancel does the same without an error.
TEST_F(FfmpegBatchTest, FailureOrCancelStopsTheOthers)
{
    FfmpegBatch failing(_program, 3);
    const std::atomic<bool> notCancelled = false;
    EXPECT_EQ(failing.run(runs({"hang a", "fail b", "hang c", "ok d"}), notCancelled),
              FfmpegBatch::Outcome::Failed);
    EXPECT_TRUE(failing.errorText().contains("broken input")) << failing.errorText().toStdString();
    QStringList lines = log();
    lines.sort();
    EXPECT_EQ(lines, (QStringList{"start a", "start b", "start c", "stopped a", "stopped c"}));

    QFile::remove(_log);
    FfmpegBatch cancelled(_program, 4);
    std::atomic<bool> cancel = false;
    std::thread canceller([&] {
        while (log().size() < 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        cancel = true;
    });
    EXPECT_EQ(cancelled.run(runs({"hang a", "hang b"}), cancel), FfmpegBatch::Outcome::Cancelled);
    canceller.join();
    EXPECT_TRUE(cancelled.errorText().isEmpty());
    EXPECT_EQ(log().filter("stopped").size(), 2);

    // Cancelled before it starts: nothing runs.
    QFile::remove(_log);
    EXPECT_EQ(cancelled.run(runs({"ok a"}), cancel), FfmpegBatch::Outcome::Cancelled);
    EXPECT_TRUE(log().isEmpty());
}

} // namespace

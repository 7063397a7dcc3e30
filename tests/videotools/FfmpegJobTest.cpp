#include "videotools/FfmpegJob.h"

#include "support/TempDir.h"

#include <QEventLoop>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// Waits, without a time bound, for the job's end.
void waitFor(FfmpegJob &job)
{
    QEventLoop loop;
    QObject::connect(&job, &FfmpegJob::finished, &loop, &QEventLoop::quit);
    if (job.outcome() == FfmpegJob::Outcome::NotFinished)
        loop.exec();
}

const QStringList ENDLESS = {"-f", "lavfi", "-i", "testsrc2=size=64x48:rate=25", "-f", "null", "-"};

TEST(FfmpegJobTest, ProgressLines)
{
    const struct
    {
        const char *line;
        int64_t expectedMs;
        std::optional<int> percent;
    } cases[] = {
        {"out_time_us=1500000", 3000, 50},        {"out_time_ms=3000000\n", 3000, 100},
        {"out_time_us=9000000", 3000, 100},       {"out_time_us=-5", 3000, std::nullopt},
        {"out_time_us=1500000", 0, std::nullopt}, {"progress=end", 0, 100},
        {"frame=12", 3000, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FfmpegJob::progressOfLine(c.line, c.expectedMs), c.percent) << c.line;
}

// A missing program, run blocking or not, and a failed run that keeps the tail of its log.
TEST(FfmpegJobTest, FailuresAreClearErrors)
{
    for (const bool blocking : {true, false}) {
        FfmpegJob job({"-version"});
        job.setProgram(QString());
        if (blocking) {
            job.run();
        } else {
            job.start();
            waitFor(job);
        }
        EXPECT_EQ(job.outcome(), FfmpegJob::Outcome::FailedToStart);
        EXPECT_TRUE(job.errorText().contains("not found on the PATH"));
    }
    FfmpegJob failed({"-i", "/nonexistent/in.mp4", "/nonexistent/out.mp4"});
    EXPECT_EQ(failed.run(), FfmpegJob::Outcome::Failed);
    EXPECT_NE(failed.exitCode(), 0);
    EXPECT_TRUE(failed.logTail().contains("/nonexistent/in.mp4"));
    EXPECT_TRUE(failed.errorText().startsWith("ffmpeg ended with exit code"));
    // The short form for an alert: ffmpeg's last line.
    EXPECT_EQ(failed.shortErrorText(), failed.logTail().split('\n').last());
}

TEST(FfmpegJobTest, CancelWhileRunningEndsTheProcess)
{
    // Blocking: the flag is raised from inside the run, once ffmpeg reports progress.
    std::atomic<bool> cancel = false;
    FfmpegJob blocking(ENDLESS);
    blocking.setExpectedDurationMs(600000);
    QObject::connect(&blocking, &FfmpegJob::progressChanged, [&] { cancel = true; });
    EXPECT_EQ(blocking.run(&cancel), FfmpegJob::Outcome::Cancelled);

    FfmpegJob async(ENDLESS);
    async.setExpectedDurationMs(600000);
    QObject::connect(&async, &FfmpegJob::progressChanged, &async, &FfmpegJob::cancel);
    async.start();
    waitFor(async);
    EXPECT_EQ(async.outcome(), FfmpegJob::Outcome::Cancelled);

    // A program that ignores the terminate signal is killed after the grace time.
    TempDir dir;
    const QString script = dir.write("stubborn", "#!/bin/sh\ntrap '' TERM\nwhile :; do sleep 0.05; done\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    FfmpegJob stubborn({"-y"});
    stubborn.setProgram(script);
    stubborn.setCancelGraceMs(200);
    cancel = true;
    EXPECT_EQ(stubborn.run(&cancel), FfmpegJob::Outcome::Cancelled);
}

} // namespace

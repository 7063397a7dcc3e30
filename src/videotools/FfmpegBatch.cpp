#include "videotools/FfmpegBatch.h"

#include "videotools/FfmpegJob.h"

#include <QThread>
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

namespace {
// How often the waiting thread looks at the cancel flag when no run ends.
constexpr auto POLL = std::chrono::milliseconds(50);
} // namespace

FfmpegBatch::FfmpegBatch(QString program, int limit)
    : _program(std::move(program)), _limit(std::max(1, limit))
{
}

int FfmpegBatch::defaultLimit()
{
    // Stream copies wait on the disk and encoders use several cores each: a few at once is enough.
    return std::clamp(QThread::idealThreadCount() / 2, 1, 4);
}

FfmpegBatch::Outcome FfmpegBatch::run(const std::vector<Run> &runs, const std::atomic<bool> &cancelRequested,
                                      const std::function<void(size_t)> &onEnded)
{
    struct Shared
    {
        std::mutex mutex;
        std::condition_variable changed;
        std::deque<size_t> succeeded; // ended, not yet reported
        QString error;                // the first failure's
        QString shortError;
        size_t running = 0;
    };
    Shared shared;
    // Set on a cancel or the first failure: every job watches it and terminates its ffmpeg.
    std::atomic<bool> stop = false;
    std::vector<std::unique_ptr<QThread>> threads;

    const auto startRun = [&](size_t index) {
        ++shared.running;
        threads.emplace_back(QThread::create([&, index] {
            FfmpegJob job(runs[index].arguments);
            if (!_program.isEmpty())
                job.setProgram(_program);
            job.setExpectedDurationMs(runs[index].expectedMs);
            const FfmpegJob::Outcome outcome = job.run(&stop);
            const std::lock_guard lock(shared.mutex);
            if (outcome == FfmpegJob::Outcome::Succeeded) {
                shared.succeeded.push_back(index);
            } else if (outcome != FfmpegJob::Outcome::Cancelled && shared.error.isEmpty()) {
                shared.error = job.errorText();
                shared.shortError = job.shortErrorText();
                stop = true;
            }
            --shared.running;
            shared.changed.notify_all();
        }));
        threads.back()->start();
    };

    size_t next = 0;
    std::unique_lock lock(shared.mutex);
    for (;;) {
        if (cancelRequested.load())
            stop = true;
        while (!stop && next < runs.size() && shared.running < size_t(_limit))
            startRun(next++);
        while (!shared.succeeded.empty()) {
            const size_t index = shared.succeeded.front();
            shared.succeeded.pop_front();
            if (onEnded) {
                lock.unlock();
                onEnded(index);
                lock.lock();
            }
        }
        if (shared.running == 0 && (stop || next == runs.size()))
            break;
        shared.changed.wait_for(lock, POLL);
    }
    lock.unlock();
    for (const auto &thread : threads)
        thread->wait();

    if (!shared.error.isEmpty()) {
        _errorText = shared.error;
        _shortErrorText = shared.shortError;
        return Outcome::Failed;
    }
    return stop ? Outcome::Cancelled : Outcome::Succeeded;
}

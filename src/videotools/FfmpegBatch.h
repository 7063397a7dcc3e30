// Several ffmpeg runs that do not depend on each other (the cuts of a trim, one per chapter), side by side
// on threads of their own. The caller's thread waits, reports each end and watches its cancel flag; the
// first failure stops the others.
#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

class FfmpegBatch
{
public:
    enum class Outcome
    {
        Succeeded,
        Failed,
        Cancelled,
    };

    struct Run
    {
        QStringList arguments; // as the argument builders give them
        int64_t expectedMs = 0;
    };

    // program: empty for "ffmpeg" from the PATH. limit: runs at once, at least 1.
    FfmpegBatch(QString program, int limit);

    // Runs at most as many at once as the machine has cores to spare for them.
    static int defaultLimit();

    // Runs them all and returns when none runs any more. onEnded(index) is called on the calling thread
    // after each run that succeeded.
    Outcome run(const std::vector<Run> &runs, const std::atomic<bool> &cancelRequested,
                const std::function<void(size_t)> &onEnded = {});
    // Why the batch failed: the first failed run's error (empty otherwise).
    const QString &errorText() const { return _errorText; }
    // Its one-line cause, as FfmpegJob::shortErrorText gives it.
    const QString &shortErrorText() const { return _shortErrorText; }

private:
    QString _program;
    int _limit;
    QString _errorText;
    QString _shortErrorText;
};

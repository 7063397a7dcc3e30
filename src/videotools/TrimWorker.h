// The trim job: cuts a range of a trip out of its chapter movies with ffmpeg, joins the cuts, appends
// the clip's driving data and moves the clip into place.
#pragma once

#include "card/TripData.h"
#include "videotools/TrimRequest.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

class TrimWorker
{
public:
    enum class Result
    {
        Saved,
        Failed,
        Cancelled,
    };

    // Margin kept of the first and of the last chapter, so neither cut is empty.
    static constexpr int32_t EDGE_MARGIN_MS = 1100;
    // Room left on a volume after a failed job below which the full volume is named as the cause: a
    // write that ran out of room leaves less than one muxer's write free.
    static constexpr int64_t FULL_VOLUME_BYTES = int64_t(4) << 20;

    // Chapter indexes and offsets of a range after the edge margins, and its positions.
    struct Range
    {
        int64_t startIndex = 0;
        int32_t startOffset = 0;
        int64_t endIndex = 0;
        int32_t endOffset = 0;
        int32_t startPosition = 0;
        int32_t endPosition = 0;
        int64_t chapterCount() const { return endIndex - startIndex + 1; }
    };

    explicit TrimWorker(TrimRequest request);

    // Called on the worker's thread after each step; total is 2n + 4 for n chapters, and a saved clip
    // has had 2n + 3 steps: the last one is the caller's, once it has the result.
    void setProgressHandler(std::function<void(int step, int total)> handler)
    {
        _onProgress = std::move(handler);
    }
    // Called on the worker's thread with each console line (the ffmpeg command lines).
    void setLogHandler(std::function<void(const QString &)> handler) { _onLog = std::move(handler); }

    // Runs the whole job on the calling thread.
    Result run();
    // Any thread. True when the job will end as cancelled; false when it has passed the point where
    // the clip replaces the destination (or has ended), so it reports its own result instead.
    bool cancel();
    // Why the job failed (empty otherwise), with ffmpeg's last log lines.
    const QString &errorText() const { return _errorText; }
    // The same in short for an alert's detail: the file and the system's error, or ffmpeg's outcome
    // and its last log line.
    const QString &failureReason() const { return _failureReason; }

    // The range of a selection after the edge margins; none when it lies outside 32-bit positions or
    // the list is empty.
    static std::optional<Range> planRange(const ChapterList &chapters, int64_t startMs, int64_t endMs);
    // The same for a selection given as chapters and offsets.
    static std::optional<Range> planRange(const ChapterList &chapters, ChapterTimeline::Place start,
                                          ChapterTimeline::Place end);

private:
    static std::optional<Range> withMargins(const ChapterList &chapters, Range range);

    enum State
    {
        Running,
        Cancelled,
        Committed,
        Ended,
    };

    Result runPasses(const QString &workFolder);
    // Fails the job when the destination would write over the opened source or its folder takes no file.
    bool checkDestination();
    // Fails the job when the finished clip holds no picture.
    bool checkClip(const QString &clip);
    bool runFfmpeg(const QStringList &arguments, int64_t expectedMs, const QString &folder = QString());
    bool moveIntoPlace(const QString &finished);
    // After a failure, while the job's files still take their room: names a full volume of the
    // destination or the work folder as the cause.
    void nameFullVolume();
    void step();
    bool isCancelled() const { return _state.load() == Cancelled; }
    Result fail(const QString &text, const QString &reason = QString());
    void log(const QString &line);

    TrimRequest _request;
    std::function<void(int, int)> _onProgress;
    std::function<void(const QString &)> _onLog;
    std::atomic<int> _state = Running;
    std::atomic<bool> _isCancelRequested = false; // mirror of the state for the running ffmpeg
    QString _errorText;
    QString _failureReason;
    int _step = 0;
    int _total = 0;
};

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
    // Why the job failed (empty otherwise).
    const QString &errorText() const { return _errorText; }
    // The same in one line for the user: ffmpeg's last error line, or the file and the system's error.
    const QString &failureReason() const { return _failureReason; }

    // The range of a selection after the edge margins; none when it lies outside 32-bit positions or
    // the list is empty.
    static std::optional<Range> planRange(const ChapterList &chapters, int64_t startMs, int64_t endMs);
    // True when the destination is (by canonical path) one of the chapters' movie files.
    static bool isSourceRecording(const QString &destination, const ChapterList &chapters);

private:
    enum State
    {
        Running,
        Cancelled,
        Committed,
        Ended,
    };

    Result runPasses(const QString &workFolder);
    bool runFfmpeg(const QStringList &arguments, int64_t expectedMs, const QString &folder = QString());
    bool moveIntoPlace(const QString &finished);
    void step();
    bool isCancelled() const { return _state.load() == Cancelled; }
    // reason: the line for the user when it is not the text itself.
    Result fail(const QString &text, const QString &reason = {});
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

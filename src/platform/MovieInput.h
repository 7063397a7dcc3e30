// A camera movie opened for FFmpeg's demuxer over our own reads of a regular file: the mov/mp4
// demuxer is forced (no guessing from content), nested opens are limited to local files, a cancel
// flag or a time limit ends any blocked open or read, and FFmpeg's log names the file once per cause.
#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <memory>

struct AVFormatContext;
struct AVIOContext;
class BoundedFileReader;

class MovieInput
{
public:
    // Longest a still may take before its open or reads are ended.
    static constexpr std::chrono::milliseconds TIME_LIMIT{30000};

    // Opens the movie; cancel (may be null, outlives this object) ends the work when set.
    explicit MovieInput(const QString &path, const std::atomic<bool> *cancel = nullptr,
                        std::chrono::milliseconds timeLimit = TIME_LIMIT);
    MovieInput(const MovieInput &) = delete;
    MovieInput &operator=(const MovieInput &) = delete;
    ~MovieInput();

    // The demuxer, or null when the movie could not be opened.
    AVFormatContext *format() const { return _format; }
    // True once the cancel flag or the time limit has ended the work.
    bool isInterrupted() const;
    // Why the movie could not be opened or read, for the user: our reader's reason, the end of the
    // work, or FFmpeg's first error about this file. Empty while none is known.
    QString error() const;

    // Sends FFmpeg's log through one callback (once per process): warnings and errors only, each
    // line prefixed by the movie being read on that thread, and a line repeated for the same file
    // (as every retry of a broken file repeats it) logged once, to the "orv.platform.ffmpeg" debug
    // category (not shown unless asked for). An error is kept as the input's error() either way.
    static void routeLog();

private:
    static int readPacket(void *opaque, uint8_t *buffer, int size);
    static int64_t seek(void *opaque, int64_t offset, int whence);
    static int interrupt(void *opaque);
    static void logLine(void *context, int level, const char *format, va_list args);

    QString _path;
    const std::atomic<bool> *_cancel = nullptr;
    std::chrono::steady_clock::time_point _deadline;
    std::unique_ptr<BoundedFileReader> _file;
    uint64_t _position = 0;
    AVIOContext *_io = nullptr;
    AVFormatContext *_format = nullptr;
    QString _readError;
    QString _logError;
    MovieInput *_previous = nullptr; // the input this thread had open before this one
};

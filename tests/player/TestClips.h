// Movie clips generated with ffmpeg for the player tests and benchmarks, and the benchmarks' waits on
// the event loop.
#pragma once

#include "support/EventLoop.h"
#include "support/Ffmpeg.h"

#include <QDir>
#include <QString>

namespace testclips {

// An H.264 MP4 of the lavfi test pattern, a key frame every second as a camera writes them.
inline QString makeClip(const QString &dir, const QString &name, int width, int height, int fps,
                        double seconds, const QString &pattern = "testsrc2")
{
    const QString path = QDir(dir).filePath(name);
    const QString source = QString("%1=size=%2x%3:rate=%4:duration=%5").arg(pattern).arg(width).arg(height);
    const bool made = Ffmpeg::run({"-f", "lavfi", "-i", source.arg(fps).arg(seconds), "-c:v", "libx264",
                                   "-preset", "ultrafast", "-g", QString::number(fps), "-pix_fmt", "yuv420p",
                                   "-movflags", "+faststart", path});
    return made ? path : QString();
}

inline bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 10000)
{
    return EventLoop::waitUntil(condition, std::chrono::milliseconds(timeoutMs));
}

inline void spin(int ms)
{
    EventLoop::runFor(std::chrono::milliseconds(ms));
}

} // namespace testclips

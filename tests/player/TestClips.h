// Movie clips generated with ffmpeg for the player tests and benchmarks, and the benchmarks' waits on
// the event loop.
#pragma once

#include "samplecard/SampleMovieArgs.h"
#include "support/EventLoop.h"
#include "support/Ffmpeg.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

namespace testclips {

// An H.264 MP4 of the lavfi test pattern, a key frame every second as a camera writes them. Under
// ThreadSanitizer a suite cannot start ffmpeg (the sanitizer cannot follow Qt's way of forking): the folder
// ORV_TEST_CLIPS, when set, keeps the clips a regular build of the suite made, and they are taken from there.
// A frame-stamped clip carries each picture's number as samplecard stamps it (frameStampIn reads it).
inline QString makeClip(const QString &dir, const QString &name, int width, int height, int fps,
                        double seconds, const QString &pattern = "testsrc2", bool frameStamp = false)
{
    const QString kept = qEnvironmentVariable("ORV_TEST_CLIPS");
    const QString path = kept.isEmpty() ? QDir(dir).filePath(name)
                                        : QDir(kept).filePath(QString("%1-%2x%3-%4-%5-%6")
                                                                  .arg(pattern)
                                                                  .arg(width)
                                                                  .arg(height)
                                                                  .arg(fps)
                                                                  .arg(seconds)
                                                                  .arg(name));
    if (!kept.isEmpty() && QFileInfo::exists(path))
        return path;
    const QString source = QString("%1=size=%2x%3:rate=%4:duration=%5").arg(pattern).arg(width).arg(height);
    QStringList args{"-f", "lavfi", "-i", source.arg(fps).arg(seconds)};
    if (frameStamp) {
        const QString strip = QString("color=c=black:size=512x32:rate=%1:duration=%2").arg(fps).arg(seconds);
        args += {"-f", "lavfi", "-i", strip, "-filter_complex", SampleMovieArgs::frameStampFilter()};
    }
    args += {"-c:v",     "libx264", "-preset",   "ultrafast",  "-g", QString::number(fps),
             "-pix_fmt", "yuv420p", "-movflags", "+faststart", path};
    return Ffmpeg::run(args) ? path : QString();
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

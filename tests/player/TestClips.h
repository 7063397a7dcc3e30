// Movie clips generated with the ffmpeg program for the player tests, and a wait that runs the
// event loop until a condition holds.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QThread>

#include <functional>

namespace testclips {

// An H.264 MP4 of the lavfi test pattern, a key frame every second as a camera writes them.
inline QString makeClip(const QString &dir, const QString &name, int width, int height, int fps,
                        double seconds, const QString &pattern = "testsrc2")
{
    const QString path = QDir(dir).filePath(name);
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i",
                            QString("%1=size=%2x%3:rate=%4:duration=%5")
                                .arg(pattern)
                                .arg(width)
                                .arg(height)
                                .arg(fps)
                                .arg(seconds),
                            "-c:v", "libx264", "-preset", "ultrafast", "-g", QString::number(fps), "-pix_fmt",
                            "yuv420p", "-movflags", "+faststart", path});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitStatus() != QProcess::NormalExit ||
        ffmpeg.exitCode() != 0)
        return {};
    return path;
}

// Runs the event loop until the condition holds or the time is up; returns the condition.
inline bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 10000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Runs the event loop for the given time.
inline void spin(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

} // namespace testclips

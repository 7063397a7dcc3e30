#include "Ffmpeg.h"

#include <QProcess>

bool Ffmpeg::run(const QStringList &args, QByteArray *output)
{
    QProcess process;
    process.setProcessChannelMode(output ? QProcess::SeparateChannels : QProcess::ForwardedErrorChannel);
    process.start("ffmpeg", QStringList{"-nostdin", "-loglevel", "error", "-y"} + args);
    if (!process.waitForStarted(10000))
        return false;
    if (!output)
        process.closeReadChannel(QProcess::StandardOutput);
    if (!process.waitForFinished(120000))
        return false;
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool Ffmpeg::writeTestMovie(const QString &path, int width, int height, double seconds, int fps,
                            int keyFrameInterval)
{
    const QString source =
        QString("testsrc2=size=%1x%2:rate=%3:duration=%4").arg(width).arg(height).arg(fps).arg(seconds);
    return run(
        QStringList{"-f", "lavfi", "-i", source, "-vf", "hue=h=t*40*" + QString::number(fps)} +
        QString("-c:v libx264 -preset veryfast -pix_fmt yuv420p -g %1 -colorspace bt709 -color_primaries "
                "bt709 -color_trc bt709 -color_range tv")
            .arg(keyFrameInterval)
            .split(' ') +
        QStringList{path});
}

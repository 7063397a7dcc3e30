#include "samplecard/SampleMovieArgs.h"

#include <QFileInfo>

#include <algorithm>

namespace {
QString number(double value)
{
    return QString::number(value, 'f', 3);
}
} // namespace

QString SampleMovieArgs::frameStampFilter()
{
    return "[1:v]geq=lum='255*mod(floor(N/pow(2,floor(X/32))),2)':cb=128:cr=128[b];[0:v][b]overlay=0:0";
}

QString SampleMovieArgs::timeStampFilter(int64_t startMs, int height, const QString &fontFile)
{
    // %T rather than %H:%M:%S: a colon would end the expansion's argument. The offset is in seconds.
    QString filter = "drawtext=";
    if (!fontFile.isEmpty())
        filter += "fontfile=" + fontFile + ":";
    const int size = std::max(height / 18, 8);
    filter += QString("text='%{pts\\:gmtime\\:%1\\:%Y/%m/%d %T} UTC':fontsize=%2:fontcolor=white"
                      ":box=1:boxcolor=black@0.5:boxborderw=%3:x=%4:y=h-th-%4")
                  .arg(number(startMs / 1000.0))
                  .arg(size)
                  .arg(size / 5)
                  .arg(size / 2 + size / 5);
    return filter;
}

QString SampleMovieArgs::stampFont()
{
    // fonts-dejavu-core and fonts-noto-cjk, both in scripts/install-deps.
    for (const char *path : {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
                             "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                             "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc",
                             "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"}) {
        if (QFileInfo(QString::fromLatin1(path)).isFile())
            return QString::fromLatin1(path);
    }
    return {};
}

QStringList SampleMovieArgs::forMovie(const SampleScenario &scenario, int durationMs,
                                      std::optional<int64_t> stampStartMs, const QString &out)
{
    const double fps = scenario.videoFps > 0 ? scenario.videoFps : scenario.fps;
    const QString seconds = number(durationMs / 1000.0);
    QStringList args{"-nostdin",
                     "-hide_banner",
                     "-loglevel",
                     "error",
                     "-y",
                     "-f",
                     "lavfi",
                     "-i",
                     QString("testsrc2=size=%1x%2:rate=%3:duration=%4")
                         .arg(scenario.videoWidth)
                         .arg(scenario.videoHeight)
                         .arg(fps)
                         .arg(seconds)};
    if (scenario.frameStamp)
        args << "-f"
             << "lavfi"
             << "-i" << QString("color=c=black:size=512x32:rate=%1:duration=%2").arg(fps).arg(seconds);
    const int audioInput = scenario.frameStamp ? 2 : 1;
    const QString soundSeconds = number((durationMs + std::max(scenario.soundTailMs, 0)) / 1000.0);
    args << "-f"
         << "lavfi"
         << "-i"
         << (scenario.soundMarks
                 ? QString("aevalsrc='0.5*sin(2*PI*440*t)*lt(mod(t,1),0.1)':s=16000:d=%1").arg(soundSeconds)
                 : QString("sine=frequency=440:sample_rate=16000:duration=%1").arg(soundSeconds));

    QStringList filters;
    if (scenario.frameStamp)
        filters << frameStampFilter();
    if (scenario.timeStamp && stampStartMs)
        filters << timeStampFilter(*stampStartMs, scenario.videoHeight, stampFont());
    if (!filters.isEmpty()) {
        QString graph = filters.join(',');
        if (!scenario.frameStamp)
            graph.prepend("[0:v]");
        args << "-filter_complex" << graph + "[v]"
             << "-map"
             << "[v]"
             << "-map" << QString("%1:a").arg(audioInput);
    }
    if (scenario.compactMovies)
        args << "-c:v"
             << "libx264"
             << "-preset"
             << "veryfast"
             << "-crf"
             << "30";
    else
        args << "-c:v"
             << "libx264"
             << "-preset"
             << "ultrafast";
    args << "-pix_fmt"
         << "yuv420p"
         << "-c:a"
         << "aac"
         << "-b:a"
         << "32k"
         << "-ac"
         << "1";
    if (scenario.soundTailMs <= 0)
        args << "-shortest";
    if (scenario.keyFrameInterval > 0)
        args << "-g" << QString::number(scenario.keyFrameInterval);
    args << out;
    return args;
}

// Chapter stills of a card of 60 one-second 1920x1080 H.264 chapters (a key frame every second),
// cut by ffmpeg from one generated movie when the benchmark starts. Runs on one core.
#include "platform/JpegFile.h"
#include "platform/MovieStillGrabber.h"
#include "support/Ffmpeg.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sched.h>

namespace {

constexpr int CHAPTERS = 60;

struct Card
{
    QTemporaryDir dir;
    QStringList chapters;

    Card()
    {
        Ffmpeg::run({"-f", "lavfi", "-i",
                     QString("testsrc2=size=1920x1080:rate=30:duration=%1").arg(CHAPTERS), "-c:v", "libx264",
                     "-preset", "veryfast", "-pix_fmt", "yuv420p", "-g", "30", "-f", "segment",
                     "-segment_time", "1", "-reset_timestamps", "1", dir.filePath("%04d.MP4")});
        for (int i = 0; i < CHAPTERS; ++i) {
            const QString path = dir.filePath(QString("%1.MP4").arg(i, 4, 10, QChar('0')));
            if (QFile::exists(path))
                chapters << path;
        }
        QDir(dir.path()).mkpath("THUMB");
        // Generation uses every core; the measurement runs on one.
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(sched_getcpu(), &one);
        sched_setaffinity(0, sizeof(one), &one);
    }
};

Card &card()
{
    static Card instance;
    return instance;
}

// What the thumbnail worker does per chapter: the frame at 1 ms, scaled, written as a JPEG.
void BM_ChapterThumbnail(benchmark::State &state)
{
    Card &c = card();
    if (c.chapters.size() != CHAPTERS) {
        state.SkipWithError("ffmpeg could not generate the chapters");
        return;
    }
    const qint64 positionMs = state.range(0);
    int i = 0;
    for (auto _ : state) {
        const QString &chapter = c.chapters[i++ % CHAPTERS];
        const auto still = MovieStillGrabber::grab(chapter, positionMs);
        if (!still || !JpegFile::write(*still, c.dir.filePath(QString("THUMB/%1.jpeg").arg(i % CHAPTERS)))) {
            state.SkipWithError("still failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["thumbnails/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
// 1 ms: the chapter still (a key frame); 500 ms: an event still, decoding 15 frames past the key frame.
BENCHMARK(BM_ChapterThumbnail)
    ->Arg(1)
    ->Arg(500)
    ->Iterations(CHAPTERS * 3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();

// Reading the driving data of one 60-second MP4 chapter (1,680 frames in camera 1) written by samplecard,
// from a file in the page cache. Also reports the bytes the recording's tables keep per frame.
// Runs on one core.
#include "recording/FullTimeDataInfo.h"
#include "recording/Mp4RecordingReader.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"

#include "samplecard/SampleCardWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sched.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Live heap bytes, for the memory a read recording keeps.
namespace {
std::atomic<long long> liveBytes{0};
}

void *operator new(size_t size)
{
    void *p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    liveBytes += static_cast<long long>(malloc_usable_size(p));
    return p;
}

void operator delete(void *p) noexcept
{
    if (!p)
        return;
    liveBytes -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}

void operator delete(void *p, size_t) noexcept
{
    operator delete(p);
}

namespace {

struct Chapter
{
    QTemporaryDir dir;
    QString path;

    Chapter()
    {
        SampleCardWriter writer(SampleScenario::singleChapter(60000));
        const SampleTrip &trip = writer.scenario().trips.front();
        path = dir.filePath("m2024061510000001.MP4");
        if (!writer.writeChapterMovie(trip, trip.chapters.front(), path))
            qFatal("samplecard: %s", qPrintable(writer.lastError()));
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        f.readAll(); // into the page cache
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(sched_getcpu(), &one);
        sched_setaffinity(0, sizeof(one), &one);
    }
};

Chapter &chapter()
{
    static Chapter c;
    return c;
}

void BM_ReadChapterDrivingData(benchmark::State &state)
{
    const QString path = chapter().path;
    size_t frames = 0;
    for (auto _ : state) {
        bool isError = false;
        auto info = Mp4RecordingReader::read(path, Date::distantPast(), Date::distantFuture(), isError, {});
        frames = info->getCameraFrames(1).size();
        benchmark::DoNotOptimize(info);
    }
    state.counters["frames"] = double(frames);

    const long long before = liveBytes;
    bool isError = false;
    auto kept = Mp4RecordingReader::read(path, Date::distantPast(), Date::distantFuture(), isError, {});
    const long long after = liveBytes;
    state.counters["bytesPerFrame"] = double(after - before) / double(kept->getCameraFrames(1).size());
}
BENCHMARK(BM_ReadChapterDrivingData)->Unit(benchmark::kMicrosecond);

// What a card worker does per chapter: the read plus distance and direction of every frame.
void BM_PictureDataOfChapter(benchmark::State &state)
{
    const QUrl url = QUrl::fromLocalFile(chapter().path);
    for (auto _ : state) {
        PictureData picture(url, PictureData::PictureDataType::All, Date::distantPast(),
                            Date::distantFuture(), std::make_shared<FullTimeDataInfo>(),
                            PictureData::RecType::Yohin14Rec, {});
        benchmark::DoNotOptimize(picture.video);
    }
}
BENCHMARK(BM_PictureDataOfChapter)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    chapter();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The memory a card keeps once its driving data is read: cards of 100, 1,000 and 5,000 one-minute
// chapters (28 frame records a second, one-second movies) made by samplecard. Reports the open time,
// the heap bytes the chapters keep per frame after every chapter's driving data is read (as the
// picture-data worker does), and the peak resident memory of the whole run for that card.
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/TripData.h"
#include "recording/FileUtil.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"
#include "samplecard/SampleCardWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>

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

constexpr int CHAPTER_MS = 60000;

// Peak resident memory since the last reset, in bytes.
long long peakResidentBytes()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return -1;
}

void resetPeakResident()
{
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// Cards are written once per size and kept for the run.
const QString &cardOf(int chapters)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> cards;
    static std::map<int, QString> paths;
    if (!cards.contains(chapters)) {
        auto dir = std::make_unique<QTemporaryDir>();
        SampleScenario scenario = SampleScenario::chapters(chapters, CHAPTER_MS);
        // Long enough that the reader takes the chapter's driving data (it bounds frames by the movie's
        // length).
        scenario.movieMs = CHAPTER_MS / 2;
        SampleCardWriter writer(scenario);
        paths[chapters] = writer.writeCard(dir->path()) ? dir->filePath("MOVE") : QString();
        cards[chapters] = std::move(dir);
    }
    return paths[chapters];
}

void BM_CardDrivingDataMemory(benchmark::State &state)
{
    const QString &path = cardOf(int(state.range(0)));
    if (path.isEmpty()) {
        state.SkipWithError("samplecard could not write the card");
        return;
    }
    double openMs = 0;
    double bytesPerFrame = 0;
    double tableBytesPerFrame = 0;
    long long peak = 0;
    for (auto _ : state) {
        resetPeakResident();
        const long long before = liveBytes;
        const auto start = std::chrono::steady_clock::now();
        auto card = std::make_unique<CardData>();
        card->loadCardFolder(FileUtil::fileUrl(path));
        openMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        const long long opened = liveBytes;
        size_t frames = 0;
        size_t tableBytes = 0;
        for (const auto &trip : card->_tripList) {
            for (const auto &chapter : trip->chapters()) {
                const auto picture = chapter->getPicture(true);
                if (!picture || !picture->video) {
                    state.SkipWithError("driving data not read");
                    return;
                }
                frames += picture->video->getCameraFrames(1).size();
                tableBytes += picture->video->frameBytes();
            }
        }
        bytesPerFrame = double(liveBytes - opened) / double(std::max<size_t>(frames, 1));
        tableBytesPerFrame = double(tableBytes) / double(std::max<size_t>(frames, 1));
        peak = peakResidentBytes();
        card.reset();
        benchmark::DoNotOptimize(before);
    }
    state.counters["openMs"] = openMs;
    state.counters["bytesPerFrame"] = bytesPerFrame;
    state.counters["tableBytesPerFrame"] = tableBytesPerFrame;
    state.counters["peakRSS_MB"] = double(peak) / (1024.0 * 1024.0);
}
BENCHMARK(BM_CardDrivingDataMemory)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

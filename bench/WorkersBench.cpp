// What the card's background workers do per chapter, on a generated card of 60 chapters of
// 1920x1080 H.264 with their driving data: build the driving data, make the thumbnail. One core.
// Then the picture-data worker's whole run over one trip of 1,000 and 5,000 short chapters (its
// time per chapter stays flat when the search for the next chapter is linear), and the open of a
// trip of 1,000 one-minute chapters with and without its management file.
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/TripData.h"
#include "recording/CommonConst.h"
#include "recording/FileUtil.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"
#include "samplecard/SampleCardWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <map>
#include <sched.h>
#include <tuple>

namespace {

constexpr int CHAPTERS = 60;
constexpr int CHAPTER_MS = 5000;

struct Card
{
    QTemporaryDir dir;
    bool ok = false;

    Card()
    {
        SampleScenario scenario = SampleScenario::singleChapter(CHAPTERS * CHAPTER_MS);
        scenario.videoWidth = 1920;
        scenario.videoHeight = 1080;
        SampleTrip &trip = scenario.trips.front();
        trip.chapters.clear();
        for (int n = 1; n <= CHAPTERS; ++n)
            trip.chapters.push_back({n, int64_t(n - 1) * CHAPTER_MS, CHAPTER_MS});
        SampleCardWriter writer(scenario);
        ok = writer.writeCard(dir.path());
        // Generation uses every core; the measurement runs on one.
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(sched_getcpu(), &one);
        sched_setaffinity(0, sizeof(one), &one);
    }

    std::unique_ptr<CardData> load() const
    {
        auto card = std::make_unique<CardData>();
        card->loadCardFolder(FileUtil::fileUrl(dir.filePath("MOVE")));
        return card;
    }
};

Card &card()
{
    static Card instance;
    return instance;
}

std::vector<std::shared_ptr<ChapterData>> chaptersOf(CardData &card)
{
    std::vector<std::shared_ptr<ChapterData>> result;
    for (const auto &trip : card._tripList)
        for (const auto &chapter : trip->chapters())
            result.push_back(chapter);
    return result;
}

// The picture-data worker's step: one chapter's driving data, read from its movie.
void BM_ChapterDrivingData(benchmark::State &state)
{
    if (!card().ok) {
        state.SkipWithError("samplecard could not write the card");
        return;
    }
    int64_t chapters = 0;
    int64_t frames = 0;
    double elapsedMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto loaded = card().load();
        const auto list = chaptersOf(*loaded);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        for (const auto &chapter : list) {
            if (!chapter->getPicture(true)) {
                state.SkipWithError("driving data not read");
                return;
            }
        }
        elapsedMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        chapters += int64_t(list.size());
        state.PauseTiming();
        for (const auto &chapter : list) {
            if (const auto picture = chapter->getPicture(false); picture && picture->video)
                frames += int64_t(picture->video->getCameraFrames(1).size());
        }
        state.ResumeTiming();
    }
    state.counters["ms/chapter"] = elapsedMs / double(std::max<int64_t>(chapters, 1));
    state.counters["frames/chapter"] = double(frames) / double(std::max<int64_t>(chapters, 1));
}
BENCHMARK(BM_ChapterDrivingData)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// The thumbnail worker's step: one chapter's thumbnail, from the frame at 1 ms to a JPEG file.
void BM_ChapterThumbnail(benchmark::State &state)
{
    if (!card().ok) {
        state.SkipWithError("samplecard could not write the card");
        return;
    }
    int64_t thumbnails = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto loaded = card().load();
        const auto list = chaptersOf(*loaded);
        state.ResumeTiming();
        for (const auto &chapter : list) {
            if (!chapter->makeThumbnail(true)) {
                state.SkipWithError("thumbnail not made");
                return;
            }
        }
        thumbnails += int64_t(list.size());
    }
    state.counters["thumbnails/s"] = benchmark::Counter(double(thumbnails), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ChapterThumbnail)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// One trip of count chapters of chapterMs with their records (their movies movieMs long), written once
// per shape; withRecords false takes the management file away.
QString longTrip(int count, bool withRecords, int chapterMs, int movieMs)
{
    static std::map<std::tuple<int, bool, int>, std::unique_ptr<QTemporaryDir>> cards;
    const auto key = std::make_tuple(count, withRecords, chapterMs);
    if (!cards.contains(key)) {
        auto dir = std::make_unique<QTemporaryDir>();
        SampleScenario scenario = SampleScenario::chapters(count, chapterMs);
        scenario.movieMs = movieMs;
        if (!SampleCardWriter(scenario).writeCard(dir->path()))
            return {};
        if (!withRecords)
            QFile::remove(QDir(dir->filePath("MOVE")).filePath(CommonConst::FILE_NAME_VREC));
        cards[key] = std::move(dir);
    }
    return cards[key]->filePath("MOVE");
}

// The picture-data worker's steps until it finds nothing left, on the calling thread.
void BM_PictureWorkerRun(benchmark::State &state)
{
    const int count = int(state.range(0));
    // Short chapters, so that the search for the next one shows beside the reading.
    const QString path = longTrip(count, true, 1000, 500);
    if (path.isEmpty()) {
        state.SkipWithError("samplecard could not write the card");
        return;
    }
    int64_t built = 0;
    double elapsedUs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CardData card;
        card.loadCardFolder(FileUtil::fileUrl(path));
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        while (card.loadNextPictureData())
            ++built;
        elapsedUs +=
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        card.dispose();
        state.ResumeTiming();
    }
    if (built != count * int64_t(state.iterations()))
        state.SkipWithError("not every chapter got its driving data");
    state.counters["us_per_chapter"] = elapsedUs / double(std::max<int64_t>(built, 1));
}
BENCHMARK(BM_PictureWorkerRun)
    ->Arg(1000)
    ->Arg(5000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The open (list and trips, as the main window's open does) with and without the management file.
void BM_OpenLongTrip(benchmark::State &state)
{
    const int count = int(state.range(0));
    const bool withRecords = state.range(1) != 0;
    // One-minute chapters read whole, as a camera writes them.
    const QString path = longTrip(count, withRecords, 60000, 60000);
    if (path.isEmpty()) {
        state.SkipWithError("samplecard could not write the card");
        return;
    }
    double elapsedUs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        CardData card;
        card.loadCardFolder(FileUtil::fileUrl(path));
        elapsedUs +=
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
        if (card._tripList.size() != 1 || card._tripList.front()->chapterCount() != size_t(count))
            state.SkipWithError("the trip was not formed");
        state.PauseTiming();
        card.dispose();
        state.ResumeTiming();
    }
    state.counters["us_per_chapter"] = elapsedUs / (double(count) * double(state.iterations()));
}
BENCHMARK(BM_OpenLongTrip)
    ->ArgNames({"chapters", "records"})
    ->Args({1000, 1})
    ->Args({1000, 0})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();

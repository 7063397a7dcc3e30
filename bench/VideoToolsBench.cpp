// The capture and the stopwatch on a generated trip of three 52-second 1920x1080 chapters (28 fps, a
// key frame every 28 frames): one still with its overlay text written as JPEG, and the stopwatch's
// per-frame work (running lap and total) late in the trip. On a generated trip of a thousand one-minute
// chapters, what the tools do on the main thread over the whole trip: the longest time the main thread
// handles no event during a KMZ export, with the export on the main thread (0) and with its long part on
// a thread of its own as the window runs it (1), every recording read again as after the workers' cache
// let it go; the stopwatch's first total over that trip before any chapter was read; and the check of a
// save's destination against its recordings. Runs on one core.
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/RecentPictures.h"
#include "card/WriteDestination.h"
#include "map/KmzExporter.h"
#include "platform/WorkerWait.h"
#include "recording/FileUtil.h"
#include "recording/UserDefaultUtil.h"
#include "samplecard/SampleCardWriter.h"
#include "videotools/StillCapture.h"
#include "videotools/StopWatchModel.h"
#include "videotools/ToolInfo.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <sched.h>

namespace {

constexpr int CHAPTER_MS = 52000;

struct Trip
{
    QTemporaryDir dir;
    CardData card;
    ChapterList chapters;

    Trip()
    {
        SampleScenario scenario = SampleScenario::singleChapter(CHAPTER_MS);
        scenario.trips.front().chapters = {
            {1, 0, CHAPTER_MS}, {2, CHAPTER_MS, CHAPTER_MS}, {3, 2 * CHAPTER_MS, CHAPTER_MS}};
        scenario.trips.front().speed = {{0, 20.0}, {3 * CHAPTER_MS, 110.0}};
        scenario.videoWidth = 1920;
        scenario.videoHeight = 1080;
        scenario.keyFrameInterval = 28;
        if (!SampleCardWriter(scenario).writeCard(dir.path()))
            return;
        card.loadCardFolder(FileUtil::fileUrl(dir.filePath("MOVE")));
        if (!card._tripList.empty())
            chapters = card._tripList.front()->sortedChapters();
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(sched_getcpu(), &one);
        sched_setaffinity(0, sizeof(one), &one);
    }
};

Trip &trip()
{
    static Trip instance;
    return instance;
}

// Save of the capture tool: the frame 0.9 s past a key frame, brightened, date and speed written.
void BM_CaptureStill(benchmark::State &state)
{
    Trip &t = trip();
    if (t.chapters.size() != 3) {
        state.SkipWithError("the trip could not be generated");
        return;
    }
    ToolInfo info;
    info.type = ToolType::Capture;
    info.chapterList = t.chapters;
    info.chapter = t.chapters[1];
    info.selectEndSumFrameTS = CHAPTER_MS + 25900;
    info.currentCMtimeMs = 25900;
    info.brightBarVal = 2.0;
    const auto request = StillCapture::makeRequest(info, {true, true, false, false}, OverlaySettings{},
                                                   t.dir.filePath("still.jpeg"));
    for (auto _ : state) {
        if (!StillCapture::capture(*request)) {
            state.SkipWithError("capture failed");
            return;
        }
    }
    state.counters["stills/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CaptureStill)->Unit(benchmark::kMillisecond)->UseRealTime();

// One frame update of a running stopwatch in the last chapter: the running lap and the total.
void BM_StopWatchFrame(benchmark::State &state)
{
    Trip &t = trip();
    StopWatchModel model;
    model.setChapterDataList(t.chapters);
    model.setCurrentMs(5000);
    model.startStop();
    model.setCurrentMs(60000);
    model.lapReset();
    int64_t position = 2 * CHAPTER_MS + 1000;
    for (auto _ : state) {
        model.setCurrentMs(position);
        position = position + 33 < 3 * CHAPTER_MS ? position + 33 : 2 * CHAPTER_MS + 1000;
        benchmark::DoNotOptimize(model.rows());
        benchmark::DoNotOptimize(model.total());
    }
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StopWatchFrame)->Unit(benchmark::kMicrosecond);

constexpr int LONG_TRIP_CHAPTERS = 1000;
constexpr int LONG_CHAPTER_MS = 60000;

// The thousand chapters as small movies: what is timed reads their driving data, not their pictures.
struct LongTrip
{
    QTemporaryDir dir;
    CardData card;
    ChapterList chapters;

    LongTrip()
    {
        SampleScenario scenario = SampleScenario::chapters(LONG_TRIP_CHAPTERS, LONG_CHAPTER_MS);
        scenario.movieMs = 500;
        if (!SampleCardWriter(scenario).writeCard(dir.path()))
            return;
        card.loadCardFolder(FileUtil::fileUrl(dir.filePath("MOVE")));
        if (!card._tripList.empty())
            chapters = card._tripList.front()->sortedChapters();
        QFile old(dir.filePath("old.kmz"));
        if (old.open(QIODevice::WriteOnly))
            old.write("old");
    }
};

LongTrip &longTrip()
{
    static LongTrip instance;
    return instance;
}

// The longest stretch between two turns of the main thread's event loop while the call runs, in ms.
double longestBlockMs(const std::function<void()> &call)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    tick.start();
    call();
    longest = std::max(longest, clock.nsecsElapsed() - last);
    return double(longest) / 1e6;
}

void BM_KmzExportLongestMainThreadBlock(benchmark::State &state)
{
    LongTrip &t = longTrip();
    if (t.chapters.size() != size_t(LONG_TRIP_CHAPTERS)) {
        state.SkipWithError("the trip could not be generated");
        return;
    }
    UserDefaultUtil settings(t.dir.filePath("settings.ini"));
    KmzExporter exporter(settings, t.dir.filePath("work"));
    if (state.range(0) == 1) {
        exporter.setRunner([](const KmzExporter::Work &work) {
            const std::atomic<bool> never = false;
            WorkerWait::run([&] { work(WorkControl{&never, {}}); });
        });
    }
    const QString destination = t.dir.filePath("trip.kmz");
    double longest = 0.0;
    for (auto _ : state) {
        RecentPictures::shared().clear();
        bool saved = false;
        longest = std::max(longest,
                           longestBlockMs([&] { saved = exporter.exportTripKml(t.chapters, destination); }));
        if (!saved) {
            state.SkipWithError("the export failed");
            return;
        }
    }
    state.counters["longest_block_ms"] = longest;
}
BENCHMARK(BM_KmzExportLongestMainThreadBlock)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// The stopwatch's first update of a total from the trip's start to its last chapter just after the card's
// opening, when no chapter has been read: reading them here (0) against asking for them elsewhere (1).
void BM_StopWatchTotalOverUnreadLongTrip(benchmark::State &state)
{
    LongTrip &t = longTrip();
    if (t.chapters.size() != size_t(LONG_TRIP_CHAPTERS)) {
        state.SkipWithError("the trip could not be generated");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        CardData card;
        card.loadCardFolder(FileUtil::fileUrl(t.dir.filePath("MOVE")));
        const ChapterList chapters = card._tripList.front()->sortedChapters();
        StopWatchModel model;
        if (state.range(0) == 1)
            model.readElsewhere = [](const std::shared_ptr<ChapterData> &) {};
        model.setChapterDataList(chapters);
        model.setCurrentMs(1000);
        model.startStop();
        model.setCurrentMs(int64_t(LONG_TRIP_CHAPTERS - 1) * LONG_CHAPTER_MS + 1000);
        state.ResumeTiming();
        benchmark::DoNotOptimize(model.total());
        state.PauseTiming();
        card.dispose();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StopWatchTotalOverUnreadLongTrip)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The check that a save's destination is none of the trip's recordings, which the trim, the capture and
// the export make on the main thread before their work starts: a new file, and one that exists.
void BM_DestinationCheckLongTrip(benchmark::State &state)
{
    LongTrip &t = longTrip();
    if (t.chapters.size() != size_t(LONG_TRIP_CHAPTERS)) {
        state.SkipWithError("the trip could not be generated");
        return;
    }
    const QString destination = t.dir.filePath(state.range(0) == 0 ? "new.kmz" : "old.kmz");
    for (auto _ : state)
        benchmark::DoNotOptimize(
            WriteDestination::sourceConflict(destination, t.card._openSourcePath, t.chapters));
}
BENCHMARK(BM_DestinationCheckLongTrip)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // The overlay text needs fonts, which come with a GUI application (off screen here).
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

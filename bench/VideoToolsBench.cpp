// The capture and the stopwatch on a generated trip of three 52-second 1920x1080 chapters (28 fps, a
// key frame every 28 frames): one still with its overlay text written as JPEG, and the stopwatch's
// per-frame work (running lap and total) late in the trip. Runs on one core.
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "recording/FileUtil.h"
#include "samplecard/SampleCardWriter.h"
#include "videotools/StillCapture.h"
#include "videotools/StopWatchModel.h"
#include "videotools/ToolInfo.h"

#include <QGuiApplication>
#include <QTemporaryDir>
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

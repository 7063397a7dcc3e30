// Main-thread cost of the driving-data panel: one playback tick (panel position, circle-chart marker, speed
// meter, GPS icon) including the painting it causes at the panel's size, and the rebuild of the line chart's
// series over a 3-minute stretch. Generated one-minute chapters whose driving data is already built, as the
// card's worker leaves them. Runs on one core.
#include "graph/ChapterDrivingData.h"
#include "graph/CircleChartView.h"
#include "graph/DrivingInfoModel.h"
#include "graph/DrivingInfoView.h"

#include "TripFixture.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <sched.h>

#include <memory>

namespace {

constexpr int CHAPTER_MS = 60000;

struct Trip
{
    std::unique_ptr<TripFixture> fixture;
    std::shared_ptr<ChapterDrivingData> source;

    Trip()
    {
        fixture = std::make_unique<TripFixture>(std::vector<int>(4, CHAPTER_MS));
        source = std::make_shared<ChapterDrivingData>(fixture->chapters);
        for (size_t i = 0; i < source->chapterCount(); ++i)
            source->sampleAt(i, 0);
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(sched_getcpu(), &one);
        sched_setaffinity(0, sizeof(one), &one);
    }
};

Trip &trip()
{
    static Trip t;
    return t;
}

void BM_PanelTick(benchmark::State &state)
{
    Trip &t = trip();
    DrivingInfoView panel;
    panel.resize(panel.sizeHint());
    panel.show();
    panel.setupView();
    panel.loadMovieChapters(t.source);
    panel.circleChartView()->loadMovieChapters(t.source);
    const int start = t.source->position(1, 0);
    int position = start;
    QCoreApplication::processEvents();
    for (auto _ : state) {
        position += 33;
        if (position > start + CHAPTER_MS)
            position = start + 5000;
        const auto frame = t.source->sampleAtPosition(position);
        panel.showFrame(position, frame, CommonConst::PlayStatus::Play, true, {});
        // Paints what the tick invalidated.
        QCoreApplication::processEvents();
    }
    state.counters["rebuilds"] = panel.model().rebuildCount();
}

void rebuildBench(benchmark::State &state, int spanMs)
{
    Trip &t = trip();
    DrivingInfoModel model;
    DrivingInfoModel::Settings settings;
    settings.timeZone = "UTC";
    const int start = 20000;
    model.loadEventChapters(t.source, CommonConst::PlayType::Event, start + spanMs / 2, start, start + spanMs,
                            settings);
    for (auto _ : state) {
        model.updateDrivingInfo(settings);
        benchmark::DoNotOptimize(model.chart().speedData.size());
    }
    state.counters["samples"] = double(model.chart().speedData.size());
}

void BM_RebuildStretch3Min(benchmark::State &state)
{
    rebuildBench(state, 180000);
}
void BM_RebuildStretchJustUnder3Min(benchmark::State &state)
{
    rebuildBench(state, 179999);
}

void BM_CircleChartTrace(benchmark::State &state)
{
    Trip &t = trip();
    CircleChartModel chart;
    chart.loadMovieChapters(t.source);
    chart.updateMarker(t.source->position(1, 30000), CommonConst::PlayStatus::Play);
    for (auto _ : state) {
        chart.setScope(chart.gScopeType); // marks the cache for a rebuild of the whole chapter
        benchmark::DoNotOptimize(chart.trace());
    }
    state.counters["points"] = double(chart.cachedPointCount());
}

BENCHMARK(BM_PanelTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RebuildStretch3Min)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildStretchJustUnder3Min)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CircleChartTrace)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

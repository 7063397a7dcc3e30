// Main-thread cost of one playback clock tick (position, chapter lookup, sync decision, the chapter
// swap when a border is crossed) on a trip of 1,000 generated chapters, with a fake media engine so
// that only the panel's own work is timed. Runs on one core.
#include "player/MoviePlayerView.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlaybackClock.h"

#include "card/PictureDataUtil.h"

#include "FakeMediaEngine.h"
#include "TripFixture.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <sched.h>

#include <memory>

namespace {

constexpr int CHAPTERS = 1000;
constexpr int64_t TICK_NS = 1000000000 / 30;

struct Trip
{
    std::unique_ptr<TripFixture> fixture;
    std::shared_ptr<PlayMovieValueInfo> model;

    Trip()
    {
        fixture = std::make_unique<TripFixture>(std::vector<int>(CHAPTERS, 1000));
        model = std::make_shared<PlayMovieValueInfo>(fixture->chapters, CardData::ActiveType::MovieRec);
        // Every chapter's driving data is built once, as the card's worker does in the background.
        for (int64_t position = 0; position < model->maxValue(); position += 500)
            PictureDataUtil::getMovieTimeStamp(model->timeline(), int32_t(position));
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

void tickBench(benchmark::State &state, float rate)
{
    Trip &t = trip();
    int64_t now = 0;
    FakeMediaEngine *engine = nullptr;
    std::vector<FakeMediaEngine *> engines;
    MoviePlayerView panel(
        [&] {
            auto e = std::make_unique<FakeMediaEngine>();
            engines.push_back(e.get());
            // Every file opens at once, so that borders swap in the prepared engine.
            e->becomeReady();
            return e;
        },
        [&] { return now; });
    auto model = std::make_shared<PlayMovieValueInfo>(t.fixture->chapters, CardData::ActiveType::MovieRec);
    panel.setValueInfo(model);
    panel.setAutoPlay(true);
    if (!panel.setPlayRate(rate)) {
        state.SkipWithError("the speed slider has no such rate");
        return;
    }
    panel.preparePlayer();
    engine = engines.front();
    engine->becomeReady();
    // Start half-way, so that the chapter lookups walk a long list.
    panel.moveToPosition(model->maxValue() / 2, CommonConst::PlayStatus::Play);
    PlaybackClock *clock = panel.clock();
    for (auto _ : state) {
        now += TICK_NS;
        clock->tick();
        if (panel.currentStatus() != CommonConst::PlayStatus::Play) {
            state.PauseTiming();
            panel.moveToPosition(model->maxValue() / 2, CommonConst::PlayStatus::Play);
            state.ResumeTiming();
        }
    }
    state.counters["chapters"] = double(model->chapterCount());
    double files = 0;
    for (FakeMediaEngine *e : engines)
        files += double(e->items.size());
    state.counters["files"] = files;
    state.counters["engines"] = double(engines.size());
}

void BM_ClockTickRate1(benchmark::State &state)
{
    tickBench(state, 1.0f);
}
void BM_ClockTickRate10(benchmark::State &state)
{
    tickBench(state, 10.0f);
}

BENCHMARK(BM_ClockTickRate1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClockTickRate10)->Unit(benchmark::kMicrosecond);

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

// How closely the picture follows the clock on the real engine: a generated trip of two 1920x1080
// chapters at 28 fps (a key frame every second), played for 10 s at rates 1, 2, 3, 5 and 10 across
// the chapter border, and exact seeks to a paused frame. mpv renders with its software renderer
// (offscreen). Every shown frame's time is compared with the movie time at the clock's position.
#include "player/CustomSliderCell.h"
#include "player/MoviePlayerView.h"
#include "player/MpvEngine.h"
#include "player/PlayMovieValueInfo.h"

#include "card/PictureDataUtil.h"

#include "TestClips.h"
#include "TripFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr double FPS = 28.0;
constexpr int CHAPTER_MS = 60000;
constexpr int RUN_MS = 10000;

TripFixture &trip()
{
    static TripFixture t(std::vector<int>{CHAPTER_MS, CHAPTER_MS}, 1920, 1080, FPS, int(FPS));
    return t;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5))];
}

std::unique_ptr<MoviePlayerView> makePanel()
{
    auto panel = std::make_unique<MoviePlayerView>(
        nullptr, [] { return std::make_unique<MpvEngine>(MpvEngine::RenderMode::Software); });
    panel->resize(960, 580);
    panel->_valueInfo = std::make_shared<PlayMovieValueInfo>(trip().chapters, CardData::ActiveType::MovieRec);
    return panel;
}

// Drift of each shown frame against the clock: the track bar's value (the position of record,
// which moves once a tick) and that value carried forward to the moment the frame was shown.
struct Drifts
{
    std::vector<double> atTick;
    std::vector<double> interpolated;
};

void report(benchmark::State &state, const std::string &name, const std::vector<double> &drifts)
{
    // A frame is on time while the position lies within its interval; 1 ms allows for presenting it.
    const double interval = 1000.0 / FPS + 1.0;
    state.counters[name + "_median_ms"] = percentile(drifts, 0.5);
    state.counters[name + "_p95_ms"] = percentile(drifts, 0.95);
    state.counters[name + "_in_frame_%"] =
        drifts.empty() ? 0.0
                       : 100.0 *
                             double(std::count_if(drifts.begin(), drifts.end(),
                                                  [&](double d) { return d <= interval; })) /
                             double(drifts.size());
}

void BM_FollowTheClock(benchmark::State &state)
{
    const float rate = float(state.range(0)) / 10.0f;
    Drifts drifts;
    int frames = 0;
    for (auto _ : state) {
        auto panel = makePanel();
        auto model = panel->_valueInfo;
        panel->preparePlayer();
        testclips::waitUntil([&] { return panel->currentStatus() == CommonConst::PlayStatus::Stop; });
        // Start so that the border falls in the middle of the run.
        const int64_t border = PictureDataUtil::getPosition(model->timeline(), 1, 0);
        const int64_t from = std::max<int64_t>(0, border - int64_t(rate * RUN_MS / 2));
        panel->setPlayRate(rate);
        panel->moveToPosition(from, CommonConst::PlayStatus::Play);
        CustomSliderCell *cell = panel->trackCell();
        QElapsedTimer timer;
        timer.start();
        QObject::connect(panel->engine(), &MediaEngine::frameShown, [&](double t) {
            const int64_t nowNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                      std::chrono::steady_clock::now().time_since_epoch())
                                      .count();
            const double sinceTickMs = cell->prevDate() ? double(nowNs - *cell->prevDate()) / 1e6 : 0.0;
            const auto atTick = int64_t(cell->doubleValue());
            const auto carried = std::min(int64_t(cell->maxValue()),
                                          int64_t(cell->doubleValue() + double(cell->rate) * sinceTickMs));
            int64_t index = 0;
            int32_t offset = 0;
            PictureDataUtil::getChapterPosition(model->timeline(), int32_t(atTick), index, offset);
            if (model->_chapterDataList[size_t(index)] != panel->currentChapterData())
                return; // the next file is still being swapped in
            const auto expected = PictureDataUtil::getMovieTimeStamp(model->timeline(), int32_t(atTick));
            const auto expectedCarried =
                PictureDataUtil::getMovieTimeStamp(model->timeline(), int32_t(carried));
            if (!expected || !expectedCarried)
                return;
            drifts.atTick.push_back(std::abs(t * 1000.0 - double(*expected)));
            drifts.interpolated.push_back(std::abs(t * 1000.0 - double(*expectedCarried)));
            ++frames;
            if (qEnvironmentVariableIsSet("ORV_SYNC_TRACE"))
                std::fprintf(stderr, "%lld %lld %.1f\n", (long long)timer.elapsed(), (long long)atTick,
                             t * 1000.0 - double(*expected));
        });
        testclips::spin(RUN_MS);
        state.SetIterationTime(timer.elapsed() / 1000.0);
    }
    state.counters["frames"] = frames;
    report(state, "tick", drifts.atTick);
    report(state, "carried", drifts.interpolated);
}

void BM_ExactSeekWhilePaused(benchmark::State &state)
{
    auto panel = makePanel();
    auto model = panel->_valueInfo;
    panel->preparePlayer();
    testclips::waitUntil([&] { return panel->currentStatus() == CommonConst::PlayStatus::Stop; });
    double shownMs = -1.0;
    QObject::connect(panel->engine(), &MediaEngine::frameShown, [&](double t) { shownMs = t * 1000.0; });
    std::vector<double> latencies;
    int64_t position = 1234;
    for (auto _ : state) {
        position = (position + 7919) % (CHAPTER_MS - 1000);
        const auto expected = PictureDataUtil::getMovieTimeStamp(model->timeline(), int32_t(position));
        shownMs = -1.0;
        QElapsedTimer timer;
        timer.start();
        panel->moveToPosition(position, CommonConst::PlayStatus::Pause);
        testclips::waitUntil([&] { return expected && std::abs(shownMs - double(*expected)) < 1.0; }, 5000);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        state.SetIterationTime(ms / 1000.0);
        latencies.push_back(ms);
    }
    state.counters["median_ms"] = percentile(latencies, 0.5);
    state.counters["p95_ms"] = percentile(latencies, 0.95);
    state.counters["max_ms"] = percentile(latencies, 1.0);
}

BENCHMARK(BM_ExactSeekWhilePaused)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);
// The argument is the rate times ten.
BENCHMARK(BM_FollowTheClock)
    ->Arg(10)
    ->Arg(20)
    ->Arg(30)
    ->Arg(50)
    ->Arg(100)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (!trip().ok()) {
        std::fprintf(stderr, "PlaybackSyncBench: %s\n", qPrintable(trip().error));
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

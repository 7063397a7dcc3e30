// How closely the picture follows the clock on the real engine: a generated trip of two 1920x1080
// chapters at 28 fps (a key frame every second), played for 10 s at rates 1, 2, 3, 5 and 10 across
// the chapter border, and exact seeks to a paused frame. mpv renders with its software renderer
// (offscreen). Each run is repeated; the report gives min, median and max over the repetitions.
//
// Sync: every 5 ms, between ticks as well as at them, the frame on screen is compared with the
// frame at the clock's position carried forward to that moment; a sample is in sync when they lie
// within half a frame interval of each other (the same frame), in the same chapter.
// Fast rates (above 2x) are shown by seeks: each new picture must be the frame asked for, and is
// timed from the moment it was asked for.
#include "player/MoviePlayerView.h"
#include "player/MpvEngine.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlaybackClock.h"

#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"
#include "platform/HeapPolicy.h"

#include "TestClips.h"
#include "TripFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <mpv/client.h>
#include <mpv/render.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr double FPS = 28.0;
constexpr int CHAPTER_MS = 60000;
constexpr int RUN_MS = 10000;
constexpr int SAMPLE_MS = 5;

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

// The engine, noting when each seek was asked for (clock ns) so that pictures can be timed.
class TimedEngine : public MpvEngine
{
public:
    explicit TimedEngine(PlaybackClock *&clock) : MpvEngine(RenderMode::Software), _clock(clock) {}
    void seekExact(qint64 timeMs) override
    {
        if (_clock)
            asked.push_back({timeMs, _clock->now()});
        if (asked.size() > 200)
            asked.pop_front();
        MpvEngine::seekExact(timeMs);
    }
    struct Ask
    {
        qint64 targetMs;
        int64_t atNs;
    };
    std::deque<Ask> asked;

private:
    PlaybackClock *&_clock;
};

struct Panel
{
    Panel()
    {
        view = std::make_unique<MoviePlayerView>([this] {
            auto engine = std::make_unique<TimedEngine>(clock);
            engines.push_back(engine.get());
            return engine;
        });
        clock = view->clock();
        view->resize(960, 580);
        view->setValueInfo(
            std::make_shared<PlayMovieValueInfo>(trip().chapters, CardData::ActiveType::MovieRec));
        view->preparePlayer();
        testclips::waitUntil([&] { return view->currentStatus() == CommonConst::PlayStatus::Stop; });
    }
    std::shared_ptr<PlayMovieValueInfo> model() const { return view->valueInfo(); }
    PlaybackClock *clock = nullptr;
    std::vector<TimedEngine *> engines;
    std::unique_ptr<MoviePlayerView> view;
};

void BM_FollowTheClock(benchmark::State &state)
{
    const float rate = float(state.range(0)) / 10.0f;
    const double halfFrame = 500.0 / FPS;
    std::vector<double> drifts;
    int samples = 0, inSync = 0, pictures = 0, asked = 0, late = 0;
    std::vector<double> latencies;
    double seconds = 0.0;
    for (auto _ : state) {
        Panel panel;
        auto model = panel.model();
        const int64_t border = PictureDataUtil::getPosition(model->timeline(), 1, 0);
        const int64_t from = std::max<int64_t>(0, border - int64_t(rate * RUN_MS / 2));
        if (!panel.view->setPlayRate(rate)) {
            state.SkipWithError("the speed slider has no such rate");
            return;
        }
        panel.view->moveToPosition(from, CommonConst::PlayStatus::Play);
        const auto chapterAt = [&](double position) {
            int64_t index = 0;
            int32_t offset = 0;
            PictureDataUtil::getChapterPosition(model->timeline(), int32_t(position), index, offset);
            return index;
        };
        // Every new picture at fast rates: was it a frame asked for, and how long after?
        MediaEngine *lastEngine = nullptr;
        QObject::connect(panel.view.get(), &MoviePlayerView::frameShown, [&](double t) {
            ++pictures;
            if (rate <= 2.0f)
                return;
            auto *engine = static_cast<TimedEngine *>(panel.view->engine());
            // The first picture after a border swap was asked for when its chapter was prepared.
            if (std::exchange(lastEngine, engine) != engine)
                return;
            const auto it = std::find_if(engine->asked.rbegin(), engine->asked.rend(), [&](const auto &a) {
                return std::abs(double(a.targetMs) - t * 1000.0) < 1.0;
            });
            if (it == engine->asked.rend())
                return;
            ++asked;
            const double ms = double(panel.clock->now() - it->atNs) / 1e6;
            latencies.push_back(ms);
            late += ms > PlaybackSync::TICK_MS ? 1 : 0;
        });
        QTimer sampler;
        sampler.setTimerType(Qt::PreciseTimer);
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            const double position = panel.clock->positionAt(panel.clock->now());
            const auto expected = PictureDataUtil::getMovieTimeStamp(model->timeline(), int32_t(position));
            if (!expected || !panel.view->engine())
                return;
            ++samples;
            const auto chapter = chapterAt(position);
            const bool sameChapter =
                model->chapterDataList()[size_t(chapter)] == panel.view->currentChapterData();
            const double drift = panel.view->engine()->currentTime() * 1000.0 - double(*expected);
            drifts.push_back(std::abs(drift));
            inSync += sameChapter && std::abs(drift) <= halfFrame ? 1 : 0;
        });
        sampler.start(SAMPLE_MS);
        QElapsedTimer timer;
        timer.start();
        testclips::spin(RUN_MS);
        sampler.stop();
        seconds += timer.elapsed() / 1000.0;
        state.SetIterationTime(timer.elapsed() / 1000.0);
    }
    state.counters["samples"] = samples;
    state.counters["in_half_frame_%"] = samples ? 100.0 * inSync / samples : 0.0;
    state.counters["drift_median_ms"] = percentile(drifts, 0.5);
    state.counters["drift_p95_ms"] = percentile(drifts, 0.95);
    state.counters["pictures_per_s"] = seconds > 0 ? pictures / seconds : 0.0;
    if (rate > 2.0f) {
        state.counters["asked_%"] = pictures ? 100.0 * asked / pictures : 0.0;
        state.counters["late_%"] = asked ? 100.0 * late / asked : 0.0;
        state.counters["ask_to_picture_median_ms"] = percentile(latencies, 0.5);
        state.counters["ask_to_picture_max_ms"] = percentile(latencies, 1.0);
    }
}

void BM_ExactSeekWhilePaused(benchmark::State &state)
{
    Panel panel;
    auto model = panel.model();
    double shownMs = -1.0;
    QObject::connect(panel.view.get(), &MoviePlayerView::frameShown, [&](double t) { shownMs = t * 1000.0; });
    std::vector<double> latencies;
    int64_t position = 1234;
    for (auto _ : state) {
        position = (position + 7919) % (CHAPTER_MS - 1000);
        const auto expected = PictureDataUtil::getMovieTimeStamp(model->timeline(), int32_t(position));
        shownMs = -1.0;
        QElapsedTimer timer;
        timer.start();
        panel.view->moveToPosition(position, CommonConst::PlayStatus::Pause);
        testclips::waitUntil([&] { return expected && std::abs(shownMs - double(*expected)) < 1.0; }, 5000);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        state.SetIterationTime(ms / 1000.0);
        latencies.push_back(ms);
    }
    state.counters["median_ms"] = percentile(latencies, 0.5);
    state.counters["p95_ms"] = percentile(latencies, 0.95);
    state.counters["max_ms"] = percentile(latencies, 1.0);
}

// The same exact seeks straight on one libmpv core, as the mpv program makes them: paused,
// "seek T absolute+exact", timed to the rendered frame at T. The baseline for BM_ExactSeekWhilePaused.
void BM_MpvOwnExactSeek(benchmark::State &state)
{
    std::setlocale(LC_NUMERIC, "C");
    mpv_handle *mpv = mpv_create();
    for (const auto &[name, value] : {std::pair{"vo", "libmpv"},
                                      {"hwdec", "no"},
                                      {"keep-open", "yes"},
                                      {"pause", "yes"},
                                      {"hr-seek", "yes"},
                                      {"video-latency-hacks", "yes"},
                                      {"audio-fallback-to-null", "yes"},
                                      {"terminal", "no"}})
        mpv_set_option_string(mpv, name, value);
    mpv_initialize(mpv);
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context *render = nullptr;
    mpv_render_context_create(&render, mpv, params);
    const QByteArray file = QFile::encodeName(trip().chapters[0]->_pathMp4.toLocalFile());
    const char *load[] = {"loadfile", file.constData(), nullptr};
    mpv_command(mpv, load);
    std::vector<uint8_t> pixels(960 * 540 * 4);
    int size[2] = {960, 540};
    size_t stride = 960 * 4;
    // Renders pictures until one shows the target time (ms); false when none does in time.
    const auto waitFor = [&](double targetMs, int timeoutMs) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            mpv_wait_event(mpv, 0.001);
            if (!(mpv_render_context_update(render) & MPV_RENDER_UPDATE_FRAME))
                continue;
            mpv_render_param sw[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                     {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>("rgb0")},
                                     {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                     {MPV_RENDER_PARAM_SW_POINTER, pixels.data()},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
            mpv_render_context_render(render, sw);
            double t = -1.0;
            mpv_get_property(mpv, "time-pos", MPV_FORMAT_DOUBLE, &t);
            if (std::abs(t * 1000.0 - targetMs) < 1.0)
                return true;
        }
        return false;
    };
    waitFor(0.0, 5000);
    auto model = std::make_shared<PlayMovieValueInfo>(trip().chapters, CardData::ActiveType::MovieRec);
    std::vector<double> latencies;
    int64_t position = 1234;
    for (auto _ : state) {
        position = (position + 7919) % (CHAPTER_MS - 1000);
        const auto expected = PictureDataUtil::getMovieTimeStamp(model->timeline(), int32_t(position));
        const QByteArray seconds = QByteArray::number(double(*expected) / 1000.0, 'f', 3);
        QElapsedTimer timer;
        timer.start();
        const char *seek[] = {"seek", seconds.constData(), "absolute+exact", nullptr};
        mpv_command_async(mpv, 0, seek);
        waitFor(double(*expected), 5000);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        state.SetIterationTime(ms / 1000.0);
        latencies.push_back(ms);
    }
    mpv_render_context_free(render);
    mpv_terminate_destroy(mpv);
    state.counters["median_ms"] = percentile(latencies, 0.5);
    state.counters["p95_ms"] = percentile(latencies, 0.95);
    state.counters["max_ms"] = percentile(latencies, 1.0);
}

double minOf(const std::vector<double> &v)
{
    return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
}
double maxOf(const std::vector<double> &v)
{
    return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
}

BENCHMARK(BM_ExactSeekWhilePaused)
    ->UseManualTime()
    ->Iterations(40)
    ->Repetitions(3)
    ->ComputeStatistics("min", minOf)
    ->ComputeStatistics("max", maxOf)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MpvOwnExactSeek)
    ->UseManualTime()
    ->Iterations(40)
    ->Repetitions(3)
    ->ComputeStatistics("min", minOf)
    ->ComputeStatistics("max", maxOf)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
// The argument is the rate times ten.
BENCHMARK(BM_FollowTheClock)
    ->Arg(10)
    ->Arg(20)
    ->Arg(30)
    ->Arg(50)
    ->Arg(100)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ComputeStatistics("min", minOf)
    ->ComputeStatistics("max", maxOf)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the program does at its start.
    HeapPolicy::returnLargeBlocksToTheSystem();
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

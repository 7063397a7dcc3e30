// Main-thread time of the whole per-frame display per clock tick while a trip plays at x1 and x10: the
// car on the map (script texts), the meter, the circle chart, the line chart's selection and the GPS
// icon, painted. Reports the 95th percentile of the ticks in ms (target: under 4 ms).
#include "app/ItemPlayback.h"
#include "app/VideoListView.h"
#include "card/CardData.h"
#include "graph/DrivingInfoView.h"
#include "map/WebMapView.h"
#include "player/MoviePlayerView.h"
#include "player/PlayMovieValueInfo.h"
#include "samplecard/SampleCardWriter.h"
#include "support/TempDir.h"

#include "FakeMediaEngine.h"
#include "FakeScriptSink.h"

#include <QApplication>
#include <QBoxLayout>
#include <QElapsedTimer>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {
void BM_FrameTick(benchmark::State &state)
{
    const int stepMs = static_cast<int>(state.range(0)); // 33 at x1, 333 at x10
    TempDir dir;
    SampleCardWriter writer(SampleScenario::standard());
    if (!writer.writeCard(dir.path())) {
        state.SkipWithError("sample card not written");
        return;
    }
    auto card = std::make_shared<CardData>();
    card->loadCardFolder(QUrl::fromLocalFile(SampleCardWriter::cardFolder(dir.path()) + "/"));
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    FakeMediaEngine *engine = nullptr;
    auto *player = new MoviePlayerView([&engine] {
        auto made = std::make_unique<FakeMediaEngine>();
        engine = made.get();
        return made;
    });
    auto *panel = new DrivingInfoView;
    auto *list = new VideoListView;
    layout->addWidget(player);
    layout->addWidget(panel);
    layout->addWidget(list);
    window.resize(1100, 800);
    window.show();
    list->setListData(*card);
    FakeScriptSink sink;
    WebMapView map(&sink, {});
    map.setReachabilityCheck([](std::function<void(bool)> done) { done(false); });
    map.setVersionNoteFolder({});
    sink.finishLoad();
    bool loading = false;
    ItemPlayback::Hooks hooks;
    hooks.loading = [&]() -> bool & { return loading; };
    hooks.warn = [](const QString &) {};
    hooks.showFileNotFound = [] {};
    ItemPlayback playback(
        {*player, *list, map, [&] { return card; }, [&] { return panel; }, [] { return nullptr; }}, hooks);
    player->setAutoPlay(true);
    if (!playback.playTripItem(0, 0, false, true) || !engine) {
        state.SkipWithError("trip not played");
        return;
    }
    engine->becomeReady();
    player->playMovie();
    QCoreApplication::processEvents();
    const auto item = player->valueInfo();
    int64_t position = item->minValue();
    std::vector<double> ticks;
    for (auto _ : state) {
        position += stepMs;
        if (position > item->maxValue())
            position = item->minValue();
        item->setCurrentValue(position);
        QElapsedTimer timer;
        timer.start();
        playback.updateFrameWithStopWatch();
        QCoreApplication::processEvents(); // the repaints the tick asked for
        ticks.push_back(timer.nsecsElapsed() / 1e6);
        sink.scripts.clear();
    }
    std::sort(ticks.begin(), ticks.end());
    if (!ticks.empty()) {
        state.counters["p95_ms"] = ticks[ticks.size() * 95 / 100];
        state.counters["max_ms"] = ticks.back();
    }
    state.counters["table_builds"] = playback.frames().speedRunTableBuilds();
    card->dispose();
}
} // namespace

BENCHMARK(BM_FrameTick)->Arg(33)->Arg(333)->Iterations(1500)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

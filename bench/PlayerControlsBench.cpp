// Per-tick cost of the player panel's read-outs: the date label, the seconds-from-event label, the
// control bar and the tool bar, refreshed as on each clock tick while a trip plays (fake engine).
#include "player/MoviePlayerView.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlayerControls.h"
#include "player/PlayerPanelHost.h"

#include "recording/UserDefaultUtil.h"

#include "FakeMediaEngine.h"
#include "TripFixture.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

#include <sched.h>

namespace {

class AllServices : public PlayerPanelHost
{
public:
    bool provides(Service) const override { return true; }
};

void labelsAndButtons(benchmark::State &state, bool trim)
{
    static TripFixture fixture(std::vector<int>(100, 1000));
    // ffmpeg made the movies on every core; the refresh runs on the main thread alone.
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    sched_setaffinity(0, sizeof(one), &one);
    QTemporaryDir dir;
    UserDefaultUtil settings(dir.filePath("settings.ini"));
    settings.dateFormat = DateFormatType::MDYAMPM;
    AllServices host;
    MoviePlayerView panel([] {
        auto e = std::make_unique<FakeMediaEngine>();
        e->becomeReady();
        return e;
    });
    panel.setHost(&host);
    panel.setSettings(&settings);
    auto model = std::make_shared<PlayMovieValueInfo>(fixture.chapters, CardData::ActiveType::MovieRec);
    panel.setValueInfo(model);
    panel.preparePlayer();
    static_cast<FakeMediaEngine *>(panel.engine())->becomeReady();
    panel.moveToPosition(model->maxValue() / 2, CommonConst::PlayStatus::Pause);
    panel.setTrimMode(trim);
    int64_t position = model->maxValue() / 2;
    for (auto _ : state) {
        // A new position every tick, as while playing.
        position = (position + 33) % model->maxValue();
        model->setCurrentValue(position);
        panel.updateDatetimeLabel();
        panel.updateDiffSecLabel();
        panel.updateControlButtons();
        panel.updateToolButtons();
    }
    // The figures count only for a ready panel showing a date.
    state.counters["ready"] = panel.isControlReady() ? 1 : 0;
    state.SetLabel(panel.controls()->datetimeLabel()->text().toStdString());
}

void BM_LabelsAndButtons(benchmark::State &state)
{
    labelsAndButtons(state, false);
}
void BM_LabelsAndButtonsTrim(benchmark::State &state)
{
    labelsAndButtons(state, true);
}

BENCHMARK(BM_LabelsAndButtons)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_LabelsAndButtonsTrim)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);

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

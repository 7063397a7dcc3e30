// The program's own footprint with a large card: the real main window (offscreen unless a display is
// set, the map page in its web engine, no network) opens a generated card through the open flow and
// plays its first trip for 60 s while the workers read it. Cards: one trip of 1,000 one-minute
// chapters, and 20 trips of 50, each chapter with its management record. Reports the time from the
// open to the first paint of the listed trip, and this process's resident memory: its peak, at the
// start of play and after 60 s of play (the web engine's own processes are not counted).
#include "app/CardOpener.h"
#include "app/MainWindow.h"
#include "app/VideoListModel.h"
#include "app/VideoListView.h"
#include "card/CardData.h"
#include "maintenance/MessagePrompter.h"
#include "platform/HeapPolicy.h"
#include "recording/UserDefaultUtil.h"
#include "samplecard/SampleCardWriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int CHAPTER_MS = 60000;
constexpr int PLAY_MS = 60000;
constexpr int LIST_LIMIT_MS = 120000;

struct QuietPrompter : MessagePrompter
{
    bool confirm(QWidget *, const QString &) override { return true; }
    void warn(QWidget *, const QString &text, const QString & = {}) override
    {
        std::fprintf(stderr, "warning: %s\n", qPrintable(text));
    }
    void inform(QWidget *, const QString &) override {}
    void announce(QWidget *, const QString &, const QString &) override {}
};

// A memory line of this process's status ("VmRSS:", "VmHWM:", "RssAnon:", ...), in MB.
double statusMb(const char *key)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key)) + 1).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

double heapInUseMb()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

// trips x chapters one-minute chapters with full-length (tiny) movies, written once per shape.
QString cardOf(int trips, int chapters)
{
    static std::map<std::pair<int, int>, std::unique_ptr<QTemporaryDir>> cards;
    const auto key = std::make_pair(trips, chapters);
    if (!cards.contains(key)) {
        auto dir = std::make_unique<QTemporaryDir>();
        SampleScenario scenario = SampleScenario::chapters(chapters, CHAPTER_MS);
        const SampleTrip first = scenario.trips.front();
        scenario.trips.clear();
        for (int t = 0; t < trips; ++t) {
            SampleTrip trip = first;
            trip.start = first.start.addDays(t);
            trip.key = trip.start.toString("yyyyMMddhhmm");
            scenario.trips.push_back(trip);
        }
        if (!SampleCardWriter(scenario).writeCard(dir->path()))
            return {};
        cards[key] = std::move(dir);
    }
    // The folder as the open dialog gives it.
    return SampleCardWriter::cardFolder(cards[key]->path()) + QLatin1Char('/');
}

void runEventLoopUntil(const std::function<bool()> &done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
}

// The first paint of the list's viewport once it has rows.
struct ListPaintWatch : QObject
{
    VideoListModel *model = nullptr;
    QElapsedTimer *clock = nullptr;
    qint64 paintedAt = -1;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && paintedAt < 0 && model->rowCount() > 0)
            paintedAt = clock->elapsed();
        return false;
    }
};

void BM_OpenAndPlayLongCard(benchmark::State &state)
{
    const int trips = int(state.range(0));
    const int chapters = int(state.range(1));
    const QString card = cardOf(trips, chapters);
    if (card.isEmpty()) {
        state.SkipWithError("samplecard could not write the card");
        return;
    }
    for (auto _ : state) {
        QTemporaryDir settingsDir;
        UserDefaultUtil settings(settingsDir.filePath("s.conf"));
        settings.load();
        settings.viewerFirstLaunch = true;
        QuietPrompter prompter;
        MainWindow window({settings,
                           prompter,
                           [](std::function<void(bool)> done) { done(false); },
                           std::nullopt,
                           {},
                           [](const QUrl &) {},
                           [] { return false; },
                           [](const QString &, const QString &) { return std::optional<QString>(); },
                           {}});
        window.startUp();
        window.show();
        runEventLoopUntil([] { return false; }, 1000);
        const double idleMb = statusMb("VmRSS:");

        QElapsedTimer clock;
        ListPaintWatch watch;
        watch.model = window.videoListView()->model();
        watch.clock = &clock;
        window.videoListView()->listTable()->viewport()->installEventFilter(&watch);
        qint64 openedAt = -1;
        QObject::connect(window.cardOpener(), &CardOpener::finished, [&] { openedAt = clock.elapsed(); });
        clock.start();
        window.cardOpener()->openVideoData(QUrl::fromLocalFile(card), true, MovieType::Card);
        // A trip not listed within the limit is reported at the limit; memory is measured all the same.
        runEventLoopUntil([&] { return openedAt >= 0 && watch.paintedAt >= 0; }, LIST_LIMIT_MS);
        std::fprintf(stderr, "opened at %lld ms, listed at %lld ms, %d rows\n", (long long)openedAt,
                     (long long)watch.paintedAt, watch.model->rowCount());
        const double startMb = statusMb("VmRSS:");
        std::vector<double> samples;
        QTimer sampler;
        double workersDoneS = -1;
        double workersDoneMb = -1;
        double workersDoneHeapMb = -1;
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            samples.push_back(statusMb("VmRSS:"));
            if (workersDoneS < 0 && window.cardData()->loadWorkersDone()) {
                workersDoneS = double(samples.size());
                workersDoneMb = samples.back();
                workersDoneHeapMb = heapInUseMb();
            }
        });
        sampler.start(1000);
        // ORV_BENCH_PLAY_MS plays longer, across more chapter borders.
        const int playMs = qEnvironmentVariableIsSet("ORV_BENCH_PLAY_MS")
                               ? qEnvironmentVariableIntValue("ORV_BENCH_PLAY_MS")
                               : PLAY_MS;
        runEventLoopUntil([] { return false; }, playMs);
        sampler.stop();
        std::fprintf(stderr, "resident MB each second of play:");
        for (const double mb : samples)
            std::fprintf(stderr, " %.0f", mb);
        std::fprintf(stderr, "\n");
        const double endMb = statusMb("VmRSS:");
        // Growth over the second half of play: flat means the program holds what it has read.
        const double halfMb = samples.size() >= 2 ? samples[samples.size() / 2] : startMb;

        // When the workers had read every chapter (seconds into play; -1: not within it), and the
        // memory then: what play adds after it is the program's own growth.
        state.counters["workers_done_s"] = workersDoneS;
        state.counters["at_workers_done_MB"] = workersDoneMb;
        // The part of it that is malloc's (every thread's arenas), against the mapped rest.
        state.counters["heap_at_workers_done_MB"] = workersDoneHeapMb;
        state.counters["heap_after_60s_MB"] = heapInUseMb();
        state.counters["listed_ms"] = watch.paintedAt >= 0 ? double(watch.paintedAt) : double(LIST_LIMIT_MS);
        state.counters["opened_ms"] = openedAt >= 0 ? double(openedAt) : double(LIST_LIMIT_MS);
        state.counters["idle_MB"] = idleMb;
        state.counters["play_start_MB"] = startMb;
        state.counters["after_60s_MB"] = endMb;
        state.counters["second_half_growth_MB"] = endMb - halfMb;
        state.counters["peak_MB"] = statusMb("VmHWM:");
        // Mapped libraries and the like against what the process itself allocated.
        state.counters["file_MB"] = statusMb("RssFile:");
        state.counters["anon_MB"] = statusMb("RssAnon:");
        state.counters["max_sample_MB"] =
            samples.empty() ? endMb : *std::max_element(samples.begin(), samples.end());
        window.cardOpener()->disconnect();
    }
}
BENCHMARK(BM_OpenAndPlayLongCard)
    ->ArgNames({"trips", "chapters"})
    ->Args({1, 1000})
    ->Args({20, 50})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    // As the program does at its start.
    HeapPolicy::returnLargeBlocksToTheSystem();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

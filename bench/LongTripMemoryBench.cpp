// The program's footprint with a large card, as its user gets it: the real main window on an X display
// (a virtual one from scripts/bench, or the desktop helper; the map page in its web engine, no network)
// opens a generated card through the open flow and plays its first trip for 75 s while the workers read
// it. Cards of one-minute 1280x720 chapters as the camera writes them, each with its management record:
// one trip of 1, 1,000 and 5,000 chapters, and 20 trips of 50. To keep the card quick to write, every
// chapter's file is a hard link to the first one (its driving data included). Reports the time from the
// open to the first paint of the listed trip; the main process's resident memory (its peak, at the start
// of play, and in play at 15 s and 45 s, both within the first chapter, and at 75 s, 15 s past the first
// border, where the next chapter has been loaded); and the whole process tree's (the web engine's
// processes included) as the sum of proportional set sizes, at 45 s and at its largest sample. The
// growth from 15 s to 45 s is the program's growth while it plays one chapter; the step from 45 s to
// 75 s is what the border and the next chapter add.
//
// BM_LongTripMainThreadStalls times how long the window answers nothing on the same cards: a thread
// pings the main thread every 50 ms, as a window manager does, and the longest wait for an answer is
// reported for the first 60 s after the open, after a 1-s hold of the main thread 4 s into the open (a
// stand-in for any slow handler while the workers read), for a play of the trip again once the
// workers are done, and for a switch from the trip list to the chapter list and back.
//
// BM_LongTripOpenStall times the open's own longest stall, from the open until the first trip plays, on
// trips of 1,000 and 5,000 chapters with and without their management records.
#include "app/CardOpener.h"
#include "app/MainWindow.h"
#include "app/MainWindowLayout.h"
#include "app/StopWatchWindow.h"
#include "app/VideoListModel.h"
#include "app/VideoListView.h"
#include "app/WindowCoordinators.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/ChapterOutline.h"
#include "card/ChapterTimeline.h"
#include "card/TripData.h"
#include "maintenance/MessagePrompter.h"
#include "map/KmzExporter.h"
#include "map/MapView.h"
#include "map/MapWebPage.h"
#include "map/WebMapView.h"
#include "platform/HeapPolicy.h"
#include "platform/WorkerWait.h"
#include "player/MoviePlayerView.h"
#include "player/PlayMovieValueInfo.h"
#include "recording/CommonConst.h"
#include "recording/UserDefaultUtil.h"
#include "samplecard/ManagementFileWriter.h"
#include "samplecard/SampleCardWriter.h"
#include "samplecard/SampleSettingsFile.h"
#include "support/LostRecord.h"
#include "videotools/StopWatchView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace {

constexpr int CHAPTER_MS = 60000;
constexpr int PLAY_MS = 75000;
// Seconds after the list was shown: early and steady play within the first chapter, away from its
// border at 60 s.
constexpr int EARLY_S = 15;
constexpr int STEADY_S = 45;
constexpr int LIST_LIMIT_MS = 120000;

struct QuietPrompter : MessagePrompter
{
    bool confirm(QWidget *, const QString &) override { return true; }
    bool confirmCancelFirst(QWidget *, const QString &) override { return true; }
    void warn(QWidget *, const QString &text, const QString & = {}) override
    {
        std::fprintf(stderr, "warning: %s\n", qPrintable(text));
    }
    void caution(QWidget *parent, const QString &text) override { warn(parent, text); }
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

// Proportional set size of this process and every process below it (the web engine's), in MB: what the
// program costs the machine, shared pages split between their users.
double treePssMb()
{
    std::multimap<qint64, qint64> children;
    for (const QString &entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number)
            continue;
        QFile stat("/proc/" + entry + "/stat");
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold spaces, so read after its closing bracket.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            children.emplace(fields[1].toLongLong(), pid);
    }
    double kb = 0;
    std::vector<qint64> todo = {qint64(getpid())};
    std::set<qint64> seen;
    while (!todo.empty()) {
        const qint64 pid = todo.back();
        todo.pop_back();
        if (!seen.insert(pid).second)
            continue;
        QFile rollup(QString("/proc/%1/smaps_rollup").arg(pid));
        if (rollup.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : rollup.readAll().split('\n')) {
                if (line.startsWith("Pss:"))
                    kb += line.mid(4).trimmed().split(' ').first().toDouble();
            }
        }
        const auto [from, to] = children.equal_range(pid);
        for (auto it = from; it != to; ++it)
            todo.push_back(it->second);
    }
    return kb / 1024.0;
}

// trips x chapters one-minute 1280x720 chapters, written once per shape. One movie is made; every
// chapter's file is a hard link to it, and the management records list each chapter in its place.
SampleScenario longCardScenario(int trips, int chapters)
{
    SampleScenario scenario = SampleScenario::chapters(chapters, CHAPTER_MS);
    scenario.withMovieSize(SampleScenario::CAMERA_WIDTH, SampleScenario::CAMERA_HEIGHT);
    const SampleTrip first = scenario.trips.front();
    scenario.trips.clear();
    for (int t = 0; t < trips; ++t) {
        SampleTrip trip = first;
        trip.start = first.start.addDays(t);
        trip.key = trip.start.toString("yyyyMMddhhmm");
        scenario.trips.push_back(trip);
    }
    return scenario;
}

QString cardOf(int trips, int chapters)
{
    static std::map<std::pair<int, int>, std::unique_ptr<QTemporaryDir>> cards;
    const auto key = std::make_pair(trips, chapters);
    if (!cards.contains(key)) {
        auto dir = std::make_unique<QTemporaryDir>();
        const SampleScenario scenario = longCardScenario(trips, chapters);
        SampleCardWriter writer(scenario);
        const QString folder = SampleCardWriter::cardFolder(dir->path());
        const SampleTrip &trip0 = scenario.trips.front();
        const QString movie = writer.chapterPath(dir->path(), trip0, trip0.chapters.front());
        QDir().mkpath(folder);
        QString error;
        bool ok = writer.writeVersionFile(QDir(folder).filePath("ver.txt")) &&
                  writer.writeHeaderFile(QDir(folder).filePath("Playback.inf")) &&
                  SampleSettingsFile::write(scenario, QDir(folder).filePath("SETINF.DAT"), &error) &&
                  SampleSettingsFile::write(scenario, QDir(dir->path()).filePath("SETINF.DAT"), &error) &&
                  writer.writeChapterMovie(trip0, trip0.chapters.front(), movie) &&
                  ManagementFileWriter::writeForScenario(scenario, folder) &&
                  ManagementFileWriter::writeSkippedFiles(scenario, folder);
        for (const SampleTrip &trip : scenario.trips) {
            for (const SampleChapter &chapter : trip.chapters) {
                const QString path = writer.chapterPath(dir->path(), trip, chapter);
                if (ok && path != movie)
                    ok = ::link(QFile::encodeName(movie).constData(), QFile::encodeName(path).constData()) ==
                         0;
            }
        }
        if (!ok) {
            std::fprintf(stderr, "card: %s %s\n", qPrintable(writer.lastError()), qPrintable(error));
            return {};
        }
        cards[key] = std::move(dir);
    }
    // The folder as the open dialog gives it.
    return SampleCardWriter::cardFolder(cards[key]->path()) + QLatin1Char('/');
}

// What a card made of another's files does with its "VREC_MOV_MNG.DAT".
enum class Records
{
    Skip,
    Copy,
};

// Hard links under folder's card folder to every file of the card at source, the movie records left out
// or copied (a copy may be changed without changing the source).
bool linkCard(const QString &source, const QString &folder, Records records)
{
    const QDir from(source);
    const QString to = SampleCardWriter::cardFolder(folder);
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const bool isRecords = QFileInfo(file).fileName() == QLatin1String("VREC_MOV_MNG.DAT");
        if (isRecords && records == Records::Skip)
            continue;
        const QString target = QDir(to).filePath(from.relativeFilePath(file));
        QDir().mkpath(QFileInfo(target).path());
        const bool made = isRecords ? QFile::copy(file, target)
                                    : ::link(QFile::encodeName(file).constData(),
                                             QFile::encodeName(target).constData()) == 0;
        if (!made)
            return false;
    }
    return true;
}

// The one-trip card of cardOf linked into a folder of its own and changed by change, made once per
// chapter count and kept in cards.
QString linkedCardOf(std::map<int, std::unique_ptr<QTemporaryDir>> &cards, int chapters, Records records,
                     const std::function<bool(const QString &folder)> &change)
{
    const QString source = cardOf(1, chapters);
    if (source.isEmpty())
        return {};
    if (!cards.contains(chapters)) {
        auto dir = std::make_unique<QTemporaryDir>();
        if (!linkCard(source, dir->path(), records) || !change(dir->path()))
            return {};
        cards[chapters] = std::move(dir);
    }
    return SampleCardWriter::cardFolder(cards[chapters]->path()) + QLatin1Char('/');
}

// The same one-trip card without its chapters' management records, as a card whose records were lost
// or a folder copied without them: hard links to the card's files, "VREC_MOV_MNG.DAT" left out.
QString recordlessCardOf(int chapters)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> cards;
    return linkedCardOf(cards, chapters, Records::Skip, [](const QString &) { return true; });
}

// The one-trip card whose odd chapters lost their management records: hard links to the card's files, a
// copy of "VREC_MOV_MNG.DAT" with those records emptied. Their lengths are known only once the workers
// have read them. Without a record a chapter takes its place in the trip from its own driving data, so
// each odd chapter is a file of its own: a 1-s movie (to keep the card small) with its chapter's driving
// data.
QString oddRecordsLostCardOf(int chapters)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> cards;
    return linkedCardOf(cards, chapters, Records::Copy, [chapters](const QString &folder) {
        SampleScenario scenario = longCardScenario(1, chapters);
        // One movie for all, without the time drawn into each.
        scenario.movieMs = 1000;
        scenario.timeStamp = false;
        SampleCardWriter writer(scenario);
        const SampleTrip &trip = scenario.trips.front();
        for (int i = 1; i < chapters; i += 2) {
            const QString path = writer.chapterPath(folder, trip, trip.chapters[size_t(i)]);
            if (!QFile::remove(path) || !writer.writeChapterMovie(trip, trip.chapters[size_t(i)], path) ||
                !loseMovieRecord(SampleCardWriter::cardFolder(folder), i))
                return false;
        }
        return true;
    });
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

// The main window as the user starts it, shown, with an idle second behind it.
struct ShownWindow
{
    QTemporaryDir settingsDir;
    UserDefaultUtil settings{settingsDir.filePath("s.conf")};
    QuietPrompter prompter;
    std::unique_ptr<MainWindow> window;

    ShownWindow()
    {
        settings.load();
        settings.viewerFirstLaunch = true;
        window = std::make_unique<MainWindow>(
            MainWindow::Services{settings,
                                 prompter,
                                 [](std::function<void(bool)> done) { done(false); },
                                 std::nullopt,
                                 {},
                                 [](const QUrl &) {},
                                 [] { return false; },
                                 [](const QString &, const QString &) { return std::optional<QString>(); },
                                 {}});
        window->startUp();
        window->show();
        runEventLoopUntil([] { return false; }, 1000);
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
        // What an earlier card left is handed back and its peak forgotten; each card is still best
        // measured alone (--benchmark_filter), in a process that has opened no other.
        malloc_trim(0);
        QFile clearRefs("/proc/self/clear_refs");
        if (clearRefs.open(QIODevice::WriteOnly))
            clearRefs.write("5");
        ShownWindow shown;
        MainWindow &window = *shown.window;
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
        std::vector<double> treeSamples;
        double steadyHeapMb = -1;
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            samples.push_back(statusMb("VmRSS:"));
            treeSamples.push_back(treePssMb());
            if (int(samples.size()) == STEADY_S)
                steadyHeapMb = heapInUseMb();
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
        // A sample taken s seconds after the list was shown (-1: play was shorter).
        const auto at = [](const std::vector<double> &taken, int s) {
            return int(taken.size()) >= s ? taken[size_t(s - 1)] : -1.0;
        };
        const double earlyMb = at(samples, EARLY_S), steadyMb = at(samples, STEADY_S);

        // When the workers had read every chapter (seconds into play; -1: not within it), and the
        // memory then: what play adds after it is the program's own growth.
        state.counters["workers_done_s"] = workersDoneS;
        state.counters["at_workers_done_MB"] = workersDoneMb;
        // The part of it that is malloc's (every thread's arenas), against the mapped rest.
        state.counters["heap_at_workers_done_MB"] = workersDoneHeapMb;
        state.counters["heap_play_45s_MB"] = steadyHeapMb;
        state.counters["listed_ms"] = watch.paintedAt >= 0 ? double(watch.paintedAt) : double(LIST_LIMIT_MS);
        state.counters["opened_ms"] = openedAt >= 0 ? double(openedAt) : double(LIST_LIMIT_MS);
        state.counters["idle_MB"] = idleMb;
        state.counters["play_start_MB"] = startMb;
        state.counters["play_15s_MB"] = earlyMb;
        state.counters["play_45s_MB"] = steadyMb;
        state.counters["play_end_past_border_MB"] = endMb;
        // Within the first chapter: flat means the program holds what it has read.
        state.counters["growth_15s_to_45s_MB"] = earlyMb >= 0 && steadyMb >= 0 ? steadyMb - earlyMb : -1;
        // Across the border at 60 s: the next chapter opened, the first let go.
        state.counters["border_step_45s_to_end_MB"] = steadyMb >= 0 ? endMb - steadyMb : -1;
        state.counters["peak_MB"] = statusMb("VmHWM:");
        // Mapped libraries and the like against what the process itself allocated, at the end.
        state.counters["end_file_MB"] = statusMb("RssFile:");
        state.counters["end_anon_MB"] = statusMb("RssAnon:");
        state.counters["max_sample_MB"] =
            samples.empty() ? endMb : *std::max_element(samples.begin(), samples.end());
        // The whole process tree, the web engine's processes included.
        state.counters["tree_pss_play_45s_MB"] = at(treeSamples, STEADY_S);
        state.counters["tree_pss_max_sample_MB"] =
            treeSamples.empty() ? 0.0 : *std::max_element(treeSamples.begin(), treeSamples.end());
        window.cardOpener()->disconnect();
    }
}
// Pings the main thread every 50 ms from a thread of its own and keeps when each ping was answered.
class MainThreadPings
{
public:
    using Clock = std::chrono::steady_clock;
    static constexpr auto INTERVAL = std::chrono::milliseconds(50);

    MainThreadPings() : _start(Clock::now()), _thread([this] { run(); }) {}
    ~MainThreadPings()
    {
        {
            std::lock_guard lock(_mutex);
            _stop = true;
        }
        _wake.notify_all();
        _thread.join();
    }

    // Milliseconds since the pings started.
    qint64 now() const { return ms(Clock::now()); }
    // The longest wait for an answer of the pings sent between from and to (ms); a ping still
    // unanswered counts until now.
    qint64 longestStall(qint64 from, qint64 to)
    {
        std::lock_guard lock(_mutex);
        qint64 longest = 0;
        for (const Ping &ping : _pings) {
            if (ping.sent < from || ping.sent > to)
                continue;
            longest = std::max(longest, (ping.answered < 0 ? now() : ping.answered) - ping.sent);
        }
        return longest;
    }

private:
    struct Ping
    {
        qint64 sent;
        qint64 answered = -1;
    };
    qint64 ms(Clock::time_point at) const
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(at - _start).count();
    }
    void run()
    {
        std::unique_lock lock(_mutex);
        while (!_stop) {
            const size_t index = _pings.size();
            _pings.push_back({now()});
            QMetaObject::invokeMethod(
                &_answers,
                [this, index] {
                    std::lock_guard answer(_mutex);
                    _pings[index].answered = now();
                },
                Qt::QueuedConnection);
            _wake.wait_for(lock, INTERVAL, [this] { return _stop; });
        }
    }

    const Clock::time_point _start;
    // Where the answers go, on the main thread: one still queued when the pings end goes with it.
    QObject _answers;
    std::mutex _mutex;
    std::condition_variable _wake;
    bool _stop = false;
    std::vector<Ping> _pings;
    std::thread _thread;
};

constexpr int STALL_WINDOW_MS = 60000;
constexpr int HOLD_AT_MS = 4000;
constexpr int HOLD_MS = 1000;
constexpr int WORKERS_LIMIT_MS = 600000;

void BM_LongTripMainThreadStalls(benchmark::State &state)
{
    const int chapters = int(state.range(0));
    const QString card = cardOf(1, chapters);
    if (card.isEmpty()) {
        state.SkipWithError("samplecard could not write the card");
        return;
    }
    using LT = CommonConst::ListType;
    for (auto _ : state) {
        // Without the hold: the open, the workers' reading, then a replay and a switch of lists.
        {
            ShownWindow shown;
            MainWindow &window = *shown.window;
            MainThreadPings pings;
            const qint64 openedAt = pings.now();
            window.cardOpener()->openVideoData(QUrl::fromLocalFile(card), true, MovieType::Card);
            runEventLoopUntil([] { return false; }, STALL_WINDOW_MS);
            state.counters["open_60s_stall_ms"] =
                double(pings.longestStall(openedAt, openedAt + STALL_WINDOW_MS));
            runEventLoopUntil([&] { return window.cardData()->loadWorkersDone(); }, WORKERS_LIMIT_MS);
            state.counters["workers_done_s"] =
                window.cardData()->loadWorkersDone() ? double(pings.now() - openedAt) / 1000.0 : -1.0;
            runEventLoopUntil([] { return false; }, 2000);

            const qint64 replayAt = pings.now();
            QElapsedTimer handler;
            handler.start();
            emit window.videoListView()->rowClicked(LT::Trip, 0);
            state.counters["replay_handler_ms"] = double(handler.elapsed());
            runEventLoopUntil([] { return false; }, 3000);
            state.counters["replay_stall_ms"] = double(pings.longestStall(replayAt, pings.now()));

            const qint64 switchAt = pings.now();
            window.videoListView()->tabButton(LT::TripChapter)->click();
            runEventLoopUntil([] { return false; }, 1500);
            window.videoListView()->tabButton(LT::Trip)->click();
            runEventLoopUntil([] { return false; }, 1500);
            state.counters["switch_stall_ms"] = double(pings.longestStall(switchAt, pings.now()));
            state.counters["peak_MB"] = statusMb("VmHWM:");
            // What the chapters keep for good of their driving data, each.
            size_t kept = 0, read = 0;
            for (const auto &trip : window.cardData()->_tripList) {
                for (const auto &chapter : trip->chapters()) {
                    if (const auto outline = chapter->outline()) {
                        kept += outline->bytes();
                        ++read;
                    }
                }
            }
            state.counters["kept_bytes_per_chapter"] = read ? double(kept) / double(read) : 0.0;
            window.cardOpener()->disconnect();
        }
        // With a 1-s hold of the main thread while the workers read.
        {
            ShownWindow shown;
            MainWindow &window = *shown.window;
            MainThreadPings pings;
            const qint64 openedAt = pings.now();
            qint64 heldUntil = -1;
            QTimer::singleShot(HOLD_AT_MS, &window, [&] {
                state.counters["workers_busy_at_hold"] = window.cardData()->loadWorkersDone() ? 0 : 1;
                std::this_thread::sleep_for(std::chrono::milliseconds(HOLD_MS));
                heldUntil = pings.now();
            });
            window.cardOpener()->openVideoData(QUrl::fromLocalFile(card), true, MovieType::Card);
            runEventLoopUntil([] { return false; }, STALL_WINDOW_MS);
            runEventLoopUntil([&] { return window.cardData()->loadWorkersDone(); }, WORKERS_LIMIT_MS);
            // Pings sent during the hold wait for it; the stalls after it, until the workers are done,
            // are the program's.
            state.counters["after_hold_stall_ms"] =
                heldUntil < 0 ? -1.0 : double(pings.longestStall(heldUntil, pings.now()));
            window.cardOpener()->disconnect();
        }
    }
}

// A trip without management records: the main thread's longest stall and its recording reads from the
// open until the first chapter plays, then over 60 s, and a replay once the workers are done.
void BM_RecordlessTripMainThreadStalls(benchmark::State &state)
{
    const int chapters = int(state.range(0));
    const QString card = recordlessCardOf(chapters);
    if (card.isEmpty()) {
        state.SkipWithError("the card could not be written");
        return;
    }
    for (auto _ : state) {
        ShownWindow shown;
        MainWindow &window = *shown.window;
        bool opened = false;
        QObject::connect(window.cardOpener(), &CardOpener::finished, [&] { opened = true; });
        MainThreadPings pings;
        const qint64 openedAt = pings.now();
        const uint64_t readsBefore = ChapterData::mainThreadReads();
        window.cardOpener()->openVideoData(QUrl::fromLocalFile(card), true, MovieType::Card);
        runEventLoopUntil([&] { return opened; }, WORKERS_LIMIT_MS);
        state.counters["open_to_play_s"] = double(pings.now() - openedAt) / 1000.0;
        state.counters["open_main_thread_reads"] = double(ChapterData::mainThreadReads() - readsBefore);
        runEventLoopUntil([] { return false; }, STALL_WINDOW_MS);
        state.counters["open_60s_stall_ms"] = double(pings.longestStall(openedAt, pings.now()));
        runEventLoopUntil([&] { return window.cardData()->loadWorkersDone(); }, WORKERS_LIMIT_MS);
        runEventLoopUntil([] { return false; }, 2000);
        const qint64 replayAt = pings.now();
        const uint64_t replayReadsBefore = ChapterData::mainThreadReads();
        emit window.videoListView()->rowClicked(CommonConst::ListType::Trip, 0);
        runEventLoopUntil([] { return false; }, 3000);
        state.counters["replay_stall_ms"] = double(pings.longestStall(replayAt, pings.now()));
        state.counters["replay_main_thread_reads"] =
            double(ChapterData::mainThreadReads() - replayReadsBefore);
        window.cardOpener()->disconnect();
    }
}

// The stopwatch over a trip whose odd chapters' lengths are learned while the workers read: open, pause,
// a seek to 85 %, the stopwatch started, a seek 30 s further and a lap, then the workers read the rest.
// Reports the main thread's longest stall from the open until the workers are done, and from the lap on;
// late_lengths_at_lap is 1 when lengths were still to come at the lap (the case measured).
void BM_LateLengthsStopWatchStalls(benchmark::State &state)
{
    const int chapters = int(state.range(0));
    const QString card = oddRecordsLostCardOf(chapters);
    if (card.isEmpty()) {
        state.SkipWithError("the card could not be written");
        return;
    }
    constexpr int STEP_MS = 500;
    for (auto _ : state) {
        ShownWindow shown;
        MainWindow &window = *shown.window;
        bool opened = false;
        QObject::connect(window.cardOpener(), &CardOpener::finished, [&] { opened = true; });
        MainThreadPings pings;
        const qint64 openedAt = pings.now();
        window.cardOpener()->openVideoData(QUrl::fromLocalFile(card), true, MovieType::Card);
        MoviePlayerView *player = window.panels()->moviePlayerView();
        runEventLoopUntil([&] { return opened && player->valueInfo() && player->isControlReady(); },
                          WORKERS_LIMIT_MS);
        if (!player->valueInfo()) {
            state.SkipWithError("the trip did not play");
            return;
        }
        const qint64 playedAt = pings.now();
        std::fprintf(stderr, "playing at %lld ms\n", (long long)(playedAt - openedAt));
        state.counters["open_stall_ms"] = double(pings.longestStall(openedAt, playedAt));
        // Each step's own longest stall, from its action until the next.
        const auto step = [&](const char *name, const std::function<void()> &act) {
            const qint64 from = pings.now();
            act();
            runEventLoopUntil([] { return false; }, STEP_MS);
            state.counters[name] = double(pings.longestStall(from, pings.now()));
        };
        const auto seek = [&](int64_t position) {
            player->moveToPosition(position, CommonConst::PlayStatus::Pause);
            window.updateFrameWithStopWatch();
        };
        step("pause_stall_ms", [&] { player->pauseMovie(); });
        const int64_t at = int64_t(player->valueInfo()->timeline().totalLength()) * 85 / 100;
        step("seek_stall_ms", [&] { seek(at); });
        step("stopwatch_shown_stall_ms", [&] {
            qobject_cast<QAbstractButton *>(player->controls()->control(QStringLiteral("stopwatch")))
                ->click();
        });
        StopWatchView *view = window.coordinators()->stopWatchWindow().view();
        step("start_stall_ms", [&] { view->btnStartStop->click(); });
        step("seek_on_stall_ms", [&] { seek(at + 30000); });
        const qint64 lapAt = pings.now();
        const uint64_t readsBeforeLap = ChapterData::mainThreadReads();
        state.counters["late_lengths_at_lap"] = player->valueInfo()->timeline().isSettled() ? 0 : 1;
        view->btnLapReset->click();
        runEventLoopUntil([&] { return window.cardData()->loadWorkersDone(); }, WORKERS_LIMIT_MS);
        runEventLoopUntil([] { return false; }, 3000);
        state.counters["workers_done_s"] =
            window.cardData()->loadWorkersDone() ? double(pings.now() - openedAt) / 1000.0 : -1.0;
        state.counters["steps_stall_ms"] = double(pings.longestStall(playedAt, pings.now()));
        state.counters["after_lap_stall_ms"] = double(pings.longestStall(lapAt, pings.now()));
        state.counters["after_lap_main_thread_reads"] =
            double(ChapterData::mainThreadReads() - readsBeforeLap);
        state.counters["lap_speed_shown"] = view->speedText(0) != QStringLiteral("-km/h") ? 1 : 0;
        window.cardOpener()->disconnect();
    }
}

// The open's own stall: the longest wait for the main thread from the open until the open has finished
// (the list and the map filled, the first trip handed to the player) and the player plays, in a window
// of its own each time, with and without the chapters' management records. The largest of the runs and
// their middle one.
void BM_LongTripOpenStall(benchmark::State &state)
{
    const int chapters = int(state.range(0));
    const bool records = state.range(1) != 0;
    const QString card = records ? cardOf(1, chapters) : recordlessCardOf(chapters);
    if (card.isEmpty()) {
        state.SkipWithError("the card could not be written");
        return;
    }
    std::vector<double> stalls;
    for (auto _ : state) {
        ShownWindow shown;
        MainWindow &window = *shown.window;
        MoviePlayerView *player = window.panels()->moviePlayerView();
        bool finished = false;
        QObject::connect(window.cardOpener(), &CardOpener::finished, [&] { finished = true; });
        MainThreadPings pings;
        const qint64 openedAt = pings.now();
        window.cardOpener()->openVideoData(QUrl::fromLocalFile(card), true, MovieType::Card);
        runEventLoopUntil(
            [&] { return finished && player->currentStatus() == CommonConst::PlayStatus::Play; },
            WORKERS_LIMIT_MS);
        stalls.push_back(double(pings.longestStall(openedAt, pings.now())));
        window.cardOpener()->disconnect();
    }
    std::sort(stalls.begin(), stalls.end());
    state.counters["open_stall_max_ms"] = stalls.back();
    state.counters["open_stall_median_ms"] = stalls[stalls.size() / 2];
}

// CPU milliseconds spent so far by each of this process's web engine descendants (its zygotes and
// renderers; not the helpers the program starts itself), by process id.
std::map<int, double> descendantsCpu()
{
    std::map<int, int> parents;
    std::map<int, double> cpu;
    const double tick = 1000.0 / double(sysconf(_SC_CLK_TCK));
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const int pid = entry.toInt(&isPid);
        if (!isPid)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // After the command's closing parenthesis: state, ppid, ..., utime (14th field), stime (15th).
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 13)
            continue;
        const qsizetype open = line.indexOf('(');
        const bool webEngine = line.mid(open + 1, line.lastIndexOf(')') - open - 1).startsWith("QtWebEngine");
        parents[pid] = fields[1].toInt();
        if (webEngine)
            cpu[pid] = (fields[11].toDouble() + fields[12].toDouble()) * tick;
    }
    std::map<int, double> ours;
    for (const auto &[pid, ms] : cpu) {
        for (int up = parents[pid]; up > 1; up = parents.contains(up) ? parents[up] : 0) {
            if (up == int(getpid())) {
                ours[pid] = ms;
                break;
            }
        }
    }
    return ours;
}

double descendantsCpuMs()
{
    double total = 0.0;
    for (const auto &[pid, ms] : descendantsCpu())
        total += ms;
    return total;
}

// The web engine's CPU milliseconds since the sample: of the processes alive now, so that the engine of a
// window closed before, ending meanwhile, takes nothing off.
double descendantsCpuMsSince(const std::map<int, double> &before)
{
    double total = 0.0;
    for (const auto &[pid, ms] : descendantsCpu()) {
        const auto it = before.find(pid);
        total += ms - (it != before.end() ? it->second : 0.0);
    }
    return total;
}

// The answer of a script run in the map page, waited for.
QVariant evaluateInPage(QWebEnginePage *page, const QString &script)
{
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    runEventLoopUntil([&] { return done; }, 60000);
    return result;
}

// What the map page costs the machine with a long trip's markers and route: the web engine's CPU time for
// a click on the zoom buttons and for a click on the trip's row, and the time from the last of 30 quick
// zoom clicks until the page shows that zoom. Before, the card is read whole.
void BM_MapPageCpu(benchmark::State &state)
{
    const int chapters = int(state.range(0));
    const QString card = cardOf(1, chapters);
    if (card.isEmpty()) {
        state.SkipWithError("samplecard could not write the card");
        return;
    }
    for (auto _ : state) {
        ShownWindow shown;
        MainWindow &window = *shown.window;
        MainThreadPings pings;
        window.cardOpener()->openVideoData(QUrl::fromLocalFile(card), true, MovieType::Card);
        runEventLoopUntil([&] { return window.cardData() && window.cardData()->loadWorkersDone(); },
                          WORKERS_LIMIT_MS);
        runEventLoopUntil([] { return false; }, 5000);
        QWebEnginePage *page = window.mapView()->webPage()->page();
        const auto click = [&](const char *button) {
            evaluateInPage(page,
                           QStringLiteral("document.querySelector('.leaflet-control-zoom-%1').click(); 1")
                               .arg(QLatin1String(button)));
        };
        const auto cpuOf = [&](const std::function<void()> &action, int settleMs) {
            const double before = descendantsCpuMs();
            action();
            runEventLoopUntil([] { return false; }, settleMs);
            return descendantsCpuMs() - before;
        };
        // The page's own time for one drawing of the route and of the pins.
        const auto pageMs = [&](const char *call) {
            return evaluateInPage(page, QStringLiteral("(function () { var t = performance.now(); %1;"
                                                       " return performance.now() - t; })()")
                                            .arg(QLatin1String(call)))
                .toDouble();
        };
        if (evaluateInPage(page, QStringLiteral("typeof routeLayer !== 'undefined'")).toBool()) {
            state.counters["route_draw_ms"] = pageMs("routeLayer.redraw()");
            state.counters["pins_draw_ms"] = pageMs("pinLayer.changed()");
        }
        // What the page costs meanwhile without a click (the car following the playback), over as long.
        state.counters["no_click_cpu_ms"] = cpuOf([] {}, 2500);
        double zoomMax = 0.0, zoomSum = 0.0;
        for (const char *button : {"in", "in", "out", "out"}) {
            const double ms = cpuOf([&] { click(button); }, 2500);
            zoomMax = std::max(zoomMax, ms);
            zoomSum += ms;
        }
        state.counters["zoom_click_cpu_ms"] = zoomSum / 4.0;
        state.counters["zoom_click_cpu_max_ms"] = zoomMax;

        const qint64 replayAt = pings.now();
        state.counters["trip_click_cpu_ms"] =
            cpuOf([&] { emit window.videoListView()->rowClicked(CommonConst::ListType::Trip, 0); }, 5000);
        state.counters["trip_click_stall_ms"] = double(pings.longestStall(replayAt, pings.now()));

        // The trip's whole route drawn anew, as for a trip the map did not show: what the page costs and
        // how long the window waits meanwhile.
        const qint64 redrawAt = pings.now();
        state.counters["new_route_cpu_ms"] = cpuOf(
            [&] {
                WebMapView *bridge = window.mapView()->mapWebView();
                bridge->removeRoute();
                bridge->drawRoute(*window.cardData()->_tripList.front());
            },
            5000);
        state.counters["new_route_stall_ms"] = double(pings.longestStall(redrawAt, pings.now()));

        // 30 clicks, 50 ms apart, ten levels in all; then the time until the page has drawn the last zoom
        // and answers again.
        for (int i = 0; i < 30; ++i) {
            click(i % 3 == 2 ? "out" : "in");
            runEventLoopUntil([] { return false; }, 50);
        }
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 120000 &&
               !evaluateInPage(page, QStringLiteral("!map._animatingZoom")).toBool())
            runEventLoopUntil([] { return false; }, 20);
        state.counters["zoom_30_clicks_settle_ms"] = double(settle.elapsed());
        window.cardOpener()->disconnect();
    }
}

constexpr int QUIET_SAMPLE_MS = 1000;
constexpr double QUIET_CPU_MS = 100.0;
constexpr int FOLLOW_SAMPLE_MS = 5000;

// The card is read and every chapter's driving data too (or given up on): the route and the markers the
// map gets from the card's read are all handed over. The workers may still be making the list's stills.
bool drivingDataRead(const CardData &card)
{
    bool anyChapter = false;
    for (const auto &trip : card._tripList) {
        for (const auto &chapter : trip->sortedChapters()) {
            anyChapter = true;
            const bool givenUp = chapter->retryCntPictureData() >= CardData::MAX_RETRY_CNT_PICTUREDATA &&
                                 !chapter->hasPicture();
            if (!chapter->isPictureReported() && !givenUp)
                return false;
        }
    }
    return anyChapter;
}

// The map page's work for the open of a long trip, as the user opens it (its first chapter played): the
// web engine's CPU time from the open until the page is quiet, and when that was. Quiet: the map has been
// handed all the card's read gives it (every chapter's driving data read) and the page has then used less
// than a tenth of a core over a second. The car following the playback costs the page a little all the
// while, so the time until the workers are done (they go on making the list's stills) and what following
// the car costs a second afterwards are given too. For the trip with its chapters' management records, and
// for the same trip without them ("recordless_"), where each chapter's marker waits for the workers to read
// its recording.
void BM_MapPageOpenCpu(benchmark::State &state)
{
    const int chapters = int(state.range(0));
    const std::pair<std::string, QString> cards[] = {{"", cardOf(1, chapters)},
                                                     {"recordless_", recordlessCardOf(chapters)}};
    for (const auto &[name, card] : cards) {
        if (card.isEmpty()) {
            state.SkipWithError("the card could not be written");
            return;
        }
    }
    for (auto _ : state) {
        for (const auto &[name, card] : cards) {
            ShownWindow shown;
            MainWindow &window = *shown.window;
            const std::map<int, double> before = descendantsCpu();
            QElapsedTimer clock;
            clock.start();
            window.cardOpener()->openVideoData(QUrl::fromLocalFile(card), true, MovieType::Card);
            double used = 0.0;
            qint64 quietAt = -1;
            while (clock.elapsed() < WORKERS_LIMIT_MS) {
                const bool read = window.cardData() && drivingDataRead(*window.cardData());
                const qint64 sampledAt = clock.elapsed();
                runEventLoopUntil([] { return false; }, QUIET_SAMPLE_MS);
                const double now = descendantsCpuMsSince(before);
                if (read && now - used < QUIET_CPU_MS) {
                    quietAt = sampledAt;
                    break;
                }
                used = now;
            }
            state.counters[name + "open_to_quiet_cpu_ms"] = used;
            state.counters[name + "open_to_quiet_s"] = quietAt >= 0 ? double(quietAt) / 1000.0 : -1.0;

            runEventLoopUntil([&] { return window.cardData() && window.cardData()->loadWorkersDone(); },
                              WORKERS_LIMIT_MS);
            state.counters[name + "open_to_workers_done_cpu_ms"] = descendantsCpuMsSince(before);
            state.counters[name + "open_to_workers_done_s"] = double(clock.elapsed()) / 1000.0;
            const double following = descendantsCpuMsSince(before);
            runEventLoopUntil([] { return false; }, FOLLOW_SAMPLE_MS);
            state.counters[name + "car_following_cpu_ms_per_s"] =
                (descendantsCpuMsSince(before) - following) * 1000.0 / FOLLOW_SAMPLE_MS;
            window.cardOpener()->disconnect();
        }
    }
}

// The Google Earth export of a long trip: the peak memory of kmzexport exporting it alone, and the program's
// own memory when it exports the opened card's trip as the window does (the work on a thread of its own):
// its resident memory before, its peak meanwhile (the kernel's high-water mark, reset first) and after.
void BM_KmzExportMemory(benchmark::State &state)
{
    const int chapters = int(state.range(0));
    const QString card = cardOf(1, chapters);
    if (card.isEmpty()) {
        state.SkipWithError("samplecard could not write the card");
        return;
    }
    QTemporaryDir out;
    for (auto _ : state) {
        // kmzexport as a child, its peak as GNU time reports it (the card's own ffmpeg children would
        // count in this process's figure for its children); -1 without that program.
        QProcess child;
        child.start(QStringLiteral("/usr/bin/time"),
                    {QStringLiteral("-f"), QStringLiteral("peak_kb=%M"),
                     QCoreApplication::applicationDirPath() + QStringLiteral("/../devtools/kmzexport"), card,
                     QStringLiteral("--trip"), QStringLiteral("0"),
                     out.filePath(QStringLiteral("child.kmz"))});
        const bool exported = child.waitForFinished(600000) && child.exitCode() == 0;
        const QByteArray report = child.readAllStandardError();
        const qsizetype at = report.lastIndexOf("peak_kb=");
        state.counters["kmzexport_peak_MB"] =
            exported && at >= 0 ? report.mid(at + 8).trimmed().toDouble() / 1024.0 : -1.0;

        CardData data;
        data.loadCardFolder(QUrl::fromLocalFile(card));
        if (data._tripList.empty()) {
            state.SkipWithError("the card has no trip");
            return;
        }
        const ChapterList trip = data._tripList.front()->sortedChapters();
        UserDefaultUtil settings(out.filePath(QStringLiteral("settings.ini")));
        KmzExporter exporter(settings, out.filePath(QStringLiteral("work")));
        exporter.setRunner([](const KmzExporter::Work &work) {
            const std::atomic<bool> never = false;
            WorkerWait::run([&] { work(WorkControl{&never, {}}); });
        });
        const double before = statusMb("VmRSS:");
        QFile reset(QStringLiteral("/proc/self/clear_refs"));
        const bool peakReset = reset.open(QIODevice::WriteOnly) && reset.write("5") == 1;
        reset.close();
        if (!exporter.exportTripKml(trip, out.filePath(QStringLiteral("viewer.kmz")))) {
            state.SkipWithError("the export failed");
            return;
        }
        state.counters["viewer_before_MB"] = before;
        state.counters["viewer_peak_above_MB"] = peakReset ? statusMb("VmHWM:") - before : -1.0;
        state.counters["viewer_after_above_MB"] = statusMb("VmRSS:") - before;
    }
}

BENCHMARK(BM_OpenAndPlayLongCard)
    ->ArgNames({"trips", "chapters"})
    ->Args({1, 1})
    ->Args({1, 1000})
    ->Args({1, 5000})
    ->Args({20, 50})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
// One run at each long trip's size.
void longTripSizes(benchmark::internal::Benchmark *benchmark)
{
    benchmark->ArgNames({"chapters"})
        ->Args({200})
        ->Args({1000})
        ->Args({5000})
        ->Iterations(1)
        ->Unit(benchmark::kSecond)
        ->UseRealTime();
}
BENCHMARK(BM_LongTripMainThreadStalls)->Apply(longTripSizes);
BENCHMARK(BM_MapPageCpu)->Apply(longTripSizes);
BENCHMARK(BM_MapPageOpenCpu)->Apply(longTripSizes);
BENCHMARK(BM_KmzExportMemory)->Apply(longTripSizes);
BENCHMARK(BM_RecordlessTripMainThreadStalls)->Apply(longTripSizes);
BENCHMARK(BM_LateLengthsStopWatchStalls)
    ->ArgNames({"chapters"})
    ->Args({1000})
    ->Args({5000})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK(BM_LongTripOpenStall)
    ->ArgNames({"chapters", "records"})
    ->ArgsProduct({{1000, 5000}, {1, 0}})
    ->Iterations(5)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    // The window a user sees: an offscreen one leaves out what a display costs.
    if (qEnvironmentVariableIsEmpty("DISPLAY") || qgetenv("QT_QPA_PLATFORM").startsWith("offscreen")) {
        std::fprintf(stderr,
                     "LongTripMemoryBench needs an X display (scripts/bench gives it a virtual one)\n");
        return 1;
    }
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

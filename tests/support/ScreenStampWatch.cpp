#include "support/ScreenStampWatch.h"

#include <xcb/xcb.h>

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <string>

namespace {

// samplecard's stamp: bit b is a block 32 pixels wide at x = 32 b along the picture's top 32 rows.
constexpr int BLOCK = 32;
constexpr int BITS = 16;
// Readings further apart than this leave the screen unwatched for a while (the machine was busy).
constexpr int64_t BLIND_NS = 8'000'000;
// A thread waits a little for a CPU each time it wakes, on any machine (on a virtual one its CPU must be
// woken first): a thread woken a thousand times a second, as the X server is by the watch, waits tens of ms a
// second on an idle machine. Only the wait beyond this per run counts as withheld. Measured here: 0.06 ms a
// wake-up at the median and 0.08 ms at the 90th percentile on eight idle cores, 0.11 and 0.22 ms on two
// cores with the other six busy.
constexpr int64_t WAKE_UP_ALLOWANCE_NS = 250'000;

// /proc/stat's unit of time.
int64_t clockTickNs()
{
    static const int64_t tick = 1'000'000'000 / ::sysconf(_SC_CLK_TCK);
    return tick;
}

int64_t steadyNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

// The run-queue times of every thread of some processes (/proc/PID/task/TID/schedstat: time on a CPU, time
// waiting for one, in ns), the files kept open and the threads looked up again every 20 readings; the time
// on a CPU of those processes and of the map's pages they started (their CPU clocks, which keep an ended
// thread's time); and /proc/stat's times of the CPUs given.
class ScreenStampWatch::RunQueueTimes
{
public:
    RunQueueTimes(std::vector<int> pids, std::vector<int> cpus)
        : _pids(std::move(pids)), _cpus(std::move(cpus))
    {
    }
    // A thread left out: the watch's own, whose waits show as readings further apart (blindSpans).
    void leaveOut(int tid) { _leftOut = tid; }
    ~RunQueueTimes() { closeAll(); }
    // Each thread's name (comm) as last looked up.
    const std::map<int, std::string> &names() const { return _names; }

    // The threads' times and the machine's, taken now.
    RunQueueReading read(int64_t atNs)
    {
        if (_reads++ % 20 == 0)
            findThreads();
        RunQueueReading reading;
        reading.atNs = atNs;
        char text[1024];
        for (const auto &[tid, fd, statFd] : _files) {
            const ssize_t length = ::pread(fd, text, sizeof text - 1, 0);
            if (length <= 0)
                continue;
            text[length] = 0;
            long long onCpu = 0, waiting = 0, runs = 0;
            if (std::sscanf(text, "%lld %lld %lld", &onCpu, &waiting, &runs) == 3)
                reading.waits.push_back({tid, waiting, runs, onCpu, lastCpu(statFd, text, sizeof text)});
        }
        // Ours and the CPUs' as close together as may be: others' time is theirs less ours.
        for (const auto &[pid, clock] : _processes) {
            timespec used{};
            if (::clock_gettime(clock, &used) == 0)
                reading.processCpuNs.emplace_back(pid, int64_t(used.tv_sec) * 1'000'000'000 + used.tv_nsec);
        }
        const int64_t cpusAtNs = steadyNs();
        if (FILE *stat = std::fopen("/proc/stat", "re")) {
            std::string cpuLines;
            char line[256];
            while (std::fgets(line, sizeof line, stat) && std::strncmp(line, "cpu", 3) == 0)
                cpuLines += line;
            std::fclose(stat);
            reading.cpus = cpuTimes(cpuLines, _cpus, clockTickNs());
            reading.cpus.atNs = cpusAtNs;
        }
        return reading;
    }

private:
    void findThreads()
    {
        closeAll();
        std::set<int> ours;
        for (const int pid : _pids) {
            const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
            DIR *dir = ::opendir(tasks.c_str());
            if (!dir)
                continue;
            ours.insert(pid);
            while (const dirent *entry = ::readdir(dir)) {
                const int tid = std::atoi(entry->d_name);
                if (tid <= 0 || tid == _leftOut)
                    continue;
                const int fd =
                    ::open((tasks + "/" + entry->d_name + "/schedstat").c_str(), O_RDONLY | O_CLOEXEC);
                if (fd >= 0)
                    _files.push_back(
                        {tid, fd,
                         ::open((tasks + "/" + entry->d_name + "/stat").c_str(), O_RDONLY | O_CLOEXEC)});
                // Named once: the watch reads on meanwhile.
                if (_names.count(tid))
                    continue;
                if (FILE *comm = std::fopen((tasks + "/" + entry->d_name + "/comm").c_str(), "re")) {
                    char name[32] = {};
                    if (std::fgets(name, sizeof name, comm))
                        // A process's main thread bears its name, as do its unnamed threads.
                        _names[tid] =
                            std::string(name, std::strcspn(name, "\n")) + (tid == pid ? " main" : "");
                    std::fclose(comm);
                }
            }
            ::closedir(dir);
        }
        std::sort(_files.begin(), _files.end());
        // The map's pages run in Qt WebEngine's processes of their own, the viewer's work; the test's other
        // children (a busy neighbour, the plain player it compares with) are not the player's.
        std::vector<int> pending(ours.begin(), ours.end());
        while (!pending.empty()) {
            const int pid = pending.back();
            pending.pop_back();
            for (const int child : childrenOf(pid)) {
                if (isPagesProcess(child) && ours.insert(child).second)
                    pending.push_back(child);
            }
        }
        _processes.clear();
        for (const int pid : ours) {
            clockid_t clock{};
            if (::clock_getcpuclockid(pid, &clock) == 0)
                _processes.emplace_back(pid, clock);
        }
    }
    static bool isPagesProcess(int pid)
    {
        char path[PATH_MAX];
        const ssize_t length =
            ::readlink(("/proc/" + std::to_string(pid) + "/exe").c_str(), path, sizeof path - 1);
        if (length <= 0)
            return false;
        path[length] = 0;
        const char *name = std::strrchr(path, '/');
        return std::strcmp(name ? name + 1 : path, "QtWebEngineProcess") == 0;
    }
    // The processes that any thread of a process started (/proc/PID/task/TID/children).
    static std::vector<int> childrenOf(int pid)
    {
        std::vector<int> children;
        const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
        DIR *dir = ::opendir(tasks.c_str());
        if (!dir)
            return children;
        while (const dirent *entry = ::readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            if (FILE *file = std::fopen((tasks + "/" + entry->d_name + "/children").c_str(), "re")) {
                int child = 0;
                while (std::fscanf(file, "%d", &child) == 1)
                    children.push_back(child);
                std::fclose(file);
            }
        }
        ::closedir(dir);
        return children;
    }
    void closeAll()
    {
        for (const ThreadFiles &file : _files) {
            ::close(file.schedstat);
            if (file.stat >= 0)
                ::close(file.stat);
        }
        _files.clear();
    }
    // The CPU a thread last ran on: /proc/PID/task/TID/stat's 39th field, the 37th after the name's ")".
    static int lastCpu(int statFd, char *text, size_t size)
    {
        const ssize_t length = statFd >= 0 ? ::pread(statFd, text, size - 1, 0) : -1;
        if (length <= 0)
            return -1;
        text[length] = 0;
        const char *field = std::strrchr(text, ')');
        for (int skipped = 0; field && skipped < 37; ++skipped)
            field = std::strchr(field + 1, ' ');
        return field ? std::atoi(field + 1) : -1;
    }

    std::vector<int> _pids;
    std::vector<int> _cpus;
    int _leftOut = 0;
    struct ThreadFiles
    {
        int tid;
        int schedstat, stat; // open; stat -1 where it could not be opened
        bool operator<(const ThreadFiles &other) const { return tid < other.tid; }
    };
    std::vector<ThreadFiles> _files;
    std::vector<std::pair<int, clockid_t>> _processes;
    std::map<int, std::string> _names;
    int _reads = 0;
};

struct ScreenStampWatch::Connection
{
    xcb_connection_t *xcb = nullptr;
    xcb_window_t root = 0;
    ~Connection()
    {
        if (xcb)
            xcb_disconnect(xcb);
    }
};

ScreenStampWatch::ScreenStampWatch(QRect picture, QSize movieSize) : _picture(picture), _movieSize(movieSize)
{
}

ScreenStampWatch::~ScreenStampWatch()
{
    stop();
}

std::optional<int> ScreenStampWatch::stampInRow(const std::vector<uint8_t> &grey, double blockWidth)
{
    int frame = 0;
    for (int bit = 0; bit < BITS; ++bit) {
        const auto x = static_cast<size_t>((bit + 0.5) * blockWidth);
        if (x >= grey.size())
            return std::nullopt;
        // A block is read as dark or light also under the player's brightness, which moves black up to 102
        // and white down to 186; a grey in between is neither.
        if (grey[x] > 112 && grey[x] < 144)
            return std::nullopt;
        frame |= (grey[x] >= 144 ? 1 : 0) << bit;
    }
    return frame;
}

bool ScreenStampWatch::start(int intervalUs, int playerPid)
{
    if (_thread.joinable())
        return true;
    _connection = std::make_unique<Connection>();
    int screenNumber = 0;
    _connection->xcb = xcb_connect(nullptr, &screenNumber);
    if (!_connection->xcb || xcb_connection_has_error(_connection->xcb)) {
        _error = QStringLiteral("no X display to read");
        _connection.reset();
        return false;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(_connection->xcb));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    _connection->root = screens.data->root;
    _intervalUs = intervalUs;
    _stopping = false;
    _samples.clear();
    _blind.clear();
    _blindBeforeChange.clear();
    _runQueue.clear();
    // The X server at the other end of the connection, which draws what the player shows.
    std::vector<int> pids{int(::getpid())};
    if (playerPid > 0)
        pids.push_back(playerPid);
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(xcb_get_file_descriptor(_connection->xcb), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
        peer.pid > 0)
        pids.push_back(int(peer.pid));
    // Where they may run: other programs elsewhere take nothing from them.
    std::set<int> cpus;
    for (const int pid : pids) {
        cpu_set_t set;
        CPU_ZERO(&set);
        if (::sched_getaffinity(pid, sizeof set, &set) != 0)
            continue;
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
            if (CPU_ISSET(cpu, &set))
                cpus.insert(cpu);
        }
    }
    _cpus.assign(cpus.begin(), cpus.end());
    _runQueueTimes = std::make_unique<RunQueueTimes>(std::move(pids), _cpus);
    _thread = std::thread([this] { run(); });
    return true;
}

std::vector<ScreenStampWatch::Sample> ScreenStampWatch::stop()
{
    _stopping = true;
    if (_thread.joinable())
        _thread.join();
    _connection.reset();
    if (_runQueueTimes)
        _threadNames = _runQueueTimes->names();
    _runQueueTimes.reset();
    return std::move(_samples);
}

std::optional<std::pair<const ScreenStampWatch::RunQueueReading *, const ScreenStampWatch::RunQueueReading *>>
ScreenStampWatch::readingsAround(int64_t fromNs, int64_t toNs) const
{
    if (_runQueue.empty())
        return std::nullopt;
    // The last at or before the start, the first at or after the end.
    auto after = std::lower_bound(_runQueue.begin(), _runQueue.end(), toNs,
                                  [](const RunQueueReading &r, int64_t at) { return r.atNs < at; });
    if (after == _runQueue.end())
        --after;
    auto before = std::upper_bound(_runQueue.begin(), _runQueue.end(), fromNs,
                                   [](int64_t at, const RunQueueReading &r) { return at < r.atNs; });
    if (before != _runQueue.begin())
        --before;
    return std::pair(&*before, &*after);
}

void ScreenStampWatch::forEachThread(const RunQueueReading &before, const RunQueueReading &after,
                                     const std::function<void(const ThreadWait &, const ThreadWait &)> &each)
{
    for (const ThreadWait &now : after.waits) {
        const auto then = std::lower_bound(before.waits.begin(), before.waits.end(), now.tid,
                                           [](const ThreadWait &w, int tid) { return w.tid < tid; });
        if (then != before.waits.end() && then->tid == now.tid)
            each(*then, now);
    }
}

void ScreenStampWatch::forEachThreadOnItsCpu(
    const RunQueueReading &before, const RunQueueReading &after,
    const std::function<void(const ThreadWait &then, const ThreadWait &now, size_t cpu)> &each)
{
    forEachThread(before, after, [&](const ThreadWait &then, const ThreadWait &now) {
        const auto at = std::find(after.cpus.ids.begin(), after.cpus.ids.end(), now.cpu);
        if (at != after.cpus.ids.end())
            each(then, now, size_t(at - after.cpus.ids.begin()));
    });
}

void ScreenStampWatch::forEachSpanOnTheSameCpus(
    std::span<const RunQueueReading> readings,
    const std::function<void(const RunQueueReading &then, const RunQueueReading &now, int64_t spanNs)> &each)
{
    for (size_t i = 1; i < readings.size(); ++i) {
        const RunQueueReading &then = readings[i - 1], &now = readings[i];
        const int64_t spanNs = now.atNs - then.atNs;
        if (spanNs > 0 && now.cpus.ids == then.cpus.ids &&
            now.cpus.stealNs.size() == then.cpus.stealNs.size() &&
            now.cpus.stealNs.size() == now.cpus.ids.size())
            each(then, now, spanNs);
    }
}

ScreenStampWatch::CpuTimes ScreenStampWatch::cpuTimes(std::string_view procStat, const std::vector<int> &cpus,
                                                      int64_t tickNs)
{
    CpuTimes times;
    std::optional<int64_t> allIdleNs;
    bool everyCpu = true;
    for (size_t at = 0; at < procStat.size();) {
        const size_t end = std::min(procStat.find('\n', at), procStat.size());
        const std::string line(procStat.substr(at, end - at));
        at = end + 1;
        // The first line sums all the CPUs, one line each follows ("cpuN"): user, nice, system, idle,
        // iowait, irq, softirq and steal time, in clock ticks.
        int cpu = -1;
        if (line.compare(0, 3, "cpu") != 0 ||
            (line[3] != ' ' && std::sscanf(line.c_str() + 3, "%d", &cpu) != 1))
            continue;
        unsigned long long t[8] = {};
        const char *fields = std::strchr(line.c_str(), ' ');
        if (!fields || std::sscanf(fields, "%llu %llu %llu %llu %llu %llu %llu %llu", &t[0], &t[1], &t[2],
                                   &t[3], &t[4], &t[5], &t[6], &t[7]) != 8)
            continue;
        // Idle time is kept to the ns and cut down to a tick as it is printed; what ran is only sampled at
        // the kernel's ticks, which a thread woken at a steady beat may always or never meet.
        const int64_t idleNs = int64_t(t[3] + t[4]) * tickNs;
        if (cpu < 0) {
            allIdleNs = idleNs;
        } else if (std::binary_search(cpus.begin(), cpus.end(), cpu)) {
            ++times.count;
            times.idleNs += idleNs;
            times.stealNs.push_back(int64_t(t[7]) * tickNs);
            times.ids.push_back(cpu);
        } else {
            everyCpu = false;
        }
    }
    // The sum over all CPUs is cut down once rather than each CPU's.
    times.idleCutNs = times.count * tickNs;
    if (everyCpu && times.count > 0 && allIdleNs) {
        times.idleNs = *allIdleNs;
        times.idleCutNs = tickNs;
    }
    return times;
}

namespace {

// The time on a CPU our processes had between two readings. One that the earlier reading lacks started
// meanwhile or was found since: all its time counts, so that no time of ours counts as others'.
int64_t oursNs(const ScreenStampWatch::RunQueueReading &before,
               const ScreenStampWatch::RunQueueReading &after)
{
    int64_t ours = 0;
    for (const auto &[pid, cpuNs] : after.processCpuNs) {
        const auto then = std::find_if(before.processCpuNs.begin(), before.processCpuNs.end(),
                                       [pid = pid](const auto &p) { return p.first == pid; });
        ours += then != before.processCpuNs.end() ? std::max<int64_t>(0, cpuNs - then->second) : cpuNs;
    }
    return ours;
}

// The time others had on the player's CPUs between two readings, the host's steal included: the time they
// were not idle less ours. None where the CPUs were not read alike.
std::optional<int64_t> othersNs(const ScreenStampWatch::RunQueueReading &before,
                                const ScreenStampWatch::RunQueueReading &after)
{
    const ScreenStampWatch::CpuTimes &then = before.cpus, &now = after.cpus;
    if (now.count == 0 || now.count != then.count || now.atNs <= then.atNs)
        return std::nullopt;
    return now.count * (now.atNs - then.atNs) - (now.idleNs - then.idleNs) - oursNs(before, after);
}

} // namespace

std::optional<int64_t> ScreenStampWatch::withheldNsBetween(std::span<const RunQueueReading> readings,
                                                           int64_t tickNs)
{
    const auto parts = withheldPartsBetween(readings, tickNs);
    return parts ? std::optional(parts->withheldNs) : std::nullopt;
}

std::optional<ScreenStampWatch::WithheldParts>
ScreenStampWatch::withheldPartsBetween(std::span<const RunQueueReading> readings, int64_t tickNs)
{
    if (readings.empty())
        return std::nullopt;
    const RunQueueReading &before = readings.front(), &after = readings.back();
    const std::optional<int64_t> others = othersNs(before, after);
    if (before.waits.empty() || !others)
        return std::nullopt;
    // A picture passes through several threads in turn (decoder, renderer, painter, X server): what each
    // of them lost adds up.
    WithheldParts parts;
    forEachThread(before, after, [&](const ThreadWait &then, const ThreadWait &now) {
        const int64_t waited = now.waitNs - then.waitNs, runs = now.runs - then.runs;
        parts.waitsNs += waited;
        parts.wakeUps += runs;
        parts.beyondAllowanceNs += std::max<int64_t>(0, waited - runs * WAKE_UP_ALLOWANCE_NS);
    });
    // Of those waits, other programs took no more than they certainly ran on the player's CPUs, the host no
    // more than it took while a thread waited (hostInWaitsNs). The idle counters may read up to a tick short
    // at either reading, which would count that time as others'.
    int64_t ran = *others - std::max(before.cpus.idleCutNs, after.cpus.idleCutNs);
    for (size_t cpu = 0; cpu < after.cpus.stealNs.size() && cpu < before.cpus.stealNs.size(); ++cpu)
        ran -= after.cpus.stealNs[cpu] - before.cpus.stealNs[cpu];
    parts.othersRanNs = std::max<int64_t>(0, ran);
    parts.hostInWaitsNs = hostInWaitsNs(readings, tickNs);
    parts.stolenFromThreadsNs = stolenFromThreadsNs(readings, tickNs);
    // The host may hold one thread while others wait at the same time: certainly withheld is the larger.
    parts.withheldNs = std::max(std::min(parts.beyondAllowanceNs, parts.othersRanNs + parts.hostInWaitsNs),
                                parts.stolenFromThreadsNs);
    return parts;
}

int64_t ScreenStampWatch::hostInWaitsNs(std::span<const RunQueueReading> readings, int64_t tickNs)
{
    // A thread queued on a CPU the host holds waits the while; so does one woken onto a CPU that idles
    // until the host wakes it, which counts as idle as well as stolen. But a wait behind a thread of the
    // player's own is the player's, even where the host stretched it (a main thread's long stretch of work
    // would otherwise be excused by the steal of the CPU it ran on): of a CPU's steal between each two
    // readings, only the share the player's threads did not run counts, and no more than the waits queued
    // on that CPU.
    std::map<int, int64_t> covered;
    forEachSpanOnTheSameCpus(readings, [&](const RunQueueReading &then, const RunQueueReading &now,
                                           int64_t spanNs) {
        std::vector<int64_t> waitsOn(now.cpus.ids.size()), ranOn(now.cpus.ids.size());
        forEachThreadOnItsCpu(then, now, [&](const ThreadWait &before, const ThreadWait &after, size_t cpu) {
            waitsOn[cpu] += std::max<int64_t>(0, after.waitNs - before.waitNs);
            ranOn[cpu] += std::max<int64_t>(0, after.cpuNs - before.cpuNs);
        });
        for (size_t cpu = 0; cpu < waitsOn.size(); ++cpu) {
            const int64_t stolen = std::max<int64_t>(0, now.cpus.stealNs[cpu] - then.cpus.stealNs[cpu]);
            // What the host left of the CPU, the player's threads ran that share of.
            const double ours =
                stolen < spanNs ? std::clamp(double(ranOn[cpu]) / double(spanNs - stolen), 0.0, 1.0) : 0.0;
            covered[now.cpus.ids[cpu]] +=
                std::min<int64_t>(waitsOn[cpu], std::llround(double(stolen) * (1.0 - ours)));
        }
    });
    // Each CPU's counter may read a tick more than was taken.
    int64_t host = 0;
    for (const auto &[cpu, ns] : covered)
        host += std::max<int64_t>(0, ns - tickNs);
    return host;
}

int64_t ScreenStampWatch::stolenFromThreadsNs(std::span<const RunQueueReading> readings, int64_t tickNs)
{
    if (readings.size() < 2)
        return 0;
    // On a virtual machine the host may run something else on a CPU while one of the player's threads is on
    // it: the thread neither runs nor waits then, so only the CPU's steal time shows it, in the share of the
    // time the thread ran there. A thread that slept on that CPU meanwhile lost nothing; one that waited
    // lost it as a wait (hostInWaitsNs).
    struct Loss
    {
        double stolenNs = 0.0;
        double mostBusy = 0.0;
    };
    std::map<int, Loss> losses;
    forEachSpanOnTheSameCpus(readings, [&](const RunQueueReading &then, const RunQueueReading &now,
                                           int64_t spanNs) {
        forEachThreadOnItsCpu(then, now, [&](const ThreadWait &before, const ThreadWait &after, size_t cpu) {
            const int64_t stolen = now.cpus.stealNs[cpu] - then.cpus.stealNs[cpu];
            const double busy = std::clamp(double(after.cpuNs - before.cpuNs) / double(spanNs), 0.0, 1.0);
            if (stolen <= 0 || busy <= 0.0)
                return;
            Loss &loss = losses[after.tid];
            loss.stolenNs += busy * double(stolen);
            loss.mostBusy = std::max(loss.mostBusy, busy);
        });
    });
    // The counters may read a tick more than was taken: only the rest certainly hit the thread.
    double most = 0.0;
    for (const auto &[tid, loss] : losses)
        most = std::max(most, loss.stolenNs - loss.mostBusy * double(tickNs));
    return std::min<int64_t>(
        std::llround(std::max(0.0, most)),
        mostStolenNs(readings.front().cpus.stealNs, readings.back().cpus.stealNs, tickNs));
}

std::optional<double> ScreenStampWatch::othersShareBetween(const RunQueueReading &before,
                                                           const RunQueueReading &after)
{
    const std::optional<int64_t> others = othersNs(before, after);
    if (!others)
        return std::nullopt;
    // Idle time comes in clock ticks, ours in ns: over a short span ours can exceed what it leaves.
    return std::max(0.0, double(*others) / double(after.cpus.count * (after.cpus.atNs - before.cpus.atNs)));
}

std::optional<double> ScreenStampWatch::othersShare(int64_t fromNs, int64_t toNs) const
{
    const auto around = readingsAround(fromNs, toNs);
    return around ? othersShareBetween(*around->first, *around->second) : std::nullopt;
}

int64_t ScreenStampWatch::mostStolenNs(const std::vector<int64_t> &then, const std::vector<int64_t> &now,
                                       int64_t tickNs)
{
    if (then.size() != now.size())
        return 0;
    int64_t stolen = 0;
    for (size_t cpu = 0; cpu < now.size(); ++cpu) {
        const int64_t read = now[cpu] - then[cpu];
        stolen = std::max(stolen, read - tickNs);
    }
    return stolen;
}

std::string ScreenStampWatch::busiestThreads(int64_t fromNs, int64_t toNs, size_t count) const
{
    const auto around = readingsAround(fromNs, toNs);
    if (!around)
        return {};
    struct Use
    {
        int tid;
        int64_t cpuNs, waitNs;
    };
    std::vector<Use> uses;
    forEachThread(*around->first, *around->second, [&](const ThreadWait &then, const ThreadWait &now) {
        if (now.cpuNs > then.cpuNs || now.waitNs > then.waitNs)
            uses.push_back({now.tid, now.cpuNs - then.cpuNs, now.waitNs - then.waitNs});
    });
    std::sort(uses.begin(), uses.end(),
              [](const Use &a, const Use &b) { return a.cpuNs + a.waitNs > b.cpuNs + b.waitNs; });
    std::string text;
    char part[96];
    for (size_t i = 0; i < std::min(count, uses.size()); ++i) {
        const auto name = _threadNames.find(uses[i].tid);
        std::snprintf(part, sizeof part, "%s%s ran %.0f waited %.0f", i ? ", " : "",
                      name != _threadNames.end() ? name->second.c_str() : "?", double(uses[i].cpuNs) / 1e6,
                      double(uses[i].waitNs) / 1e6);
        text += part;
    }
    std::snprintf(part, sizeof part, " (ms, over %.0f ms)",
                  double(around->second->atNs - around->first->atNs) / 1e6);
    return text + part;
}

std::string ScreenStampWatch::weighed(int64_t fromNs, int64_t toNs) const
{
    const auto around = readingsAround(fromNs, toNs);
    const auto parts = around
                           ? withheldPartsBetween(std::span(around->first, around->second + 1), clockTickNs())
                           : std::nullopt;
    if (!parts)
        return "not known";
    char text[256];
    std::snprintf(
        text, sizeof text,
        "waits %.0f ms in %lld wake-ups, %.0f beyond the allowance; others ran %.0f, the host took %.0f "
        "in waits and %.0f from a thread (ms, over %.0f ms)",
        double(parts->waitsNs) / 1e6, static_cast<long long>(parts->wakeUps),
        double(parts->beyondAllowanceNs) / 1e6, double(parts->othersRanNs) / 1e6,
        double(parts->hostInWaitsNs) / 1e6, double(parts->stolenFromThreadsNs) / 1e6,
        double(around->second->atNs - around->first->atNs) / 1e6);
    return text;
}

std::optional<double> ScreenStampWatch::withheldMs(int64_t fromNs, int64_t toNs) const
{
    const auto around = readingsAround(fromNs, toNs);
    const std::optional<int64_t> taken =
        around ? withheldNsBetween(std::span(around->first, around->second + 1), clockTickNs())
               : std::nullopt;
    if (!taken)
        return std::nullopt;
    int64_t withheld = *taken;
    // The watch's own waits: the screen went unwatched. Only where it showed another picture after them may
    // that picture have come unseen before; where it showed the same, nothing was missed.
    for (const auto &[from, to] : _blindBeforeChange) {
        if (from < toNs && to > fromNs)
            withheld = std::max(withheld, to - from);
    }
    return double(withheld) / 1e6;
}

// The stamp in the row at y, width pixels from the picture's left; -1 when it cannot be read.
int ScreenStampWatch::readStamp(int width, int y, double scaleX, std::vector<uint8_t> &grey)
{
    const auto cookie = xcb_get_image(_connection->xcb, XCB_IMAGE_FORMAT_Z_PIXMAP, _connection->root,
                                      int16_t(_picture.x()), int16_t(y), uint16_t(width), 1, ~0u);
    xcb_get_image_reply_t *reply = xcb_get_image_reply(_connection->xcb, cookie, nullptr);
    if (!reply)
        return -1;
    int frame = -1;
    // A 24-bit screen keeps its pixels in 32 bits, blue first.
    const uint8_t *data = xcb_get_image_data(reply);
    if (xcb_get_image_data_length(reply) >= width * 4) {
        for (int x = 0; x < width; ++x) {
            const uint8_t *p = data + 4 * x;
            grey[size_t(x)] = uint8_t((p[2] * 11 + p[1] * 16 + p[0] * 5) / 32);
        }
        frame = stampInRow(grey, BLOCK * scaleX).value_or(-1);
    }
    free(reply);
    return frame;
}

// The row that tells a black screen from number 0, dark all along: the screen shows no picture there.
bool ScreenStampWatch::isBlackBelowStamp(double scaleX, double scaleY)
{
    const int width = std::min(_picture.width(), int(std::ceil(BLACK_ROW_WIDTH * scaleX)));
    const int y = _picture.y() + int(BLACK_ROW_Y * scaleY);
    const auto cookie = xcb_get_image(_connection->xcb, XCB_IMAGE_FORMAT_Z_PIXMAP, _connection->root,
                                      int16_t(_picture.x()), int16_t(y), uint16_t(width), 1, ~0u);
    xcb_get_image_reply_t *reply = xcb_get_image_reply(_connection->xcb, cookie, nullptr);
    if (!reply)
        return false;
    bool black = xcb_get_image_data_length(reply) >= width * 4;
    const uint8_t *data = xcb_get_image_data(reply);
    for (int x = 0; black && x < width; ++x)
        black = isDarkPixel(data[4 * x + 2], data[4 * x + 1], data[4 * x]);
    free(reply);
    return black;
}

// The watch's own thread: one row through the middle of the stamp's blocks, read as often as asked.
void ScreenStampWatch::run()
{
    _runQueueTimes->leaveOut(int(::gettid()));
    const double scaleX = double(_picture.width()) / _movieSize.width();
    const double scaleY = double(_picture.height()) / _movieSize.height();
    const int width = std::min(_picture.width(), int(std::ceil(BLOCK * BITS * scaleX)));
    const int y = _picture.y() + int(BLOCK / 2 * scaleY);
    std::vector<uint8_t> grey(static_cast<size_t>(width));
    int last = std::numeric_limits<int>::min();
    int64_t lastAt = 0, blindFrom = 0;
    auto next = std::chrono::steady_clock::now();
    while (!_stopping) {
        int frame = readStamp(width, y, scaleX, grey);
        const int64_t at = steadyNs();
        const bool blind = lastAt > 0 && at - lastAt > BLIND_NS;
        if (blind)
            _blind.push_back({lastAt, at});
        // The screen is read before the clock: a picture first seen just after a stretch unwatched may have
        // come within it.
        const int64_t unwatchedFrom = blind ? lastAt : blindFrom;
        blindFrom = blind ? lastAt : 0;
        // A stamp of 0 is black but for the picture below it; read after it, so the stamp is read again: a
        // picture that replaced black in between would otherwise be taken for number 0.
        if (frame == 0)
            frame = isBlackBelowStamp(scaleX, scaleY) ? BLACK : readStamp(width, y, scaleX, grey);
        ++_readings;
        if (frame != last) {
            _samples.push_back({at, frame});
            if (unwatchedFrom > 0)
                _blindBeforeChange.push_back({unwatchedFrom, at});
            last = frame;
        }
        lastAt = at;
        if (_readings % 10 == 0)
            _runQueue.push_back(_runQueueTimes->read(at));
        next += std::chrono::microseconds(_intervalUs);
        const auto now = std::chrono::steady_clock::now();
        if (next > now)
            std::this_thread::sleep_until(next);
        else
            next = now;
    }
}

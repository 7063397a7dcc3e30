// Watches a strip of an X screen for samplecard's frame stamp, from a thread of its own with a connection
// of its own, so that the program under test keeps its main thread: every change of the number shown is
// kept with the moment it was seen (steady clock, as std::chrono::steady_clock reads it).
#pragma once

#include <QRect>
#include <QString>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

class ScreenStampWatch
{
public:
    struct Sample
    {
        int64_t atNs = 0;
        // The number in the picture; -1 where the stamp could not be read, BLACK where no picture shows.
        int frame = -1;
    };
    // A black picture reads as number 0 in the stamp's strip; the movie's own picture below it is never
    // black.
    static constexpr int BLACK = -2;

    // picture: where the movie's picture is on the screen, in screen pixels; movieSize: the movie's own
    // size, which scales the stamp's blocks.
    ScreenStampWatch(QRect picture, QSize movieSize);
    ~ScreenStampWatch();
    ScreenStampWatch(const ScreenStampWatch &) = delete;
    ScreenStampWatch &operator=(const ScreenStampWatch &) = delete;

    // Starts reading the screen about every intervalUs; false with error() when the display cannot be read.
    // The machine's times are read for this process, the X server and the player given, if another; what
    // they and the map's web pages run is the player's own: the X server draws its pictures, and the
    // watch, the test's own, reads alike on an idle machine and a busy one.
    bool start(int intervalUs = 1000, int playerPid = 0);
    // Stops and returns what was seen: the first reading and then each change.
    std::vector<Sample> stop();
    const QString &error() const { return _error; }
    // Readings made so far.
    int64_t readings() const { return _readings.load(); }
    // The stretches (from, to in ns) between two readings more than 8 ms apart, once stopped: what the
    // screen showed then was not seen.
    const std::vector<std::pair<int64_t, int64_t>> &blindSpans() const { return _blind; }
    // What the machine withheld from the player between two moments, once stopped, in ms
    // (withheldNsBetween), or the watch's own longest unwatched stretch then after which the screen showed
    // another picture, if longer: that picture may have come unseen meanwhile. None where the kernel keeps
    // no such times.
    std::optional<double> withheldMs(int64_t fromNs, int64_t toNs) const;
    // The share of the player's CPUs' time (0 to 1) that other programs took between two moments, once
    // stopped (othersShareBetween).
    std::optional<double> othersShare(int64_t fromNs, int64_t toNs) const;
    // The threads of the player and the X server that ran or waited longest between two moments, once
    // stopped, with their names: what was busy when a picture stayed too long, for the logs.
    std::string busiestThreads(int64_t fromNs, int64_t toNs, size_t count = 5) const;
    // What the machine's share was weighed from between two moments, once stopped (withheldPartsBetween),
    // for the logs: why a fault was or was not put down to the machine.
    std::string weighed(int64_t fromNs, int64_t toNs) const;
    // The most time the host of a virtual machine certainly ran something else on any one CPU between two
    // readings of each CPU's steal time (ns). /proc/stat counts it in whole clock ticks, each reading cut
    // down to one: k ticks read between them are more than k - 1 taken. A judge that excuses the player
    // counts no more than that.
    static int64_t mostStolenNs(const std::vector<int64_t> &then, const std::vector<int64_t> &now,
                                int64_t tickNs);

    // The CPUs the player's threads may run on: those of the player's, this process's and the X server's
    // affinity together. Other programs count only by what they ran there.
    const std::vector<int> &cpus() const { return _cpus; }

    // What /proc/stat tells of the CPUs numbered in cpus at one moment: how many of them there are, their
    // time idle or waiting for I/O together, and each one's steal time (what a virtual machine's host ran
    // instead of it), in ns.
    struct CpuTimes
    {
        int64_t atNs = 0; // when read, on the steady clock
        int count = 0;
        int64_t idleNs = 0;
        // How far idleNs may read short: each line of /proc/stat is cut down to a tick.
        int64_t idleCutNs = 0;
        // Each CPU's steal, and its number.
        std::vector<int64_t> stealNs;
        std::vector<int> ids;
    };
    static CpuTimes cpuTimes(std::string_view procStat, const std::vector<int> &cpus, int64_t tickNs);
    // A thread's time spent waiting for a CPU so far, the times it ran and its time on a CPU.
    struct ThreadWait
    {
        int tid = 0;
        int64_t waitNs = 0;
        int64_t runs = 0;
        int64_t cpuNs = 0;
        int cpu = -1; // the CPU it last ran on; -1 when not known
    };
    // What the watch reads about every 10 ms.
    struct RunQueueReading
    {
        int64_t atNs = 0;
        // The player's and the X server's threads, by thread id: what a picture waits for.
        std::vector<ThreadWait> waits;
        // Time on a CPU of each process of ours, by process id: the player's, this one (the watch's
        // thread with it), the X server and the processes of the map's web pages.
        std::vector<std::pair<int, int64_t>> processCpuNs;
        CpuTimes cpus;
    };
    // What other programs and the host took from the player over readings in a row (ns), the first before
    // the span and the last after it: its threads' waits for a CPU beyond the short wait each wake-up
    // brings, together, but no more than other programs certainly ran on its CPUs meanwhile and the host
    // took while they waited (hostInWaitsNs), as the waits for a thread of its own are its own; or what the
    // host certainly took from the one thread of the player's it took most from while it ran
    // (stolenFromThreadsNs), if more, as that may have been meanwhile. None without the threads' or the CPUs'
    // times.
    static std::optional<int64_t> withheldNsBetween(std::span<const RunQueueReading> readings,
                                                    int64_t tickNs);
    // The parts withheldNsBetween weighs, in ns.
    struct WithheldParts
    {
        int64_t waitsNs = 0, wakeUps = 0;
        int64_t beyondAllowanceNs = 0; // of the waits, beyond the short one each wake-up brings
        int64_t othersRanNs = 0;       // what other programs certainly ran on the player's CPUs, if above 0
        int64_t hostInWaitsNs = 0, stolenFromThreadsNs = 0;
        int64_t withheldNs = 0;
    };
    static std::optional<WithheldParts> withheldPartsBetween(std::span<const RunQueueReading> readings,
                                                             int64_t tickNs);
    // What the host certainly took from the thread of the player's it took most from while it ran, over
    // readings in a row (ns): the steal of the CPU it was on between each two readings, in the share of that
    // time it ran (a thread asleep loses nothing to the host), less the tick the counters may read over; no
    // more than the CPU it took most from lost (mostStolenNs).
    static int64_t stolenFromThreadsNs(std::span<const RunQueueReading> readings, int64_t tickNs);
    // What the host certainly took from the player's threads while they waited for a CPU, over readings in
    // a row (ns): on each CPU, between each two readings, the share of its steal the player's threads did
    // not run (a wait behind one of its own is its own), up to the waits queued on it; less the tick its
    // counter may read over.
    static int64_t hostInWaitsNs(std::span<const RunQueueReading> readings, int64_t tickNs);
    // The share of the player's CPUs' time that others used between two readings: all but their idle time
    // and ours, the host's steal included.
    static std::optional<double> othersShareBetween(const RunQueueReading &before,
                                                    const RunQueueReading &after);

    // Number 0 is all dark, as a black screen is: a row of the movie's own picture under the stamp's strip,
    // across its first four blocks, tells them apart, as it is never dark all along.
    static constexpr int BLACK_ROW_Y = 48, BLACK_ROW_WIDTH = 128;
    static bool isDarkPixel(int red, int green, int blue) { return std::max({red, green, blue}) < 24; }

    // The stamp in one row of grey levels read across its blocks (0-255 each); none when a block is
    // neither dark nor light.
    static std::optional<int> stampInRow(const std::vector<uint8_t> &grey, double blockWidth);

private:
    void run();
    int readStamp(int width, int y, double scaleX, std::vector<uint8_t> &grey);
    bool isBlackBelowStamp(double scaleX, double scaleY);

    QRect _picture;
    QSize _movieSize;
    QString _error;
    std::thread _thread;
    std::atomic<bool> _stopping{false};
    std::atomic<int64_t> _readings{0};
    int _intervalUs = 1000;
    std::vector<Sample> _samples;
    std::vector<std::pair<int64_t, int64_t>> _blind;
    // Those after which the screen showed another picture.
    std::vector<std::pair<int64_t, int64_t>> _blindBeforeChange;
    std::map<int, std::string> _threadNames;
    std::vector<int> _cpus;
    std::vector<RunQueueReading> _runQueue;
    std::optional<std::pair<const RunQueueReading *, const RunQueueReading *>>
    readingsAround(int64_t fromNs, int64_t toNs) const;
    // Each thread in both readings, with its times in each.
    static void forEachThread(const RunQueueReading &before, const RunQueueReading &after,
                              const std::function<void(const ThreadWait &then, const ThreadWait &now)> &each);
    // The same, with the index of the CPU each thread was last on among those read; threads on others are
    // left out.
    static void forEachThreadOnItsCpu(
        const RunQueueReading &before, const RunQueueReading &after,
        const std::function<void(const ThreadWait &then, const ThreadWait &now, size_t cpu)> &each);
    // Each two readings in a row that read the same CPUs, with the time between them.
    static void forEachSpanOnTheSameCpus(
        std::span<const RunQueueReading> readings,
        const std::function<void(const RunQueueReading &then, const RunQueueReading &now, int64_t spanNs)>
            &each);
    class RunQueueTimes;
    std::unique_ptr<RunQueueTimes> _runQueueTimes;
    struct Connection;
    std::unique_ptr<Connection> _connection;
};

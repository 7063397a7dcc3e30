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
    // The machine's times are read for this process, the X server and the player given, if another.
    bool start(int intervalUs = 1000, int playerPid = 0);
    // Stops and returns what was seen: the first reading and then each change.
    std::vector<Sample> stop();
    const QString &error() const { return _error; }
    // Readings made so far.
    int64_t readings() const { return _readings.load(); }
    // The stretches (from, to in ns) between two readings more than 8 ms apart, once stopped: what the
    // screen showed then was not seen.
    const std::vector<std::pair<int64_t, int64_t>> &blindSpans() const { return _blind; }
    // What the machine withheld between two moments, once stopped, in ms: the time the threads of this
    // process (the player) and of the X server spent waiting for a CPU then beyond the short wait each
    // wake-up brings, together, by the kernel's run-queue times read about every 10 ms, and the most steal
    // time any one CPU may have had then (mostStolenNs: a virtual machine's host ran something else on
    // it); or the watch's own longest unwatched stretch then, if longer. None where the kernel keeps no
    // such times.
    std::optional<double> withheldMs(int64_t fromNs, int64_t toNs) const;
    // The share of all the machine's CPU time (0 to 1) that other processes than this one and the X server
    // used between two moments, once stopped, by /proc/stat read with the run-queue times.
    std::optional<double> othersShare(int64_t fromNs, int64_t toNs) const;
    // The threads of the player and the X server that ran or waited longest between two moments, once
    // stopped, with their names: what was busy when a picture stayed too long, for the logs.
    std::string busiestThreads(int64_t fromNs, int64_t toNs, size_t count = 5) const;
    // The most time the host of a virtual machine may have run something else on any one CPU between two
    // readings of each CPU's steal time (ns). /proc/stat counts it in whole clock ticks, each reading cut
    // down to one: k ticks read between them are up to k + 1 taken, where any were taken at all.
    static int64_t mostStolenNs(const std::vector<int64_t> &then, const std::vector<int64_t> &now,
                                int64_t tickNs);

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
    std::map<int, std::string> _threadNames;
    // A thread's time spent waiting for a CPU so far and the times it ran.
    struct ThreadWait
    {
        int tid = 0;
        int64_t waitNs = 0;
        int64_t runs = 0;
        int64_t cpuNs = 0;
    };
    // Every thread's, by thread id, read at atNs.
    struct RunQueueReading
    {
        int64_t atNs = 0;
        std::vector<ThreadWait> waits;
        // The machine's CPUs: time busy and time in all, summed over them (/proc/stat).
        int64_t machineBusyNs = 0, machineNs = 0;
        // Each CPU's steal time: what the host of a virtual machine ran instead of it.
        std::vector<int64_t> stealNs;
    };
    std::vector<RunQueueReading> _runQueue;
    std::optional<std::pair<const RunQueueReading *, const RunQueueReading *>>
    readingsAround(int64_t fromNs, int64_t toNs) const;
    // Each thread in both readings, with its times in each.
    static void forEachThread(const RunQueueReading &before, const RunQueueReading &after,
                              const std::function<void(const ThreadWait &then, const ThreadWait &now)> &each);
    class RunQueueTimes;
    std::unique_ptr<RunQueueTimes> _runQueueTimes;
    struct Connection;
    std::unique_ptr<Connection> _connection;
};

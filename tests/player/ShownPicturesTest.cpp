#include "support/ShownPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string>

namespace {

constexpr int64_t T0 = 1'000'000'000, MS = 1'000'000;
constexpr double INTERVAL_MS = 10.0;

// Pictures first..last of a movie, each on time from T0 but for those late by lateMs.
std::vector<ScreenStampWatch::Sample> onTime(int first, int last, std::initializer_list<int> late = {},
                                             int64_t lateMs = 0)
{
    std::vector<ScreenStampWatch::Sample> samples;
    for (int frame = first; frame <= last; ++frame)
        samples.push_back(
            {T0 + frame * 10 * MS + (std::count(late.begin(), late.end(), frame) ? lateMs * MS : 0), frame});
    return samples;
}

} // namespace

TEST(ShownPicturesTest, PictureDueByTheRhythmOfThoseShown)
{
    auto unreadable = onTime(3, 9);
    unreadable.push_back({T0 + 500 * MS, -1});
    const struct
    {
        const char *name;
        std::vector<ScreenStampWatch::Sample> pictures;
        int picture;
        std::optional<int64_t> due;
    } cases[] = {
        {"steady", onTime(0, 9), 10, T0 + 100 * MS},
        {"the last picture drawn late", onTime(0, 9, {9}, 60), 10, T0 + 100 * MS},
        {"a few drawn late", onTime(0, 9, {1, 4, 6}, 25), 10, T0 + 100 * MS},
        {"the first skipped, a reading unreadable", unreadable, 10, T0 + 100 * MS},
        {"two pictures: halfway between their rhythms", {{T0, 0}, {T0 + 14 * MS, 1}}, 2, T0 + 22 * MS},
        {"nothing readable", {{T0, -1}}, 10, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ShownPictures::dueNs(c.pictures, c.picture, INTERVAL_MS), c.due) << c.name;
}

TEST(ShownPicturesTest, BorderGapFromTheOldChaptersRhythm)
{
    const struct
    {
        const char *name;
        int oldLast;     // the old chapter's last picture shown
        int64_t lateMs;  // how late that one was drawn
        int64_t newAtMs; // the new chapter's first arrival after T0
        int oldUnshown;
        double gapMs;
    } cases[] = {
        {"the new picture late", 9, 30, 140, 0, 40.0},
        {"the new picture before the old ones' end", 7, 5, 80, 2, -20.0},
    };
    for (const auto &c : cases) {
        auto samples = onTime(0, c.oldLast, {c.oldLast}, c.lateMs);
        samples.push_back({T0 + c.newAtMs * MS, 0});
        samples.push_back({T0 + (c.newAtMs + 10) * MS, 1});
        const ShownPictures shown = ShownPictures::analyse(samples, 10, INTERVAL_MS);
        ASSERT_EQ(shown.borders.size(), 1u) << c.name;
        EXPECT_EQ(shown.borders[0].oldUnshown, c.oldUnshown) << c.name;
        ASSERT_TRUE(shown.borders[0].gapMs) << c.name;
        EXPECT_DOUBLE_EQ(*shown.borders[0].gapMs, c.gapMs) << c.name;
    }
}

TEST(ShownPicturesTest, AFaultCountsUnlessTheMachineWithheldItsOverrunOrOthersTookIt)
{
    // Picture 4 stays 60 ms (three intervals are 30): over by 30 ms. Then a border that cuts the old
    // chapter's last three pictures: over by two intervals, 20 ms.
    auto samples = onTime(0, 4);
    for (int frame = 5; frame <= 6; ++frame)
        samples.push_back({T0 + (frame * 10 + 50) * MS, frame});
    samples.push_back({T0 + 120 * MS, 0});
    samples.push_back({T0 + 130 * MS, 1});
    ShownPictures shown = ShownPictures::analyse(samples, 10, INTERVAL_MS);
    ASSERT_EQ(shown.freezes.size(), 1u);
    ASSERT_EQ(shown.borders.size(), 1u);
    EXPECT_EQ(shown.borders[0].oldUnshown, 3);
    using Machine = ShownPictures::Machine;
    const struct
    {
        const char *name;
        Machine atFreeze, beforeBorder;
        size_t unexplained;
    } cases[] = {
        {"an idle machine", {0.0, 0.02, {}}, {0.0, 0.02, {}}, 2},
        {"withheld less than the overrun", {29.0, 0.1, {}}, {19.0, 0.1, {}}, 2},
        {"withheld as much as the overrun", {30.0, 0.1, {}}, {20.0, 0.1, {}}, 0},
        {"only the freeze's", {45.0, 0.0, {}}, {5.0, 0.0, {}}, 1},
        {"others took half the machine", {0.0, 0.5, {}}, {0.0, 0.49, {}}, 1},
        {"nothing known counts as nothing withheld", {}, {}, 2},
    };
    for (const auto &c : cases) {
        // The freeze's own stretch, or the second before the border.
        shown.weigh(INTERVAL_MS, [&](int64_t from, int64_t to) {
            return to - from == 60 * MS ? c.atFreeze : c.beforeBorder;
        });
        EXPECT_EQ(shown.unexplained.size(), c.unexplained) << c.name;
        EXPECT_EQ(shown.unexplained.size() + shown.explained.size(), 2u) << c.name;
    }
}

TEST(ScreenStampWatchTest, AHostCertainlyTookATickLessThanReadFromACpu)
{
    // /proc/stat gives steal time in whole ticks, each reading cut down: one tick read between two readings
    // may be anything from nearly none to nearly two taken.
    constexpr int64_t TICK = 10 * MS;
    const struct
    {
        const char *name;
        std::vector<int64_t> then, now;
        int64_t mostStolen;
    } cases[] = {
        {"nothing taken", {5 * TICK, 7 * TICK}, {5 * TICK, 7 * TICK}, 0},
        {"one tick on one CPU", {5 * TICK, 7 * TICK}, {5 * TICK, 8 * TICK}, 0},
        {"two ticks on one CPU", {5 * TICK, 7 * TICK}, {5 * TICK, 9 * TICK}, TICK},
        {"the CPU that lost most", {5 * TICK, 7 * TICK}, {8 * TICK, 8 * TICK}, 2 * TICK},
        {"readings of other CPUs", {5 * TICK}, {5 * TICK, 9 * TICK}, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ScreenStampWatch::mostStolenNs(c.then, c.now, TICK), c.mostStolen) << c.name;
}

TEST(ScreenStampWatchTest, TheMachineWithholdsWhatOthersRanOnThePlayersCpusAndWhatTheHostTook)
{
    // Two readings 100 ms apart on a machine of four CPUs, each read in ticks of 10 ms: every CPU's time
    // that is neither idle nor stolen is busy (a CPU the host is slow to wake is both). The player's one
    // thread waited waitMs for a CPU meanwhile.
    constexpr int64_t TICK = 10 * MS, SPAN_TICKS = 10;
    using Ticks = std::array<int64_t, 4>;
    const auto procStat = [&](const Ticks &idle, const Ticks &steal, int64_t sumIdleExtra) {
        std::string text;
        char line[128];
        int64_t busy = 0, idleAll = sumIdleExtra, stealAll = 0;
        for (size_t cpu = 0; cpu < idle.size(); ++cpu) {
            busy += std::max<int64_t>(0, SPAN_TICKS - idle[cpu] - steal[cpu]);
            idleAll += idle[cpu];
            stealAll += steal[cpu];
        }
        std::snprintf(line, sizeof line, "cpu  %lld 0 0 %lld 0 0 0 %lld 0 0\n", (long long)busy,
                      (long long)idleAll, (long long)stealAll);
        text += line;
        for (size_t cpu = 0; cpu < idle.size(); ++cpu) {
            std::snprintf(line, sizeof line, "cpu%zu %lld 0 0 %lld 0 0 0 %lld 0 0\n", cpu,
                          (long long)std::max<int64_t>(0, SPAN_TICKS - idle[cpu] - steal[cpu]),
                          (long long)idle[cpu], (long long)steal[cpu]);
            text += line;
        }
        return text;
    };
    const struct
    {
        const char *name;
        std::vector<int> cpus; // those the player may run on
        Ticks idle, stolen;    // each CPU's meanwhile
        int64_t oursMs;        // our processes' time on a CPU meanwhile
        int64_t waitMs, runs;
        int64_t withheldMs;
        double othersShare;
        int64_t startedMs = 0;    // of oursMs, a process of ours that started meanwhile
        int64_t sumIdleExtra = 0; // idle ticks the sum's line keeps that each CPU's line cut off
        int threadCpu = 1;        // where the thread last ran
    } cases[] = {
        {"our threads wait for each other, no other program", {0, 1}, {0, 0, 10, 10}, {}, 200, 60, 0, 0, 0.0},
        {"a neighbour on the CPUs the player cannot use", {0, 1}, {0, 0, 0, 0}, {}, 200, 60, 0, 0, 0.0},
        {"a neighbour on the player's CPUs", {0, 1}, {0, 0, 10, 10}, {}, 120, 60, 0, 60, 0.4},
        {"what the neighbour certainly ran bounds the waits",
         {0, 1},
         {0, 0, 10, 10},
         {},
         170,
         60,
         0,
         10,
         0.15},
        {"the short wait each wake-up brings", {0, 1}, {0, 0, 10, 10}, {}, 120, 60, 200, 10, 0.4},
        {"a process of ours started meanwhile", {0, 1}, {0, 0, 10, 10}, {}, 200, 60, 0, 0, 0.0, 50},
        {"the host took two ticks of the CPU a thread of the player's ran on, one of them certainly",
         {0, 1},
         {0, 0, 10, 10},
         {0, 2, 0, 0},
         180,
         0,
         0,
         10,
         0.1},
        {"the host held the player's thread while a neighbour ran: the same time, counted once",
         {0, 1},
         {0, 0, 10, 10},
         {0, 2, 0, 0},
         150,
         60,
         0,
         10,
         0.25},
        {"the host took two ticks of the CPU a thread of the player's waited on, one of them certainly",
         {0, 1},
         {0, 0, 10, 10},
         {0, 2, 0, 0},
         180,
         60,
         0,
         10,
         0.1,
         180},
        {"the host was slow to wake the idle CPU a thread was woken onto: idle and stolen at once",
         {0, 1},
         {0, 6, 10, 10},
         {0, 6, 0, 0},
         100,
         60,
         0,
         50,
         0.2,
         100},
        {"the host took a tick of a CPU of the player's, which may be none",
         {0, 1},
         {0, 0, 10, 10},
         {0, 1, 0, 0},
         190,
         60,
         0,
         0,
         0.05},
        {"the host took a tick of a CPU the player cannot use",
         {0, 1},
         {0, 0, 10, 9},
         {0, 0, 0, 1},
         200,
         60,
         0,
         0,
         0.0},
        {"the host took a tick of a CPU of the player's that its thread was not on",
         {0, 1},
         {0, 0, 10, 10},
         {0, 1, 0, 0},
         190,
         60,
         0,
         0,
         0.05,
         0,
         0,
         0},
        {"the host took two ticks of the CPU of a thread busy half the time",
         {0, 1},
         {10, 3, 10, 10},
         {0, 2, 0, 0},
         50,
         0,
         0,
         5,
         0.1},
        {"every CPU the player's: the sum's line, cut down once",
         {0, 1, 2, 3},
         {0, 0, 5, 5},
         {},
         200,
         60,
         0,
         60,
         0.225,
         0,
         1},
    };
    for (const auto &c : cases) {
        ScreenStampWatch::RunQueueReading before, after;
        before.atNs = T0;
        after.atNs = T0 + SPAN_TICKS * TICK;
        before.waits = {{7, 500 * MS, 1000, 1000 * MS}};
        after.waits = {
            {7, (500 + c.waitMs) * MS, 1000 + c.runs, (1000 + c.oursMs - c.startedMs) * MS, c.threadCpu}};
        before.processCpuNs = {{1, 1000 * MS}};
        after.processCpuNs = {{1, (1000 + c.oursMs - c.startedMs) * MS}};
        if (c.startedMs > 0)
            after.processCpuNs.emplace_back(2, c.startedMs * MS);
        // Counters far from zero, as a machine's are.
        const Ticks far{1000, 1000, 1000, 1000};
        before.cpus = ScreenStampWatch::cpuTimes(procStat(far, far, 0), c.cpus, TICK);
        Ticks idle = far, stolen = far;
        for (size_t cpu = 0; cpu < far.size(); ++cpu) {
            idle[cpu] += c.idle[cpu];
            stolen[cpu] += c.stolen[cpu];
        }
        after.cpus = ScreenStampWatch::cpuTimes(procStat(idle, stolen, c.sumIdleExtra), c.cpus, TICK);
        before.cpus.atNs = before.atNs;
        after.cpus.atNs = after.atNs;
        EXPECT_EQ(ScreenStampWatch::withheldNsBetween(std::array{before, after}, TICK), c.withheldMs * MS)
            << c.name;
        const auto share = ScreenStampWatch::othersShareBetween(before, after);
        ASSERT_TRUE(share) << c.name;
        EXPECT_NEAR(*share, c.othersShare, 1e-9) << c.name;
    }
}

// A thread that moves between CPUs loses to the host only what it took from the CPU the thread was on then:
// two spans of 50 ms, the host taking two ticks of CPU 1 in each, the thread busy throughout on CPU 0 and
// then on CPU 1.
TEST(ScreenStampWatchTest, TheHostTakesFromAThreadOnlyWhereTheThreadWas)
{
    constexpr int64_t TICK = 10 * MS;
    std::array<ScreenStampWatch::RunQueueReading, 3> readings;
    for (size_t i = 0; i < readings.size(); ++i) {
        ScreenStampWatch::RunQueueReading &r = readings[i];
        r.atNs = r.cpus.atNs = T0 + int64_t(i) * 50 * MS;
        r.cpus.count = 2;
        r.cpus.ids = {0, 1};
        r.cpus.stealNs = {0, int64_t(i) * 2 * TICK};
        r.waits = {{7, 0, int64_t(i), int64_t(i) * 50 * MS, i < 2 ? 0 : 1}};
    }
    EXPECT_EQ(ScreenStampWatch::stolenFromThreadsNs(readings, TICK), TICK)
        << "the second span's two ticks, less the one the counters may read over";
    EXPECT_EQ(ScreenStampWatch::stolenFromThreadsNs(std::span(readings).first(2), TICK), 0)
        << "the first span's: the thread was on the other CPU";
}

// The host holds CPU 1 for stolenTicks of a 100 ms span while one thread of the player's waits there: the
// wait is the host's only in the share of the CPU the player's own thread there did not run, as it would have
// waited behind that one anyway.
TEST(ScreenStampWatchTest, AWaitBehindAThreadOfThePlayersOwnIsItsOwnWhileTheHostHoldsTheCpu)
{
    constexpr int64_t TICK = 10 * MS;
    const struct
    {
        const char *name;
        int64_t stolenTicks, runnerMs, waitMs;
        int64_t hostMs;
    } cases[] = {
        {"behind a thread that ran all the host left", 2, 80, 80, 0},
        {"behind a thread that ran half of it", 4, 30, 60, 10},
        {"on a CPU the player's threads did not run on", 4, 0, 60, 30},
        {"more stolen than waited", 4, 0, 25, 15},
    };
    for (const auto &c : cases) {
        std::array<ScreenStampWatch::RunQueueReading, 2> readings;
        for (size_t i = 0; i < readings.size(); ++i) {
            ScreenStampWatch::RunQueueReading &r = readings[i];
            r.atNs = r.cpus.atNs = T0 + int64_t(i) * 100 * MS;
            r.cpus.count = 2;
            r.cpus.ids = {0, 1};
            r.cpus.stealNs = {0, int64_t(i) * c.stolenTicks * TICK};
            r.waits = {{7, 0, int64_t(i), int64_t(i) * c.runnerMs * MS, 1},
                       {8, int64_t(i) * c.waitMs * MS, int64_t(i), 0, 1}};
        }
        EXPECT_EQ(ScreenStampWatch::hostInWaitsNs(readings, TICK), c.hostMs * MS) << c.name;
    }
}

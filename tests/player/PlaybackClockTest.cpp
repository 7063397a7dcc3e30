#include "player/PlaybackClock.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr int64_t MS = 1000000; // ns

struct Clock
{
    Clock() : clock([this] { return now; }) { clock.setRange(0, 100000); }
    // Ticks after the given time and returns the new position.
    int64_t tickAfter(double ms)
    {
        now += static_cast<int64_t>(ms * MS);
        clock.tick();
        return clock.position();
    }
    int64_t now = 1000 * MS;
    PlaybackClock clock;
};

} // namespace

TEST(PlaybackClockTest, TicksAdvanceByMeasuredTimeTimesRateWithoutLosingFractions)
{
    // Rate, tick lengths (ms) and the position after them.
    const struct
    {
        double rate;
        std::vector<double> ticks;
        int64_t position;
    } cases[] = {
        {1.0, {33.333333, 33.333333, 33.333334}, 100},
        {0.5, {33, 33, 34, 33, 33, 34, 33, 33, 34}, 150}, // 16.5 ms steps add up
        {2.0, {33.333333, 33.333333, 33.333334}, 200},
        {10.0, {100.0}, 1000},  // a late tick makes up for the lost time
        {3.0, {1.0e6}, 100000}, // never past the range
    };
    for (const auto &c : cases) {
        Clock t;
        t.clock.setRate(c.rate);
        t.clock.play();
        int64_t position = 0;
        for (double ms : c.ticks)
            position = t.tickAfter(ms);
        EXPECT_EQ(position, c.position) << c.rate;
    }
}

TEST(PlaybackClockTest, RunsOnlyWhenStartedAndHoldsStillDuringADrag)
{
    Clock t;
    int ticks = 0;
    QObject::connect(&t.clock, &PlaybackClock::ticked, [&] { ++ticks; });
    EXPECT_EQ(t.tickAfter(500), 0);
    EXPECT_EQ(ticks, 0);
    t.clock.play();
    t.clock.play(); // a restart measures from now and keeps one timer
    EXPECT_EQ(t.clock.findChildren<QTimer *>().size(), 1);
    EXPECT_EQ(t.tickAfter(40), 40);
    t.clock.setHeld(true);
    EXPECT_EQ(t.tickAfter(500), 40);
    EXPECT_EQ(ticks, 2); // held ticks still tell
    t.clock.setHeld(false);
    EXPECT_EQ(t.tickAfter(33), 73); // only the interval since the held tick
    // Between ticks the position is carried forward at the rate.
    t.clock.setRate(2.0);
    EXPECT_DOUBLE_EQ(t.clock.positionAt(t.now + 10 * MS), 93.0);
    t.clock.pause();
    EXPECT_DOUBLE_EQ(t.clock.positionAt(t.now + 10 * MS), 73.0);
    EXPECT_FALSE(t.clock.lastTickNs().has_value());
    EXPECT_EQ(t.tickAfter(500), 73);
}

TEST(PlaybackClockTest, SeeksAreClampedAndAnnounced)
{
    Clock t;
    std::vector<int64_t> seeks;
    QObject::connect(&t.clock, &PlaybackClock::seekRequested, [&](int64_t at) { seeks.push_back(at); });
    for (const auto &[asked, got] : {std::pair<int64_t, int64_t>{-5, 0}, {2500, 2500}, {200000, 100000}}) {
        t.clock.requestSeek(asked);
        EXPECT_EQ(t.clock.position(), got);
        EXPECT_EQ(seeks.back(), got);
    }
    // A narrower range pulls the position in.
    t.clock.setRange(0, 50000);
    EXPECT_EQ(t.clock.position(), 50000);
}

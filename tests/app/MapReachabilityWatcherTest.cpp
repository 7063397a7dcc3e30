#include "app/MapReachabilityWatcher.h"

#include <deque>
#include <gtest/gtest.h>

namespace {
// Answers each probe later, from the test, as a name lookup does.
struct FakeProbe
{
    std::deque<std::function<void(bool)>> pending;
    MapReachabilityWatcher::Probe probe()
    {
        return [this](std::function<void(bool)> done) { pending.push_back(std::move(done)); };
    }
    void answer(bool reachable)
    {
        ASSERT_FALSE(pending.empty());
        auto done = std::move(pending.front());
        pending.pop_front();
        done(reachable);
    }
};
} // namespace

TEST(MapReachabilityWatcherTest, UnreachableThenReachableLoadsThePageExactlyOnce)
{
    FakeProbe probe;
    int loads = 0;
    MapReachabilityWatcher watcher(probe.probe(), [&] { return ++loads, true; });
    watcher.start();
    probe.answer(false);
    EXPECT_TRUE(watcher.isReprobing());

    watcher.reachabilityCheckTimer();
    watcher.reachabilityCheckTimer(); // a tick while the lookup is out asks nothing more
    EXPECT_EQ(probe.pending.size(), 1u);
    probe.answer(false);
    EXPECT_EQ(loads, 0);
    EXPECT_TRUE(watcher.isReprobing());

    watcher.reachabilityCheckTimer();
    probe.answer(true);
    EXPECT_EQ(loads, 1);
    EXPECT_FALSE(watcher.isReprobing());
    watcher.reachabilityCheckTimer();
    EXPECT_TRUE(probe.pending.empty());
    EXPECT_EQ(loads, 1);
}

TEST(MapReachabilityWatcherTest, ReachableAtStartNeedsNoReprobeAndAMissingPageKeepsTrying)
{
    FakeProbe probe;
    int loads = 0;
    MapReachabilityWatcher reachable(probe.probe(), [&] { return ++loads, true; });
    reachable.start();
    probe.answer(true);
    EXPECT_FALSE(reachable.isReprobing());
    EXPECT_EQ(loads, 0) << "the page loaded with the window";

    bool pageExists = false;
    MapReachabilityWatcher missing(probe.probe(), [&] { return ++loads, pageExists; });
    missing.start();
    probe.answer(false);
    missing.reachabilityCheckTimer();
    probe.answer(true);
    EXPECT_TRUE(missing.isReprobing());
    pageExists = true;
    missing.reachabilityCheckTimer();
    probe.answer(true);
    EXPECT_FALSE(missing.isReprobing());
    EXPECT_EQ(missing.pageLoads(), 1);
}

#include "card/WorkerGroup.h"
#include "support/EventLoop.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <vector>

using namespace std::chrono_literals;

namespace {
struct Probe
{
    std::atomic<bool> stop = false;
    std::atomic<int> steps = 0;
    std::vector<int> delivered;   // main thread only
    bool allOnMainThread = true;  // main thread only
    int finishedCount = 0;        // main thread only
    size_t deliveredAtFinish = 0; // main thread only

    // A group whose loops stop once `stop` is set, reporting its end to this probe.
    std::unique_ptr<WorkerGroup> group(QObject *context, std::chrono::milliseconds pause)
    {
        return std::make_unique<WorkerGroup>(
            context, [this] { return stop.load(); }, pause, finished());
    }
    // A step that counts its runs and finds nothing.
    std::function<WorkerGroup::HandOff()> idleStep()
    {
        return [this]() -> WorkerGroup::HandOff {
            ++steps;
            return nullptr;
        };
    }
    void onMainThread() { allOnMainThread = allOnMainThread && QThread::currentThread() == qApp->thread(); }
    WorkerGroup::HandOff handOff(int value)
    {
        return [this, value] {
            onMainThread();
            delivered.push_back(value);
        };
    }
    WorkerGroup::HandOff finished()
    {
        return [this] {
            onMainThread();
            ++finishedCount;
            deliveredAtFinish = delivered.size();
        };
    }
    bool waitForEnd()
    {
        return EventLoop::waitUntil([&] { return finishedCount == 1; });
    }
};
} // namespace

// With a pause of a day, the steps with results get through only if they run back to back, and the
// loops end within the wait only if the stop cuts their pause short.
TEST(WorkerGroupTest, HandsResultsToTheMainThreadInOrderPausesWhenIdleAndStopsAtOnce)
{
    Probe probe;
    QObject context;
    std::atomic<int> next = 0;
    {
        const auto group = probe.group(&context, 24h);
        group->start([&]() -> WorkerGroup::HandOff { return next < 20 ? probe.handOff(next++) : nullptr; },
                     WorkerGroup::Priority::Background);
        group->start(probe.idleStep(), WorkerGroup::Priority::Default);
        ASSERT_TRUE(EventLoop::waitUntil([&] { return probe.delivered.size() == 20; }));
        ASSERT_TRUE(EventLoop::waitUntil([&] { return group->allLoopsIdle(); }));
        EventLoop::runFor(100ms);
        EXPECT_EQ(probe.steps.load(), 1); // the empty step is followed by its pause
        EXPECT_EQ(probe.finishedCount, 0);
        EXPECT_EQ(group->runningLoops(), 2);

        probe.stop = true;
        group->wake();
        ASSERT_TRUE(probe.waitForEnd());
        EXPECT_EQ(group->runningLoops(), 0);
        EXPECT_EQ(probe.steps.load(), 1);
    }
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(probe.delivered[size_t(i)], i);
    EXPECT_EQ(probe.deliveredAtFinish, 20u);
    EXPECT_TRUE(probe.allOnMainThread);
    QCoreApplication::processEvents();
    EXPECT_EQ(probe.finishedCount, 1);
}

TEST(WorkerGroupTest, StopDuringAStepLetsItFinishAndDeliver)
{
    Probe probe;
    QObject context;
    std::atomic<bool> inStep = false;
    const auto group = probe.group(&context, 60s);
    group->start(
        [&]() -> WorkerGroup::HandOff {
            inStep = true;
            QThread::msleep(300);
            return probe.handOff(7);
        },
        WorkerGroup::Priority::Background);
    ASSERT_TRUE(EventLoop::waitUntil([&] { return inStep.load(); }));
    probe.stop = true;
    group->wake();
    ASSERT_TRUE(probe.waitForEnd());
    EXPECT_EQ(probe.delivered, std::vector<int>{7});
    EXPECT_EQ(probe.deliveredAtFinish, 1u);
}

TEST(WorkerGroupTest, NothingRunsWhenStoppedBeforeTheFirstStepAndTheEndHandlerMayDeleteTheGroup)
{
    Probe probe;
    QObject context;
    std::unique_ptr<WorkerGroup> group;
    bool ended = false;
    group = std::make_unique<WorkerGroup>(
        &context, [] { return true; }, 60s,
        [&] {
            group.reset();
            ended = true;
        });
    group->start(probe.idleStep(), WorkerGroup::Priority::Default);
    ASSERT_TRUE(EventLoop::waitUntil([&] { return ended; }));
    EXPECT_EQ(group, nullptr);
    EXPECT_EQ(probe.steps.load(), 0);
}

// Covers results for a deleted context in general: those queued behind the deletion are dropped.
TEST(WorkerGroupTest, AHandOffThatDeletesTheContextDropsTheResultsQueuedBehindIt)
{
    Probe probe;
    auto context = std::make_unique<QObject>();
    auto group = probe.group(context.get(), 60s);
    group->start(
        [&]() -> WorkerGroup::HandOff {
            const int value = ++probe.steps;
            if (value == 3)
                probe.stop = true;
            if (value != 1)
                return probe.handOff(value);
            // The owner goes away in the middle of a batch (its group first, then the context).
            return [&] {
                probe.delivered.push_back(1);
                group.reset();
                context.reset();
            };
        },
        WorkerGroup::Priority::Default);
    group->join();
    QCoreApplication::processEvents();
    EXPECT_EQ(probe.delivered, std::vector<int>{1});
    EXPECT_EQ(probe.finishedCount, 0);
}

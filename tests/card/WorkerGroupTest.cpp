#include "card/WorkerGroup.h"
#include "support/EventLoop.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <numeric>
#include <vector>

using namespace std::chrono_literals;

namespace {

struct Probe
{
    std::atomic<bool> stop = false;
    std::vector<int> delivered;   // main thread only
    bool allOnMainThread = true;  // main thread only
    int finishedCount = 0;        // main thread only
    size_t deliveredAtFinish = 0; // main thread only

    WorkerGroup::HandOff handOff(int value)
    {
        return [this, value] {
            allOnMainThread = allOnMainThread && QThread::currentThread() == qApp->thread();
            delivered.push_back(value);
        };
    }
    WorkerGroup::HandOff finished()
    {
        return [this] {
            allOnMainThread = allOnMainThread && QThread::currentThread() == qApp->thread();
            ++finishedCount;
            deliveredAtFinish = delivered.size();
        };
    }
};

} // namespace

TEST(WorkerGroupTest, HandsResultsToTheMainThreadInOrderThenReportsTheEndOnce)
{
    Probe probe;
    QObject context;
    std::atomic<int> next = 0;
    {
        WorkerGroup group(
            &context, [&] { return probe.stop.load(); }, 50ms, probe.finished());
        group.start([&]() -> WorkerGroup::HandOff { return next < 20 ? probe.handOff(next++) : nullptr; },
                    WorkerGroup::Priority::Background);
        group.start([&]() -> WorkerGroup::HandOff { return nullptr; }, WorkerGroup::Priority::Default);
        ASSERT_TRUE(EventLoop::waitUntil([&] { return probe.delivered.size() == 20; }));
        ASSERT_TRUE(EventLoop::waitUntil([&] { return group.allLoopsIdle(); }));
        EXPECT_EQ(probe.finishedCount, 0);
        EXPECT_EQ(group.runningLoops(), 2);

        probe.stop = true;
        group.wake();
        ASSERT_TRUE(EventLoop::waitUntil([&] { return probe.finishedCount == 1; }));
        EXPECT_EQ(group.runningLoops(), 0);
    }
    std::vector<int> expected(20);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(probe.delivered, expected);
    EXPECT_EQ(probe.deliveredAtFinish, 20u);
    EXPECT_TRUE(probe.allOnMainThread);
    QCoreApplication::processEvents();
    EXPECT_EQ(probe.finishedCount, 1);
}

TEST(WorkerGroupTest, PausesOnlyWhenAStepFindsNothing)
{
    Probe probe;
    QObject context;
    std::atomic<int> emptySteps = 0;
    std::atomic<int> busySteps = 0;
    // A pause of a day: the steps with results get through only if they run back to back.
    WorkerGroup group(
        &context, [&] { return probe.stop.load(); }, 24h, nullptr);
    group.start(
        [&]() -> WorkerGroup::HandOff {
            if (busySteps < 100) {
                ++busySteps;
                return [] {};
            }
            ++emptySteps;
            return nullptr;
        },
        WorkerGroup::Priority::Default);
    ASSERT_TRUE(EventLoop::waitUntil([&] { return emptySteps >= 1; }));
    EXPECT_TRUE(group.allLoopsIdle());
    // The empty step is followed by its pause.
    EventLoop::runFor(100ms);
    EXPECT_EQ(emptySteps.load(), 1);
    probe.stop = true;
}

TEST(WorkerGroupTest, StopCutsAPauseShort)
{
    Probe probe;
    QObject context;
    std::atomic<int> steps = 0;
    WorkerGroup group(
        &context, [&] { return probe.stop.load(); }, 24h, probe.finished());
    group.start(
        [&]() -> WorkerGroup::HandOff {
            ++steps;
            return nullptr;
        },
        WorkerGroup::Priority::Background);
    group.start(
        [&]() -> WorkerGroup::HandOff {
            ++steps;
            return nullptr;
        },
        WorkerGroup::Priority::Default);
    ASSERT_TRUE(EventLoop::waitUntil([&] { return steps == 2; }));
    QThread::msleep(20); // both are asleep now, for a minute

    QElapsedTimer timer;
    timer.start();
    probe.stop = true;
    group.wake();
    ASSERT_TRUE(EventLoop::waitUntil([&] { return probe.finishedCount == 1; }));
    EXPECT_LT(timer.elapsed(), 500);
    EXPECT_EQ(steps.load(), 2);
}

TEST(WorkerGroupTest, StopDuringAStepLetsItFinishAndDeliver)
{
    Probe probe;
    QObject context;
    std::atomic<bool> inStep = false;
    WorkerGroup group(
        &context, [&] { return probe.stop.load(); }, 60s, probe.finished());
    group.start(
        [&]() -> WorkerGroup::HandOff {
            inStep = true;
            QThread::msleep(300);
            return probe.handOff(7);
        },
        WorkerGroup::Priority::Background);
    ASSERT_TRUE(EventLoop::waitUntil([&] { return inStep.load(); }));
    probe.stop = true;
    group.wake();
    ASSERT_TRUE(EventLoop::waitUntil([&] { return probe.finishedCount == 1; }));
    EXPECT_EQ(probe.delivered, std::vector<int>{7});
    EXPECT_EQ(probe.deliveredAtFinish, 1u);
}

TEST(WorkerGroupTest, NothingRunsWhenStoppedBeforeTheFirstStep)
{
    Probe probe;
    probe.stop = true;
    QObject context;
    std::atomic<int> steps = 0;
    WorkerGroup group(
        &context, [&] { return probe.stop.load(); }, 60s, probe.finished());
    group.start(
        [&]() -> WorkerGroup::HandOff {
            ++steps;
            return nullptr;
        },
        WorkerGroup::Priority::Default);
    ASSERT_TRUE(EventLoop::waitUntil([&] { return probe.finishedCount == 1; }));
    EXPECT_EQ(steps.load(), 0);
}

TEST(WorkerGroupTest, ResultsForADeletedContextAreDropped)
{
    Probe probe;
    auto context = std::make_unique<QObject>();
    {
        WorkerGroup group(
            context.get(), [&] { return probe.stop.load(); }, 60s, probe.finished());
        group.start(
            [&]() -> WorkerGroup::HandOff {
                probe.stop = true;
                return probe.handOff(1);
            },
            WorkerGroup::Priority::Default);
        group.join();
    }
    context.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(probe.delivered.empty());
    EXPECT_EQ(probe.finishedCount, 0);
}

TEST(WorkerGroupTest, TheEndHandlerMayDeleteTheGroup)
{
    Probe probe;
    QObject context;
    std::unique_ptr<WorkerGroup> group;
    bool ended = false;
    group = std::make_unique<WorkerGroup>(
        &context, [&] { return probe.stop.load(); }, 60s,
        [&] {
            group.reset();
            ended = true;
        });
    group->start([&]() -> WorkerGroup::HandOff { return nullptr; }, WorkerGroup::Priority::Default);
    probe.stop = true;
    group->wake();
    ASSERT_TRUE(EventLoop::waitUntil([&] { return ended; }));
    EXPECT_EQ(group, nullptr);
}

TEST(WorkerGroupTest, AHandOffThatDeletesTheContextDropsTheResultsQueuedBehindIt)
{
    Probe probe;
    auto context = std::make_unique<QObject>();
    auto group = std::make_unique<WorkerGroup>(
        context.get(), [&] { return probe.stop.load(); }, 60s, probe.finished());
    std::atomic<int> steps = 0;
    group->start(
        [&]() -> WorkerGroup::HandOff {
            const int value = ++steps;
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

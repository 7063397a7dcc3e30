#include "platform/WorkerWait.h"

#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>

// The job runs on another thread while the waiting thread's timers and queued calls go on; the wait ends
// only with the job, whatever its length.
TEST(WorkerWaitTest, TheWaiterKeepsItsEventsUntilTheJobEnds)
{
    for (const int ticksWanted : {0, 5}) {
        int ticks = 0;
        QTimer timer;
        timer.setInterval(1);
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start();
        std::atomic<int> seen = 0;
        QThread *thread = nullptr;
        bool ended = false;
        WorkerWait::run([&] {
            thread = QThread::currentThread();
            // The ticks reach the job through a queued call, as a job's reports reach its waiter.
            while (seen.load() < ticksWanted) {
                QMetaObject::invokeMethod(
                    &timer, [&] { seen = ticks; }, Qt::QueuedConnection);
                QThread::msleep(1);
            }
            ended = true;
        });
        EXPECT_TRUE(ended) << ticksWanted;
        EXPECT_NE(thread, QThread::currentThread()) << ticksWanted;
        EXPECT_GE(ticks, ticksWanted);
    }
}

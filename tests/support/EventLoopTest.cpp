#include "support/EventLoop.h"

#include <QTimer>
#include <gtest/gtest.h>

TEST(EventLoopTest, WaitsForAConditionThatQueuedEventsFulfil)
{
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    EXPECT_TRUE(EventLoop::waitUntil([&] { return fired; }));
    EXPECT_FALSE(EventLoop::waitUntil([] { return false; }, std::chrono::milliseconds(20)));
}

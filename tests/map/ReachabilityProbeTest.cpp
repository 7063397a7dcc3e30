#include "map/ReachabilityProbe.h"

#include "support/EventLoop.h"

#include <QObject>
#include <gtest/gtest.h>

#include <optional>

namespace {
std::optional<bool> probe(const QString &host)
{
    QObject context;
    std::optional<bool> answer;
    ReachabilityProbe::check(host, &context, [&](bool reachable) { answer = reachable; });
    EventLoop::waitUntil([&] { return answer.has_value(); });
    return answer;
}
} // namespace

TEST(ReachabilityProbeTest, AHostCountsAsReachableWhenItsNameResolves)
{
    EXPECT_EQ(probe("localhost"), true);
    EXPECT_EQ(probe("no such host"), false); // refused before any query leaves the machine
    EXPECT_EQ(probe(""), false);
}

TEST(ReachabilityProbeTest, NoAnswerAfterTheContextIsGone)
{
    bool called = false;
    {
        QObject context;
        ReachabilityProbe::check("localhost", &context, [&](bool) { called = true; });
    }
    EventLoop::runFor(std::chrono::seconds(1));
    EXPECT_FALSE(called);
}

#include "map/ReachabilityProbe.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QObject>
#include <gtest/gtest.h>

#include <optional>

namespace {
std::optional<bool> probe(const QString &host)
{
    QObject context;
    std::optional<bool> answer;
    ReachabilityProbe::check(host, &context, [&](bool reachable) { answer = reachable; });
    QDeadlineTimer deadline(30000);
    while (!answer && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return answer;
}
} // namespace

TEST(ReachabilityProbeTest, AHostCountsAsReachableWhenItsNameResolves)
{
    EXPECT_EQ(probe("localhost"), true);
    EXPECT_EQ(probe("no-such-host.invalid"), false);
    EXPECT_EQ(probe(""), false);
}

TEST(ReachabilityProbeTest, NoAnswerAfterTheContextIsGone)
{
    bool called = false;
    {
        QObject context;
        ReachabilityProbe::check("localhost", &context, [&](bool) { called = true; });
    }
    QDeadlineTimer deadline(1000);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(called);
}

TEST(ReachabilityProbeTest, TheMapHostIsTheTileServer)
{
    EXPECT_EQ(ReachabilityProbe::mapHostName(), "tile.openstreetmap.org");
}

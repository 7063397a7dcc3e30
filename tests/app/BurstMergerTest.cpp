#include "app/BurstMerger.h"

#include "support/EventLoop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Mergers on one beat: what is asked for within its wait runs once, at its end, on one turn and inside
// one wrapper, in the order asked for; what is asked for meanwhile waits for the next beat; a merger that
// ends before its turn is left out.
TEST(BurstMergerTest, MergersOnOneBeatRunTogetherOnceInsideTheWrapper)
{
    struct Case
    {
        const char *name;
        std::function<void(BurstMerger &route, BurstMerger &markers)> ask;
        std::vector<std::string> beats; // each beat's runs, "route markers ..."
    };
    std::unique_ptr<BurstMerger> route, markers;
    std::vector<std::string> beats;
    bool running = false;
    const Case cases[] = {
        {"several asks of both, apart within the wait",
         [](BurstMerger &r, BurstMerger &m) {
             m.request();
             EventLoop::runFor(std::chrono::milliseconds(BurstBeat::WAIT_MSEC / 10));
             r.request();
             m.request();
             EventLoop::runFor(std::chrono::milliseconds(BurstBeat::WAIT_MSEC / 10));
             r.request();
         },
         {"markers route"}},
        {"one of them", [](BurstMerger &r, BurstMerger &) { r.request(); }, {"route"}},
        {"markers ended while due",
         [&](BurstMerger &r, BurstMerger &m) {
             m.request();
             r.request();
             markers.reset();
         },
         {"route"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        BurstBeat beat;
        beats.clear();
        beat.setAround([&](const std::function<void()> &run) {
            beats.emplace_back();
            running = true;
            run();
            running = false;
        });
        const auto runOf = [&](const char *name) {
            return [&, name] {
                ASSERT_TRUE(running) << "inside the wrapper";
                beats.back() += beats.back().empty() ? name : std::string(" ") + name;
            };
        };
        route = std::make_unique<BurstMerger>(runOf("route"), &beat);
        markers = std::make_unique<BurstMerger>(runOf("markers"), &beat);
        QElapsedTimer clock;
        clock.start();
        c.ask(*route, *markers);
        EXPECT_TRUE(beats.empty()) << "nothing before the wait is over";
        ASSERT_TRUE(EventLoop::waitUntil([&] { return !beats.empty(); }));
        EXPECT_GE(clock.elapsed(), BurstBeat::WAIT_MSEC * 9 / 10)
            << "one wait from the first ask (a coarse timer)";
        EventLoop::runFor(std::chrono::milliseconds(BurstBeat::WAIT_MSEC + 100));
        EXPECT_EQ(beats, c.beats);
        EXPECT_FALSE(route->isPending());
    }

    // A run that asks again, as the route does for points it could not send yet, runs on the next beat.
    BurstBeat beat;
    int runs = 0;
    BurstMerger again(
        [&] {
            if (++runs == 1)
                again.request();
        },
        &beat);
    again.request();
    ASSERT_TRUE(EventLoop::waitUntil([&] { return runs == 1; }));
    EXPECT_TRUE(again.isPending());
    ASSERT_TRUE(EventLoop::waitUntil([&] { return runs == 2; }));
    EventLoop::runFor(std::chrono::milliseconds(BurstBeat::WAIT_MSEC + 100));
    EXPECT_EQ(runs, 2);
    EXPECT_FALSE(again.isPending());

    // A merger that outlives its beat asks for nothing.
    auto shortLived = std::make_unique<BurstBeat>();
    BurstMerger orphan([&] { ++runs; }, shortLived.get());
    shortLived.reset();
    orphan.request();
    EXPECT_FALSE(orphan.isPending());
}

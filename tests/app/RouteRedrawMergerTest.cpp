#include "app/RouteRedrawMerger.h"

#include "card/TripData.h"
#include "support/EventLoop.h"

#include <gtest/gtest.h>

// Chapters finished together are drawn once, for the trip selected when the wait ends; a request
// made before the route was taken over by another item is dropped, one made after it is not.
TEST(RouteRedrawMergerTest, MergesRequestsAndYieldsToARouteDrawnMeanwhile)
{
    const auto first = TripData::create(nullptr, {}, "first");
    const auto second = TripData::create(nullptr, {}, "second");
    TripData *selected = first.get();
    quint64 removals = 0;
    std::vector<TripData *> drawn;
    RouteRedrawMerger merger([&] { return selected; }, [&](TripData &trip) { drawn.push_back(&trip); },
                             [&] { return removals; });
    const auto settle = [&] { ASSERT_TRUE(EventLoop::waitUntil([&] { return !merger.isPending(); })); };

    for (int i = 0; i < 5; ++i)
        merger.request();
    selected = second.get();
    settle();
    EXPECT_EQ(drawn, std::vector<TripData *>{second.get()});

    merger.request();
    ++removals; // an event's route replaced the trip's
    settle();
    EXPECT_EQ(drawn.size(), 1u);

    merger.request();
    ++removals;
    merger.request(); // a chapter finished after it: drawn, as it always was
    settle();
    EXPECT_EQ(drawn.size(), 2u);

    selected = nullptr; // the card closed
    merger.request();
    settle();
    EXPECT_EQ(drawn.size(), 2u);
}

#include "player/SeekMerger.h"

#include <gtest/gtest.h>

TEST(SeekMergerTest, QuickTargetsGiveOneSeekToTheLastAndOneIsInFlightAtATime)
{
    SeekMerger seeks;
    EXPECT_TRUE(seeks.request(100)); // the first asks for a flush
    EXPECT_FALSE(seeks.request(200));
    EXPECT_FALSE(seeks.request(300));
    EXPECT_EQ(seeks.take(), 300);
    EXPECT_EQ(seeks.take(), std::nullopt); // 300 is in flight
    seeks.finished();
    // One seek in flight; a newer target replaces one not started.
    seeks.request(100);
    ASSERT_EQ(seeks.take(), 100);
    EXPECT_TRUE(seeks.request(200));
    EXPECT_EQ(seeks.take(), std::nullopt); // 100 is still in flight
    seeks.request(250);
    EXPECT_EQ(seeks.pending(), 250);
    seeks.finished();
    EXPECT_EQ(seeks.take(), 250);
    seeks.finished();
    EXPECT_FALSE(seeks.isInFlight());
    // A new item forgets both.
    seeks.request(400);
    seeks.take();
    seeks.request(500);
    seeks.clear();
    EXPECT_FALSE(seeks.isInFlight());
    EXPECT_EQ(seeks.take(), std::nullopt);
    EXPECT_TRUE(seeks.request(600));
}

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

TEST(SeekMergerTest, TheTargetInFlightIsNotSentAgain)
{
    // Asked for again while its seek runs (a stop on a just-opened item, then play at once): sent again
    // when it lands, the picture played on since would go back to it.
    SeekMerger seeks;
    seeks.request(0);
    ASSERT_EQ(seeks.take(), 0);
    EXPECT_FALSE(seeks.request(0));
    seeks.finished();
    EXPECT_EQ(seeks.take(), std::nullopt);
    // The latest target wins: another one, then the one in flight again, leaves nothing to send.
    seeks.request(500);
    ASSERT_EQ(seeks.take(), 500);
    seeks.request(700);
    seeks.request(500);
    seeks.finished();
    EXPECT_EQ(seeks.take(), std::nullopt);
    // Once landed, the same target is a new seek.
    EXPECT_TRUE(seeks.request(500));
    EXPECT_EQ(seeks.take(), 500);
}

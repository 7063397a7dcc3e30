// A pause from play waits for the picture the core rests on: when that picture counts as on screen, which
// read of the core's time counts, and how the limits end a wait the core leaves open.
#include "player/PauseSettle.h"

#include "support/EventLoop.h"

#include <QObject>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <vector>

#include <mpv/client.h>

using EventLoop::waitUntil;

namespace {

class PauseSettleTest : public ::testing::Test
{
protected:
    // The core's answer to a read: its time, or none for a failed read.
    void reply(std::optional<double> restSec)
    {
        double value = restSec.value_or(0.0);
        mpv_event_property property{"time-pos", MPV_FORMAT_DOUBLE, &value};
        mpv_event event{};
        event.event_id = MPV_EVENT_GET_PROPERTY_REPLY;
        event.error = restSec ? 0 : MPV_ERROR_PROPERTY_UNAVAILABLE;
        event.data = &property;
        settle.takeReply(event);
    }

    QObject context;
    bool readSent = true;
    double timePos = 0.0, shownTime = 0.0, frameRate = 25.0;
    // Each end of a settle, with the time it rests on.
    std::vector<std::optional<double>> ended;
    PauseSettle settle{&context,
                       {[this] { return readSent; }, [this] { return timePos; }, [this] { return shownTime; },
                        [this] { return frameRate; },
                        [this](std::optional<double> restSec) { ended.push_back(restSec); }}};
};

} // namespace

// The times the core reports are the pictures' own, rounded: a picture within half a picture interval of the
// resting time is the resting picture.
TEST_F(PauseSettleTest, RestsOnceThePictureTheCoreRestsOnIsOnScreen)
{
    struct Case
    {
        const char *name;
        double frameRate;
        double shownAtReply;
        bool restsAtOnce;
    };
    const Case cases[] = {
        {"the resting picture already shows", 25.0, 2.0, true},
        {"its time rounded below", 25.0, 2.0 - 0.019, true},
        {"the picture before it", 25.0, 2.0 - 0.04, false},
        {"two pictures before it", 25.0, 1.92, false},
        {"no frame rate: within a millisecond", 0.0, 2.0 - 0.0009, true},
        {"no frame rate: further off", 0.0, 2.0 - 0.003, false},
    };
    for (const Case &c : cases) {
        ended.clear();
        frameRate = c.frameRate;
        shownTime = c.shownAtReply;
        settle.start(2.0);
        EXPECT_EQ(settle.playRate(), 2.0) << c.name;
        reply(2.0);
        if (!c.restsAtOnce) {
            EXPECT_TRUE(settle.isSettling()) << c.name;
            // A picture drawn again is no later picture; the resting one is.
            settle.check();
            EXPECT_TRUE(ended.empty()) << c.name;
            shownTime = 2.0;
            settle.check();
        }
        EXPECT_FALSE(settle.isSettling()) << c.name;
        EXPECT_EQ(ended, (std::vector<std::optional<double>>{2.0})) << c.name;
    }
}

// A play ends a pause's wait and the next pause sends a read of its own: the earlier read's answer, which
// names an earlier picture, must not end the later wait.
TEST_F(PauseSettleTest, OnlyTheLatestPausesReadCounts)
{
    shownTime = 1.0;
    settle.start(1.0);
    settle.end(std::nullopt);
    settle.start(1.0);
    ASSERT_EQ(ended.size(), 1u);
    reply(1.0);
    EXPECT_TRUE(settle.isSettling()) << "the earlier pause's answer was taken";
    reply(1.4);
    settle.check();
    EXPECT_TRUE(settle.isSettling());
    shownTime = 1.4;
    settle.check();
    EXPECT_EQ(ended, (std::vector<std::optional<double>>{std::nullopt, 1.4}));
    // An answer after the end changes nothing.
    reply(1.6);
    EXPECT_EQ(ended.size(), 2u);
}

// Without the core's answer the picture rests on the latest time the core reported.
TEST_F(PauseSettleTest, ARefusedOrFailedReadRestsOnTheCoresLatestTime)
{
    timePos = 3.2;
    readSent = false;
    settle.start(1.0);
    EXPECT_FALSE(settle.isSettling());
    readSent = true;
    settle.start(1.0);
    reply(std::nullopt);
    EXPECT_FALSE(settle.isSettling());
    EXPECT_EQ(ended, (std::vector<std::optional<double>>{3.2, 3.2}));
}

// A core that never shows its resting picture (a dropped one drawn again) is taken at its word; one that
// never answers leaves the picture where the core last said. A limit of an earlier wait ends no later one.
TEST_F(PauseSettleTest, TheLimitsEndAWaitTheCoreLeavesOpen)
{
    shownTime = 1.0;
    settle.start(1.0);
    reply(2.0);
    settle.end(std::nullopt); // a play before the earlier wait's limit
    settle.start(1.0);
    timePos = 2.5;
    EventLoop::runFor(std::chrono::milliseconds(PauseSettle::LIMIT_MS * 2));
    EXPECT_TRUE(settle.isSettling()) << "the earlier wait's limit ended this one";
    ASSERT_TRUE(waitUntil([this] { return !settle.isSettling(); }));
    EXPECT_EQ(ended, (std::vector<std::optional<double>>{std::nullopt, 2.5}));

    // The core answers the read the limit gave up on after all: it names the earlier wait's picture.
    settle.start(1.0);
    reply(3.0);
    EXPECT_TRUE(settle.isSettling());
    reply(4.0);
    ASSERT_TRUE(waitUntil([this] { return !settle.isSettling(); }));
    EXPECT_EQ(ended.back(), 4.0);
}

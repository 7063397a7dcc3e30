// Which of the core's events are the item's: the core's events in the orders it may send them, after loads
// that replace each other, a stop, and an item removed.
#include "player/MpvItemLoad.h"

#include "player/MpvCore.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <mpv/client.h>

namespace {

constexpr uint64_t LOAD_TAG = 7, STOP_TAG = 8;
using Outcome = MpvItemLoad::Outcome;

// One step: the engine's (ask for a file, send its load, drop the item) or one of the core's events with
// the outcome it must have: the load's reply naming its entry or refusing it, an entry started, the started
// one opened, an entry ended.
struct Step
{
    enum Kind
    {
        Ask,
        Send,
        Drop,
        Reply,
        Refused,
        Started,
        Opened,
        Ended,
    } kind;
    int64_t entry = 0;
    Outcome expected = Outcome::None;
    mpv_end_file_reason reason = MPV_END_FILE_REASON_EOF;
};

struct Case
{
    const char *name;
    std::vector<Step> steps;
};

class MpvItemLoadTest : public ::testing::Test
{
protected:
    // A core that takes the loads; its own events are never read, the test sends the ones it means.
    std::unique_ptr<mpv_handle, void (*)(mpv_handle *)> core{MpvCore::create(), mpv_terminate_destroy};
};

} // namespace

TEST_F(MpvItemLoadTest, OnlyTheLatestLoadsEntryIsTheItems)
{
    constexpr auto FAILED = MPV_END_FILE_REASON_ERROR, STOPPED = MPV_END_FILE_REASON_STOP;
    using enum Step::Kind;
    using enum MpvItemLoad::Outcome;
    // clang-format off
    const Case cases[] = {
        {"opened after its reply", {{Ask}, {Send}, {Reply, 3}, {Started, 3}, {Opened, 0, Loaded}}},
        {"opened before its reply", {{Ask}, {Send}, {Started, 3}, {Opened}, {Reply, 3, Loaded}}},
        {"failed before its reply",
         {{Ask}, {Send}, {Started, 3}, {Ended, 3, None, FAILED}, {Reply, 3, Failed}}},
        {"failed after its reply", {{Ask}, {Send}, {Reply, 3}, {Started, 3}, {Ended, 3, Failed, FAILED}}},
        {"refused by the core", {{Ask}, {Send}, {Refused, 0, Failed}}},
        {"played to its end",
         {{Ask}, {Send}, {Reply, 3}, {Started, 3}, {Opened, 0, Loaded}, {Ended, 3, EndOfFile}}},
        // A load replaced before the core answered: the earlier entry opens, stops or ends unseen.
        {"replaced by a later load",
         {{Ask}, {Send}, {Ask}, {Send}, {Reply, 3}, {Started, 3}, {Opened}, {Ended, 3, None, STOPPED},
          {Reply, 4}, {Started, 4}, {Opened, 0, Loaded}, {Ended, 3}}},
        {"a later load failed before the earlier one's reply",
         {{Ask}, {Send}, {Ask}, {Send}, {Started, 4}, {Ended, 4, None, FAILED}, {Reply, 3},
          {Reply, 4, Failed}}},
        // Replaced by a file not sent yet: the answer of the one sent is not the item's.
        {"replaced by a load still waiting", {{Ask}, {Send}, {Ask}, {Reply, 3}, {Started, 3}, {Opened}}},
        // The item removed: nothing of its entry counts any more.
        {"removed", {{Ask}, {Send}, {Reply, 3}, {Drop}, {Started, 3}, {Opened}, {Ended, 3, None, FAILED}}},
    };
    // clang-format on
    for (const Case &c : cases) {
        MpvItemLoad load(LOAD_TAG, STOP_TAG);
        bool hasItem = false;
        int stepNumber = 0;
        for (const Step &step : c.steps) {
            ++stepNumber;
            mpv_event event{};
            mpv_node entry{};
            char *keys[] = {const_cast<char *>("playlist_entry_id")};
            mpv_node_list map{1, &entry, keys};
            mpv_event_command command{};
            mpv_event_start_file start{step.entry};
            mpv_event_end_file end{};
            switch (step.kind) {
            case Ask:
                load.ask(QStringLiteral("/nonexistent/clip.mp4"));
                hasItem = true;
                continue;
            case Send:
                ASSERT_TRUE(load.isDue()) << c.name;
                ASSERT_TRUE(load.send(core.get(), std::nullopt)) << c.name;
                continue;
            case Drop:
                load.drop();
                hasItem = false;
                continue;
            case Reply:
            case Refused:
                entry.format = MPV_FORMAT_INT64;
                entry.u.int64 = step.entry;
                command.result.format = MPV_FORMAT_NODE_MAP;
                command.result.u.list = &map;
                event = {MPV_EVENT_COMMAND_REPLY, step.kind == Refused ? MPV_ERROR_LOADING_FAILED : 0,
                         LOAD_TAG, &command};
                break;
            case Started:
                event = {MPV_EVENT_START_FILE, 0, 0, &start};
                break;
            case Opened:
                event = {MPV_EVENT_FILE_LOADED, 0, 0, nullptr};
                break;
            case Ended:
                end.reason = step.reason;
                end.playlist_entry_id = step.entry;
                event = {MPV_EVENT_END_FILE, 0, 0, &end};
                break;
            }
            EXPECT_EQ(load.take(event, hasItem), step.expected) << c.name << ", step " << stepNumber;
        }
    }
}

// The core might carry out a stop after a load sent behind it: the load waits for the stop's reply.
TEST_F(MpvItemLoadTest, ALoadWaitsForTheStopsBeforeIt)
{
    MpvItemLoad load(LOAD_TAG, STOP_TAG);
    load.stop(core.get());
    load.stop(core.get());
    load.ask(QStringLiteral("/nonexistent/clip.mp4"));
    const mpv_event stopped{MPV_EVENT_COMMAND_REPLY, 0, STOP_TAG, nullptr};
    EXPECT_FALSE(load.isDue());
    EXPECT_EQ(load.take(stopped, true), Outcome::Stopped);
    EXPECT_FALSE(load.isDue());
    EXPECT_EQ(load.take(stopped, true), Outcome::Stopped);
    EXPECT_TRUE(load.isDue());
    // The reply of a command of the engine's own is none of the load's.
    EXPECT_EQ(load.take(mpv_event{MPV_EVENT_COMMAND_REPLY, 0, LOAD_TAG + STOP_TAG, nullptr}, true),
              Outcome::None);
}

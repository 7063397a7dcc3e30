#include "player/PlaybackSync.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Step = PlaybackSync::Step;
using Input = PlaybackSync::Input;

// Playing at 1x in the first of three one-minute chapters, the picture on the clock's frame.
Input playing()
{
    Input in;
    in.position = 30000;
    in.maximum = 180002;
    in.rate = 1.0;
    in.isPlaying = true;
    in.positionChapter = 0;
    in.loadedChapter = 0;
    in.chapterCount = 3;
    in.nextBorder = 60001;
    in.isEngineReady = true;
    in.engineRate = 1.0;
    in.shownMs = 1000.0;
    in.targetMs = 1000;
    in.ahead50Ms = 1050;
    in.ahead150Ms = 1150;
    in.durationMs = 60000;
    return in;
}

// The next chapter prepared and ready.
void nextReady(Input &in)
{
    in.preparedChapter = 1;
    in.isPreparedReady = true;
}

struct Case
{
    const char *name;
    std::function<void(Input &)> change;
    Step step;
    bool prepareNext = false;
    std::optional<double> swapInMs = std::nullopt;
};

} // namespace

TEST(PlaybackSyncTest, DecisionTable)
{
    const Case cases[] = {
        {"in step", [](Input &) {}, Step::None},
        {"behind, faster already",
         [](Input &in) { in.shownMs = 964, in.averageLagMs = 36, in.engineRate = 1.04; }, Step::None},
        {"ahead past the margin", [](Input &in) { in.shownMs = 1101.5; }, Step::HoldEngine},
        {"lags past the margin", [](Input &in) { in.shownMs = 899; }, Step::PlayEngine},
        {"2x: ahead past margin+lead", [](Input &in) { in.rate = 2, in.shownMs = 1301.5; }, Step::HoldEngine},
        {"2x: lags past margin+lead", [](Input &in) { in.rate = 2, in.shownMs = 699; }, Step::PlayEngine},
        {"0.5x: no lead", [](Input &in) { in.rate = 0.5, in.shownMs = 1101.5; }, Step::HoldEngine},
        {"3x seeks", [](Input &in) { in.rate = 3; }, Step::SeekEngine},
        {"5x seeks", [](Input &in) { in.rate = 5, in.shownMs = 5000; }, Step::SeekEngine},
        {"10x seeks", [](Input &in) { in.rate = 10, in.shownMs = 0; }, Step::SeekEngine},
        {"no driving data", [](Input &in) { in.targetMs.reset(); }, Step::None},
        {"nothing ahead changes", [](Input &in) { in.ahead150Ms = 1050; }, Step::HoldEngine},
        {"nothing ahead", [](Input &in) { in.ahead50Ms.reset(), in.ahead150Ms.reset(); }, Step::HoldEngine},
        {"the item's last 150 ms: the positions ahead stop at its end",
         [](Input &in) {
             in.positionChapter = in.loadedChapter = 2, in.nextBorder = 180003;
             in.position = in.maximum - 120, in.ahead150Ms = 1050, in.engineRate = 0;
         },
         Step::PlayEngine},
        {"frame past the movie's end", [](Input &in) { in.durationMs = 1000; }, Step::HoldEngine},
        {"paused, after a seek", [](Input &in) { in.isPlaying = false, in.shownMs = 5000; }, Step::None},
        {"engine still opening", [](Input &in) { in.isEngineReady = false; }, Step::None},
        {"trim span reached", [](Input &in) { in.isTrimSpanReached = true; }, Step::PausePanel},
        {"end of the trip", [](Input &in) { in.position = in.maximum; }, Step::PausePanel},
        {"end, paused", [](Input &in) { in.position = in.maximum, in.isPlaying = false; }, Step::None},
        {"border, next prepared", [](Input &in) { in.positionChapter = 1, nextReady(in); },
         Step::SwapPrepared},
        {"border, next still opening", [](Input &in) { in.positionChapter = 1, in.preparedChapter = 1; },
         Step::ChangeChapter},
        {"border, next file missing", [](Input &in) { in.positionChapter = 1; }, Step::ChangeChapter},
        {"paused seek into another chapter",
         [](Input &in) { in.isPlaying = false, in.positionChapter = 2, nextReady(in); }, Step::ChangeChapter},
        {"position outside the list", [](Input &in) { in.positionChapter.reset(); }, Step::ChangeChapter},
        {"1.5 s before the border: prepare", [](Input &in) { in.position = 58501; }, Step::None, true},
        {"2.5 s before the border: not yet", [](Input &in) { in.position = 57501; }, Step::None},
        {"2x, 3 s of timeline (1.5 s) before the border",
         [](Input &in) { in.position = 57001, in.rate = in.engineRate = 2; }, Step::None, true},
        {"prepared already", [](Input &in) { in.position = 58501, in.preparedChapter = 1; }, Step::None},
        {"last chapter: nothing to prepare",
         [](Input &in) {
             in.positionChapter = in.loadedChapter = 2, in.nextBorder = 180003, in.position = 179000;
         },
         Step::None},
        {"paused: not prepared", [](Input &in) { in.position = 58501, in.isPlaying = false; }, Step::None},
        {"border in the next tick: swap then", [](Input &in) { in.position = 59981, nextReady(in); },
         Step::None, false, 20.0},
        {"2x: border in the next tick",
         [](Input &in) { in.position = 59961, in.rate = in.engineRate = 2, nextReady(in); }, Step::None,
         false, 20.0},
        {"border in two ticks (a late tick)", [](Input &in) { in.position = 59941, nextReady(in); },
         Step::None, false, 60.0},
        {"border three ticks away", [](Input &in) { in.position = 59901, nextReady(in); }, Step::None},
        {"border inside the next tick, next still opening",
         [](Input &in) { in.position = 59981, in.preparedChapter = 1; }, Step::None},
    };
    for (const Case &c : cases) {
        Input in = playing();
        c.change(in);
        const auto action = PlaybackSync::decide(in);
        EXPECT_EQ(action.step, c.step) << c.name;
        EXPECT_EQ(action.prepareNext, c.prepareNext) << c.name;
        EXPECT_EQ(action.swapInMs, c.swapInMs) << c.name;
    }
}

TEST(PlaybackSyncTest, ThePictureIsBroughtToTheClockByTheEnginesSpeedNeverBySeeking)
{
    // The clock's movie time is 1000 ms. Rate; start of the frame on screen and one picture's time (0:
    // unknown); the lag average before and the engine's rate; the rate asked for, the same: left alone.
    // A seek would hold the picture while the core decodes from a key frame, up to a chapter back.
    const struct
    {
        const char *name;
        double rate, shownMs, intervalMs, averageLagMs, engineRate, asked;
    } cases[] = {
        {"the clock inside the picture on screen", 1, 983.3, 33.3, 0, 1, 1},
        {"in step, the engine paused: start it", 1, 983.3, 33.3, 0, 0, 1},
        {"a picture behind once: one tick sees whole pictures", 1, 950, 33.3, 0, 1, 1},
        {"a picture behind on average", 1, 950, 33.3, 33.3, 1, 1.03},
        {"ahead on average: slower", 1, 1033.3, 33.3, -50, 1, 0.93},
        {"faster already, in step again on average", 1, 983.3, 33.3, 10, 1.03, 1},
        {"past the margin: the lag as it is", 1, 880, 0, 0, 1, 1.21},
        {"far behind: at most twice the speed", 1, -2000, 0, 0, 1, 2},
        {"2x: behind", 2, 700, 0, 0, 2, 2.56},
        {"2x: ahead inside margin and lead", 2, 1250, 0, -250, 2, 1.54},
        {"0.5x: behind", 0.5, 900, 0, 100, 0.5, 0.67},
    };
    for (const auto &c : cases) {
        Input in = playing();
        in.rate = c.rate;
        in.shownMs = c.shownMs;
        in.frameIntervalMs = c.intervalMs;
        in.averageLagMs = c.averageLagMs;
        in.engineRate = c.engineRate;
        const auto action = PlaybackSync::decide(in);
        if (c.asked == c.engineRate) {
            EXPECT_EQ(action.step, Step::None) << c.name;
        } else {
            EXPECT_EQ(action.step, Step::PlayEngine) << c.name;
            EXPECT_NEAR(action.engineRate, c.asked, 1e-9) << c.name;
        }
    }
}

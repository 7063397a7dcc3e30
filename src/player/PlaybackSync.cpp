#include "player/PlaybackSync.h"

#include <algorithm>
#include <cmath>

namespace {

PlaybackSync::Step engineStep(const PlaybackSync::Input &in, double &engineRate, double &averageLagMs)
{
    using Step = PlaybackSync::Step;
    engineRate = in.rate;
    averageLagMs = 0.0;
    if (!in.isPlaying || !in.isEngineReady || !in.targetMs)
        return Step::None;
    const auto target = static_cast<double>(*in.targetMs);
    if (in.rate > PlaybackSync::SETTING_RATE_PLAY)
        return Step::SeekEngine;
    const double lead = in.rate <= 1.0 ? 0.0 : in.rate * 100.0;
    // Nothing ahead changes (the movie's end, or a still recording): hold the picture.
    if ((!in.ahead50Ms && !in.ahead150Ms) ||
        (in.ahead50Ms && in.ahead150Ms && *in.ahead50Ms == *in.ahead150Ms))
        return Step::HoldEngine;
    if (*in.targetMs >= in.durationMs)
        return Step::HoldEngine;
    const double margin = static_cast<double>(PlaybackSync::MARGIN_MS);
    if (target < std::trunc(in.shownMs - margin - lead))
        return Step::HoldEngine;
    // At the same rate a picture lagging this far would never catch up.
    if (target > std::trunc(in.shownMs + margin + lead) &&
        in.ticksSinceCatchUp >= PlaybackSync::CATCH_UP_TICKS)
        return Step::CatchUp;
    // Inside the margin the engine plays a little faster or slower until the frame on screen is the
    // clock's: its start takes a moment, and its clock and ours drift apart. Whole percent steps
    // keep the rate from being set on every tick.
    const double lag = target - std::trunc(in.shownMs);
    averageLagMs = in.averageLagMs + (lag - in.averageLagMs) * PlaybackSync::LAG_WEIGHT;
    const double nudge =
        std::clamp(averageLagMs / PlaybackSync::FULL_NUDGE_LAG_MS, -1.0, 1.0) * PlaybackSync::NUDGE;
    engineRate = in.rate * (1.0 + std::round(nudge * 100.0) / 100.0);
    return in.engineRate != engineRate ? Step::PlayEngine : Step::None;
}

} // namespace

PlaybackSync::Action PlaybackSync::decide(const Input &in)
{
    Action action;
    if (in.isPlaying && in.isTrimSpanReached) {
        action.step = Step::PausePanel;
        return action;
    }
    if (in.positionChapter != in.loadedChapter) {
        const bool prepared =
            in.positionChapter && in.preparedChapter == in.positionChapter && in.isPreparedReady;
        action.step = prepared ? Step::SwapPrepared : Step::ChangeChapter;
        return action;
    }
    if (in.isPlaying && in.position >= in.maximum) {
        action.step = Step::PausePanel;
        return action;
    }
    action.step = engineStep(in, action.engineRate, action.averageLagMs);

    if (!in.isPlaying || !in.loadedChapter || *in.loadedChapter + 1 >= in.chapterCount)
        return action;
    const int64_t next = *in.loadedChapter + 1;
    const double toBorderMs = static_cast<double>(in.nextBorder - in.position) / std::max(in.rate, 0.01);
    if (in.preparedChapter != next) {
        action.prepareNext = toBorderMs <= static_cast<double>(PREPARE_AHEAD_MS);
    } else if (in.isPreparedReady && toBorderMs > 0.0 && toBorderMs <= 2.0 * TICK_MS) {
        // Swapping on the tick after the border would show the old chapter's last frame up to a
        // tick too long; a busy main thread ticks late, so the next tick is not the limit.
        action.swapInMs = toBorderMs;
    }
    return action;
}

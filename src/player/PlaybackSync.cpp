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
    if (in.rate > PlaybackSync::SETTING_RATE_PLAY)
        return Step::SeekEngine;
    const double lead = in.rate <= 1.0 ? 0.0 : in.rate * 100.0;
    // Nothing ahead changes (a still recording): hold the picture. Within the last 150 ms of the item the
    // positions ahead stop at its end, which is no still: the movie plays on to its last picture.
    const bool isItemEndAhead = in.position + 150 > in.maximum;
    if (!isItemEndAhead && ((!in.ahead50Ms && !in.ahead150Ms) ||
                            (in.ahead50Ms && in.ahead150Ms && *in.ahead50Ms == *in.ahead150Ms)))
        return Step::HoldEngine;
    if (*in.targetMs >= in.durationMs)
        return Step::HoldEngine;
    // The clock is in step while it lies within the picture on screen: its lag is taken from the middle.
    const double lag = static_cast<double>(*in.targetMs) - (in.shownMs + in.frameIntervalMs / 2.0);
    const double margin = static_cast<double>(PlaybackSync::MARGIN_MS);
    if (lag < -(margin + lead))
        return Step::HoldEngine;
    // The lead above 1x lets a picture run ahead, never lag. Past the margin the lag is taken at once.
    averageLagMs = lag > margin ? lag : in.averageLagMs + (lag - in.averageLagMs) * PlaybackSync::LAG_WEIGHT;
    const double inStep = in.frameIntervalMs > 0.0 ? in.frameIntervalMs / 2.0 : PlaybackSync::IN_STEP_MS;
    double speedUp = 0.0;
    if (std::abs(averageLagMs) > inStep) {
        const double offStep = averageLagMs - std::copysign(inStep, averageLagMs);
        speedUp = std::clamp(offStep * PlaybackSync::CATCH_UP_PER_MS / in.rate, -PlaybackSync::SLOW_DOWN_MAX,
                             PlaybackSync::CATCH_UP_MAX);
    }
    // Whole percent steps keep the rate from being set on every tick.
    engineRate = in.rate * (1.0 + std::round(speedUp * 100.0) / 100.0);
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

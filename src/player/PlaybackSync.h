// What the panel does on a clock tick to keep the picture with the clock: a pure function of the
// clock, the rate, the engine's state and the chapters. The panel applies the action it returns.
#pragma once

#include <cstdint>
#include <optional>

class PlaybackSync
{
public:
    // Above it the engine stays paused and every tick seeks to the frame at the position.
    static constexpr double SETTING_RATE_PLAY = 2.0;
    // The picture may be this far off the clock (plus the lead above 1x) before it is corrected.
    static constexpr int64_t MARGIN_MS = 100;
    // A picture lagging past the margin catches up by playing faster, never by a seek: a seek decodes
    // from the key frame before its target (up to a whole chapter back) and holds the picture meanwhile.
    // The engine plays this much faster per ms of lag (1 % per 5 ms: 500 ms are made up within about
    // half a second), at most CATCH_UP_MAX faster; the core leaves out the pictures it cannot show.
    static constexpr double CATCH_UP_PER_MS = 0.002;
    static constexpr double CATCH_UP_MAX = 1.0;
    // Within the margin the engine plays up to this much faster or slower until the frame on
    // screen is the clock's (10 %: a frame of 36 ms is made up in about a third of a second).
    static constexpr double NUDGE = 0.1;
    // The lag (ms) that gets the whole nudge, and the weight of each tick's lag in its average:
    // one tick sees whole frames only, the average over ticks at changing phases sees between them.
    static constexpr double FULL_NUDGE_LAG_MS = 36.0;
    static constexpr double LAG_WEIGHT = 0.05;
    // Wall time before a border at which the next chapter is opened in the second engine: mpv
    // takes 200-450 ms to open a file, more on a loaded machine.
    static constexpr int64_t PREPARE_AHEAD_MS = 2000;
    static constexpr double TICK_MS = 1000.0 / 30.0;

    struct Input
    {
        int64_t position = 0;   // the clock's position, ms on the timeline
        int64_t maximum = 0;    // the end of the range
        double rate = 1.0;      // the effective play rate
        bool isPlaying = false; // the panel's state is Play
        bool isTrimSpanReached = false;
        // Chapters: the one under the position (none outside the list), the one in the engine,
        // the one opened and paused in the second engine.
        std::optional<int64_t> positionChapter;
        std::optional<int64_t> loadedChapter;
        int64_t chapterCount = 0;
        int64_t nextBorder = 0; // start of the chapter after the loaded one
        std::optional<int64_t> preparedChapter;
        bool isPreparedReady = false;
        // The engine and the movie times (ms into the chapter's movie) around the position.
        bool isEngineReady = false;
        double engineRate = 0.0;
        double shownMs = 0.0;         // the start of the frame on screen
        double frameIntervalMs = 0.0; // one picture's time in the movie, 0 when unknown
        std::optional<int64_t> targetMs;
        std::optional<int64_t> ahead50Ms;
        std::optional<int64_t> ahead150Ms;
        int64_t durationMs = 0;
        // The clock's movie time minus the middle of the frame on screen's, averaged over the previous ticks.
        double averageLagMs = 0.0;
    };

    enum class Step
    {
        None,
        // Pause the engine (the picture is ahead, or nothing ahead changes).
        HoldEngine,
        // Let the engine play at engineRate: faster while the picture lags, a little faster or slower
        // while it is a frame off within the margin.
        PlayEngine,
        // Pause the engine and seek it to the position (fast rates).
        SeekEngine,
        // The end of the range or of the trim span: the panel pauses.
        PausePanel,
        // The position is in another chapter: show the prepared engine's, or open it.
        SwapPrepared,
        ChangeChapter
    };

    struct Action
    {
        Step step = Step::None;
        // The engine's rate for PlayEngine.
        double engineRate = 0.0;
        // The lag average to keep for the next tick.
        double averageLagMs = 0.0;
        // Open the chapter after the loaded one, paused at its first frame, in the second engine.
        bool prepareNext = false;
        // The prepared chapter's border comes within two ticks: swap after this many ms.
        std::optional<double> swapInMs;
    };

    static Action decide(const Input &in);
};

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
    // The picture may run this far ahead of the clock (plus the lead above 1x) before the engine is held.
    // A lag is never let be: it cuts the pictures the clock passes, a chapter's last ones at its border.
    static constexpr int64_t MARGIN_MS = 100;
    // A lagging or leading picture is brought to the clock by playing faster or slower, never by a seek:
    // a seek decodes from the key frame before its target (up to a whole chapter back) and holds the
    // picture meanwhile. The speed changes in proportion to the lag: 1 % per 5 ms of the movie at 1x
    // (a lag shrinks to a third in about half a second whatever the rate), from half the speed to twice
    // it; the core leaves out the pictures it cannot show in time.
    static constexpr double CATCH_UP_PER_MS = 0.002;
    static constexpr double CATCH_UP_MAX = 1.0;
    static constexpr double SLOW_DOWN_MAX = 0.5;
    // Inside the margin the lag is averaged over a few ticks (the weight of each tick's lag): one tick
    // sees whole pictures only. Within half a picture (this much when the frame rate is unknown) the
    // picture on screen is the clock's and the rate stays as it is.
    static constexpr double LAG_WEIGHT = 0.25;
    static constexpr double IN_STEP_MS = 16.0;
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

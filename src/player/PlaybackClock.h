// The one owner of playback time: the position on the item's timeline (ms), the rate, whether it
// runs, and the 1/30 s tick that advances it. The value model, the track bar and the panel read
// it; nothing keeps a copy.
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>

class QTimer;

class PlaybackClock : public QObject
{
    Q_OBJECT
public:
    // Monotonic time in nanoseconds; tests pass their own.
    using TimeSource = std::function<int64_t()>;

    explicit PlaybackClock(TimeSource now = {}, QObject *parent = nullptr);
    ~PlaybackClock() override;

    static constexpr double TICK_INTERVAL_MS = 1000.0 / 30.0;

    // Position in ms on the item's timeline, always inside [minimum, maximum].
    int64_t position() const { return _position; }
    // Moves the position at once (clamped to the range); the fraction carried between ticks goes.
    void setPosition(int64_t positionMs);
    // A seek asked for by the user or the panel: the position moves and seekRequested tells the
    // player, which brings the picture there.
    void requestSeek(int64_t positionMs);
    void setRange(int64_t minimumMs, int64_t maximumMs);
    int64_t minimum() const { return _minimum; }
    int64_t maximum() const { return _maximum; }

    double rate() const { return _rate; }
    void setRate(double rate) { _rate = rate; }

    // Running: the timer ticks and advances the position. Starting again restarts the measure.
    void play() { setRunning(true); }
    void pause() { setRunning(false); }
    void setRunning(bool running);
    bool isRunning() const { return _running; }
    // While held (a drag), ticks keep their rhythm and are signalled but leave the position alone.
    void setHeld(bool held) { _held = held; }
    bool isHeld() const { return _held; }

    // One tick: the position moves by the time since the previous tick times the rate. The timer
    // calls it; tests call it with their own time source.
    void tick();
    // Time source reading (ns) of the last tick, or of the start before the first; none while stopped.
    std::optional<int64_t> lastTickNs() const { return _lastTickNs; }
    // The position carried forward from the last tick to the given time, for readings between ticks.
    double positionAt(int64_t timeNs) const;
    int64_t now() const { return _now(); }

signals:
    // After every tick, also while held.
    void ticked();
    void seekRequested(int64_t positionMs);

private:
    TimeSource _now;
    QTimer *_timer = nullptr;
    int64_t _position = 0;
    // Sub-millisecond part of the advance, carried so that slow rates do not lose time.
    double _fraction = 0.0;
    int64_t _minimum = 0;
    int64_t _maximum = 1;
    double _rate = 1.0;
    bool _running = false;
    bool _held = false;
    std::optional<int64_t> _lastTickNs;
};

#include "player/PlaybackClock.h"

#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

int64_t steadyNowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

PlaybackClock::PlaybackClock(TimeSource now, QObject *parent)
    : QObject(parent), _now(now ? std::move(now) : TimeSource(&steadyNowNs))
{
}

PlaybackClock::~PlaybackClock() = default;

void PlaybackClock::setPosition(int64_t positionMs)
{
    _position = std::clamp(positionMs, _minimum, std::max(_minimum, _maximum));
    _fraction = 0.0;
}

void PlaybackClock::requestSeek(int64_t positionMs)
{
    setPosition(positionMs);
    emit seekRequested(_position);
}

void PlaybackClock::setRange(int64_t minimumMs, int64_t maximumMs)
{
    _minimum = minimumMs;
    _maximum = maximumMs;
    setPosition(_position);
}

void PlaybackClock::setRunning(bool running)
{
    _running = running;
    if (!running) {
        if (_timer)
            _timer->stop();
        _lastTickNs.reset();
        return;
    }
    if (!_timer) {
        _timer = new QTimer(this);
        // Coarse timers may fire up to 5 % late; the step is measured, but late ticks show late.
        _timer->setTimerType(Qt::PreciseTimer);
        _timer->setInterval(static_cast<int>(std::lround(TICK_INTERVAL_MS)));
        connect(_timer, &QTimer::timeout, this, &PlaybackClock::tick);
    }
    _lastTickNs = _now();
    _timer->start();
}

// Main thread. The step is the measured time since the previous tick, so late or coalesced ticks
// do not slow playback down.
void PlaybackClock::tick()
{
    if (!_running)
        return;
    const int64_t fired = _now();
    if (!_held && _lastTickNs) {
        const double advance = _rate * static_cast<double>(fired - *_lastTickNs) / 1.0e6 + _fraction;
        const double whole = std::floor(advance);
        const int64_t target = _position + static_cast<int64_t>(whole);
        _position = std::clamp(target, _minimum, std::max(_minimum, _maximum));
        _fraction = _position == target ? advance - whole : 0.0;
    }
    _lastTickNs = fired;
    emit ticked();
}

double PlaybackClock::positionAt(int64_t timeNs) const
{
    double value = static_cast<double>(_position) + _fraction;
    if (_running && !_held && _lastTickNs)
        value += _rate * static_cast<double>(timeNs - *_lastTickNs) / 1.0e6;
    return std::min(value, static_cast<double>(_maximum));
}

// The speed meter's state: unit conversion and caps, needle angle, the digits of the number, and the
// needle and digit animations it has started, evaluated at any moment of a millisecond clock.
#pragma once

#include "graph/DrivingSample.h"
#include "graph/SpeedDurations.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

enum class SpeedMeterType
{
    KMH,
    MPH,
};

class SpeedMeterModel
{
public:
    static constexpr int MAX_SPEED = 180;
    static constexpr int MAX_SPEED_MPH = 110;
    static constexpr double KMH_MPH_RATE = 1.6093;
    static constexpr double PI = 3.14159265358979323846;
    static constexpr double INI_NEEDLE_VAL = 0.6 * PI; // needle angle at 0 km/h, counter-clockwise
    static constexpr int TIMER_DURATION_MS = 100;      // _duration: timer interval and tick-count limit
    static constexpr int METER_SPEED = 50;
    // A zero-length animation lasts this long, as the platform's default transaction did.
    static constexpr double DEFAULT_ANIMATION_S = 0.25;
    static constexpr double MAX_ANIMATION_S = 1.0;

    // A digit place shows 0-9, the hyphen, or nothing.
    static constexpr int GLYPH_HYPHEN = 10;
    static constexpr int GLYPH_NONE = 11;
    static QString glyphImageName(int glyph);
    using Glyphs = std::vector<int>;
    struct DigitLists
    {
        Glyphs hundreds, tens, ones;
    };

    // The clock gives milliseconds; the default one is monotonic.
    explicit SpeedMeterModel(std::function<int64_t()> clockMs = {});

    // A frame's km/h in the unit, capped at 180 km/h or 110 mph and never below 0.
    static int convertSpeed(int32_t speedKmh, SpeedMeterType type);
    // Radians, counter-clockwise: 108° at 0 km/h, 1.2° less per km/h; mph are turned back into km/h.
    static double needleAngle(double speed, SpeedMeterType type);
    // One entry per integer from floor(from) to floor(to), in counting order; blank leading places.
    static DigitLists digits(double from, double to);

    SpeedMeterType isSpeedType = SpeedMeterType::MPH;

    void updateSpeed(const DrivingSample &frame, bool animated, const SpeedDurationTable &durInfo);
    void resetMeter();
    // The 0.1 s timer's tick; the widget calls it while timerRunning().
    void timerTick();
    bool timerRunning() const { return _timerRunning; }

    // What to draw at a moment of the clock.
    double needleAngleAt(int64_t nowMs) const;
    std::array<int, 3> digitsAt(int64_t nowMs) const;
    bool isAnimating(int64_t nowMs) const;
    bool isGpsOn() const { return _isGpsOn; }
    int64_t now() const { return _clock(); }

    double dispSpeed() const { return _dispSpeed; }
    double realSpeed() const { return _realSpeed; }
    double currentNeedleVal() const { return _currentNeedleVal; }

private:
    struct DigitRun
    {
        Glyphs glyphs{GLYPH_NONE};
        double durationS = 0.0;
        int64_t startMs = 0;
        int at(int64_t nowMs) const;
    };

    void updateDisplay(const std::optional<DrivingSample> &frame, bool animated);
    void rotateNeedle(const std::optional<DrivingSample> &frame, bool animated, double speed);
    void playNeedleAnimation(bool animated, double from, double to, double durationS);
    void startTimer();

    std::function<int64_t()> _clock;
    double _dispSpeed = 0.0;
    double _realSpeed = 0.0;
    double _wkAddSpeed = 0.0;
    int _wkTimerCnt = 0;
    bool _timerRunning = false;
    bool _isGpsOn = true;
    SpeedDurationTable _durInfo;
    std::optional<DrivingSample> _currentFrame;
    double _currentNeedleVal = INI_NEEDLE_VAL;
    double _prevDispSpeed = 0.0;
    bool _prevGps = false;

    double _needleFrom = INI_NEEDLE_VAL;
    double _needleDurationS = DEFAULT_ANIMATION_S;
    int64_t _needleStartMs = 0;
    std::array<DigitRun, 3> _digits{DigitRun{}, DigitRun{}, DigitRun{{0}}};
};

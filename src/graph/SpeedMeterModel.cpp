#include "graph/SpeedMeterModel.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>

namespace {
std::function<int64_t()> monotonicClock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

double effectiveDuration(double seconds)
{
    return seconds > 0.0 ? seconds : SpeedMeterModel::DEFAULT_ANIMATION_S;
}
} // namespace

SpeedMeterModel::SpeedMeterModel(std::function<int64_t()> clockMs)
    : _clock(clockMs ? std::move(clockMs) : monotonicClock())
{
}

QString SpeedMeterModel::glyphImageName(int glyph)
{
    if (glyph >= 0 && glyph <= 9)
        return QStringLiteral("parts_speed_%1").arg(glyph);
    if (glyph == GLYPH_HYPHEN)
        return QStringLiteral("parts_speed_hyphen");
    return QStringLiteral("parts_speed_none");
}

int SpeedMeterModel::convertSpeed(int32_t speedKmh, SpeedMeterType type)
{
    // A negative recorded speed would index no digit image and turn the needle below zero: shown as 0.
    const int32_t kmh = std::max<int32_t>(speedKmh, 0);
    if (type == SpeedMeterType::MPH) {
        const auto mph = static_cast<int32_t>(std::floor(kmh / KMH_MPH_RATE));
        return mph < MAX_SPEED_MPH + 1 ? mph : MAX_SPEED_MPH;
    }
    return kmh < MAX_SPEED + 1 ? kmh : MAX_SPEED;
}

double SpeedMeterModel::needleAngle(double speed, SpeedMeterType type)
{
    const double kmh = type == SpeedMeterType::MPH ? speed * KMH_MPH_RATE : speed;
    return (kmh * -PI) / 150.0 + INI_NEEDLE_VAL;
}

SpeedMeterModel::DigitLists SpeedMeterModel::digits(double from, double to)
{
    DigitLists lists;
    const auto a = static_cast<int64_t>(std::floor(std::max(from, 0.0)));
    const auto b = static_cast<int64_t>(std::floor(std::max(to, 0.0)));
    const int64_t direction = b >= a ? 1 : -1;
    for (int64_t v = a;; v += direction) {
        lists.hundreds.push_back(v > 99 ? static_cast<int>((v / 100) % 10) : GLYPH_NONE);
        lists.tens.push_back(v > 9 ? static_cast<int>((v / 10) % 10) : GLYPH_NONE);
        lists.ones.push_back(static_cast<int>(v % 10));
        if (v == b)
            break;
    }
    return lists;
}

void SpeedMeterModel::updateSpeed(const DrivingSample &frame, bool animated,
                                  const SpeedDurationTable &durInfo)
{
    _isGpsOn = frame.gps;
    const double old = _realSpeed;
    _realSpeed = convertSpeed(frame.speedKmh, isSpeedType);
    if (animated && _realSpeed == old) {
        // Only the look of the fix may change: the number comes back or gives way to the hyphen at once.
        if (!_isGpsOn || !_prevGps)
            playNeedleAnimation(false, _realSpeed, _realSpeed, 0.0);
    } else if (animated) {
        startTimer();
        _wkTimerCnt = 0;
        _currentFrame = frame;
        _prevDispSpeed = _dispSpeed;
        timerTick();
    } else {
        _dispSpeed = _realSpeed;
        updateDisplay(_currentFrame, false);
    }
    // Last, so that a tick run above still saw the table of the frame before.
    _durInfo = durInfo;
    _prevGps = _isGpsOn;
}

void SpeedMeterModel::startTimer()
{
    _timerRunning = true;
    _wkAddSpeed = (TIMER_DURATION_MS / 1000.0) * METER_SPEED * (_realSpeed - _dispSpeed);
}

void SpeedMeterModel::resetMeter()
{
    _isGpsOn = false;
    _timerRunning = false;
    _realSpeed = 0.0;
    _dispSpeed = 110.0;
    startTimer();
    _wkTimerCnt = 0;
    timerTick();
    updateDisplay(_currentFrame, false);
}

void SpeedMeterModel::timerTick()
{
    if (!_timerRunning)
        return;
    _wkTimerCnt += static_cast<int>(METER_SPEED * (TIMER_DURATION_MS / 1000.0));
    _dispSpeed += _wkAddSpeed;
    if (!(_wkTimerCnt < TIMER_DURATION_MS && _wkAddSpeed == _realSpeed - _dispSpeed)) {
        _timerRunning = false;
        _dispSpeed = _realSpeed;
    }
    updateDisplay(_currentFrame, true);
}

void SpeedMeterModel::updateDisplay(const std::optional<DrivingSample> &frame, bool animated)
{
    if (!_isGpsOn) {
        for (DigitRun &run : _digits)
            run = DigitRun{};
    }
    rotateNeedle(frame, animated, _dispSpeed);
}

void SpeedMeterModel::rotateNeedle(const std::optional<DrivingSample> &frame, bool animated, double speed)
{
    const double angle = needleAngle(speed, isSpeedType);
    double duration = 0.0;
    if (!animated) {
        playNeedleAnimation(false, _prevDispSpeed, _realSpeed, 0.0);
    } else if (frame) {
        if (const auto entry = SpeedDurations::lookup(_durInfo, frame->movieTimeStampMs)) {
            duration = std::min(*entry, MAX_ANIMATION_S);
            playNeedleAnimation(true, _prevDispSpeed, _realSpeed, duration);
        }
    }
    // The new turn starts from where the last one was going, as a replaced layer animation does.
    _needleFrom = _currentNeedleVal;
    _needleDurationS = effectiveDuration(duration);
    _needleStartMs = _clock();
    _currentNeedleVal = angle;
}

void SpeedMeterModel::playNeedleAnimation(bool animated, double from, double to, double durationS)
{
    DigitLists lists = digits(from, to);
    if (!_isGpsOn)
        lists = {{GLYPH_NONE}, {GLYPH_NONE}, {GLYPH_HYPHEN}};
    const int64_t now = _clock();
    const std::array<Glyphs *, 3> places{&lists.hundreds, &lists.tens, &lists.ones};
    for (size_t i = 0; i < places.size(); ++i) {
        Glyphs &glyphs = *places[i];
        if (!animated)
            glyphs = {glyphs.back()};
        _digits[i] = DigitRun{std::move(glyphs), durationS, now};
    }
}

int SpeedMeterModel::DigitRun::at(int64_t nowMs) const
{
    if (glyphs.size() == 1)
        return glyphs.front();
    const double share = (nowMs - startMs) / (effectiveDuration(durationS) * 1000.0);
    const auto n = static_cast<int64_t>(glyphs.size());
    const auto index = std::clamp<int64_t>(static_cast<int64_t>(std::floor(share * n)), 0, n - 1);
    return glyphs[static_cast<size_t>(index)];
}

double SpeedMeterModel::needleAngleAt(int64_t nowMs) const
{
    const double share = (nowMs - _needleStartMs) / (_needleDurationS * 1000.0);
    if (share >= 1.0)
        return _currentNeedleVal;
    return _needleFrom + (_currentNeedleVal - _needleFrom) * std::max(share, 0.0);
}

std::array<int, 3> SpeedMeterModel::digitsAt(int64_t nowMs) const
{
    return {_digits[0].at(nowMs), _digits[1].at(nowMs), _digits[2].at(nowMs)};
}

bool SpeedMeterModel::isAnimating(int64_t nowMs) const
{
    if (nowMs - _needleStartMs < static_cast<int64_t>(_needleDurationS * 1000.0))
        return true;
    return std::any_of(_digits.begin(), _digits.end(), [nowMs](const DigitRun &run) {
        return run.glyphs.size() > 1 && nowMs - run.startMs < effectiveDuration(run.durationS) * 1000.0;
    });
}

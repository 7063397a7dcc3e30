#include "player/ShownFrameTracker.h"

#include <algorithm>
#include <cmath>

namespace {

// The core queues a picture at most this many pictures before it shows; further behind the count has lost
// a dropped picture.
constexpr double MOST_QUEUED = 3.0;

} // namespace

void ShownFrameTracker::rest(double timeSec)
{
    _time = timeSec;
    _lastDisplayUs.reset();
}

double ShownFrameTracker::handedOver(int64_t displayUs, double rate, double latestSec)
{
    if (!(_interval > 0.0) || !(rate > 0.0) || displayUs <= 0) {
        rest(latestSec);
        return _time;
    }
    double steps = 1.0;
    if (_lastDisplayUs)
        steps = std::max(1.0, std::round(double(displayUs - *_lastDisplayUs) / 1e6 * rate / _interval));
    _time += steps * _interval;
    _lastDisplayUs = displayUs;
    if (_time > latestSec + _interval / 2.0)
        _time = latestSec;
    else if (_time < latestSec - MOST_QUEUED * _interval)
        _time = latestSec - _interval;
    return _time;
}

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
    _time = _counted = timeSec;
    _aheadBefore = false;
    _lastDisplayUs.reset();
}

double ShownFrameTracker::handedOver(std::optional<int64_t> displayUs, double rate, double latestSec)
{
    if (!(_interval > 0.0) || !(rate > 0.0)) {
        rest(latestSec);
        return _time;
    }
    double steps = 1.0;
    if (displayUs && _lastDisplayUs)
        steps = std::max(1.0, std::round(double(*displayUs - *_lastDisplayUs) / 1e6 * rate / _interval));
    _counted += steps * _interval;
    _lastDisplayUs = displayUs;
    if (_counted > latestSec + _interval / 2.0) {
        // Past the core's report: the report is late (a busy machine kept the core's thread from sending
        // it), or the count took a picture too many. A late report has come by the next picture; a count
        // still ahead then is set back. The screen is never shown past the report meanwhile.
        if (_aheadBefore) {
            _counted = latestSec;
            _aheadBefore = false;
        } else {
            _aheadBefore = true;
        }
        _time = latestSec;
        return _time;
    }
    _aheadBefore = false;
    if (_counted < latestSec - MOST_QUEUED * _interval)
        _counted = latestSec - _interval;
    _time = _counted;
    return _time;
}

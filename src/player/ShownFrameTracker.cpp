#include "player/ShownFrameTracker.h"

#include <algorithm>
#include <cmath>

namespace {

// The report may run a little past its bound while the playing rate is nudged between pictures.
constexpr double LEAD_SLACK_PICTURES = 0.25;

} // namespace

void ShownFrameTracker::rest(double timeSec, std::optional<uint64_t> drawnNumber)
{
    _time = _counted = timeSec;
    _aheadBefore = false;
    _lastDisplayUs.reset();
    _lastDrawn = drawnNumber;
    _lastRate = 0.0;
}

double ShownFrameTracker::handedOver(std::optional<int64_t> displayUs, double rate, double latestSec,
                                     std::optional<int64_t> reportUs, std::optional<uint64_t> drawnNumber)
{
    if (!(_interval > 0.0) || !(rate > 0.0)) {
        rest(latestSec, drawnNumber);
        return _time;
    }
    double steps = 1.0;
    if (displayUs && _lastDisplayUs)
        steps = std::max(1.0, std::round(double(*displayUs - *_lastDisplayUs) / 1e6 * rate / _interval));
    // Pictures the renderer drew over before the main thread took one were on screen as long as it let them.
    if (drawnNumber && _lastDrawn && *drawnNumber > *_lastDrawn)
        steps = std::max(steps, double(*drawnNumber - *_lastDrawn));
    _counted += steps * _interval;
    _lastDisplayUs = displayUs;
    _lastDrawn = drawnNumber;
    const double queuedRate = std::max(rate, _lastRate);
    _lastRate = rate;
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
    if (displayUs) {
        // The core had queued the reported picture by the time the report was read, and queues none earlier
        // than its lead before its display time: the report is ahead of this picture by at most the movie
        // time from its display time to then plus that lead, which a main thread taking it late lengthens.
        // A count further behind, by more than half a picture, has lost pictures: it takes the earliest
        // picture the report allows.
        const double lateSec = double(reportUs.value_or(*displayUs) - *displayUs) / 1e6;
        const double mostAhead = std::max(0.0, (lateSec + MOST_REPORT_LEAD_SEC) * queuedRate / _interval);
        if (_counted < latestSec - (mostAhead + 0.5) * _interval)
            _counted = latestSec - std::floor(mostAhead + LEAD_SLACK_PICTURES) * _interval;
    }
    _time = _counted;
    return _time;
}

#include "player/ShownFrameTracker.h"

#include <algorithm>
#include <cmath>

namespace {

// The report may run a little past its bound while the playing rate is nudged between pictures.
constexpr double LEAD_SLACK_PICTURES = 0.25;

} // namespace

void ShownFrameTracker::rest(double timeSec, std::optional<Tally> tally)
{
    _time = _counted = timeSec;
    _aheadBefore = false;
    _lastDisplayUs.reset();
    _lastTally = tally;
    _lastRate = 0.0;
}

double ShownFrameTracker::steps(std::optional<int64_t> displayUs, double rate,
                                std::optional<Tally> tally) const
{
    if (tally && _lastTally) {
        // Exact, where display times are not: the core spaces its pictures by the rate they were queued at,
        // which the player nudges while a busy machine holds the picture back. A dropped count that went
        // down was set back by a seek, and counts from 0.
        const double drawn =
            tally->drawn > _lastTally->drawn ? double(tally->drawn - _lastTally->drawn) : 0.0;
        const int64_t since = tally->dropped >= _lastTally->dropped ? _lastTally->dropped : 0;
        return drawn + double(tally->dropped - since);
    }
    if (displayUs && _lastDisplayUs)
        return std::max(1.0, std::round(double(*displayUs - *_lastDisplayUs) / 1e6 * rate / _interval));
    return 1.0;
}

double ShownFrameTracker::handedOver(std::optional<int64_t> displayUs, double rate, double latestSec,
                                     std::optional<int64_t> reportUs, std::optional<Tally> tally)
{
    if (!(_interval > 0.0) || !(rate > 0.0)) {
        rest(latestSec, tally);
        return _time;
    }
    _counted += steps(displayUs, rate, tally) * _interval;
    _lastDisplayUs = displayUs;
    _lastTally = tally;
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

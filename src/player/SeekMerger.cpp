#include "player/SeekMerger.h"

#include <utility>

bool SeekMerger::request(int64_t targetMs)
{
    // The seek in flight goes there already: sent again once it lands, it would take a picture that has
    // played on since back to it.
    if (_inFlight && targetMs == _inFlightTarget) {
        _pending.reset();
        return false;
    }
    _pending = targetMs;
    if (_flushDue)
        return false;
    _flushDue = true;
    return true;
}

std::optional<int64_t> SeekMerger::take()
{
    _flushDue = false;
    if (_inFlight || !_pending)
        return std::nullopt;
    _inFlight = true;
    _inFlightTarget = *_pending;
    return std::exchange(_pending, std::nullopt);
}

void SeekMerger::clear()
{
    _pending.reset();
    _inFlight = false;
    _flushDue = false;
}

#include "player/SeekMerger.h"

#include <utility>

bool SeekMerger::request(int64_t targetMs)
{
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
    return std::exchange(_pending, std::nullopt);
}

void SeekMerger::clear()
{
    _pending.reset();
    _inFlight = false;
    _flushDue = false;
}

// Merges exact seeks for an engine: at most one seek in flight, and a newer target replaces one
// not yet started, so a burst of targets (scrubbing, seeks on every tick) costs one seek each
// time the engine is free, always to the latest target; the target of the seek in flight is not
// sent again.
#pragma once

#include <cstdint>
#include <optional>

class SeekMerger
{
public:
    // Notes a target; true when the caller should arrange a flush (none is due yet).
    bool request(int64_t targetMs);
    // The target to send now, when one waits and none is in flight; it is then in flight.
    std::optional<int64_t> take();
    // The engine finished (or refused) the seek in flight.
    void finished() { _inFlight = false; }
    // A new item: nothing waits and nothing is in flight.
    void clear();

    bool isInFlight() const { return _inFlight; }
    std::optional<int64_t> pending() const { return _pending; }

private:
    std::optional<int64_t> _pending;
    bool _inFlight = false;
    int64_t _inFlightTarget = 0;
    bool _flushDue = false;
};

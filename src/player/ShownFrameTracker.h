// Which picture of the movie is on screen while the engine plays. The core reports a picture's time as it
// queues the picture, one or two pictures before it shows, and the renderer gives each picture's display
// time: from a picture known at rest, each picture handed over is as many pictures on as the time between
// its display time and the one before holds at the playing rate, a picture the core dropped included.
#pragma once

#include <cstdint>
#include <optional>

class ShownFrameTracker
{
public:
    // One picture's time in the movie, seconds; 0 when unknown, which leaves the reported times as they are.
    void setFrameInterval(double seconds) { _interval = seconds; }
    // At rest the picture on screen is the one the core reports.
    void rest(double timeSec);
    // The time (s) of a new picture shown at displayUs (the core's clock; none when the core gave no
    // display time) while playing at rate; latestSec is the latest time the core reported, which the
    // screen never passes and is never far behind.
    double handedOver(std::optional<int64_t> displayUs, double rate, double latestSec);
    // The time of the picture on screen.
    double time() const { return _time; }

private:
    double _interval = 0.0;
    double _time = 0.0;
    // The pictures counted; ahead of _time while the core's report is late.
    double _counted = 0.0;
    bool _aheadBefore = false;
    std::optional<int64_t> _lastDisplayUs;
};

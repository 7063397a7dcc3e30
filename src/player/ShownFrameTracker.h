// Which picture of the movie is on screen while the engine plays. The core reports a picture's time as it
// queues the picture, one or two pictures before it shows, and the renderer gives each picture's display
// time: from a picture known at rest, each picture handed over is as many pictures on as the time between
// its display time and the one before holds at the playing rate, a picture the core dropped included. A
// renderer that numbers the new pictures it draws also names those it drew and replaced before the one
// handed over was taken, which the first picture after a rest has no display time to count by.
#pragma once

#include <cstdint>
#include <optional>

class ShownFrameTracker
{
public:
    // mpv's video-timing-offset, which the engine's core is given: the core queues a picture, and reports
    // its time, at most this long before the picture's display time.
    static constexpr double MOST_REPORT_LEAD_SEC = 0.050;

    // One picture's time in the movie, seconds; 0 when unknown, which leaves the reported times as they are.
    void setFrameInterval(double seconds) { _interval = seconds; }
    // At rest the picture on screen is the one the core reports; drawnNumber is the renderer's number of
    // that picture, when it numbers them.
    void rest(double timeSec, std::optional<uint64_t> drawnNumber = std::nullopt);
    // The time (s) of a new picture shown at displayUs (the core's clock; none when the core gave no
    // display time) while playing at rate; latestSec is the latest time the core reported, which the
    // screen never passes, read at reportUs (the core's clock; none: at the display time). drawnNumber is
    // the renderer's count of the new pictures it drew, this one included, when it numbers them.
    double handedOver(std::optional<int64_t> displayUs, double rate, double latestSec,
                      std::optional<int64_t> reportUs = std::nullopt,
                      std::optional<uint64_t> drawnNumber = std::nullopt);
    // The time of the picture on screen.
    double time() const { return _time; }

private:
    double _interval = 0.0;
    double _time = 0.0;
    // The pictures counted; ahead of _time while the core's report is late.
    double _counted = 0.0;
    bool _aheadBefore = false;
    std::optional<int64_t> _lastDisplayUs;
    std::optional<uint64_t> _lastDrawn;
    // The rate the last picture was handed over at: the pictures the core queued since may be spaced by it.
    double _lastRate = 0.0;
};

// Which picture of the movie is on screen while the engine plays. The core reports a picture's time as it
// queues the picture, one or two pictures before it shows. From a picture known at rest, each picture
// handed over is as many pictures on as the renderer drew since the one before, taken or drawn over before
// the main thread took one, and the core dropped; a renderer that does not number its pictures gives their
// display times, and a picture is as many on as the time from the one before holds at the playing rate.
#pragma once

#include <cstdint>
#include <optional>

class ShownFrameTracker
{
public:
    // mpv's video-timing-offset, which the engine's core is given: the core queues a picture, and reports
    // its time, at most this long before the picture's display time.
    static constexpr double MOST_REPORT_LEAD_SEC = 0.050;

    // The pictures gone by a picture: the renderer's count of new pictures drawn, that one included, and
    // the core's count of pictures it dropped as last reported, which a seek sets back to 0.
    struct Tally
    {
        uint64_t drawn = 0;
        int64_t dropped = 0;
    };

    // One picture's time in the movie, seconds; 0 when unknown, which leaves the reported times as they are.
    void setFrameInterval(double seconds) { _interval = seconds; }
    // At rest the picture on screen is the one the core reports; tally is that picture's, when known.
    void rest(double timeSec, std::optional<Tally> tally = std::nullopt);
    // The time (s) of a new picture shown at displayUs (the core's clock; none when the core gave no
    // display time) while playing at rate; latestSec is the latest time the core reported, which the
    // screen never passes, read at reportUs (the core's clock; none: at the display time). tally is the
    // picture's, when the renderer numbers its pictures.
    double handedOver(std::optional<int64_t> displayUs, double rate, double latestSec,
                      std::optional<int64_t> reportUs = std::nullopt,
                      std::optional<Tally> tally = std::nullopt);
    // The time of the picture on screen.
    double time() const { return _time; }

private:
    // The pictures from the last one to this, by the tallies or else by the display times.
    double steps(std::optional<int64_t> displayUs, double rate, std::optional<Tally> tally) const;

    double _interval = 0.0;
    double _time = 0.0;
    // The pictures counted; ahead of _time while the core's report is late.
    double _counted = 0.0;
    bool _aheadBefore = false;
    std::optional<int64_t> _lastDisplayUs;
    std::optional<Tally> _lastTally;
    // The rate the last picture was handed over at: the pictures the core queued since may be spaced by it.
    double _lastRate = 0.0;
};

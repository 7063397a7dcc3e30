// What the walks over a whole trip need of a chapter's driving data, kept for good once the data has
// been read: the route the map draws, the first and last positions, the start time, the distance the
// stopwatch sums and whether the chapter is a trimmed clip. A few kilobytes where the driving data is
// a hundred, so drawing a long trip's route, placing its markers or taking a worker's hand-over never
// reads a recording again.
#pragma once

#include "recording/Date.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class VideoInfo;

struct ChapterOutline
{
    // A position in the recording's own unit, 1/36,000 degree.
    struct Point
    {
        int32_t latitude = 0;
        int32_t longitude = 0;
        bool operator==(const Point &) const = default;
    };

    // Camera 0's usable frames with a position, in time order, a repeat of the point just before left
    // out: the map drops such a point whatever came before it, so the route it draws is the same.
    std::vector<Point> route;
    Point first; // camera 0's frame at the start, as found without searching
    Point last;  // camera 0's frame at the end of the recording, searched back
    Date firstTime = Date::distantPast();
    // Speed times the time each frame covers, summed over camera 0's frames.
    float distance = 0.0f;
    bool isCutVideo = false;

    static ChapterOutline of(VideoInfo &video);
    // What keeping it costs, its own size included.
    size_t bytes() const;
};

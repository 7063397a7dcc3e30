// The speed meter's animation-time table of one movie file: for each frame (by its position in the movie,
// ms), the seconds left until the recorded speed next changes.
#pragma once

#include "graph/DrivingSample.h"

#include <cstdint>
#include <optional>
#include <span>
#include <unordered_map>

using SpeedDurationTable = std::unordered_map<int32_t, double>;

class SpeedDurations
{
public:
    SpeedDurations() = delete;

    // frames in recording order. A run of frames of one speed lasts from its first frame to the first frame
    // of the next run (the last run to its own last frame); each frame gets what is left of its run.
    static SpeedDurationTable build(std::span<const DrivingSample> frames);
    // The entry of a frame; none for a position above the largest signed 32-bit value or without one.
    static std::optional<double> lookup(const SpeedDurationTable &table, uint32_t movieTimeStampMs);
};

// The stopwatch and trim marks of the track bar: what it shows as markers and where a drag stops.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

enum class StopWatchStatus
{
    Ready = 0,
    Start = 1,
    Stop = 2
};

class TrackMarks
{
public:
    static constexpr int64_t TRM_MAX_VAL = 1800000; // longest trim selection, ms

    // Where a drag that reached the value is held, and whether the trim selection holds it.
    struct Limit
    {
        int64_t value;
        bool isTrim;
    };
    // A running stopwatch holds drags at its last mark; else the trim selection keeps them inside
    // its 30 minutes. A stopwatch with a stop position limits nothing.
    std::optional<Limit> dragLimit(int64_t value) const;
    // The trim selection is on and the position is 30 minutes or more past its start.
    bool isTrimSpanReached(double position) const;

    StopWatchStatus swStatus = StopWatchStatus::Stop;
    int64_t swStartSumFrameTS = -1; // ms on the timeline; -1 = none
    std::vector<int64_t> swLapSumFrameTSList;
    int64_t swStopSumFrameTS = -1; // -1 = none
    bool selectFrame = false;
    // Start of the trim selection, kept after the selection is switched off.
    int64_t selectStartSumFrameTS = 0;
};

#include "player/TrackMarks.h"

#include <cmath>

std::optional<TrackMarks::Limit> TrackMarks::dragLimit(int64_t value) const
{
    if (swStopSumFrameTS != -1 && swStopSumFrameTS != 0)
        return std::nullopt;
    if (swStartSumFrameTS != -1) {
        const int64_t last = swLapSumFrameTSList.empty() ? swStartSumFrameTS : swLapSumFrameTSList.back();
        if (last > value)
            return Limit{last, false};
    }
    if (selectFrame) {
        if (selectStartSumFrameTS > value)
            return Limit{selectStartSumFrameTS, true};
        if (selectStartSumFrameTS + TRM_MAX_VAL < value)
            return Limit{selectStartSumFrameTS + TRM_MAX_VAL, true};
    }
    return std::nullopt;
}

bool TrackMarks::isTrimSpanReached(double position) const
{
    return selectFrame && std::floor(position) - static_cast<double>(selectStartSumFrameTS) >= TRM_MAX_VAL;
}

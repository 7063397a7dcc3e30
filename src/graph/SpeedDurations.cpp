#include "graph/SpeedDurations.h"

#include <limits>

SpeedDurationTable SpeedDurations::build(std::span<const DrivingSample> frames)
{
    SpeedDurationTable table;
    size_t runStart = 0;
    while (runStart < frames.size()) {
        size_t runEnd = runStart + 1;
        while (runEnd < frames.size() && frames[runEnd].speedKmh == frames[runStart].speedKmh)
            ++runEnd;
        const uint32_t endMs =
            runEnd < frames.size() ? frames[runEnd].movieTimeStampMs : frames[runEnd - 1].movieTimeStampMs;
        for (size_t i = runStart; i < runEnd; ++i) {
            const uint32_t at = frames[i].movieTimeStampMs;
            if (at > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()) || at > endMs)
                continue;
            table.emplace(static_cast<int32_t>(at), (endMs - at) / 1000.0);
        }
        runStart = runEnd;
    }
    return table;
}

std::optional<double> SpeedDurations::lookup(const SpeedDurationTable &table, uint32_t movieTimeStampMs)
{
    if (movieTimeStampMs > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    const auto it = table.find(static_cast<int32_t>(movieTimeStampMs));
    if (it == table.end())
        return std::nullopt;
    return it->second;
}

// Where the graph area puts time values, axis labels and event lines, and which time value a position
// selects. Coordinates are the graph's own with the origin at the bottom left and y upwards.
#pragma once

#include "graph/GranularityType.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct AxisLabel
{
    double position = 0.0; // x for the time axis, y for a value axis
    double value = 0.0;    // in the axis's unit (seconds, minutes or plain)
    bool operator==(const AxisLabel &) const = default;
};

struct BorderPosition
{
    double position = 0.0;
    int value = 0;
};

class GraphScale
{
public:
    double width = 0.0;  // W
    double height = 0.0; // H
    // Smallest and largest x of the left series, and how many points it has.
    int minX = 0;
    int maxX = 0;
    size_t leftCount = 0;

    GranularityType granularityType = GranularityType::Second;
    int granularity = 1;

    // True when the time axis has a usable range: at least two points with distinct x.
    bool hasTimeRange() const { return leftCount >= 2 && minX < maxX; }

    // x of a time value: proportional between minX and maxX, never past W - 0.5, 0 at or before minX.
    double position(int64_t value) const;
    // The time value a press at x selects, rounded up to the next millisecond and kept inside the range.
    int valueAt(double x) const;

    // One label every granularity units from minX while below maxX + 1; none without a time range.
    std::vector<AxisLabel> xAxisLabels() const;
    // Labels from min in steps of granularity × the type's divisor while below max + step.
    std::vector<AxisLabel> yAxisLabels(double granularity, GranularityType type, double min,
                                       double max) const;
    std::vector<BorderPosition> borderPositions(const std::vector<int> &borders) const;
};

// The line chart's choice of axis steps and ranges, and the texts and places of its labels.
#pragma once

#include "graph/GranularityType.h"

#include <QString>
#include <cstdint>
#include <optional>

struct TimeStep
{
    GranularityType type = GranularityType::Second;
    int granularity = 1;
    bool operator==(const TimeStep &) const = default;
};

struct ValueRange
{
    double min = 0.0;
    double max = 0.0;
    double granularity = 0.0; // a quarter of the range: five labels
    bool operator==(const ValueRange &) const = default;
};

class LineChartScale
{
public:
    LineChartScale() = delete;

    // Margins of the graph inside the chart, in points.
    static constexpr double GRAPH_OFFSET_LEFT = 40.0;
    static constexpr double GRAPH_OFFSET_RIGHT = 30.0;
    static constexpr double GRAPH_OFFSET_TOP = 20.0;
    static constexpr double GRAPH_OFFSET_BUTTOM = 20.0;
    static constexpr double LABEL_GAP = 5.0;

    // Step of the time axis for a span in ms; a negative span counts as a huge one.
    static TimeStep timeStep(int64_t spanMs);
    // G axis for the largest G of the series (none for an empty series).
    static ValueRange gRange(std::optional<double> largestG);
    // Speed axis for the largest speed of the series.
    static ValueRange speedRange(std::optional<int> largestSpeed);

    // "+0.38": two decimals, halves rounded up; "+-.--" for a value that is not a number.
    static QString gLabelText(double value);
    // Time and speed labels: the value truncated to an integer.
    static QString integerLabelText(double value);
    // Unit legend of the time axis: "[s]", "[m]", or nothing for plain values.
    static QString unitLegend(GranularityType type);
    // Left edge of the event label of width w centred on x, kept 5 points clear of the start label's right
    // edge and of the end label's left edge (the end label wins when both cannot be kept).
    static double eventLabelX(double eventX, double w, double startLabelRight, double endLabelLeft);
};

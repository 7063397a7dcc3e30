#include "graph/GraphScale.h"

#include <algorithm>
#include <cmath>

double GraphScale::position(int64_t value) const
{
    if (!(minX < value && minX < maxX))
        return 0.0;
    const double x = static_cast<double>(value - minX) * width / static_cast<double>(maxX - minX);
    return std::min(x, width - 0.5);
}

int GraphScale::valueAt(double x) const
{
    if (x > width || !hasTimeRange() || width <= 0.0)
        return minX;
    const double step = std::ceil(x / width * static_cast<double>(maxX - minX));
    return static_cast<int>(std::min<double>(minX + step, maxX));
}

std::vector<AxisLabel> GraphScale::xAxisLabels() const
{
    std::vector<AxisLabel> labels;
    // Without a range the positions would divide by zero: no labels at all then.
    if (minX >= maxX)
        return labels;
    const int64_t step = std::max(1, granularity) * granularityUnit(granularityType);
    const double divisor = granularityDivisor(granularityType);
    for (int64_t v = minX; v < int64_t(maxX) + 1; v += step) {
        const double x = static_cast<double>(v - minX) * width / static_cast<double>(maxX - minX);
        labels.push_back({std::min(x, width - 0.5), static_cast<double>(v) / divisor});
    }
    return labels;
}

std::vector<AxisLabel> GraphScale::yAxisLabels(double granularity, GranularityType type, double min,
                                               double max) const
{
    std::vector<AxisLabel> labels;
    const double divisor = granularityDivisor(type);
    const double step = granularity * divisor;
    if (!(step > 0.0) || !std::isfinite(step) || !std::isfinite(min) || !std::isfinite(max))
        return labels;
    for (int i = 0;; ++i) {
        const double v = std::fma(static_cast<double>(i), step, min);
        if (!(v < max + step))
            break;
        const double y = max > min ? std::min(height * (v - min) / (max - min), height - 0.5) : 0.0;
        labels.push_back({y, v / divisor});
    }
    return labels;
}

std::vector<BorderPosition> GraphScale::borderPositions(const std::vector<int> &borders) const
{
    std::vector<BorderPosition> result;
    for (const int e : borders)
        result.push_back({position(e), e});
    return result;
}

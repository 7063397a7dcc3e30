#include "graph/LineChartScale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {
struct SpanRow
{
    uint64_t below; // the row applies to spans under this many ms
    TimeStep step;
};
constexpr std::array<SpanRow, 18> SPAN_ROWS = {{
    {11000, {GranularityType::Second, 1}},
    {16000, {GranularityType::Second, 2}},
    {24000, {GranularityType::Second, 3}},
    {32000, {GranularityType::Second, 4}},
    {40000, {GranularityType::Second, 5}},
    {80000, {GranularityType::Second, 10}},
    {100000, {GranularityType::Second, 15}},
    {130000, {GranularityType::Second, 20}},
    {195000, {GranularityType::Second, 30}},
    {260000, {GranularityType::Second, 40}},
    {325000, {GranularityType::Second, 50}},
    {390000, {GranularityType::Second, 60}},
    {455000, {GranularityType::Second, 60}},
    {520000, {GranularityType::Second, 80}},
    {600000, {GranularityType::Second, 90}},
    {960000, {GranularityType::Minute, 2}},
    {2400000, {GranularityType::Minute, 5}},
    {std::numeric_limits<uint64_t>::max(), {GranularityType::Second, 1}},
}};

ValueRange quarters(double min, double max)
{
    return {min, max, (max - min) * 0.25};
}
} // namespace

TimeStep LineChartScale::timeStep(int64_t spanMs)
{
    // Taken as unsigned: a negative span lands in the last row.
    const auto span = static_cast<uint64_t>(spanMs);
    for (const SpanRow &row : SPAN_ROWS) {
        if (span < row.below)
            return row.step;
    }
    return SPAN_ROWS.back().step;
}

ValueRange LineChartScale::gRange(std::optional<double> largestG)
{
    if (!largestG)
        return quarters(0.1, 0.5);
    const double g = *largestG;
    if (g >= 0.0 && g <= 0.5)
        return quarters(0.1, 0.5);
    if (g > 0.5 && g <= 3.0)
        return quarters(0.0, std::ceil(g * 2.0) * 0.5);
    if (g > 3.0 && std::isfinite(g))
        return quarters(0.0, std::ceil(2.0 * g) * 0.5);
    return quarters(0.1, 0.5);
}

ValueRange LineChartScale::speedRange(std::optional<int> largestSpeed)
{
    if (!largestSpeed)
        return quarters(0.0, 40.0);
    const int s = *largestSpeed;
    if (s < 0 || s > 200)
        return quarters(0.0, 40.0);
    // 40, 80, 120, 160 or 200: the next multiple of 40 at or above s (40 for 0).
    return quarters(0.0, std::max(1, (s + 39) / 40) * 40.0);
}

QString LineChartScale::gLabelText(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("+-.--");
    const double rounded = std::floor(value * 100.0 + 0.5) / 100.0;
    return QStringLiteral("+") + QString::number(rounded, 'f', 2);
}

QString LineChartScale::integerLabelText(double value)
{
    if (!std::isfinite(value) || std::abs(value) > std::numeric_limits<int>::max())
        return QString();
    return QString::number(static_cast<int>(value));
}

QString LineChartScale::unitLegend(GranularityType type)
{
    switch (type) {
    case GranularityType::Second:
        return QStringLiteral("[s]");
    case GranularityType::Minute:
        return QStringLiteral("[m]");
    case GranularityType::Default:
        break;
    }
    return QString();
}

double LineChartScale::eventLabelX(double eventX, double w, double startLabelRight, double endLabelLeft)
{
    double x = eventX - w * 0.5;
    x = std::max(x, startLabelRight + LABEL_GAP);
    x = std::min(x, endLabelLeft - w - LABEL_GAP);
    return x;
}

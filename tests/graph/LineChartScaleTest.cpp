#include "graph/LineChartScale.h"
#include "graph/GraphScale.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <cmath>

TEST(LineChartScaleTest, TimeStepsAtTheSpanBoundaries)
{
    using G = GranularityType;
    const struct
    {
        int64_t span;
        TimeStep step;
    } cases[] = {
        // Both sides of the first step, the change to minutes, the last step and spans past the table.
        {10999, {G::Second, 1}},  {11000, {G::Second, 2}},   {599999, {G::Second, 90}},
        {600000, {G::Minute, 2}}, {2399999, {G::Minute, 5}}, {2400000, {G::Second, 1}},
        {-1, {G::Second, 1}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LineChartScale::timeStep(c.span), c.step) << c.span;
    EXPECT_EQ(LineChartScale::unitLegend(G::Minute), "[m]");
    EXPECT_EQ(LineChartScale::unitLegend(G::Second), "[s]");
    EXPECT_TRUE(LineChartScale::unitLegend(G::Default).isEmpty());
}

TEST(LineChartScaleTest, AxisLabelTexts)
{
    GraphScale s;
    s.height = 120.0;
    const auto texts = [&](const ValueRange &range, bool g) {
        QStringList out;
        for (const AxisLabel &label :
             s.yAxisLabels(range.granularity, GranularityType::Default, range.min, range.max))
            out << (g ? LineChartScale::gLabelText(label.value)
                      : LineChartScale::integerLabelText(label.value));
        return out.join(' ');
    };
    const struct
    {
        double largestG;
        const char *labels;
    } gCases[] = {
        {0.3, "+0.10 +0.20 +0.30 +0.40 +0.50"},
        {1.2, "+0.00 +0.38 +0.75 +1.13 +1.50"},
        {3.2, "+0.00 +0.88 +1.75 +2.63 +3.50"},
    };
    for (const auto &c : gCases)
        EXPECT_EQ(texts(LineChartScale::gRange(c.largestG), true), c.labels) << c.largestG;
    const struct
    {
        int largestSpeed;
        const char *labels;
    } speedCases[] = {
        {40, "0 10 20 30 40"}, {41, "0 20 40 60 80"}, {250, "0 10 20 30 40"}, {161, "0 50 100 150 200"}};
    for (const auto &c : speedCases)
        EXPECT_EQ(texts(LineChartScale::speedRange(c.largestSpeed), false), c.labels) << c.largestSpeed;
    EXPECT_EQ(LineChartScale::gLabelText(std::nan("")), "+-.--");
    EXPECT_EQ(LineChartScale::integerLabelText(59.9), "59");
}

TEST(LineChartScaleTest, EventLabelKeepsClearOfTheStartAndEndLabels)
{
    // Start label ends at 100, end label begins at 400; the label is 50 wide.
    const struct
    {
        double eventX;
        double x;
    } cases[] = {{250.0, 225.0}, {110.0, 105.0}, {390.0, 345.0}};
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(LineChartScale::eventLabelX(c.eventX, 50.0, 100.0, 400.0), c.x) << c.eventX;
}

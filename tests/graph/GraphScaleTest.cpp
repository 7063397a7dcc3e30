#include "graph/GraphScale.h"
#include "graph/LineChartScale.h"

#include <gtest/gtest.h>

namespace {
GraphScale scale400(int minX = 0, int maxX = 60000)
{
    GraphScale s;
    s.width = 400.0;
    s.height = 120.0;
    s.minX = minX;
    s.maxX = maxX;
    s.leftCount = 2;
    return s;
}
} // namespace

TEST(GraphScaleTest, PositionsAndSelectedValues)
{
    const GraphScale s = scale400();
    const struct
    {
        int64_t value;
        double position;
    } positions[] = {{30000, 200.0}, {60000, 399.5}, {0, 0.0}, {-10, 0.0}, {90000, 399.5}};
    for (const auto &c : positions)
        EXPECT_DOUBLE_EQ(s.position(c.value), c.position) << c.value;
    const struct
    {
        double x;
        int value;
    } values[] = {{200.0, 30000}, {0.1, 15}, {400.0, 60000}, {0.0, 0}, {401.0, 0}};
    for (const auto &c : values)
        EXPECT_EQ(s.valueAt(c.x), c.value) << c.x;

    GraphScale single = scale400(500, 500);
    single.leftCount = 1;
    EXPECT_EQ(single.valueAt(200.0), 500);
    EXPECT_FALSE(single.hasTimeRange());
}

TEST(GraphScaleTest, TimeLabelsEndAtTheRightEdgeAndVanishWithoutRange)
{
    GraphScale s = scale400(0, 10000);
    const TimeStep step = LineChartScale::timeStep(10000);
    s.granularityType = step.type;
    s.granularity = step.granularity;
    const auto labels = s.xAxisLabels();
    ASSERT_EQ(labels.size(), 11u);
    EXPECT_DOUBLE_EQ(labels.front().value, 0.0);
    EXPECT_DOUBLE_EQ(labels.back().value, 10.0);
    EXPECT_DOUBLE_EQ(labels.back().position, 399.5);
    EXPECT_DOUBLE_EQ(labels[5].position, 200.0);

    // No data, or every point at one time: no labels rather than a division by zero.
    EXPECT_TRUE(scale400(0, 0).xAxisLabels().empty());
    EXPECT_TRUE(scale400(7000, 7000).xAxisLabels().empty());
}

TEST(GraphScaleTest, EveryValueAxisHasFiveLabelsFromBottomToTop)
{
    const GraphScale s = scale400();
    std::vector<ValueRange> ranges;
    for (const double g : {0.0, 0.3, 0.5, 0.51, 1.2, 2.0, 2.7, 3.0, 3.2, 7.9, -1.0})
        ranges.push_back(LineChartScale::gRange(g));
    ranges.push_back(LineChartScale::gRange(std::nullopt));
    for (const int speed : {0, 40, 41, 100, 160, 161, 200, 201, 250, -3})
        ranges.push_back(LineChartScale::speedRange(speed));
    ranges.push_back(LineChartScale::speedRange(std::nullopt));
    for (const ValueRange &range : ranges) {
        const auto labels = s.yAxisLabels(range.granularity, GranularityType::Default, range.min, range.max);
        ASSERT_EQ(labels.size(), 5u) << range.min << ".." << range.max;
        EXPECT_DOUBLE_EQ(labels.front().value, range.min);
        EXPECT_NEAR(labels.back().value, range.max, 1e-12);
        EXPECT_DOUBLE_EQ(labels.front().position, 0.0);
        EXPECT_DOUBLE_EQ(labels.back().position, 119.5);
        EXPECT_DOUBLE_EQ(labels[2].position, 60.0);
    }
    EXPECT_TRUE(s.yAxisLabels(0.0, GranularityType::Default, 0.0, 1.0).empty());
}

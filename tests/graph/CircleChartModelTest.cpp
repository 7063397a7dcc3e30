#include "graph/CircleChartModel.h"
#include "FakeDrivingData.h"
#include "support/MessageCapture.h"

#include <QLoggingCategory>

#include <gtest/gtest.h>

#include <cmath>

namespace {
using Status = CommonConst::PlayStatus;
using Scope = CircleChartModel::GScopeType;

// One 60 s chapter whose G turns once around a circle of 0.3 g per 6 s.
std::shared_ptr<FakeDrivingData> circling(std::vector<int32_t> lengths = {60000})
{
    return std::make_shared<FakeDrivingData>(std::move(lengths), [](int32_t p) {
        const double a = p / 6000.0 * 2.0 * 3.14159265358979;
        return makeSample(p, 50, 0.3 * std::cos(a), 0.3 * std::sin(a));
    });
}

size_t pointCount(const std::vector<CircleChartModel::TracePath> &paths)
{
    size_t n = 0;
    for (const auto &path : paths)
        n += path.points.size();
    return n;
}
} // namespace

TEST(CircleChartModelTest, ScopeButtonCyclesAndValuesBeyondTheScopeLieOnItsCircle)
{
    EXPECT_EQ(CircleChartModel::nextScope(Scope::g30), Scope::g05); // the last scope wraps to the first
    CircleChartModel chart;
    chart.setSize({130.0, 130.0});
    chart.setScope(Scope::g05);
    EXPECT_EQ(chart.scopeScale(1.0, 0.0), chart.scopeScale(0.5, 0.0));
    // Full scale lies a third of the width from the centre; y upwards.
    EXPECT_NEAR(chart.scopeScale(0.5, 0.0).x(), 65.0 + 130.0 / 3.0, 1e-9);
    EXPECT_NEAR(chart.scopeScale(0.0, 0.25).y(), 65.0 + 130.0 / 6.0, 1e-9);
    const QPointF diagonal = chart.scopeScale(3.0, -3.0);
    EXPECT_NEAR(std::hypot(diagonal.x() - 65.0, diagonal.y() - 65.0), 130.0 / 3.0, 1e-9);
}

TEST(CircleChartModelTest, PlayingTraceFadesByAgeOverTheLastTenSeconds)
{
    CircleChartModel chart;
    chart.loadMovieChapters(circling());
    chart.updateMarker(3000, Status::Play);
    const auto paths = chart.trace();
    ASSERT_EQ(paths.size(), CircleChartModel::lineColorList().size());
    // Only the 3 s played exist: the colours of keys 0 down to -2500 carry points.
    std::vector<int> used;
    for (size_t i = 0; i < paths.size(); ++i) {
        if (paths[i].points.size() >= 2)
            used.push_back(CircleChartModel::lineColorList()[i].first);
        EXPECT_EQ(paths[i].colour, CircleChartModel::lineColorList()[i].second);
    }
    EXPECT_EQ(used,
              (std::vector<int>{-2500, -1660, -1500, -1330, -1160, -1000, -830, -660, -500, -330, -160, 0}));

    // Ten seconds in the black entry covers nothing, and every other one is used.
    chart.updateMarker(30000, Status::Play);
    const auto later = chart.trace();
    EXPECT_LT(later.front().points.size(), 2u);
    for (size_t i = 1; i < later.size(); ++i)
        EXPECT_GE(later[i].points.size(), 2u) << i;
    // The newest stretch ends at the dot.
    EXPECT_EQ(later.back().points.back(), *chart.marker());
}

TEST(CircleChartModelTest, PausedAndStoppedTracesAndThinning)
{
    CircleChartModel chart;
    chart.loadMovieChapters(circling({162000}));
    chart.updateMarker(0, Status::Pause);
    auto paths = chart.trace();
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_TRUE(paths.front().points.empty()); // only the dot at the first frame
    EXPECT_TRUE(chart.marker().has_value());
    EXPECT_EQ(chart.cachedPointCount(), 5400u);

    chart.updateMarker(3000, Status::Pause);
    EXPECT_EQ(chart.trace().front().colour, QColor(255, 165, 0));

    // A stretch of 5400 points is thinned to the first point and one of every 31 after it, plus the dot.
    chart.updateMarker(162000, Status::Stop);
    paths = chart.trace();
    EXPECT_EQ(paths.front().points.size(), 1u + 5399u / 31u + 1u);

    chart.loadMovieChapters(circling({161999}));
    chart.updateMarker(161999, Status::Stop);
    EXPECT_EQ(pointCount(chart.trace()), 1u + 5399u / 31u + 1u);
    chart.loadMovieChapters(circling({161969}));
    chart.updateMarker(161969, Status::Stop);
    EXPECT_EQ(pointCount(chart.trace()), 5399u + 1u);
    EXPECT_EQ(chart.cachedPointCount(), 5399u);
}

TEST(CircleChartModelTest, ThinningKeepsTheFarthestPointOfEachGroup)
{
    // G jumps far out at one sample of each group: that sample must be the one kept.
    auto source = std::make_shared<FakeDrivingData>(std::vector<int32_t>{200000}, [](int32_t p) {
        const int index = p / 30;
        const bool far = index > 0 && (index - 1) % 31 == 17;
        const double side = ((index - 1) / 31) % 2 == 0 ? 0.9 : -0.9;
        return makeSample(p, 0, far ? side : 0.01 * (index % 3), 0.0);
    });
    CircleChartModel chart;
    chart.setScope(Scope::g10);
    chart.loadMovieChapters(source);
    chart.updateMarker(200000, Status::Stop);
    const auto path = chart.trace().front();
    ASSERT_GT(path.points.size(), 100u);
    for (size_t i = 1; i + 1 < path.points.size(); ++i)
        EXPECT_EQ(path.points[i], chart.scopeScale(i % 2 == 1 ? 0.9 : -0.9, 0.0)) << i;
}

TEST(CircleChartModelTest, ChaptersEventsResizeAndEmptyLists)
{
    CircleChartModel chart;
    chart.loadMovieChapters(circling({10000, 20000}));
    chart.updateMarker(15000, Status::Stop);
    EXPECT_EQ(chart.minValue(), 10001);
    EXPECT_EQ(chart.maxValue(), 30001);
    const auto before = chart.trace().front().points;

    // A new size rebuilds the cached trace in the new geometry.
    chart.setSize({260.0, 260.0});
    const auto after = chart.trace().front().points;
    ASSERT_EQ(before.size(), after.size());
    EXPECT_NEAR(after[1].x() - 130.0, 2.0 * (before[1].x() - 65.0), 1e-9);

    chart.loadEventChapters(circling(), CommonConst::PlayType::Event, 5000, 25000);
    chart.updateMarker(59000, Status::Play);
    EXPECT_EQ(chart.maxValue(), 25000);

    chart.loadMovieChapters(std::make_shared<FakeDrivingData>(std::vector<int32_t>{}, nullptr));
    chart.updateMarker(100, Status::Play);
    EXPECT_TRUE(chart.trace().empty());
    EXPECT_FALSE(chart.marker().has_value());
    chart.updateMarker(100, Status::NotReady);
    EXPECT_TRUE(chart.trace().empty());
}

// Each draw of a paused chart has a debug line; it reaches the console only when asked for.
TEST(CircleChartModelTest, DrawLinesAreDebugOutputOffUnlessAsked)
{
    CircleChartModel chart;
    chart.loadMovieChapters(circling());
    chart.updateMarker(3000, Status::Pause);
    for (const bool asked : {false, true}) {
        QLoggingCategory::setFilterRules(asked ? "orv.graph.circlechart.debug=true" : "");
        MessageCapture console;
        chart.trace();
        chart.trace();
        EXPECT_EQ(console.messages().size(), asked ? 2u : 0u);
        EXPECT_EQ(console.count(QtDebugMsg, "orv.graph.circlechart"), asked ? 2 : 0);
    }
    QLoggingCategory::setFilterRules({});
}

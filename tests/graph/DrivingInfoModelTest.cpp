#include "graph/DrivingInfoModel.h"
#include "FakeDrivingData.h"

#include <gtest/gtest.h>

namespace {
using PlayType = CommonConst::PlayType;

DrivingInfoModel::Settings utc(bool kmh = true)
{
    DrivingInfoModel::Settings s;
    s.timeFormat = "HH:mm:ss";
    s.timeZone = "UTC";
    s.summerTime = true;
    s.kmh = kmh;
    return s;
}

std::shared_ptr<FakeDrivingData> steady(std::vector<int32_t> lengths, int speed = 50)
{
    return std::make_shared<FakeDrivingData>(
        std::move(lengths), [speed](int32_t p) { return makeSample(p, speed, 0.3, 0.4, p % 1000 < 500); });
}
} // namespace

TEST(DrivingInfoModelTest, SamplingStepFollowsTheSpan)
{
    const struct
    {
        int32_t span;
        int step;
        size_t samples;
    } cases[] = {{179999, 30, 6000}, {180000, 300, 601}, {600, 30, 21}, {1, 30, 1}};
    for (const auto &c : cases) {
        DrivingInfoModel model;
        model.loadEventChapters(steady({400000}), PlayType::Surveillance, 1000, 1000, 1000 + c.span, utc());
        const auto &speed = model.chart().speedData;
        ASSERT_EQ(speed.size(), c.samples) << c.span;
        EXPECT_EQ(std::next(speed.begin()) == speed.end() ? c.step : std::next(speed.begin())->first, c.step);
        EXPECT_EQ(model.chart().gData.size(), c.samples);
        EXPECT_EQ(model.chart().speedDataColor.size(), c.samples);
    }
}

TEST(DrivingInfoModelTest, SeriesValuesCapsAndColours)
{
    const struct
    {
        int kmh;
        bool unitKmh;
        int series;
    } cases[] = {{180, false, 110}, {177, false, 109}, {181, true, 180}, {90, true, 90}};
    for (const auto &c : cases)
        EXPECT_EQ(DrivingInfoModel::seriesSpeed(c.kmh, c.unitKmh), c.series) << c.kmh;

    DrivingInfoModel model;
    model.loadMovieChapters(steady({3000}), utc());
    const auto &chart = model.chart();
    EXPECT_DOUBLE_EQ(chart.gData.at(0), 0.5);
    EXPECT_EQ(chart.speedDataColor.front(), DrivingInfoModel::lineVColor());
    EXPECT_EQ(chart.speedDataColor[500 / 30 + 1], DrivingInfoModel::lineVColorGpsOff());
    EXPECT_EQ(chart.gDataColor, std::vector<QColor>{DrivingInfoModel::lineGColor()});
    EXPECT_EQ(chart.minValue, (ChartLabel{0, "12:00:00"}));
    EXPECT_EQ(chart.maxValue, (ChartLabel{3000, "12:00:03"}));
    EXPECT_EQ(chart.accidentValue.position, -1);
}

TEST(DrivingInfoModelTest, TripPositionsMoveToTheirChapterForwardAndBack)
{
    auto source = steady({10000, 20000, 30000});
    DrivingInfoModel model;
    model.loadMovieChapters(source, utc());
    EXPECT_EQ(model.currentIndex(), 0);
    const int builds = model.rebuildCount();
    EXPECT_FALSE(model.setValue(9000, utc()));
    EXPECT_EQ(model.rebuildCount(), builds);

    const struct
    {
        int position;
        int64_t index;
        int min, max;
    } seeks[] = {
        {15000, 1, 10001, 30001}, {45000, 2, 30002, 60002}, {500, 0, 0, 10000}, {60002, 2, 30002, 60002}};
    for (const auto &s : seeks) {
        model.setValue(s.position, utc());
        EXPECT_EQ(model.currentIndex(), s.index) << s.position;
        EXPECT_EQ(model.minValue(), s.min);
        EXPECT_EQ(model.maxValue(), s.max);
        EXPECT_EQ(model.relativeValue(), s.position - s.min);
    }
}

TEST(DrivingInfoModelTest, AMissingEndFrameStillBuildsTheSeriesOncePerStretch)
{
    // No frame from 8 s on: the end label has no text but keeps its position.
    auto source = std::make_shared<FakeDrivingData>(std::vector<int32_t>{10000, 10000}, [](int32_t p) {
        return p % 10001 < 8000 ? std::optional(makeSample(p, 40)) : std::nullopt;
    });
    DrivingInfoModel model;
    model.loadMovieChapters(source, utc());
    EXPECT_EQ(model.chart().maxValue, (ChartLabel{10000, ""}));
    const int builds = model.rebuildCount();
    for (int p = 0; p <= 10000; p += 33)
        model.setValue(p, utc());
    EXPECT_EQ(model.rebuildCount(), builds);
    model.setValue(10001, utc());
    EXPECT_EQ(model.rebuildCount(), builds + 1);
}

TEST(DrivingInfoModelTest, EventAndSurveillanceStretches)
{
    DrivingInfoModel model;
    model.loadEventChapters(steady({60000}), PlayType::Event, 12000, 0, 20000, utc());
    EXPECT_EQ(model.chart().accidentValue, (ChartLabel{12000, "12:00:12"}));
    EXPECT_EQ(model.value(), 0);
    // The whole stretch is loaded once, whatever the position.
    const int builds = model.rebuildCount();
    EXPECT_FALSE(model.setValue(50000, utc()));
    EXPECT_EQ(model.rebuildCount(), builds);
    EXPECT_EQ(model.minValue(), 0);

    model.loadEventChapters(steady({60000}), PlayType::Surveillance, 5000, 5000, 65000, utc());
    EXPECT_EQ(model.chart().accidentValue, (ChartLabel{-1, ""}));
    EXPECT_EQ(model.accidentValue(), 5000);

    model.loadEventChapters(nullptr, PlayType::Event, 5000, 5000, 65000, utc());
    EXPECT_EQ(model.minValue(), 0);
    EXPECT_EQ(model.maxValue(), 1);
    EXPECT_EQ(model.accidentValue(), -1);
    EXPECT_EQ(model.chart().maxValue, (ChartLabel{0, ""})); // under 2 ms: no labels
    EXPECT_TRUE(model.chart().speedData.empty());
}

TEST(DrivingInfoModelTest, TheEventLineNamesTheSecondOfTheRecordAtItsPosition)
{
    // Chapters of 10 s on a timeline without gaps: a border's first record is its chapter's, and a label
    // that took the previous chapter's last sample there would name the second before.
    const struct
    {
        int event;
        const char *label;
    } cases[] = {
        {10000, "12:00:10"}, {9999, "12:00:09"}, {15500, "12:00:15"}, {20000, "12:00:20"}, {0, "12:00:00"}};
    for (const auto &c : cases) {
        DrivingInfoModel model;
        model.loadEventChapters(steady({9999, 9999, 9999}), PlayType::Event, c.event, 0, 29999, utc());
        EXPECT_EQ(model.chart().accidentValue, (ChartLabel{c.event, c.label})) << c.event;
    }
}

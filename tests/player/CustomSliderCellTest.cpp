#include "player/CustomSliderCell.h"

#include "player/CustomSliderCellDelegate.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlaybackClock.h"
#include "player/TrackSlider.h"

#include "card/MoveProtectInfo.h"

#include "TestModels.h"
#include "TripFixture.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr int64_t MS = 1000000; // ns

class CountingDelegate : public QObject, public CustomSliderCellDelegate
{
public:
    void trackbarValueChanged() override { ++calls; }
    int calls = 0;
};

std::shared_ptr<RangeModel> rangeModel(int64_t min, int64_t max, int64_t current = 0)
{
    return std::make_shared<RangeModel>(min, max, current);
}

// A track bar 416 wide: the track is 400 wide from x = 8, so one pixel is range/400 ms.
struct Bar
{
    Bar()
    {
        cell = new CustomSliderCell(std::make_shared<PlaybackClock>([this] { return now; }));
        slider = std::make_unique<TrackSlider>(cell);
        slider->resize(416, 34);
        cell->setDelegate(&delegate);
        slider->grab(); // draws once: sets the band that takes presses
    }
    double xOf(double value) const { return 8.0 + cell->valueToPosition(value); }
    // Where a drag to the value is held.
    double drag(double value) const { return cell->limitTrackingPoint(xOf(value), {xOf(value), 10}).x(); }

    int64_t now = 1000 * MS;
    CountingDelegate delegate;
    CustomSliderCell *cell = nullptr;
    std::unique_ptr<TrackSlider> slider;
};

} // namespace

TEST(CustomSliderCellTest, TickDuringADragKeepsTheDraggedValueButTellsThePanel)
{
    Bar bar;
    bar.cell->setValueInfo(rangeModel(0, 40000));
    EXPECT_FALSE(bar.cell->startTracking({100, 30})); // below the band that takes presses
    EXPECT_FALSE(bar.cell->isTracking());
    bar.cell->clock()->play();
    ASSERT_TRUE(bar.cell->startTracking({bar.xOf(10000), 10}));
    EXPECT_NEAR(bar.cell->doubleValue(), 10000, 1e-6);
    const int told = bar.delegate.calls;
    bar.now += 500 * MS;
    bar.cell->onValueChanged();
    EXPECT_NEAR(bar.cell->doubleValue(), 10000, 1e-6);
    EXPECT_EQ(bar.delegate.calls, told + 1);
    bar.cell->stopTracking({bar.xOf(10000), 10}, {bar.xOf(20000), 10});
    EXPECT_NEAR(bar.cell->doubleValue(), 20000, 1e-6);
    EXPECT_FALSE(bar.cell->isTracking());
    bar.now += 33 * MS;
    bar.cell->onValueChanged();
    EXPECT_NEAR(bar.cell->doubleValue(), 20033, 1e-6);
}

TEST(CustomSliderCellTest, NewValueModelSetsTheValueAndDateAndTheEventMarkerFollowsTheRecordKind)
{
    Bar bar;
    const int told = bar.delegate.calls;
    auto info = rangeModel(12000, 32000, 5000);
    bar.cell->setValueInfo(info);
    EXPECT_EQ(bar.cell->maxValue(), 32000);
    EXPECT_EQ(info->currentValue(), 12000);
    EXPECT_EQ(bar.cell->integerValue(), 12000);
    EXPECT_EQ(bar.delegate.calls, told + 1);
    EXPECT_FALSE(bar.cell->baseDate().has_value());
    // Without chapters the date is the minimum in seconds after 1970 plus the position.
    EXPECT_EQ(bar.cell->currentDate(), Date::fromUnixSeconds(12000).addingMilliseconds(12000));

    using Detect = MoveProtectInfo::DetectStatus;
    const struct
    {
        Detect detect;
        int64_t position;
        QString marker; // empty: none
    } cases[] = {{Detect::G, 24000, "parts_marker_g"},
                 {Detect::SW, 24000, "parts_marker_sw"},
                 {Detect::SURV, 24000, ""},
                 {Detect::NON, 24000, ""},
                 {Detect::G, 100, ""}}; // below the minimum
    for (const auto &c : cases) {
        info->setEvent(c.position, makeRecord(c.detect));
        bar.cell->updateMarkers();
        if (c.marker.isEmpty()) {
            EXPECT_TRUE(bar.cell->markers().empty()) << int(c.detect);
        } else {
            ASSERT_EQ(bar.cell->markers().size(), 1u);
            EXPECT_EQ(bar.cell->markers().at(12000), c.marker);
        }
    }
}

TEST(CustomSliderCellTest, StopwatchAndTrimMarkersReplaceEarlierOnesAtTheSameKey)
{
    Bar bar;
    bar.cell->setValueInfo(rangeModel(0, 600000, 50000));
    CustomSliderCell &cell = *bar.cell;
    EXPECT_TRUE(cell.markers().empty()); // created stopped with no start and no stop

    const std::vector<int64_t> laps = {2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000};
    cell.setStopwatch(StopWatchStatus::Start, 1000, laps, -1);
    ASSERT_EQ(cell.markers().size(), 11u);
    EXPECT_EQ(cell.markers().at(1000), "parts_marker_start");
    EXPECT_EQ(cell.markers().at(4000), "parts_marker_n3");
    EXPECT_EQ(cell.markers().at(11000), "parts_marker_n10");

    cell.setStopwatch(StopWatchStatus::Stop, 1000, laps, 11000);
    EXPECT_EQ(cell.markers().at(11000), "parts_marker_end");

    cell.setSelectFrame(true); // at 50000
    cell.setStopwatch(StopWatchStatus::Stop, 1000, laps, 50000);
    EXPECT_EQ(cell.markers().at(50000), "parts_marker_s");
    // Ten laps and every marker draw without fault.
    EXPECT_FALSE(bar.slider->grab().isNull());
}

TEST(CustomSliderCellTest, TrimSelectionBoundsTheModelForThirtyMinutes)
{
    Bar bar;
    auto info = rangeModel(0, 4000000, 100000);
    bar.cell->setValueInfo(info);
    bar.cell->setSelectFrame(true);
    EXPECT_EQ(bar.cell->selectStartSumFrameTS(), 100000);
    EXPECT_EQ(info->startValueMovieCut(), 100000);
    EXPECT_EQ(info->endValueMovieCut(), 1900000);
    bar.cell->setSelectFrame(false);
    EXPECT_FALSE(info->startValueMovieCut().has_value());
    EXPECT_FALSE(info->endValueMovieCut().has_value());
    EXPECT_EQ(bar.cell->selectStartSumFrameTS(), 100000);
}

TEST(CustomSliderCellTest, DragIsHeldAfterTheRunningStopwatchsLastMarkAndInsideTheTrimSelection)
{
    Bar watch;
    watch.cell->setValueInfo(rangeModel(0, 40000, 30000));
    watch.cell->setStopwatch(StopWatchStatus::Start, 10000, {20000}, -1);
    EXPECT_NEAR(watch.drag(15000), watch.xOf(20000), 1e-9);
    EXPECT_NEAR(watch.drag(25000), watch.xOf(25000), 1e-9);
    // Once stopped, the stopwatch no longer limits the drag (nor does the trim selection).
    watch.cell->setStopwatch(StopWatchStatus::Stop, 10000, {20000}, 22000);
    watch.cell->setSelectFrame(true);
    EXPECT_NEAR(watch.drag(1000), watch.xOf(1000), 1e-9);

    Bar trim;
    auto info = rangeModel(0, 4000000, 1000000);
    trim.cell->setValueInfo(info);
    trim.cell->setStopwatch(StopWatchStatus::Start, -1, {}, -1);
    trim.cell->setSelectFrame(true); // 30 minutes from 1,000,000
    const int told = trim.delegate.calls;
    EXPECT_NEAR(trim.drag(500000), trim.xOf(1000000), 1e-9);
    EXPECT_EQ(trim.delegate.calls, told + 1);
    EXPECT_NEAR(info->currentValue(), 1000000, 10000);
    EXPECT_NEAR(trim.drag(3500000), trim.xOf(2800000), 1e-9);
    EXPECT_NEAR(info->currentValue(), 2800000, 10000);
    EXPECT_EQ(trim.cell->integerValue(), info->currentValue());
    EXPECT_NEAR(trim.drag(2000000), trim.xOf(2000000), 1e-9);
}

TEST(CustomSliderCellTest, EmptyRangesAndEmptyModelsDrawWithoutFault)
{
    Bar bar;
    bar.cell->setValueInfo(std::make_shared<PlayMovieValueInfo>());
    EXPECT_EQ(bar.cell->numberOfTickMarks(), 1);
    bar.cell->setStopwatch(StopWatchStatus::Start, 0, {}, -1);
    EXPECT_EQ(bar.cell->rectOfTickMarkAtIndex(0).center().x(), 8.0);
    EXPECT_FALSE(bar.slider->grab().isNull());

    // An empty trip: minimum and maximum both 0.
    bar.cell->setValueInfo(
        std::make_shared<PlayMovieValueInfo>(ChapterList{}, CardData::ActiveType::MovieRec));
    EXPECT_EQ(bar.cell->numberOfTickMarks(), 0);
    EXPECT_TRUE(std::isfinite(bar.cell->valueToPosition(0)));
    EXPECT_TRUE(std::isfinite(bar.cell->positionToValue(100)));
    bar.cell->setSelectFrame(true);
    EXPECT_FALSE(bar.slider->grab().isNull());
    bar.cell->startTracking({200, 10});
    EXPECT_EQ(bar.cell->doubleValue(), 0.0);
}

TEST(CustomSliderCellTest, CurrentDateComesFromTheFrameAtThePosition)
{
    TripFixture trip({2000, 2000});
    ASSERT_TRUE(trip.ok()) << qPrintable(trip.error);
    Bar bar;
    auto info = std::make_shared<PlayMovieValueInfo>(trip.chapters, CardData::ActiveType::MovieRec);
    bar.cell->setValueInfo(info);
    const Date start = Date::fromDateTime(QDateTime(QDate(2024, 5, 1), QTime(12, 0, 0), Qt::UTC));
    EXPECT_EQ(bar.cell->baseDate(), start);
    EXPECT_EQ(bar.cell->currentDate(), start);
    bar.cell->setIntegerValue(info->maxValue());
    const Date end = bar.cell->currentDate();
    EXPECT_GE(end.millisecondsSince(start), 3000);
    EXPECT_LE(end.millisecondsSince(start), 4100);
    bar.cell->setIntegerValue(1500);
    bar.cell->setSelectFrame(true);
    EXPECT_EQ(bar.cell->selectStartDate(), start.addingSeconds(1));
}

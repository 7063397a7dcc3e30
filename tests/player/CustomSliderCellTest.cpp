#include "player/CustomSliderCell.h"

#include "player/CustomSliderCellDelegate.h"
#include "player/PlayMovieValueInfo.h"
#include "player/TrackSlider.h"

#include "card/MoveProtectInfo.h"

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

std::shared_ptr<MoveProtectInfo> record(MoveProtectInfo::DetectStatus detect)
{
    const std::vector<uint8_t> zeros(MoveProtectInfo::RECORD_SIZE, 0);
    auto info = std::make_shared<MoveProtectInfo>(std::span<const uint8_t>(zeros), detect);
    info->_detect = detect;
    return info;
}

std::shared_ptr<PlayMovieValueInfo> rangeModel(int64_t min, int64_t max, int64_t current = 0)
{
    auto info = std::make_shared<PlayMovieValueInfo>();
    info->_minValue = min;
    info->_maxValue = max;
    info->_currentValue = current;
    return info;
}

// A track bar 416 wide: the track is 400 wide from x = 8, so one pixel is range/400 ms.
struct Bar
{
    Bar()
    {
        cell = new CustomSliderCell(nullptr, [this] { return now; });
        slider = std::make_unique<TrackSlider>(cell);
        slider->resize(416, 34);
        cell->setDelegate(&delegate);
        slider->grab(); // draws once: sets the band that takes presses
    }
    double xOf(double value) const { return 8.0 + cell->valueToPosition(value); }

    int64_t now = 1000 * MS;
    CountingDelegate delegate;
    CustomSliderCell *cell = nullptr;
    std::unique_ptr<TrackSlider> slider;
};

} // namespace

TEST(CustomSliderCellTest, ClockRunsOnlyWhilePlayingAndKeepsOneTimer)
{
    Bar bar;
    bar.cell->setValueInfo(rangeModel(0, 100000));
    const int told = bar.delegate.calls;
    bar.cell->restartClock();
    EXPECT_FALSE(bar.cell->isClockRunning());
    bar.cell->onValueChanged();
    EXPECT_EQ(bar.cell->doubleValue(), 0.0);
    EXPECT_EQ(bar.delegate.calls, told);

    bar.cell->isPlay = true;
    bar.cell->restartClock();
    bar.cell->restartClock();
    EXPECT_TRUE(bar.cell->isClockRunning());
    EXPECT_EQ(bar.cell->findChildren<QTimer *>().size(), 1);

    bar.cell->isPlay = false;
    bar.cell->restartClock();
    EXPECT_FALSE(bar.cell->isClockRunning());
    bar.cell->onValueChanged();
    EXPECT_EQ(bar.delegate.calls, told);
}

TEST(CustomSliderCellTest, TicksAdvanceByElapsedTimeTimesRate)
{
    Bar bar;
    bar.cell->setValueInfo(rangeModel(0, 100000));
    bar.cell->isPlay = true;
    bar.cell->restartClock();
    bar.now += 33333333;
    bar.cell->onValueChanged();
    EXPECT_NEAR(bar.cell->doubleValue(), 33.333333, 1e-6);
    bar.cell->rate = 2.0f;
    bar.now += 33333333;
    bar.cell->onValueChanged();
    EXPECT_NEAR(bar.cell->doubleValue(), 100.0, 1e-5);
    // A late tick makes up for the lost time.
    bar.cell->rate = 1.0f;
    bar.now += 100 * MS;
    bar.cell->onValueChanged();
    EXPECT_NEAR(bar.cell->doubleValue(), 200.0, 1e-5);
    // The value never leaves the range.
    bar.now += 1000000 * MS;
    bar.cell->onValueChanged();
    EXPECT_EQ(bar.cell->doubleValue(), 100000.0);
}

TEST(CustomSliderCellTest, TickDuringADragKeepsTheDraggedValueButTellsThePanel)
{
    Bar bar;
    bar.cell->setValueInfo(rangeModel(0, 40000));
    bar.cell->isPlay = true;
    bar.cell->restartClock();
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

TEST(CustomSliderCellTest, PressesOutsideTheBandAreRefused)
{
    Bar bar;
    bar.cell->setValueInfo(rangeModel(0, 40000));
    EXPECT_FALSE(bar.cell->startTracking({100, 30}));
    EXPECT_FALSE(bar.cell->isTracking());
    EXPECT_EQ(bar.cell->doubleValue(), 0.0);
}

TEST(CustomSliderCellTest, NewValueModelSetsRangeTicksValueAndTellsThePanel)
{
    Bar bar;
    const int told = bar.delegate.calls;
    auto info = rangeModel(12000, 32000, 5000);
    bar.cell->setValueInfo(info);
    EXPECT_EQ(bar.cell->minValue(), 12000);
    EXPECT_EQ(bar.cell->maxValue(), 32000);
    EXPECT_EQ(bar.cell->numberOfTickMarks(), 20000);
    EXPECT_EQ(info->currentValue(), 12000);
    EXPECT_EQ(bar.cell->integerValue(), 12000);
    EXPECT_EQ(bar.delegate.calls, told + 1);
    EXPECT_EQ(bar.cell->valueInfo(), info);
    EXPECT_FALSE(bar.cell->hasBaseDate);
    // Without chapters the date is the minimum in seconds after 1970 plus the position.
    EXPECT_EQ(bar.cell->currentDate(), Date::fromUnixSeconds(12000).addingMilliseconds(12000));
}

TEST(CustomSliderCellTest, EventMarkerFollowsTheRecordKind)
{
    Bar bar;
    auto info = rangeModel(12000, 32000);
    info->_playType = CommonConst::PlayType::Event;
    info->_eventValue = 24000;
    info->_protectInfo = record(MoveProtectInfo::DetectStatus::G);
    bar.cell->setValueInfo(info);
    ASSERT_EQ(bar.cell->markers().size(), 1u);
    EXPECT_EQ(bar.cell->markers().begin()->first, 12000);
    EXPECT_EQ(bar.cell->markers().begin()->second, bar.cell->image("parts_marker_g"));

    info->_protectInfo = record(MoveProtectInfo::DetectStatus::SW);
    bar.cell->updateMarkers();
    EXPECT_EQ(bar.cell->markers().at(12000), bar.cell->image("parts_marker_sw"));
    for (auto kind : {MoveProtectInfo::DetectStatus::SURV, MoveProtectInfo::DetectStatus::NON}) {
        info->_protectInfo = record(kind);
        bar.cell->updateMarkers();
        EXPECT_TRUE(bar.cell->markers().empty());
    }
    // A position below the minimum gets no marker.
    info->_protectInfo = record(MoveProtectInfo::DetectStatus::G);
    info->_eventValue = 100;
    bar.cell->updateMarkers();
    EXPECT_TRUE(bar.cell->markers().empty());
}

TEST(CustomSliderCellTest, StopwatchAndTrimMarkersReplaceEarlierOnesAtTheSameKey)
{
    Bar bar;
    bar.cell->setValueInfo(rangeModel(0, 600000, 50000));
    CustomSliderCell &cell = *bar.cell;
    EXPECT_TRUE(cell.markers().empty()); // created stopped with no start and no stop

    cell.swStatus = StopWatchStatus::Start;
    cell.swStartSumFrameTS = 1000;
    for (int lap = 1; lap <= 10; ++lap)
        cell.swLapSumFrameTSList.push_back(1000 + lap * 1000);
    cell.updateMarkers();
    ASSERT_EQ(cell.markers().size(), 11u);
    EXPECT_EQ(cell.markers().at(1000), cell.image("parts_marker_start"));
    EXPECT_EQ(cell.markers().at(4000), cell.image("parts_marker_n3"));
    EXPECT_EQ(cell.markers().at(11000), cell.image("parts_marker_n10"));

    cell.swStatus = StopWatchStatus::Stop;
    cell.swStopSumFrameTS = 11000;
    cell.updateMarkers();
    EXPECT_EQ(cell.markers().at(11000), cell.image("parts_marker_end"));

    cell.setSelectFrame(true); // at 50000
    cell.swStopSumFrameTS = 50000;
    cell.updateMarkers();
    EXPECT_EQ(cell.markers().at(50000), cell.image("parts_marker_s"));
    // Ten laps and every marker draw without fault.
    EXPECT_FALSE(bar.slider->grab().isNull());
}

TEST(CustomSliderCellTest, TrimSelectionBoundsTheModelForThirtyMinutes)
{
    Bar bar;
    auto info = rangeModel(0, 4000000, 100000);
    bar.cell->setValueInfo(info);
    bar.cell->setSelectFrame(true);
    EXPECT_TRUE(bar.cell->selectFrame());
    EXPECT_EQ(bar.cell->_selectStartSumFrameTS, 100000);
    EXPECT_EQ(info->startValueMovieCut(), 100000);
    EXPECT_EQ(info->endValueMovieCut(), 1900000);
    info->setCurrentValue(3000000);
    EXPECT_EQ(info->currentValue(), 1900000);
    info->setCurrentValue(0);
    EXPECT_EQ(info->currentValue(), 100000);
    bar.cell->setSelectFrame(false);
    EXPECT_FALSE(info->startValueMovieCut().has_value());
    EXPECT_FALSE(info->endValueMovieCut().has_value());
    EXPECT_EQ(bar.cell->_selectStartSumFrameTS, 100000);
}

TEST(CustomSliderCellTest, DragCannotGoBeforeTheRunningStopwatchsLastMark)
{
    Bar bar;
    bar.cell->setValueInfo(rangeModel(0, 40000, 30000));
    CustomSliderCell &cell = *bar.cell;
    cell.swStatus = StopWatchStatus::Start;
    cell.swStartSumFrameTS = 10000;
    cell.swLapSumFrameTSList = {20000};
    const QPointF pinned = cell.limitTrackingPoint(bar.xOf(15000), {bar.xOf(15000), 10});
    EXPECT_NEAR(pinned.x(), bar.xOf(20000), 1e-9);
    const QPointF free = cell.limitTrackingPoint(bar.xOf(25000), {bar.xOf(25000), 10});
    EXPECT_NEAR(free.x(), bar.xOf(25000), 1e-9);
    // Once stopped, the stopwatch no longer limits the drag (nor does the trim selection).
    cell.swStopSumFrameTS = 22000;
    cell.setSelectFrame(true);
    const QPointF stopped = cell.limitTrackingPoint(bar.xOf(1000), {bar.xOf(1000), 10});
    EXPECT_NEAR(stopped.x(), bar.xOf(1000), 1e-9);
}

TEST(CustomSliderCellTest, DragIsKeptInsideTheTrimSelection)
{
    Bar bar;
    auto info = rangeModel(0, 4000000, 1000000);
    bar.cell->setValueInfo(info);
    CustomSliderCell &cell = *bar.cell;
    cell.swStartSumFrameTS = -1;
    cell.setSelectFrame(true);
    const int told = bar.delegate.calls;
    const QPointF before = cell.limitTrackingPoint(bar.xOf(500000), {bar.xOf(500000), 10});
    EXPECT_NEAR(before.x(), bar.xOf(1000000), 1e-9);
    EXPECT_EQ(bar.delegate.calls, told + 1);
    EXPECT_NEAR(info->currentValue(), 1000000, 10000);
    const QPointF after = cell.limitTrackingPoint(bar.xOf(3500000), {bar.xOf(3500000), 10});
    EXPECT_NEAR(after.x(), bar.xOf(2800000), 1e-9);
    EXPECT_NEAR(info->currentValue(), 2800000, 10000);
    EXPECT_EQ(cell.integerValue(), info->currentValue());
    const QPointF inside = cell.limitTrackingPoint(bar.xOf(2000000), {bar.xOf(2000000), 10});
    EXPECT_NEAR(inside.x(), bar.xOf(2000000), 1e-9);
}

TEST(CustomSliderCellTest, EmptyRangesAndEmptyModelsDrawWithoutFault)
{
    Bar bar;
    bar.cell->setValueInfo(std::make_shared<PlayMovieValueInfo>());
    EXPECT_EQ(bar.cell->numberOfTickMarks(), 1);
    bar.cell->swStatus = StopWatchStatus::Start;
    bar.cell->swStartSumFrameTS = 0;
    bar.cell->updateMarkers();
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
    EXPECT_TRUE(bar.cell->hasBaseDate);
    EXPECT_EQ(bar.cell->baseDate, start);
    EXPECT_EQ(bar.cell->currentDate(), start);
    bar.cell->setIntegerValue(info->_maxValue);
    const Date end = bar.cell->currentDate();
    EXPECT_GE(end.millisecondsSince(start), 3000);
    EXPECT_LE(end.millisecondsSince(start), 4100);
    bar.cell->setIntegerValue(1500);
    bar.cell->setSelectFrame(true);
    EXPECT_EQ(bar.cell->selectStartDate(), start.addingSeconds(1));
}

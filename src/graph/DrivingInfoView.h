// The driving-data panel beside the video: the line chart of speed and G, the speed meter and the G circle
// chart, their two toggle buttons and the GPS icon. It follows the playback position it is given.
#pragma once

#include "graph/DrivingInfoModel.h"
#include "graph/GraphImages.h"
#include "graph/LineViewDelegate.h"
#include "graph/SpeedDurations.h"

#include <QWidget>
#include <memory>
#include <optional>

class CardData;
class CircleChartView;
class DrivingInfoViewDelegate;
class EXTextButton;
class LineView;
class MoveProtectInfo;
class QLabel;
class QToolButton;
class SpeedMeterView;
struct EventStretch;
class UserDefaultUtil;

class DrivingInfoView : public QWidget, public LineViewDelegate
{
    Q_OBJECT
public:
    // settings: the viewer's settings store (label format, zone, unit, scope); may be null for defaults.
    explicit DrivingInfoView(UserDefaultUtil *settings = nullptr, QWidget *parent = nullptr);
    ~DrivingInfoView() override;

    DrivingInfoViewDelegate *delegate = nullptr; // the main window, which outlives the panel

    void setDispSpeedMeter(bool shown);
    void setDispCircleChart(bool shown);
    void setupView();
    // A trip or an adventure; an empty source clears the panel.
    void loadMovieChapters(std::shared_ptr<DrivingDataSource> source);
    void loadEventChapters(CardData &card, MoveProtectInfo &protectInfo);
    void loadEventStretch(const EventStretch &stretch);
    // The playback position, ms on the item's timeline: moves the selection, and the stretch for trips.
    void setValue(int position);
    void updateLayout(bool reloadChart);
    void updateDrivingInfo();
    // "parts_gps_on" or "parts_gps_off".
    void setGpsImage(const QString &name);

    // One frame shown by the player, as the main window hands it on: the position to the panel and the
    // circle chart, the frame to the meter (when there is one) and its fix to the GPS icon.
    void showFrame(int position, const std::optional<DrivingSample> &frame, CommonConst::PlayStatus status,
                   bool playing, const SpeedDurationTable &durInfo);
    // Nothing to show: empty chart and circle, meter at rest, GPS off.
    void clearFrame();
    // The loaded trip's or adventure's timeline took lengths learned since; position is where the player's
    // position moved with its picture.
    void timelineRefreshed(int position);

    // The position a selection on the line chart asks for: the stretch's start plus the chart's value.
    std::optional<int> selectedPosition() const;

    void lineChartSeek(CommonConst::MouseStatus phase) override;

    const DrivingInfoModel &model() const { return _model; }
    LineView *lineChartView() const { return _lineChartView; }
    SpeedMeterView *speedMeterView() const { return _speedMeterView; }
    CircleChartView *circleChartView() const { return _circleChartView; }
    // The hover text button of the player's tool bar.
    QToolButton *speedMeterButton() const;
    QToolButton *circleChartButton() const { return _circleChartButton; }

    QSize sizeHint() const override { return {760, 172}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Shows the model after a change: the chart again when its series were built anew.
    void showModel(int rebuildsBefore, bool reloadChart);
    DrivingInfoModel::Settings settings() const;
    void loadChart();
    void onDisplayButton(bool circleChart);
    void setButtonTitles();

    UserDefaultUtil *_settings;
    QString _timeFormat; // taken once: a new date format reaches the labels at the next start
    DrivingInfoModel _model;
    GraphImages _images;
    LineView *_lineChartView = nullptr;
    SpeedMeterView *_speedMeterView = nullptr;
    CircleChartView *_circleChartView = nullptr;
    EXTextButton *_speedMeterButton = nullptr;
    QToolButton *_circleChartButton = nullptr;
    QLabel *_gpsImage = nullptr;
    QString _gpsImageName;
};

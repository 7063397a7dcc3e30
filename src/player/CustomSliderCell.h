// The track bar's model: the position of record (ms on the item's timeline), the playback clock
// that advances it every 1/30 s, the markers, the trim selection and the drag limits. TrackSlider
// draws it and forwards the mouse.
#pragma once

#include "recording/Date.h"

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class ChapterData;
class CustomSliderCellDelegate;
class PlayMovieValueInfo;
class QPainter;
class QSvgRenderer;
class QTimer;
class QWidget;

enum class StopWatchStatus
{
    Ready = 0,
    Start = 1,
    Stop = 2
};

class CustomSliderCell : public QObject
{
    Q_OBJECT
public:
    // Monotonic time in nanoseconds; tests pass their own.
    using Clock = std::function<int64_t()>;

    explicit CustomSliderCell(QObject *parent = nullptr, Clock clock = {});
    ~CustomSliderCell() override;

    static constexpr double TRM_MAX_VAL = 1800000.0; // longest trim selection, ms
    static constexpr double BAND_HEIGHT = 20.0;      // the band that takes presses
    static constexpr double CONTROL_HEIGHT = 34.0;   // band plus the markers below it
    static constexpr double TRACK_INSET = 8.0;       // half the knob: where the track starts and ends

    // The slider's numeric state: the range comes from the value model; the value is kept in range.
    double minValue() const { return _minValue; }
    double maxValue() const { return _maxValue; }
    double doubleValue() const { return _value; }
    void setDoubleValue(double value);
    int64_t integerValue() const { return static_cast<int64_t>(_value); }
    void setIntegerValue(int64_t value) { setDoubleValue(static_cast<double>(value)); }
    // One tick per millisecond of the range; the ticks only place the markers.
    int64_t numberOfTickMarks() const { return _numberOfTickMarks; }

    // Starts the clock when isPlay, else stops it; a restart while running starts the measure anew.
    void restartClock();
    // One tick of the clock: the timer's action.
    void onValueChanged();
    bool isClockRunning() const;
    // Clock time (ns) of the last tick, or of the start before the first; none while stopped.
    std::optional<int64_t> prevDate() const { return _prevDate; }

    void setValueInfo(const std::shared_ptr<PlayMovieValueInfo> &info);
    const std::shared_ptr<PlayMovieValueInfo> &valueInfo() const { return _valueInfo; }

    // The trim selection: on starts a 30-minute window at the current position.
    bool selectFrame() const { return _selectFrame; }
    void setSelectFrame(bool on);

    // Recording date and time of the position and of the trim selection's start.
    Date currentDate();
    Date selectStartDate();

    // x distance on the track <-> value distance from the minimum.
    double positionToValue(double x) const;
    double valueToPosition(double value) const;

    void updateMarkers();
    const std::map<int64_t, QSvgRenderer *> &markers() const { return markerList; }
    // The image of that resource name ("parts_marker_g"...), for comparing markers.
    QSvgRenderer *image(const QString &name) const;

    // Geometry in the control's coordinates.
    void setControlView(QWidget *view);
    double controlWidth() const;
    QRectF barRect() const;
    QRectF knobRect() const;
    QRectF rectOfTickMarkAtIndex(int64_t index) const;
    QRectF mouseTrackingArea() const { return _mouseTrackingArea; }
    void draw(QPainter &painter, const QRectF &frame);

    // Mouse tracking; the point is in the control's coordinates. False refuses the press.
    bool startTracking(QPointF point);
    void continueTracking(QPointF last, QPointF current);
    void stopTracking(QPointF last, QPointF current);
    bool isTracking() const { return _isTracking; }
    // Keeps a drag behind the running stopwatch's last mark and inside the trim selection.
    QPointF limitTrackingPoint(double testX, QPointF point);

    void setDelegate(QObject *delegate);

    // Written by the player panel.
    float rate = 1.0f;
    bool isPlay = false;
    StopWatchStatus swStatus = StopWatchStatus::Stop;
    int64_t swStartSumFrameTS = -1;
    std::vector<int64_t> swLapSumFrameTSList;
    int64_t swStopSumFrameTS = -1;

    // Read by the player panel and the main window.
    int64_t _selectStartSumFrameTS = 0;
    std::shared_ptr<ChapterData> _trackingStartChapter;
    Date baseDate = Date::distantPast();
    bool hasBaseDate = false;
    const double _timeInterval = 1000.0 / 30.0; // clock period, ms

signals:
    // The user moved the knob (press, drag or release): the panel seeks.
    void userValueChanged();

private:
    void tellDelegate();
    double range() const;
    // Drag position (control x) to a value in range.
    double valueAtX(double x) const;
    void setValueFromX(double x);
    Date fallbackDate() const;
    void drawImage(QPainter &painter, QSvgRenderer *renderer, const QRectF &rect) const;

    Clock _clock;
    QTimer *_timer = nullptr;
    std::optional<int64_t> _prevDate; // ns on the clock
    std::shared_ptr<PlayMovieValueInfo> _valueInfo;
    QPointer<QObject> _delegateObject;
    CustomSliderCellDelegate *_delegate = nullptr;
    QPointer<QWidget> _controlView;

    double _minValue = 0.0;
    double _maxValue = 1.0;
    double _value = 0.0;
    int64_t _numberOfTickMarks = 1;
    bool _selectFrame = false;
    bool _isTracking = false;
    QRectF _mouseTrackingArea;

    std::unique_ptr<QSvgRenderer> _barImage, _barActiveImage, _barSelectImage, _barOffImage, _knobImage;
    std::unique_ptr<QSvgRenderer> _markerImageSW, _markerImageAuto, _startImage, _stopImage, _cutstartImage;
    // Laps 1 to 10: the stopwatch takes ten laps.
    std::array<std::unique_ptr<QSvgRenderer>, 10> _lapImages;
    std::map<int64_t, QSvgRenderer *> markerList;
    std::map<QString, QSvgRenderer *> _imagesByName;
};

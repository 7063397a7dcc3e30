// The track bar's cell: the view of the playback clock (its value is the clock's position) and of
// the value model, with the markers, the trim selection and the drag limits. TrackSlider shows it
// and forwards the mouse; TrackBarPainter draws it.
#pragma once

#include "card/ChapterTimeline.h"
#include "player/TrackMarks.h"
#include "recording/Date.h"

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

class ChapterData;
class CustomSliderCellDelegate;
class PlayMovieValueInfo;
class PlaybackClock;
class QPainter;
class QWidget;
class TrackBarPainter;

class CustomSliderCell : public QObject
{
    Q_OBJECT
public:
    // Without a clock the cell makes its own.
    explicit CustomSliderCell(std::shared_ptr<PlaybackClock> clock = {}, QObject *parent = nullptr);
    ~CustomSliderCell() override;

    static constexpr double BAND_HEIGHT = 20.0;    // the band that takes presses
    static constexpr double CONTROL_HEIGHT = 34.0; // band plus the markers below it
    static constexpr double TRACK_INSET = 8.0;     // half the knob: where the track starts and ends

    const std::shared_ptr<PlaybackClock> &clock() const { return _clock; }
    // The slider's numeric state is the clock's: range and position.
    double minValue() const;
    double maxValue() const;
    double doubleValue() const;
    void setDoubleValue(double value);
    int64_t integerValue() const;
    void setIntegerValue(int64_t value) { setDoubleValue(static_cast<double>(value)); }
    // One tick per millisecond of the range; the ticks only place the markers.
    int64_t numberOfTickMarks() const;

    // One tick of the clock (the timer's action; tests call it).
    void onValueChanged();

    // Attaches the model to the clock and takes its range, base date and markers.
    void setValueInfo(const std::shared_ptr<PlayMovieValueInfo> &info);
    // The model's timeline took lengths learned since: the trim selection's start stays on its picture
    // and its 30 minutes are counted from there again; then as setValueInfo.
    void timelineRefreshed(const std::shared_ptr<PlayMovieValueInfo> &info);
    const std::shared_ptr<PlayMovieValueInfo> &valueInfo() const { return _valueInfo; }

    // The trim selection: on starts a 30-minute window at the current position.
    bool selectFrame() const { return _marks.selectFrame; }
    void setSelectFrame(bool on);
    int64_t selectStartSumFrameTS() const { return _marks.selectStartSumFrameTS; }
    // The stopwatch's marks as the stopwatch last reported them; the markers follow.
    void setStopwatch(StopWatchStatus status, int64_t start, std::vector<int64_t> laps, int64_t stop);
    const TrackMarks &marks() const { return _marks; }

    // Recording date and time of the position and of the trim selection's start.
    Date currentDate();
    Date selectStartDate();
    // Start time of the model's first chapter; none for an empty model.
    std::optional<Date> baseDate() const { return _baseDate; }

    // x distance on the track <-> value distance from the minimum.
    double positionToValue(double x) const;
    double valueToPosition(double value) const;

    void updateMarkers();
    // Marker image names by tick index (position minus the minimum).
    const std::map<int64_t, QString> &markers() const { return _markerList; }

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
    // Ends a drag where the knob is, without a last move: its release will not come.
    void cancelTracking();
    // The chapter under the knob when a drag began on it.
    const std::shared_ptr<ChapterData> &trackingStartChapter() const { return _trackingStartChapter; }
    // Keeps a drag behind the running stopwatch's last mark and inside the trim selection.
    QPointF limitTrackingPoint(double testX, QPointF point);

    void setDelegate(QObject *delegate);

signals:
    // The user moved the knob (press, drag or release): the panel seeks.
    void userValueChanged();

private:
    void selectFrom(int64_t start);
    void tellDelegate();
    double range() const;
    // Drag position (control x) to a value in range.
    double valueAtX(double x) const;
    Date fallbackDate() const;

    std::shared_ptr<PlaybackClock> _clock;
    std::unique_ptr<TrackBarPainter> _painter;
    std::shared_ptr<PlayMovieValueInfo> _valueInfo;
    QPointer<QObject> _delegateObject;
    CustomSliderCellDelegate *_delegate = nullptr;
    QPointer<QWidget> _controlView;
    TrackMarks _marks;
    ChapterTimeline::Place _selectStart; // the trim selection's start on the model's timeline
    std::optional<Date> _baseDate;
    std::shared_ptr<ChapterData> _trackingStartChapter;
    bool _isTracking = false;
    QRectF _mouseTrackingArea;
    std::map<int64_t, QString> _markerList;
};

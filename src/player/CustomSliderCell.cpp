#include "player/CustomSliderCell.h"

#include "player/CustomSliderCellDelegate.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlaybackClock.h"
#include "player/TrackBarPainter.h"

#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"
#include "recording/VideoFrame.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

int32_t narrow(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

CustomSliderCell::CustomSliderCell(std::shared_ptr<PlaybackClock> clock, QObject *parent)
    : QObject(parent), _clock(clock ? std::move(clock) : std::make_shared<PlaybackClock>()),
      _painter(std::make_unique<TrackBarPainter>()), _valueInfo(std::make_shared<PlayMovieValueInfo>())
{
    _valueInfo->attachClock(_clock);
    // During a drag the clock keeps its rhythm and the panel follows the dragged value.
    connect(_clock.get(), &PlaybackClock::ticked, this, [this] {
        if (_controlView)
            _controlView->update();
        tellDelegate();
    });
}

CustomSliderCell::~CustomSliderCell() = default;

void CustomSliderCell::setDelegate(QObject *delegate)
{
    _delegateObject = delegate;
    _delegate = dynamic_cast<CustomSliderCellDelegate *>(delegate);
}

void CustomSliderCell::tellDelegate()
{
    if (_delegateObject && _delegate)
        _delegate->trackbarValueChanged();
}

void CustomSliderCell::setControlView(QWidget *view)
{
    _controlView = view;
}

double CustomSliderCell::minValue() const
{
    return static_cast<double>(_clock->minimum());
}

double CustomSliderCell::maxValue() const
{
    return static_cast<double>(_clock->maximum());
}

double CustomSliderCell::doubleValue() const
{
    return static_cast<double>(_clock->position());
}

int64_t CustomSliderCell::integerValue() const
{
    return _clock->position();
}

int64_t CustomSliderCell::numberOfTickMarks() const
{
    return _clock->maximum() - _clock->minimum();
}

void CustomSliderCell::setDoubleValue(double value)
{
    const int64_t before = _clock->position();
    _clock->setPosition(static_cast<int64_t>(value));
    if (_controlView && _clock->position() != before)
        _controlView->update();
}

void CustomSliderCell::onValueChanged()
{
    _clock->tick();
}

// --- value model ---

void CustomSliderCell::setValueInfo(const std::shared_ptr<PlayMovieValueInfo> &info)
{
    _valueInfo = info ? info : std::make_shared<PlayMovieValueInfo>();
    _valueInfo->attachClock(_clock);
    _baseDate.reset();
    if (!_valueInfo->chapterDataList().empty())
        _baseDate = _valueInfo->chapterDataList().front()->startTime();
    _valueInfo->setCurrentValue(_valueInfo->currentValue());
    if (_controlView)
        _controlView->update();
    tellDelegate();
    updateMarkers();
}

void CustomSliderCell::setSelectFrame(bool on)
{
    _marks.selectFrame = on;
    if (on) {
        const auto start = static_cast<int64_t>(std::floor(doubleValue()));
        _selectStart = _valueInfo->timeline().place(start);
        selectFrom(start);
    } else {
        _valueInfo->setStartValueMovieCut(std::nullopt);
        _valueInfo->setEndValueMovieCut(std::nullopt);
    }
    updateMarkers();
}

void CustomSliderCell::selectFrom(int64_t start)
{
    _marks.selectStartSumFrameTS = start;
    _valueInfo->setStartValueMovieCut(start);
    _valueInfo->setEndValueMovieCut(start + TrackMarks::TRM_MAX_VAL);
}

void CustomSliderCell::timelineRefreshed(const std::shared_ptr<PlayMovieValueInfo> &info)
{
    if (info == _valueInfo && _marks.selectFrame)
        selectFrom(_valueInfo->timeline().position(_selectStart));
    setValueInfo(info);
}

void CustomSliderCell::setStopwatch(StopWatchStatus status, int64_t start, std::vector<int64_t> laps,
                                    int64_t stop)
{
    _marks.swStatus = status;
    _marks.swStartSumFrameTS = start;
    _marks.swLapSumFrameTSList = std::move(laps);
    _marks.swStopSumFrameTS = stop;
    updateMarkers();
    if (_controlView)
        _controlView->update();
}

Date CustomSliderCell::fallbackDate() const
{
    return _baseDate ? *_baseDate : Date::fromUnixMilliseconds(_clock->minimum() * 1000);
}

Date CustomSliderCell::currentDate()
{
    _valueInfo->setCurrentValue(integerValue());
    const auto frame = PictureDataUtil::getVideoFrame(_valueInfo->timeline(), narrow(integerValue()));
    if (frame)
        return frame->time;
    const int64_t index = _valueInfo->currentIndex();
    if (index < _valueInfo->chapterCount())
        return _valueInfo->chapterDataList()[static_cast<size_t>(index)]->startTime();
    return fallbackDate().addingMilliseconds(_valueInfo->currentValue());
}

Date CustomSliderCell::selectStartDate()
{
    const int64_t start = _marks.selectStartSumFrameTS;
    const auto frame = PictureDataUtil::getVideoFrame(_valueInfo->timeline(), narrow(start));
    if (frame)
        return frame->time;
    return fallbackDate().addingMilliseconds(start);
}

// --- mapping ---

// An empty trip has a range of 0: it counts as 1 so that nothing divides by zero.
double CustomSliderCell::range() const
{
    const double r = maxValue() - minValue();
    return r > 0.0 ? r : 1.0;
}

double CustomSliderCell::controlWidth() const
{
    return _controlView ? _controlView->width() : 0.0;
}

double CustomSliderCell::positionToValue(double x) const
{
    if (!_controlView)
        return 0.0;
    const double span = std::max(1.0, controlWidth() - 2 * TRACK_INSET);
    return x * range() / span;
}

double CustomSliderCell::valueToPosition(double value) const
{
    if (!_controlView)
        return 0.0;
    const double span = std::max(1.0, controlWidth() - 2 * TRACK_INSET);
    return (value - minValue()) / range() * span;
}

double CustomSliderCell::valueAtX(double x) const
{
    return std::clamp(minValue() + positionToValue(x - TRACK_INSET), minValue(), maxValue());
}

// --- markers ---

void CustomSliderCell::updateMarkers()
{
    _markerList.clear();
    const auto minimum = static_cast<int64_t>(minValue());
    auto put = [&](int64_t position, const QString &image) {
        if (position >= minimum)
            _markerList[position - minimum] = image;
    };
    const PlayMovieValueInfo &info = *_valueInfo;
    if (info.playType() == CommonConst::PlayType::Event && info.eventValue() && info.protectInfo()) {
        if (info.protectInfo()->_detect == MoveProtectInfo::DetectStatus::SW)
            put(*info.eventValue(), "parts_marker_sw");
        else if (info.protectInfo()->_detect == MoveProtectInfo::DetectStatus::G)
            put(*info.eventValue(), "parts_marker_g");
    }
    if (_marks.swStatus != StopWatchStatus::Ready) {
        put(_marks.swStartSumFrameTS, "parts_marker_start");
        const auto &laps = _marks.swLapSumFrameTSList;
        for (size_t i = 0; i < laps.size(); ++i) {
            // A lap past the tenth (the stopwatch stops at ten) shows the last numeral.
            put(laps[i], QString("parts_marker_n%1").arg(std::min<size_t>(i + 1, 10)));
        }
        if (_marks.swStatus == StopWatchStatus::Stop)
            put(_marks.swStopSumFrameTS, "parts_marker_end");
    }
    if (_marks.selectFrame)
        put(_marks.selectStartSumFrameTS, "parts_marker_s");
}

// --- geometry and drawing ---

QRectF CustomSliderCell::barRect() const
{
    const QSizeF bar = _painter->imageSize("trackbar_off");
    return QRectF(TRACK_INSET, (BAND_HEIGHT - bar.height()) / 2.0,
                  std::max(0.0, controlWidth() - 2 * TRACK_INSET), bar.height());
}

QRectF CustomSliderCell::knobRect() const
{
    const QSizeF knob = _painter->imageSize("trackbar_thumb");
    const double centre = TRACK_INSET + valueToPosition(doubleValue());
    return QRectF(centre - knob.width() / 2.0, (BAND_HEIGHT - knob.height()) / 2.0, knob.width(),
                  knob.height());
}

QRectF CustomSliderCell::rectOfTickMarkAtIndex(int64_t index) const
{
    const QSizeF marker = _painter->imageSize("parts_marker_sw");
    const double centre = TRACK_INSET + valueToPosition(minValue() + static_cast<double>(index));
    return QRectF(centre - marker.width() / 2.0, BAND_HEIGHT - 4.0, marker.width(), marker.height());
}

void CustomSliderCell::draw(QPainter &painter, const QRectF &frame)
{
    TrackBarPainter::Scene scene;
    scene.band = QRectF(frame.x(), frame.y(), frame.width(), BAND_HEIGHT);
    _mouseTrackingArea = scene.band;
    scene.bar = barRect();
    if (_controlView) {
        const QRectF &bar = scene.bar;
        const double played = valueToPosition(doubleValue());
        scene.played = QRectF(bar.x(), bar.y(), played, bar.height());
        const auto start = static_cast<double>(_marks.selectStartSumFrameTS);
        if (_marks.selectFrame && minValue() <= start && start < maxValue()) {
            double end = played;
            if (_marks.isTrimSpanReached(doubleValue()))
                end = valueToPosition(start + static_cast<double>(TrackMarks::TRM_MAX_VAL));
            const double x0 =
                rectOfTickMarkAtIndex(_marks.selectStartSumFrameTS - static_cast<int64_t>(minValue()))
                    .center()
                    .x();
            scene.selection = QRectF(x0, bar.y(), bar.x() + end - x0, bar.height());
        }
        // Markers in key order, later ones over earlier ones; keys past the end sit on the last tick.
        const int64_t lastTick = std::max<int64_t>(0, static_cast<int64_t>(range() - 1.0));
        for (const auto &[key, image] : _markerList)
            scene.markers.emplace_back(image, rectOfTickMarkAtIndex(std::clamp<int64_t>(key, 0, lastTick)));
        scene.knob = knobRect();
    }
    _painter->draw(painter, scene);
}

// --- tracking ---

bool CustomSliderCell::startTracking(QPointF point)
{
    if (!_mouseTrackingArea.contains(point))
        return false;
    _isTracking = true;
    _clock->setHeld(true);
    if (knobRect().contains(point) && _valueInfo->currentIndex() < _valueInfo->chapterCount())
        _trackingStartChapter = _valueInfo->currentChapter();
    const QPointF limited = limitTrackingPoint(point.x(), point);
    setDoubleValue(valueAtX(limited.x()));
    emit userValueChanged();
    return true;
}

void CustomSliderCell::continueTracking(QPointF last, QPointF current)
{
    if (!_isTracking)
        return;
    const QPointF limited = limitTrackingPoint(last.x(), current);
    setDoubleValue(valueAtX(limited.x()));
    if (_controlView)
        _controlView->repaint();
    emit userValueChanged();
}

void CustomSliderCell::stopTracking(QPointF last, QPointF current)
{
    if (!_isTracking)
        return;
    const QPointF limited = limitTrackingPoint(last.x(), current);
    setDoubleValue(valueAtX(limited.x()));
    _isTracking = false;
    _clock->setHeld(false);
    emit userValueChanged();
}

void CustomSliderCell::cancelTracking()
{
    if (!std::exchange(_isTracking, false))
        return;
    _clock->setHeld(false);
}

// Works on x distances from the track's start, the form positionToValue and valueToPosition use.
QPointF CustomSliderCell::limitTrackingPoint(double testX, QPointF point)
{
    const auto m = static_cast<int64_t>(minValue());
    const int64_t value = static_cast<int64_t>(positionToValue(testX - TRACK_INSET)) + m;
    const auto limit = _marks.dragLimit(value);
    if (!limit)
        return point;
    const double x = TRACK_INSET + valueToPosition(static_cast<double>(limit->value));
    if (limit->isTrim) {
        _valueInfo->setCurrentValue(static_cast<int64_t>(positionToValue(x - TRACK_INSET)) + m);
        tellDelegate();
    }
    return QPointF(x, point.y());
}

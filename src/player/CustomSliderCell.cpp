#include "player/CustomSliderCell.h"

#include "player/CustomSliderCellDelegate.h"
#include "player/PlayMovieValueInfo.h"

#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"
#include "recording/VideoFrame.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

int64_t steadyNowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int32_t narrow(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

CustomSliderCell::CustomSliderCell(QObject *parent, Clock clock)
    : QObject(parent), _clock(clock ? std::move(clock) : Clock(&steadyNowNs)),
      _valueInfo(std::make_shared<PlayMovieValueInfo>())
{
    auto load = [this](const QString &name) {
        auto renderer = std::make_unique<QSvgRenderer>(QString(":/images/player/%1.svg").arg(name));
        // The images are compiled in; a missing one is a build fault.
        if (!renderer->isValid())
            qFatal("[CustomSliderCell] missing image %s", qPrintable(name));
        _imagesByName[name] = renderer.get();
        return renderer;
    };
    _barImage = load("trackbar_back");
    _barActiveImage = load("trackbar_active");
    _barSelectImage = load("trackbar_select");
    _barOffImage = load("trackbar_off");
    _knobImage = load("trackbar_thumb");
    _markerImageSW = load("parts_marker_sw");
    _markerImageAuto = load("parts_marker_g");
    _startImage = load("parts_marker_start");
    _stopImage = load("parts_marker_end");
    for (size_t i = 0; i < _lapImages.size(); ++i)
        _lapImages[i] = load(QString("parts_marker_n%1").arg(i + 1));
    _cutstartImage = load("parts_marker_s");
}

CustomSliderCell::~CustomSliderCell() = default;

QSvgRenderer *CustomSliderCell::image(const QString &name) const
{
    const auto it = _imagesByName.find(name);
    return it == _imagesByName.end() ? nullptr : it->second;
}

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

void CustomSliderCell::setDoubleValue(double value)
{
    // Kept in range, as a slider does.
    value = std::min(std::max(value, _minValue), _maxValue);
    if (value == _value)
        return;
    _value = value;
    if (_controlView)
        _controlView->update();
}

// --- clock ---

void CustomSliderCell::restartClock()
{
    if (_timer) {
        _timer->stop();
        delete _timer;
        _timer = nullptr;
    }
    if (!isPlay) {
        _prevDate.reset();
        return;
    }
    _prevDate = _clock();
    _timer = new QTimer(this);
    _timer->setTimerType(Qt::PreciseTimer);
    _timer->setInterval(static_cast<int>(std::lround(_timeInterval)));
    connect(_timer, &QTimer::timeout, this, &CustomSliderCell::onValueChanged);
    _timer->start();
}

bool CustomSliderCell::isClockRunning() const
{
    return _timer != nullptr;
}

// Main thread: the timer's action. The step is the time since the previous tick, so late or
// coalesced ticks do not slow playback down.
void CustomSliderCell::onValueChanged()
{
    if (!isPlay || !_timer)
        return;
    const int64_t fired = _clock();
    if (!_isTracking) {
        const double elapsedMs = _prevDate ? static_cast<double>(fired - *_prevDate) / 1.0e6 : 0.0;
        setDoubleValue(_value + static_cast<double>(rate) * elapsedMs);
    }
    // During a drag the clock keeps its rhythm and the panel follows the dragged value.
    _prevDate = fired;
    tellDelegate();
}

// --- value model ---

void CustomSliderCell::setValueInfo(const std::shared_ptr<PlayMovieValueInfo> &info)
{
    _valueInfo = info ? info : std::make_shared<PlayMovieValueInfo>();
    _minValue = static_cast<double>(_valueInfo->_minValue);
    _maxValue = static_cast<double>(_valueInfo->_maxValue);
    hasBaseDate = !_valueInfo->_chapterDataList.empty();
    baseDate = hasBaseDate ? _valueInfo->_chapterDataList.front()->startTime() : Date::distantPast();
    _numberOfTickMarks = static_cast<int64_t>(_maxValue - _minValue);
    _valueInfo->setCurrentValue(_valueInfo->_currentValue);
    _value = std::min(std::max(static_cast<double>(_valueInfo->_currentValue), _minValue), _maxValue);
    if (_controlView)
        _controlView->update();
    tellDelegate();
    updateMarkers();
}

void CustomSliderCell::setSelectFrame(bool on)
{
    _selectFrame = on;
    _valueInfo->_startValue.reset();
    _valueInfo->_startFrameIndex.reset();
    _valueInfo->_endValue.reset();
    _valueInfo->_endFrameIndex.reset();
    if (on) {
        const auto start = static_cast<int64_t>(std::floor(_value));
        _selectStartSumFrameTS = start;
        _valueInfo->_startValueMovieCut = start;
        _valueInfo->_endValueMovieCut = start + static_cast<int64_t>(TRM_MAX_VAL);
    } else {
        _valueInfo->_startValueMovieCut.reset();
        _valueInfo->_endValueMovieCut.reset();
    }
    updateMarkers();
}

Date CustomSliderCell::fallbackDate() const
{
    return hasBaseDate ? baseDate : Date::fromUnixMilliseconds(static_cast<int64_t>(_minValue * 1000.0));
}

Date CustomSliderCell::currentDate()
{
    _valueInfo->setCurrentValue(integerValue());
    const auto frame = PictureDataUtil::getVideoFrame(_valueInfo->timeline(), narrow(integerValue()));
    if (frame)
        return frame->time;
    const int64_t index = _valueInfo->currentIndex();
    if (index < _valueInfo->chapterCount())
        return _valueInfo->_chapterDataList[static_cast<size_t>(index)]->startTime();
    return fallbackDate().addingMilliseconds(_valueInfo->_currentValue);
}

Date CustomSliderCell::selectStartDate()
{
    const auto frame = PictureDataUtil::getVideoFrame(_valueInfo->timeline(), narrow(_selectStartSumFrameTS));
    if (frame)
        return frame->time;
    return fallbackDate().addingMilliseconds(_selectStartSumFrameTS);
}

// --- mapping ---

// An empty trip has a range of 0: it counts as 1 so that nothing divides by zero.
double CustomSliderCell::range() const
{
    const double r = _maxValue - _minValue;
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
    return (value - _minValue) / range() * span;
}

double CustomSliderCell::valueAtX(double x) const
{
    const double value = _minValue + positionToValue(x - TRACK_INSET);
    return std::min(std::max(value, _minValue), _maxValue);
}

void CustomSliderCell::setValueFromX(double x)
{
    setDoubleValue(valueAtX(x));
}

// --- markers ---

void CustomSliderCell::updateMarkers()
{
    markerList.clear();
    const auto minimum = static_cast<int64_t>(_minValue);
    auto put = [&](int64_t position, QSvgRenderer *image) {
        if (position >= minimum)
            markerList[position - minimum] = image;
    };
    const PlayMovieValueInfo &info = *_valueInfo;
    if (info._playType == CommonConst::PlayType::Event && info._eventValue && info._protectInfo) {
        if (info._protectInfo->_detect == MoveProtectInfo::DetectStatus::SW)
            put(*info._eventValue, _markerImageSW.get());
        else if (info._protectInfo->_detect == MoveProtectInfo::DetectStatus::G)
            put(*info._eventValue, _markerImageAuto.get());
    }
    if (swStatus != StopWatchStatus::Ready) {
        put(swStartSumFrameTS, _startImage.get());
        for (size_t i = 0; i < swLapSumFrameTSList.size(); ++i) {
            // A lap past the tenth (the stopwatch stops at ten) shows the last numeral.
            const size_t image = std::min(i, _lapImages.size() - 1);
            put(swLapSumFrameTSList[i], _lapImages[image].get());
        }
        if (swStatus == StopWatchStatus::Stop)
            put(swStopSumFrameTS, _stopImage.get());
    }
    if (_selectFrame)
        put(_selectStartSumFrameTS, _cutstartImage.get());
}

// --- geometry and drawing ---

QRectF CustomSliderCell::barRect() const
{
    const QSizeF bar = _barOffImage->defaultSize();
    return QRectF(TRACK_INSET, (BAND_HEIGHT - bar.height()) / 2.0,
                  std::max(0.0, controlWidth() - 2 * TRACK_INSET), bar.height());
}

QRectF CustomSliderCell::knobRect() const
{
    const QSizeF knob = _knobImage->defaultSize();
    const double centre = TRACK_INSET + valueToPosition(_value);
    return QRectF(centre - knob.width() / 2.0, (BAND_HEIGHT - knob.height()) / 2.0, knob.width(),
                  knob.height());
}

QRectF CustomSliderCell::rectOfTickMarkAtIndex(int64_t index) const
{
    const QSizeF marker = _markerImageSW->defaultSize();
    const double centre = TRACK_INSET + valueToPosition(_minValue + static_cast<double>(index));
    return QRectF(centre - marker.width() / 2.0, BAND_HEIGHT - 4.0, marker.width(), marker.height());
}

void CustomSliderCell::drawImage(QPainter &painter, QSvgRenderer *renderer, const QRectF &rect) const
{
    if (rect.width() > 0 && rect.height() > 0)
        renderer->render(&painter, rect);
}

void CustomSliderCell::draw(QPainter &painter, const QRectF &frame)
{
    drawImage(painter, _barImage.get(), QRectF(frame.x(), frame.y(), frame.width(), BAND_HEIGHT));
    _mouseTrackingArea = QRectF(frame.x(), frame.y(), frame.width(), BAND_HEIGHT);
    const QRectF bar = barRect();
    drawImage(painter, _barOffImage.get(), bar);
    if (!_controlView)
        return;

    const double played = valueToPosition(_value);
    drawImage(painter, _barActiveImage.get(), QRectF(bar.x(), bar.y(), played, bar.height()));

    const auto start = static_cast<double>(_selectStartSumFrameTS);
    if (_selectFrame && _minValue <= start && start < _maxValue) {
        double end = played;
        if (std::floor(_value) - start >= TRM_MAX_VAL)
            end = valueToPosition(start + TRM_MAX_VAL);
        const double x0 =
            rectOfTickMarkAtIndex(_selectStartSumFrameTS - static_cast<int64_t>(_minValue)).center().x();
        drawImage(painter, _barSelectImage.get(), QRectF(x0, bar.y(), bar.x() + end - x0, bar.height()));
    }

    // Markers in key order, later ones over earlier ones; keys past the end sit on the last tick.
    const int64_t lastTick = std::max<int64_t>(0, static_cast<int64_t>(range() - 1.0));
    for (const auto &[key, image] : markerList)
        drawImage(painter, image, rectOfTickMarkAtIndex(std::clamp<int64_t>(key, 0, lastTick)));

    drawImage(painter, _knobImage.get(), knobRect());
}

// --- tracking ---

bool CustomSliderCell::startTracking(QPointF point)
{
    if (!_mouseTrackingArea.contains(point))
        return false;
    _isTracking = true;
    if (knobRect().contains(point) && _valueInfo->currentIndex() < _valueInfo->chapterCount())
        _trackingStartChapter = _valueInfo->currentChapter();
    const QPointF limited = limitTrackingPoint(point.x(), point);
    setValueFromX(limited.x());
    emit userValueChanged();
    return true;
}

void CustomSliderCell::continueTracking(QPointF last, QPointF current)
{
    if (!_isTracking)
        return;
    const QPointF limited = limitTrackingPoint(last.x(), current);
    setValueFromX(limited.x());
    if (_controlView)
        _controlView->repaint();
    emit userValueChanged();
}

void CustomSliderCell::stopTracking(QPointF last, QPointF current)
{
    if (!_isTracking)
        return;
    const QPointF limited = limitTrackingPoint(last.x(), current);
    setValueFromX(limited.x());
    _isTracking = false;
    emit userValueChanged();
}

// Works on x distances from the track's start, the form positionToValue and valueToPosition use.
QPointF CustomSliderCell::limitTrackingPoint(double testX, QPointF point)
{
    const auto v = [this](double x) { return static_cast<int64_t>(positionToValue(x - TRACK_INSET)); };
    const auto x = [this](double value) { return TRACK_INSET + valueToPosition(value); };
    const auto m = static_cast<int64_t>(_minValue);

    // A stopwatch with a stop position no longer limits anything.
    if (swStopSumFrameTS != -1 && swStopSumFrameTS != 0)
        return point;
    if (swStartSumFrameTS != -1) {
        const int64_t last = swLapSumFrameTSList.empty() ? swStartSumFrameTS : swLapSumFrameTSList.back();
        if (last - m > v(testX))
            return QPointF(x(static_cast<double>(last)), point.y());
    }
    if (_selectFrame) {
        const int64_t start = _selectStartSumFrameTS;
        std::optional<double> limited;
        if (start - m > v(testX))
            limited = x(static_cast<double>(start));
        else if (start + static_cast<int64_t>(TRM_MAX_VAL) - m < v(testX))
            limited = x(static_cast<double>(start) + TRM_MAX_VAL);
        if (limited) {
            _valueInfo->setCurrentValue(static_cast<int64_t>(positionToValue(*limited - TRACK_INSET)) + m);
            setIntegerValue(_valueInfo->_currentValue);
            tellDelegate();
            return QPointF(*limited, point.y());
        }
    }
    return point;
}

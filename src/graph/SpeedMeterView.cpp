#include "graph/SpeedMeterView.h"

#include <QPainter>
#include <cmath>

SpeedMeterView::SpeedMeterView(QWidget *parent, std::function<int64_t()> clockMs)
    : QWidget(parent), _model(std::move(clockMs))
{
    _tickTimer.setInterval(SpeedMeterModel::TIMER_DURATION_MS);
    _tickTimer.setTimerType(Qt::PreciseTimer);
    connect(&_tickTimer, &QTimer::timeout, this, [this] {
        _model.timerTick();
        changed();
    });
    _animationTimer.setInterval(16);
    connect(&_animationTimer, &QTimer::timeout, this, [this] {
        if (!_model.isAnimating(_model.now()))
            _animationTimer.stop();
        update();
    });
    resetMeter();
}

void SpeedMeterView::updateSpeed(const DrivingSample &frame, bool animated, const SpeedDurationTable &durInfo)
{
    _model.updateSpeed(frame, animated, durInfo);
    changed();
}

void SpeedMeterView::resetMeter()
{
    _model.resetMeter();
    changed();
}

void SpeedMeterView::changed()
{
    if (_model.timerRunning() && !_tickTimer.isActive())
        _tickTimer.start();
    else if (!_model.timerRunning())
        _tickTimer.stop();
    if (_model.isAnimating(_model.now()) && !_animationTimer.isActive())
        _animationTimer.start();
    update();
}

void SpeedMeterView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const qreal ratio = devicePixelRatioF();
    const QPointF centre(width() * 0.5, height() * 0.5);
    painter.drawPixmap(
        QRectF(centre.x() - METER_WIDTH * 0.5, centre.y() - METER_HEIGHT * 0.5, METER_WIDTH, METER_HEIGHT)
            .topLeft(),
        _images.pixmap(QStringLiteral("parts_speed_meter_base"), {METER_WIDTH, METER_HEIGHT}, ratio));

    const int64_t now = _model.now();
    // Unit at the bottom right (3 in, 10 up), digits centred 5 above the bottom, one point apart.
    const QString unitName = _model.isSpeedType == SpeedMeterType::MPH ? "parts_MPH" : "parts_kmh";
    const QSize unitSize = _images.naturalSize(QStringLiteral("parts_kmh"));
    painter.drawPixmap(QPointF(width() - 3.0 - unitSize.width(), height() - 10.0 - unitSize.height()),
                       _images.pixmap(unitName, unitSize, ratio));
    const auto digits = _model.digitsAt(now);
    const QSize digitSize = _images.naturalSize(QStringLiteral("parts_speed_0"));
    const double rowWidth = digitSize.width() * 3.0 + 2.0;
    double x = centre.x() - rowWidth * 0.5;
    for (const int glyph : digits) {
        painter.drawPixmap(QPointF(x, height() - 5.0 - digitSize.height()),
                           _images.pixmap(SpeedMeterModel::glyphImageName(glyph), digitSize, ratio));
        x += digitSize.width() + 1.0;
    }

    // The needle turns counter-clockwise for positive angles; the painter's y runs downwards.
    const double degrees = _model.needleAngleAt(now) * 180.0 / SpeedMeterModel::PI;
    painter.translate(centre);
    painter.rotate(-degrees);
    const QString hand = _model.isGpsOn() ? "parts_speed_meter_bar" : "parts_speed_meter_bar_td";
    painter.drawPixmap(QPointF(-HAND_WIDTH * 0.5, -HAND_HEIGHT * 0.5),
                       _images.pixmap(hand, {HAND_WIDTH, HAND_HEIGHT}, ratio));
}

#include "player/TrackSlider.h"

#include "player/CustomSliderCell.h"

#include <QMouseEvent>
#include <QPainter>

TrackSlider::TrackSlider(CustomSliderCell *cell, QWidget *parent) : QWidget(parent), _cell(cell)
{
    _cell->setParent(this);
    _cell->setControlView(this);
    setFixedHeight(static_cast<int>(CustomSliderCell::CONTROL_HEIGHT));
    setFocusPolicy(Qt::ClickFocus);
}

QSize TrackSlider::sizeHint() const
{
    return QSize(400, static_cast<int>(CustomSliderCell::CONTROL_HEIGHT));
}

void TrackSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    _cell->draw(painter, QRectF(rect()));
}

void TrackSlider::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return event->ignore();
    // The press's seek may bring up an alert (a chapter that cannot be loaded); the window under it gets
    // no release then, and the drag would hold the clock for good.
    _pressedIn = window();
    _pressedIn->installEventFilter(this);
    if (!_cell->startTracking(event->position())) {
        endWatch();
        return event->ignore();
    }
    if (!_cell->isTracking())
        endWatch();
    _lastPoint = event->position();
    update();
}

void TrackSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (!_cell->isTracking())
        return;
    _cell->continueTracking(_lastPoint, event->position());
    _lastPoint = event->position();
}

void TrackSlider::mouseReleaseEvent(QMouseEvent *event)
{
    if (!_cell->isTracking())
        return;
    _cell->stopTracking(_lastPoint, event->position());
    endWatch();
    update();
}

bool TrackSlider::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == _pressedIn && event->type() == QEvent::WindowBlocked) {
        _cell->cancelTracking();
        endWatch();
        update();
    }
    return QWidget::eventFilter(watched, event);
}

void TrackSlider::endWatch()
{
    if (_pressedIn)
        _pressedIn->removeEventFilter(this);
    _pressedIn = nullptr;
}

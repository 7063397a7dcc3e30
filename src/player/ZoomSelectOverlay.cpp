#include "player/ZoomSelectOverlay.h"

#include <QPainter>
#include <QPainterPath>

ZoomSelectOverlay::ZoomSelectOverlay(QWidget *parent) : QWidget(parent)
{
    // Clicks and moves go to the surface below, which owns the zoom state.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void ZoomSelectOverlay::setWindowRect(const QRectF &rect)
{
    if (rect == _windowRect)
        return;
    _windowRect = rect;
    update();
}

void ZoomSelectOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addRect(_windowRect);
    path.addRect(QRectF(rect()));
    painter.fillPath(path, QColor(0, 0, 0, 128));
}

#include "player/BrightView.h"

#include "player/BrightnessFill.h"

#include <QPaintEvent>
#include <QPainter>

void BrightView::setAlphVal(double alphVal)
{
    _alphVal = alphVal;
    update();
}

void BrightView::paintEvent(QPaintEvent *event)
{
    const std::optional<QColor> fill = brightnessFill(_alphVal);
    if (!fill)
        return;
    // Source-over, the painter's default: the colour is blended onto what is beneath.
    QPainter painter(this);
    painter.fillRect(event->rect(), *fill);
}

#include "player/MpvImageWidget.h"

#include "player/MpvEngine.h"

#include <QPainter>

MpvImageWidget::MpvImageWidget(MpvEngine *engine, QWidget *parent) : QWidget(parent), _engine(engine)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(engine, &MpvEngine::softwareFrameChanged, this, qOverload<>(&QWidget::update));
}

void MpvImageWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!_engine || _engine->softwareFrame().isNull() || !_engine->hasItem()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), _engine->softwareFrame());
}

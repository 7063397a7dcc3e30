#include "player/MpvImageWidget.h"

#include "player/MpvEngine.h"

#include <QPainter>

MpvImageWidget::MpvImageWidget(MpvEngine *engine, QWidget *parent) : QWidget(parent), _engine(engine)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(engine, &MpvEngine::softwareFrameChanged, this, qOverload<>(&QWidget::update));
}

void MpvImageWidget::resizeEvent(QResizeEvent *)
{
    if (_engine)
        _engine->setSoftwareSize(size() * devicePixelRatio());
}

void MpvImageWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!_engine || _engine->softwareFrame().isNull() || !_engine->hasItem()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    const QImage &picture = _engine->softwareFrame();
    // Drawn at the widget's size, the picture is copied as it is; one of another size (a resize on its
    // way, a zoom past the largest size drawn) is scaled.
    if (picture.size() != size() * devicePixelRatio())
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), picture);
}

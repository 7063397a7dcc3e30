#include "graph/GraphImages.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace {
QString pathOf(const QString &name)
{
    return QStringLiteral(":/images/graph/%1.svg").arg(name);
}
} // namespace

bool GraphImages::exists(const QString &name)
{
    return QFile::exists(pathOf(name));
}

QSize GraphImages::naturalSize(const QString &name)
{
    if (const auto it = _sizes.constFind(name); it != _sizes.constEnd())
        return *it;
    QSvgRenderer renderer(pathOf(name));
    const QSize size = renderer.isValid() ? renderer.defaultSize() : QSize();
    _sizes.insert(name, size);
    return size;
}

QPixmap GraphImages::pixmap(const QString &name, QSize size, qreal devicePixelRatio)
{
    const QString key =
        QStringLiteral("%1@%2x%3@%4").arg(name).arg(size.width()).arg(size.height()).arg(devicePixelRatio);
    if (const auto it = _cache.constFind(key); it != _cache.constEnd())
        return *it;
    QSvgRenderer renderer(pathOf(name));
    if (!renderer.isValid())
        return {};
    if (size.isEmpty())
        size = renderer.defaultSize();
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    _cache.insert(key, pixmap);
    return pixmap;
}

// The panel's pictures, loaded by name from the bundled SVGs and kept as pixmaps per size.
#pragma once

#include <QHash>
#include <QPixmap>
#include <QSize>
#include <QString>

class GraphImages
{
public:
    // The picture's own size (its SVG view box); empty for an unknown name.
    QSize naturalSize(const QString &name);
    static bool exists(const QString &name);
    // The picture at a size (its own when empty) for the device pixel ratio.
    QPixmap pixmap(const QString &name, QSize size = {}, qreal devicePixelRatio = 1.0);

private:
    QHash<QString, QPixmap> _cache;
    QHash<QString, QSize> _sizes;
};

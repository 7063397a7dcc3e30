#include "videotools/OverlayTextLayout.h"

#include <QFontMetricsF>

#include <algorithm>

namespace {

const QChar IDEOGRAPHIC_SPACE(0x3000);

// The overlay's items: the text cut before each ideographic space, which opens every item but the
// first (and the longitude within the position item).
QStringList itemsOf(const QString &line)
{
    QStringList items;
    qsizetype from = 0;
    for (qsizetype i = 1; i < line.size(); ++i) {
        if (line[i] == IDEOGRAPHIC_SPACE) {
            items << line.mid(from, i - from);
            from = i;
        }
    }
    items << line.mid(from);
    return items;
}

// Items joined into lines no wider than width, in order; a line that wraps drops the space that
// opened its first item, so every line starts at the left edge.
QStringList wrap(const QStringList &items, const QFontMetricsF &metrics, double width)
{
    QStringList lines;
    QString line;
    for (const QString &item : items) {
        if (!line.isEmpty() && metrics.horizontalAdvance(line + item) > width) {
            lines << line;
            line = item.startsWith(IDEOGRAPHIC_SPACE) ? item.mid(1) : item;
        } else {
            line += item;
        }
    }
    lines << line;
    return lines;
}

} // namespace

OverlayTextLayout::OverlayTextLayout(const QString &text, int pixelSize, int pictureWidth)
{
    _font.setBold(true);
    const double width = pictureWidth - 2 * INSET;
    const QStringList given = text.split(QLatin1Char('\n'));
    for (int size = std::max(pixelSize, 1);; --size) {
        _font.setPixelSize(size);
        const QFontMetricsF metrics(_font);
        _lines.clear();
        for (const QString &line : given)
            _lines << wrap(itemsOf(line), metrics, width - outlineWidth());
        if (size <= std::min(pixelSize, MIN_PIXEL_SIZE) || fits(_lines, width))
            return;
    }
}

double OverlayTextLayout::outlineWidth() const
{
    return std::max(1.5, _font.pixelSize() * 0.06);
}

bool OverlayTextLayout::fits(const QStringList &lines, double width) const
{
    // The glyphs' own extent, which may reach past the advance, and the outline around them.
    const double rim = outlineWidth() / 2;
    for (const QString &line : lines) {
        QPainterPath path;
        path.addText(QPointF(0, 0), _font, line);
        if (path.boundingRect().right() + rim > width || path.boundingRect().left() - rim < -INSET)
            return false;
    }
    return true;
}

QPainterPath OverlayTextLayout::path(int pictureHeight) const
{
    const QFontMetricsF metrics(_font);
    QPainterPath path;
    double baseline = pictureHeight - INSET - metrics.descent();
    for (qsizetype i = _lines.size() - 1; i >= 0; --i) {
        path.addText(QPointF(INSET, baseline), _font, _lines[i]);
        baseline -= metrics.lineSpacing();
    }
    return path;
}

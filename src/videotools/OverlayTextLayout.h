// The still's burned-in text laid out to the picture's width: one line where it fits, else broken
// between its items (before each ideographic space that opens one) onto as many lines as it needs, and
// smaller only where a single item is still wider than the picture.
#pragma once

#include <QFont>
#include <QPainterPath>
#include <QStringList>

class OverlayTextLayout
{
public:
    // The text field's own inset: the block sits just inside the corner, as a fitted label would.
    static constexpr double INSET = 2.0;
    // Below this the text would not be readable; a picture that narrow gets it cut rather than smaller.
    static constexpr int MIN_PIXEL_SIZE = 6;

    // Bold text of pixelSize pixels (or less, see above) for a picture pictureWidth pixels wide.
    OverlayTextLayout(const QString &text, int pixelSize, int pictureWidth);

    const QStringList &lines() const { return _lines; }
    int pixelSize() const { return _font.pixelSize(); }
    // The black rim around the white glyphs: 3 % of the text size outside them, at least most of a pixel.
    double outlineWidth() const;
    // The glyphs of every line, the block's last line on the bottom-left corner of a picture this high.
    QPainterPath path(int pictureHeight) const;

private:
    bool fits(const QStringList &lines, double width) const;

    QFont _font;
    QStringList _lines;
};

// Where the line chart's legend puts its parts: a translucent box near the graph's top-left corner with one
// row per entry, a colour swatch and its text. The box is as wide as its widest text needs, so that a
// longer translation stays inside it.
#pragma once

#include <QLineF>
#include <QRectF>
#include <vector>

struct LegendLayout
{
    static constexpr double INSET = 5.0; // from the graph's top and left edges to the box
    static constexpr double ROW_HEIGHT = 18.0;
    static constexpr double MIN_WIDTH = 80.0;    // the box for short texts
    static constexpr double SWATCH_INDENT = 5.0; // from the box's left edge
    static constexpr double SWATCH_LENGTH = 10.0;
    static constexpr double TEXT_INDENT = 25.0; // from the box's left edge, past the swatch
    static constexpr double TEXT_MARGIN = 5.0;  // between the widest text and the box's right edge

    struct Row
    {
        QLineF swatch;
        QRectF text; // as wide as the text
    };

    QRectF box;
    std::vector<Row> rows;

    // textWidths: each entry's text width in pixels of the font it is drawn with, first entry on top.
    static LegendLayout compute(const std::vector<double> &textWidths);
};

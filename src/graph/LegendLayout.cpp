#include "graph/LegendLayout.h"

#include <algorithm>
#include <cmath>

LegendLayout LegendLayout::compute(const std::vector<double> &textWidths)
{
    LegendLayout layout;
    const double widest = textWidths.empty() ? 0.0 : *std::max_element(textWidths.begin(), textWidths.end());
    // Whole pixels, so that the box's edges stay sharp.
    const double width = std::max(MIN_WIDTH, std::ceil(TEXT_INDENT + widest + TEXT_MARGIN));
    layout.box = QRectF(INSET, INSET, width, static_cast<double>(textWidths.size()) * ROW_HEIGHT);
    for (size_t i = 0; i < textWidths.size(); ++i) {
        const double top = INSET + static_cast<double>(i) * ROW_HEIGHT;
        const double middle = top + ROW_HEIGHT / 2.0;
        layout.rows.push_back(
            {QLineF(INSET + SWATCH_INDENT, middle, INSET + SWATCH_INDENT + SWATCH_LENGTH, middle),
             QRectF(INSET + TEXT_INDENT, top, textWidths[i], ROW_HEIGHT)});
    }
    return layout;
}

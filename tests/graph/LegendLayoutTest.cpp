#include "graph/LegendLayout.h"

#include <gtest/gtest.h>

// Whatever its texts' widths, the box holds every row's swatch and text, with a pixel or two to spare for
// a glyph's ink past its advance; rows follow each other downwards.
TEST(LegendLayoutTest, TheBoxHoldsEverySwatchAndText)
{
    const std::vector<double> cases[] = {{34.0, 8.0}, {57.3, 8.0}, {8.0, 140.0, 20.0}};
    for (const std::vector<double> &widths : cases) {
        SCOPED_TRACE(widths[1]);
        const LegendLayout layout = LegendLayout::compute(widths);
        ASSERT_EQ(layout.rows.size(), widths.size());
        for (size_t i = 0; i < widths.size(); ++i) {
            const LegendLayout::Row &row = layout.rows[i];
            EXPECT_GE(row.text.width(), widths[i]);
            EXPECT_TRUE(layout.box.contains(row.text.adjusted(0, 0, 2, 0))) << i;
            EXPECT_TRUE(layout.box.contains(row.swatch.p1()) && layout.box.contains(row.swatch.p2())) << i;
            EXPECT_LT(row.swatch.x2(), row.text.left()) << i;
            if (i > 0) {
                EXPECT_GE(row.text.top(), layout.rows[i - 1].text.bottom()) << i;
            }
        }
    }
}

#include "player/BrightView.h"
#include "player/BrightnessFill.h"
#include "player/CustomView.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(BrightViewTest, FillFollowsTheBrightnessRule)
{
    // (alphVal, white, alpha); alpha -1: nothing is drawn.
    const std::tuple<double, bool, double> cases[] = {
        {0.0, false, 0.25},
        {0.1, false, 0.225},
        {0.5, false, 0.125},
        {0.99, false, 0.0025},
        {1.0, false, -1.0},
        {1.01, true, 0.07575},
        {2.0, true, 0.15},
        {5.0, true, 0.375},
        {20.0, true, 1.0},
        {-10.0, false, 1.0},
        {std::numeric_limits<double>::quiet_NaN(), false, -1.0},
    };
    for (const auto &[value, white, alpha] : cases) {
        SCOPED_TRACE(value);
        const std::optional<QColor> fill = brightnessFill(value);
        ASSERT_EQ(fill.has_value(), alpha >= 0.0);
        if (!fill)
            continue;
        EXPECT_TRUE(fill->isValid());
        EXPECT_EQ(fill->rgb(), white ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        EXPECT_NEAR(fill->alphaF(), alpha, 1.0 / 65535) << "QColor keeps 16 bits a channel";
    }
}

// Drawn over mid grey: darker below 1.0, untouched at 1.0, lighter above; a new view darkens.
TEST(BrightViewTest, DrawsItsFillOverWhatIsBeneath)
{
    BrightView view;
    CustomView plain(&view);
    plain.resize(1, 1);
    view.resize(8, 8);
    const auto drawnOverGrey = [&view] {
        QImage image(view.size(), QImage::Format_RGB32);
        image.fill(QColor(128, 128, 128));
        view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return qRed(image.pixel(4, 4));
    };
    EXPECT_EQ(view.alphVal(), 0.0);
    EXPECT_NEAR(drawnOverGrey(), 128 * 0.75, 1.0);
    view.setAlphVal(1.0);
    EXPECT_EQ(drawnOverGrey(), 128);
    view.setAlphVal(5.0);
    EXPECT_NEAR(drawnOverGrey(), 128 + 127 * 0.375, 1.0);
}

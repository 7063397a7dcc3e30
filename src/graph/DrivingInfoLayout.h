// Where the driving-data panel puts its parts: the circle chart at the right edge, the meter to its left and
// the line chart in the rest; the toggle buttons and the GPS icon in a strip above.
#pragma once

#include <QRectF>

struct DrivingInfoLayout
{
    static constexpr double BORDER = 1.0;
    static constexpr double HEADER_HEIGHT = 24.0;
    static constexpr double GAP = 1.0; // between the parts
    static constexpr double BUTTON_WIDTH = 57.0;
    static constexpr double BUTTON_HEIGHT = 24.0; // the strip's height: a 17-point title with its descenders
    static constexpr double CIRCLE_BUTTON_WIDTH = 40.0;
    static constexpr double GPS_SIZE = 20.0;
    static constexpr double TITLE_POINT_SIZE = 17.0;
    static constexpr double TITLE_MARGIN = 3.0; // either side, inside the border

    QRectF lineChart;
    QRectF speedMeter; // empty when hidden
    QRectF circleChart;
    QRectF speedMeterButton;
    QRectF circleChartButton;
    QRectF gpsImage;

    // meterButtonWidth: at least BUTTON_WIDTH, wider for a longer title.
    static DrivingInfoLayout compute(QSizeF panel, bool speedMeterShown, bool circleChartShown,
                                     QSizeF meterSize, QSizeF circleSize,
                                     double meterButtonWidth = BUTTON_WIDTH);
    // The meter button's width for a title of the given width at TITLE_POINT_SIZE, with its margins.
    static double meterButtonWidth(double titleWidth);
};

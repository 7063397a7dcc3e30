// Where the driving-data panel puts its parts: the circle chart at the right edge, the meter to its left and
// the line chart in the rest; the toggle buttons and the GPS icon in a strip above.
#pragma once

#include <QRectF>
#include <functional>
#include <optional>

struct DrivingInfoLayout
{
    static constexpr double BORDER = 1.0;
    static constexpr double HEADER_HEIGHT = 24.0;
    static constexpr double GAP = 1.0;                        // between the parts
    static constexpr double TITLE_WIDTH = 57.0;               // the widest the meter's title may be
    static constexpr double TITLE_MARGIN = 3.0;               // either side, inside the border
    static constexpr double TITLE_POINT_SIZE = 17.0;          // the meter title's size when it fits
    static constexpr double TITLE_INSET = TITLE_MARGIN + 1.0; // the margin and the border's pixel
    // The meter's toggle: the title's room and its inset on either side; the same in every language, a
    // longer title is set smaller instead.
    static constexpr double BUTTON_WIDTH = TITLE_WIDTH + 2 * TITLE_INSET;
    static constexpr double BUTTON_HEIGHT = 24.0; // the strip's height: a 17-point title with its descenders
    static constexpr double CIRCLE_BUTTON_WIDTH = 40.0;
    static constexpr double GPS_SIZE = 20.0;

    QRectF lineChart;
    QRectF speedMeter; // empty when hidden
    QRectF circleChart;
    QRectF speedMeterButton;
    QRectF circleChartButton;
    QRectF gpsImage;

    static DrivingInfoLayout compute(QSizeF panel, bool speedMeterShown, bool circleChartShown,
                                     QSizeF meterSize, QSizeF circleSize);
    // The meter title's size: from TITLE_POINT_SIZE down in steps of 1, the first at which the title is at
    // most TITLE_WIDTH wide; none when even size 1 is wider.
    static std::optional<double> titlePointSize(const std::function<double(double pointSize)> &widthAt);
};

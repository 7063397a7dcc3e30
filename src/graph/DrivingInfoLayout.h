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
    static constexpr double GAP = 1.0; // between the parts
    static constexpr double BUTTON_WIDTH = 57.0;
    static constexpr double BUTTON_HEIGHT = 20.0;
    static constexpr double GPS_SIZE = 20.0;
    static constexpr double TITLE_POINT_SIZE = 17.0;

    QRectF lineChart;
    QRectF speedMeter; // empty when hidden
    QRectF circleChart;
    QRectF speedMeterButton;
    QRectF circleChartButton;
    QRectF gpsImage;

    static DrivingInfoLayout compute(QSizeF panel, bool speedMeterShown, bool circleChartShown,
                                     QSizeF meterSize, QSizeF circleSize);
    // The largest point size from 17 down, in steps of 1, whose title is at most 57 points wide; none when
    // even size 1 does not fit.
    static std::optional<double> titlePointSize(const std::function<double(double pointSize)> &widthAt);
};

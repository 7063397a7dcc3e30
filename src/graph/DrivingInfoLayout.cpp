#include "graph/DrivingInfoLayout.h"

#include <algorithm>

DrivingInfoLayout DrivingInfoLayout::compute(QSizeF panel, bool speedMeterShown, bool circleChartShown,
                                             QSizeF meterSize, QSizeF circleSize)
{
    DrivingInfoLayout layout;
    const QRectF inner(BORDER, BORDER, panel.width() - 2 * BORDER, panel.height() - 2 * BORDER);
    const QRectF content(inner.left(), inner.top() + HEADER_HEIGHT, inner.width(),
                         inner.height() - HEADER_HEIGHT);
    const auto centredY = [&](double h) { return content.top() + (content.height() - h) * 0.5; };

    double trailing = 0.0;
    if (circleChartShown) {
        layout.circleChart = QRectF(content.right() - circleSize.width(), centredY(circleSize.height()),
                                    circleSize.width(), circleSize.height());
        trailing = circleSize.width() + GAP;
    }
    if (speedMeterShown) {
        layout.speedMeter = QRectF(content.right() - trailing - meterSize.width(),
                                   centredY(meterSize.height()), meterSize.width(), meterSize.height());
        trailing += meterSize.width() + GAP;
    }
    layout.lineChart =
        QRectF(content.left(), content.top(), std::max(0.0, content.width() - trailing), content.height());

    const double buttonTop = inner.top() + (HEADER_HEIGHT - BUTTON_HEIGHT) * 0.5;
    layout.circleChartButton =
        QRectF(inner.right() - 4.0 - CIRCLE_BUTTON_WIDTH, buttonTop, CIRCLE_BUTTON_WIDTH, BUTTON_HEIGHT);
    layout.speedMeterButton =
        QRectF(layout.circleChartButton.left() - 4.0 - BUTTON_WIDTH, buttonTop, BUTTON_WIDTH, BUTTON_HEIGHT);
    layout.gpsImage =
        QRectF(inner.left() + 6.0, inner.top() + (HEADER_HEIGHT - GPS_SIZE) * 0.5, GPS_SIZE, GPS_SIZE);
    return layout;
}

std::optional<double>
DrivingInfoLayout::titlePointSize(const std::function<double(double pointSize)> &widthAt)
{
    for (double size = TITLE_POINT_SIZE; size >= 1.0; size -= 1.0) {
        if (widthAt(size) <= TITLE_WIDTH)
            return size;
    }
    return std::nullopt;
}

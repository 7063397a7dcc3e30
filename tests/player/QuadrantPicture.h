// A picture of four coloured quadrants (red, green over blue, yellow), so that a grab shows which part of
// it is on screen and how large.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QWidget>

#include <algorithm>
#include <iterator>
#include <utility>

class QuadrantPicture : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const int w = width() / 2;
        const int h = height() / 2;
        p.fillRect(0, 0, w, h, Qt::red);
        p.fillRect(w, 0, width() - w, h, Qt::green);
        p.fillRect(0, h, w, height() - h, Qt::blue);
        p.fillRect(w, h, width() - w, height() - h, Qt::yellow);
    }
};

// Whether image shows the whole quadrant picture undimmed in fit: each quadrant's colour near its corner.
inline bool showsWholeQuadrants(const QImage &image, const QRectF &fit)
{
    const std::pair<QPointF, Qt::GlobalColor> corners[] = {{fit.topLeft() + QPointF(10, 10), Qt::red},
                                                           {fit.topRight() + QPointF(-10, 10), Qt::green},
                                                           {fit.bottomLeft() + QPointF(10, -10), Qt::blue},
                                                           {fit.bottomRight() - QPointF(10, 10), Qt::yellow}};
    return std::all_of(std::begin(corners), std::end(corners), [&](const auto &c) {
        return image.pixel(c.first.toPoint()) == QColor(c.second).rgb();
    });
}

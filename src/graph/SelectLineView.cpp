#include "graph/SelectLineView.h"

#include <QPainter>
#include <cmath>

SelectLineView::SelectLineView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void SelectLineView::setSelectedVarticalLine(std::vector<double> lines)
{
    if (lines == _selectedVarticalLine)
        return;
    for (const double x : _selectedVarticalLine)
        update(static_cast<int>(std::floor(x)) - 1, 0, 3, height());
    _selectedVarticalLine = std::move(lines);
    for (const double x : _selectedVarticalLine)
        update(static_cast<int>(std::floor(x)) - 1, 0, 3, height());
}

void SelectLineView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(Qt::yellow, 1.0));
    // An aliased line at x fills pixel column floor(x), as the graph's own event lines do: the last
    // position, held at width - 0.5, lands on the last column and not one past it.
    for (const double x : _selectedVarticalLine)
        painter.drawLine(QPointF(x, 0.0), QPointF(x, height()));
}

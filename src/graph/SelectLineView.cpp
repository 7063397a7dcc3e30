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
    for (const double x : _selectedVarticalLine)
        painter.drawLine(QPointF(x + 0.5, 0.0), QPointF(x + 0.5, height()));
}

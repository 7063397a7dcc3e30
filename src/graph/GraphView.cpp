#include "graph/GraphView.h"

#include "graph/GraphViewDelegate.h"
#include "graph/LegendLayout.h"
#include "graph/SelectLineView.h"

#include <QFontMetricsF>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {
Q_LOGGING_CATEGORY(lcGraphView, "orv.graph.graphview", QtInfoMsg)
}

GraphView::GraphView(QWidget *parent) : QWidget(parent)
{
    _selectLineView = new SelectLineView(this);
    _selectLineView->setGeometry(rect());
}

GraphView::~GraphView() = default;

GraphScale GraphView::scale() const
{
    GraphScale s;
    s.width = width();
    s.height = height();
    s.leftCount = leftData.size();
    if (!leftData.empty()) {
        const auto [lo, hi] = std::minmax_element(
            leftData.begin(), leftData.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        s.minX = lo->first;
        s.maxX = hi->first;
    }
    s.granularityType = granularityType;
    s.granularity = granularity;
    return s;
}

std::vector<AxisLabel> GraphView::yLeftAxisLabels() const
{
    return scale().yAxisLabels(yLeftGranularity, yLeftGranularityType, leftDataMin, leftDataMax);
}

std::vector<AxisLabel> GraphView::yRightAxisLabels() const
{
    return scale().yAxisLabels(yRightGranularity, yRightGranularityType, rightDataMin, rightDataMax);
}

void GraphView::dataChanged()
{
    _cacheValid = false;
    update();
}

void GraphView::updateSelectLine()
{
    const GraphScale s = scale();
    if (!s.hasTimeRange())
        _selectLineView->setSelectedVarticalLine({});
    else
        _selectLineView->setSelectedVarticalLine({s.position(selectValue)});
}

void GraphView::resizeEvent(QResizeEvent *)
{
    _selectLineView->setGeometry(rect());
    _cacheValid = false;
    updateSelectLine();
}

void GraphView::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    if (!_cacheValid || _cache.size() != size() * ratio) {
        _cache = QPixmap(size() * ratio);
        _cache.setDevicePixelRatio(ratio);
        _cache.fill(Qt::transparent);
        QPainter cachePainter(&_cache);
        renderGraph(cachePainter);
        _cacheValid = true;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, _cache);
}

void GraphView::renderGraph(QPainter &painter) const
{
    const double w = width();
    const double h = height();
    const GraphScale s = scale();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Lines are drawn with y upwards; the legend's text is drawn upright afterwards.
    painter.save();
    painter.translate(0.0, h);
    painter.scale(1.0, -1.0);

    QPen grid(QColor(128, 128, 128), 0.5, Qt::CustomDashLine);
    grid.setDashPattern({2.0, 2.0}); // 1 point on, 1 off at width 0.5
    painter.setPen(grid);
    if (s.hasTimeRange()) {
        for (const AxisLabel &label : s.xAxisLabels()) {
            if (label.position > 0.0)
                painter.drawLine(QPointF(label.position, 0.0), QPointF(label.position, h));
        }
    }
    for (const AxisLabel &label : yLeftAxisLabels()) {
        if (label.position > 0.0)
            painter.drawLine(QPointF(0.0, label.position), QPointF(w, label.position));
    }

    painter.setPen(QPen(Qt::white, 1.0));
    painter.drawLine(QPointF(0.0, 0.5), QPointF(w, 0.5));
    painter.drawLine(QPointF(0.5, 0.0), QPointF(0.5, h));

    painter.setPen(QPen(QColor(255, 128, 0), 1.0));
    drawData(painter, leftData, leftLineColor, leftDataMax, leftDataMin);
    painter.setPen(QPen(Qt::red, 1.0));
    drawData(painter, rightData, rightLineColor, rightDataMax, rightDataMin);

    if (s.hasTimeRange()) {
        painter.setPen(QPen(Qt::red, 1.0));
        for (const int e : borderVartical) {
            if (e < 0)
                continue;
            const double x = s.position(e);
            painter.drawLine(QPointF(x, 0.0), QPointF(x, h));
        }
    }
    painter.restore();
    painter.setRenderHint(QPainter::Antialiasing, true);
    drawLegend(painter);
}

void GraphView::drawData(QPainter &painter, const Series &data, const std::vector<QColor> &colors, double max,
                         double min) const
{
    if (data.empty())
        return;
    const double w = width();
    const double h = height();
    const int x0 = data.front().first;
    const int xn = data.back().first;
    const auto place = [&](const std::pair<int, double> &point) {
        const double x = x0 < xn && x0 < point.first
                             ? std::min(static_cast<double>(point.first - x0) * w / (xn - x0), w - 0.5)
                             : 0.0;
        const double y = min < max && min < point.second ? h * (point.second - min) / (max - min) : 0.0;
        return QPointF(x, y);
    };
    QPainterPath path(place(data.front()));
    if (colors.empty()) {
        for (const auto &point : data)
            path.lineTo(place(point));
        painter.drawPath(path);
        return;
    }
    // The segment that ends at point i takes colour i of the list (cycled).
    QColor current = colors.front();
    size_t k = 0;
    QPen pen = painter.pen();
    for (const auto &point : data) {
        if (colors[k] != current) {
            const QPointF at = path.currentPosition();
            pen.setColor(current);
            painter.strokePath(path, pen);
            current = colors[k];
            path = QPainterPath(at);
        }
        path.lineTo(place(point));
        k = (k + 1) % colors.size();
    }
    pen.setColor(current);
    painter.strokePath(path, pen);
}

void GraphView::drawLegend(QPainter &painter) const
{
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    // Measured with the font and device the texts are drawn with: the box takes the widest translation.
    const QFontMetricsF metrics(font, painter.device());
    std::vector<double> widths;
    for (const LegendEntry &entry : legendLabel)
        widths.push_back(metrics.horizontalAdvance(entry.title));
    const LegendLayout layout = LegendLayout::compute(widths);
    painter.fillRect(layout.box, QColor(0, 0, 0, 128));
    for (size_t i = 0; i < legendLabel.size(); ++i) {
        painter.setPen(QPen(legendLabel[i].color, 2.0));
        painter.drawLine(layout.rows[i].swatch);
        painter.setPen(Qt::white);
        painter.drawText(layout.rows[i].text, Qt::AlignLeft | Qt::AlignVCenter, legendLabel[i].title);
    }
}

void GraphView::mouseEvent(double x, CommonConst::MouseStatus phase)
{
    dragStatus = phase;
    if (!(x >= 0.0))
        x = 0.0;
    x = std::min<double>(x, width());
    const int value = scale().valueAt(x);
    if (delegate)
        delegate->graphSelected(value, phase);
}

void GraphView::mousePressEvent(QMouseEvent *event)
{
    // Only the primary button selects: a context click must not seek the video.
    if (event->button() != Qt::LeftButton)
        return;
    qCDebug(lcGraphView) << "GraphView mouseDown";
    mouseEvent(event->position().x(), CommonConst::MouseStatus::MouseDown);
}

void GraphView::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    qCDebug(lcGraphView) << "GraphView mouseDraggead start";
    mouseEvent(event->position().x(), CommonConst::MouseStatus::MouseDragged);
    qCDebug(lcGraphView) << "GraphView mouseDraggead end";
}

void GraphView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    qCDebug(lcGraphView) << "GraphView mouseUp";
    mouseEvent(event->position().x(), CommonConst::MouseStatus::MouseUp);
}

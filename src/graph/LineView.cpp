#include "graph/LineView.h"

#include "graph/GraphView.h"
#include "graph/LineChartScale.h"
#include "graph/LineViewDelegate.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

LineView::LineView(QWidget *parent) : QWidget(parent)
{
    _graphView = new GraphView(this);
    _graphView->setGeometry(graphRect(size()).toRect());
    _graphView->delegate = this;
    setLegend();
}

void LineView::setLegend()
{
    _graphView->legendLabel = {{tr("Speed"), legendSpeedColor}, {QStringLiteral("G"), legendGColor}};
    _graphView->dataChanged();
}

QRectF LineView::graphRect(QSizeF chartSize)
{
    return {LineChartScale::GRAPH_OFFSET_LEFT, LineChartScale::GRAPH_OFFSET_TOP,
            chartSize.width() - LineChartScale::GRAPH_OFFSET_LEFT - LineChartScale::GRAPH_OFFSET_RIGHT,
            chartSize.height() - LineChartScale::GRAPH_OFFSET_TOP - LineChartScale::GRAPH_OFFSET_BUTTOM};
}

void LineView::resizeEvent(QResizeEvent *)
{
    _graphView->setGeometry(graphRect(size()).toRect());
}

void LineView::setChartData()
{
    GraphView &graph = *_graphView;
    graph.leftData.assign(_gData.begin(), _gData.end());
    graph.rightData.clear();
    for (const auto &[key, speed] : _speedData)
        graph.rightData.emplace_back(key, static_cast<double>(speed));
    graph.leftLineColor = _gDataColor;
    graph.rightLineColor = _speedDataColor;
    graph.borderVartical = {accidentValue.position};
    _minLabel = minValue.text;
    _maxLabel = maxValue.text;
    _eventLabel = accidentValue.text;
    if (_value) {
        graph.selectValue = *_value;
        graph.updateSelectLine();
    }
    const TimeStep step = LineChartScale::timeStep(int64_t(maxValue.position) - minValue.position);
    graph.granularityType = step.type;
    graph.granularity = step.granularity;

    std::optional<double> largestG;
    for (const auto &[key, g] : _gData)
        largestG = std::max(largestG.value_or(g), g);
    const ValueRange left = LineChartScale::gRange(largestG);
    graph.yLeftGranularityType = GranularityType::Default;
    graph.leftDataMin = left.min;
    graph.leftDataMax = left.max;
    graph.yLeftGranularity = left.granularity;

    std::optional<int> largestSpeed;
    for (const auto &[key, speed] : _speedData)
        largestSpeed = std::max(largestSpeed.value_or(speed), speed);
    const ValueRange right = LineChartScale::speedRange(largestSpeed);
    graph.yRightGranularityType = GranularityType::Default;
    graph.rightDataMin = right.min;
    graph.rightDataMax = right.max;
    graph.yRightGranularity = right.granularity;

    graph.dataChanged();
    graph.updateSelectLine();
    update();
}

void LineView::graphSelected(int value, CommonConst::MouseStatus phase)
{
    _value = value;
    if (lineViewDelegate)
        lineViewDelegate->lineChartSeek(phase);
}

QPointF LineView::fromGraph(QPointF graphPoint) const
{
    const QRectF graph = _graphView->geometry();
    return {graph.left() + graphPoint.x(), graph.top() + graph.height() - graphPoint.y()};
}

void LineView::paintEvent(QPaintEvent *)
{
    if (isHidden())
        return;
    QPainter painter(this);
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QFontMetricsF metrics(font);
    const double gh = _graphView->height();
    // Texts are placed by their bottom-left corner, as the chart's y-up layout gives it.
    const auto draw = [&](double x, double bottom, const QString &text) {
        const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
        const QRectF box(x, bottom - size.height(), size.width(), size.height());
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
        return box;
    };
    const auto widthOf = [&](const QString &text) { return metrics.horizontalAdvance(text); };

    QRectF startBox;
    QRectF endBox;
    if (!_minLabel.isEmpty()) {
        const QPointF p = fromGraph({_graphView->minValuePosition(), gh});
        startBox = draw(p.x(), p.y(), _minLabel);
    }
    if (!_maxLabel.isEmpty()) {
        const QPointF p = fromGraph({_graphView->maxValuePosition(), gh});
        endBox = draw(p.x() - widthOf(_maxLabel), p.y(), _maxLabel);
    }
    if (!_eventLabel.isEmpty()) {
        const auto borders = _graphView->borderPositions();
        const QPointF p = fromGraph({borders.empty() ? 0.0 : borders.front().position, gh});
        const double x =
            LineChartScale::eventLabelX(p.x(), widthOf(_eventLabel), startBox.right(), endBox.left());
        draw(x, p.y(), _eventLabel);
    }
    const double h = metrics.height();
    for (const AxisLabel &label : _graphView->xAxisLabels()) {
        const QString text = LineChartScale::integerLabelText(label.value);
        const QPointF p = fromGraph({label.position, 0.0});
        draw(p.x() - widthOf(text) * 0.5, p.y() + h, text);
    }
    for (const AxisLabel &label : _graphView->yLeftAxisLabels()) {
        const QString text = LineChartScale::gLabelText(label.value);
        const QPointF p = fromGraph({0.0, label.position});
        draw(p.x() - widthOf(text) - LineChartScale::LABEL_GAP, p.y() + LineChartScale::LABEL_GAP, text);
    }
    for (const AxisLabel &label : _graphView->yRightAxisLabels()) {
        const QString text = LineChartScale::integerLabelText(label.value);
        const QPointF p = fromGraph({static_cast<double>(_graphView->width()), label.position});
        draw(p.x() + LineChartScale::GRAPH_OFFSET_RIGHT - widthOf(text) - LineChartScale::LABEL_GAP,
             p.y() + LineChartScale::LABEL_GAP, text);
    }
    const QString unit = LineChartScale::unitLegend(_graphView->granularityType);
    if (!unit.isEmpty())
        draw(width() - widthOf(unit), height(), unit);
}

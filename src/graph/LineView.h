// The speed-and-G line chart: owns the graph area inside fixed margins, hands it the series, scales and
// selection, draws the time, G and speed labels and the time-of-day labels, and passes a selection up.
#pragma once

#include "graph/DrivingInfoModel.h"
#include "graph/GraphViewDelegate.h"

#include <QColor>
#include <QWidget>
#include <map>
#include <optional>
#include <vector>

class GraphView;
class LineViewDelegate;

class LineView : public QWidget, public GraphViewDelegate
{
    Q_OBJECT
public:
    explicit LineView(QWidget *parent = nullptr);

    std::map<int, int> _speedData;
    std::map<int, double> _gData;
    std::vector<QColor> _speedDataColor{QColor(Qt::red)};
    std::vector<QColor> _gDataColor{QColor(255, 128, 0)};
    std::optional<int> _value; // selected position, ms from the start of the chart
    ChartLabel minValue;
    ChartLabel maxValue;
    ChartLabel accidentValue;
    // Read once, when the chart is made: a later change leaves the legend as it is.
    QColor legendGColor{255, 128, 0};
    QColor legendSpeedColor{Qt::red};
    LineViewDelegate *lineViewDelegate = nullptr; // the panel, which owns the chart

    // Takes the fields above into the graph: series, colours, event line, labels and axis scales.
    void setChartData();
    GraphView *graphView() const { return _graphView; }
    // The graph's place inside the chart's margins, for a chart of this size.
    static QRectF graphRect(QSizeF chartSize);

    void graphSelected(int value, CommonConst::MouseStatus phase) override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // A point of the graph (y upwards) in the chart's coordinates.
    QPointF fromGraph(QPointF graphPoint) const;
    void setLegend();

    GraphView *_graphView = nullptr;
    QString _minLabel;
    QString _maxLabel;
    QString _eventLabel;
};

// The plotting area of the line chart: G on the left axis and speed on the right against time, with the
// dashed grid, axis lines, event lines, legend and, on an overlay, the selection line. Presses and drags
// become time values for its delegate.
#pragma once

#include "graph/GraphScale.h"
#include "recording/CommonConst.h"

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

class GraphViewDelegate;
class SelectLineView;

class GraphView : public QWidget
{
    Q_OBJECT
public:
    using Series = std::vector<std::pair<int, double>>; // (x ms, y), ascending x
    struct LegendEntry
    {
        QString title;
        QColor color;
    };

    explicit GraphView(QWidget *parent = nullptr);
    ~GraphView() override;

    int selectValue = 0;
    Series leftData;
    Series rightData;
    std::vector<QColor> leftLineColor;
    std::vector<QColor> rightLineColor;
    double leftDataMin = 0.1;
    double leftDataMax = 0.5;
    double rightDataMin = 0.0;
    double rightDataMax = 40.0;
    std::vector<int> borderVartical;
    GranularityType granularityType = GranularityType::Second;
    int granularity = 1;
    GranularityType yLeftGranularityType = GranularityType::Default;
    double yLeftGranularity = 0.1;
    GranularityType yRightGranularityType = GranularityType::Default;
    double yRightGranularity = 10.0;
    std::vector<LegendEntry> legendLabel;
    GraphViewDelegate *delegate = nullptr; // the line chart, which outlives its graph
    CommonConst::MouseStatus dragStatus = CommonConst::MouseStatus::MouseUp;

    // The arithmetic at the current size and data.
    GraphScale scale() const;
    std::vector<AxisLabel> xAxisLabels() const { return scale().xAxisLabels(); }
    std::vector<AxisLabel> yLeftAxisLabels() const;
    std::vector<AxisLabel> yRightAxisLabels() const;
    std::vector<BorderPosition> borderPositions() const { return scale().borderPositions(borderVartical); }
    double minValuePosition() const { return 0.0; }
    double maxValuePosition() const { return width(); }

    // The fields above changed: draw the graph again at the next paint.
    void dataChanged();
    // Moves the selection line to selectValue (none without a time range).
    void updateSelectLine();
    SelectLineView *selectLineView() const { return _selectLineView; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void mouseEvent(double x, CommonConst::MouseStatus phase);
    void renderGraph(QPainter &painter) const;
    void drawData(QPainter &painter, const Series &data, const std::vector<QColor> &colors, double max,
                  double min) const;
    void drawLegend(QPainter &painter) const;

    SelectLineView *_selectLineView = nullptr;
    QPixmap _cache; // the graph without the selection line; redrawn only when data or size change
    bool _cacheValid = false;
};

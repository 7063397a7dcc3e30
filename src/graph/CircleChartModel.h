// The G circle chart's arithmetic: scopes, the mapping of G values into the circle, the cached trace of
// the stretch, the colours by age while playing and the thinned trace while paused or stopped.
#pragma once

#include "graph/DrivingDataSource.h"
#include "recording/CommonConst.h"

#include <QColor>
#include <QPointF>
#include <QSizeF>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class CircleChartModel
{
public:
    static constexpr double G_POINT_SIZE = 8.0;
    static constexpr double G_LINE_PEN_SIZE = 2.0;
    static constexpr double G_CIRCLE_IMAGE_RATE = 2.0 / 3.0; // full-scale diameter / view width
    static constexpr size_t TIME_CHANGE_G_PLOT = 5400; // cached points from which a still trace is thinned
    static constexpr int FRAME_G_PLOT = 30;            // trace step in ms and thinning group size
    static constexpr int PLAY_TRACE_MS = 10000;

    enum class GScopeType
    {
        g05,
        g10,
        g15,
        g20,
        g25,
        g30,
    };
    static constexpr int SCOPE_COUNT = 6;
    // Full scale in g; an index outside the list counts as 0.5 g.
    static double scopeFullScale(GScopeType scope);
    static GScopeType scopeFromIndex(int index);
    static GScopeType nextScope(GScopeType scope);
    // "button_05g" ... "button_30g" (pressed: with "_click").
    static QString scopeImageName(GScopeType scope, bool pressed);

    // Trace colour by age: key = ms before the current position (0, -160, ... -10000), ascending.
    static const std::vector<std::pair<int, QColor>> &lineColorList();
    static QColor markerColor() { return QColor(255, 255, 0); }

    struct TracePath
    {
        QColor colour;
        std::vector<QPointF> points; // view coordinates, y upwards
    };

    GScopeType gScopeType = GScopeType::g10;
    double maxG = 1.0; // divisor of gX and gY before scaling
    bool markerVisible = true;

    // The view's size; the centre follows it and a new size rebuilds the cached trace.
    void setSize(QSizeF size);
    QPointF circleCenter() const { return _circleCenter; }

    void loadMovieChapters(std::shared_ptr<DrivingDataSource> source);
    // Event or surveillance stretch (type Event or Surveillance); no source gives the stretch 0..1.
    void loadEventChapters(std::shared_ptr<DrivingDataSource> source, CommonConst::PlayType type,
                           int minValue, int maxValue);
    void updateMarker(int value, CommonConst::PlayStatus status);
    // The source's timeline took lengths learned since and the position moved with its picture.
    void timelineRefreshed(int value);
    void setScope(GScopeType scope);

    // From a G pair to a point of the view; values beyond the scope lie on its circle.
    QPointF scopeScale(double x, double y) const;

    // The trace to stroke (rebuilding the cache when marked), and the current-value dot.
    std::vector<TracePath> trace();
    std::optional<QPointF> marker() const;
    bool isEmpty() const { return !_source || _source->chapterCount() == 0; }

    int minValue() const { return _minValue; }
    int maxValue() const { return _maxValue; }
    size_t cachedPointCount() const { return _points.size(); }

private:
    void rebuildPoints();
    std::vector<TracePath> playingTrace(int start, int end) const;
    TracePath stillTrace(int start, int end) const;

    std::shared_ptr<DrivingDataSource> _source;
    CommonConst::PlayType _recType = CommonConst::PlayType::Movie;
    CommonConst::PlayStatus _playStatus = CommonConst::PlayStatus::NotReady;
    int _minValue = 0;
    int _maxValue = 0;
    int64_t _currentIndex = -1;
    int _markerValue = -1;
    QSizeF _size{130.0, 130.0};
    QPointF _circleCenter{65.0, 65.0};
    bool _isDispChanged = false;
    std::map<int, QPointF> _points; // timeline position -> point in the view
};

#include "graph/CircleChartModel.h"

#include <QLoggingCategory>
#include <algorithm>
#include <cmath>

namespace {
Q_LOGGING_CATEGORY(lcCircleChart, "orv.graph.circlechart", QtInfoMsg)
}

double CircleChartModel::scopeFullScale(GScopeType scope)
{
    static constexpr double SCALES[SCOPE_COUNT] = {0.5, 1.0, 1.5, 2.0, 2.5, 3.0};
    const int index = static_cast<int>(scope);
    return index >= 0 && index < SCOPE_COUNT ? SCALES[index] : SCALES[0];
}

CircleChartModel::GScopeType CircleChartModel::scopeFromIndex(int index)
{
    return index >= 0 && index < SCOPE_COUNT ? static_cast<GScopeType>(index) : GScopeType::g05;
}

CircleChartModel::GScopeType CircleChartModel::nextScope(GScopeType scope)
{
    return scopeFromIndex((static_cast<int>(scope) + 1) % SCOPE_COUNT);
}

QString CircleChartModel::scopeImageName(GScopeType scope, bool pressed)
{
    static const char *NAMES[SCOPE_COUNT] = {"05g", "10g", "15g", "20g", "25g", "30g"};
    const int index = static_cast<int>(scopeFromIndex(static_cast<int>(scope)));
    return QStringLiteral("button_%1%2").arg(NAMES[index], pressed ? "_click" : "");
}

const std::vector<std::pair<int, QColor>> &CircleChartModel::lineColorList()
{
    static const std::vector<std::pair<int, QColor>> list = {
        {-10000, QColor(0, 0, 0)},     {-9160, QColor(61, 56, 96)},   {-8330, QColor(71, 62, 91)},
        {-7500, QColor(81, 68, 86)},   {-6660, QColor(91, 73, 81)},   {-5830, QColor(102, 79, 76)},
        {-5000, QColor(112, 85, 71)},  {-4160, QColor(122, 90, 66)},  {-3330, QColor(132, 96, 61)},
        {-2500, QColor(142, 102, 56)}, {-1660, QColor(153, 108, 51)}, {-1500, QColor(163, 113, 45)},
        {-1330, QColor(173, 119, 40)}, {-1160, QColor(183, 125, 35)}, {-1000, QColor(193, 130, 30)},
        {-830, QColor(204, 136, 25)},  {-660, QColor(214, 142, 20)},  {-500, QColor(224, 147, 15)},
        {-330, QColor(234, 153, 10)},  {-160, QColor(244, 159, 5)},   {0, QColor(255, 165, 0)},
    };
    return list;
}

void CircleChartModel::setSize(QSizeF size)
{
    _circleCenter = QPointF(size.width() * 0.5, size.height() * 0.5);
    // The cached points are in view coordinates: a new size must not leave the trace in the old geometry.
    if (size != _size)
        _isDispChanged = true;
    _size = size;
}

void CircleChartModel::loadMovieChapters(std::shared_ptr<DrivingDataSource> source)
{
    _recType = CommonConst::PlayType::Movie;
    _source = std::move(source);
    _currentIndex = -1;
    _minValue = 0;
    _maxValue = 0;
    updateMarker(0, CommonConst::PlayStatus::NotReady);
    _isDispChanged = true;
}

void CircleChartModel::loadEventChapters(std::shared_ptr<DrivingDataSource> source,
                                         CommonConst::PlayType type, int minValue, int maxValue)
{
    _recType = type;
    _source = std::move(source);
    _minValue = _source ? minValue : 0;
    _maxValue = _source ? maxValue : 1;
    updateMarker(_minValue, CommonConst::PlayStatus::NotReady);
    _isDispChanged = true;
}

void CircleChartModel::updateMarker(int value, CommonConst::PlayStatus status)
{
    _markerValue = value;
    _playStatus = status;
    if (_recType != CommonConst::PlayType::Movie || isEmpty())
        return;
    int64_t index = 0;
    int32_t offset = 0;
    _source->chapterPosition(value, index, offset);
    if (index != _currentIndex && _source->isValidIndex(index)) {
        _minValue = _source->position(index, 0);
        _maxValue = _minValue + _source->chapterSpan(static_cast<size_t>(index));
        _currentIndex = index;
        _isDispChanged = true;
    }
}

void CircleChartModel::timelineRefreshed(int value)
{
    if (_recType != CommonConst::PlayType::Movie || isEmpty())
        return;
    const int minimum = _minValue;
    const int maximum = _maxValue;
    _currentIndex = -1;
    updateMarker(value, _playStatus);
    // The trace is cached by position.
    if (minimum != _minValue || maximum != _maxValue)
        _isDispChanged = true;
}

void CircleChartModel::setScope(GScopeType scope)
{
    gScopeType = scope;
    _isDispChanged = true;
}

QPointF CircleChartModel::scopeScale(double x, double y) const
{
    double px = x / maxG;
    double py = y / maxG;
    const double r = std::sqrt(px * px + py * py);
    const double s = scopeFullScale(gScopeType);
    if (r > s) {
        px *= s / r;
        py *= s / r;
    }
    return {_circleCenter.x() + px * (_size.width() * G_CIRCLE_IMAGE_RATE * 0.5 / s),
            _circleCenter.y() + py * (_size.height() * G_CIRCLE_IMAGE_RATE * 0.5 / s)};
}

void CircleChartModel::rebuildPoints()
{
    _points.clear();
    for (int p = _minValue; p < _maxValue; p += FRAME_G_PLOT) {
        int64_t index = 0;
        int32_t offset = 0;
        _source->chapterPosition(p, index, offset);
        if (!_source->isValidIndex(index))
            continue;
        if (const auto sample = _source->sampleAt(static_cast<size_t>(index), offset))
            _points.emplace_hint(_points.end(), p, scopeScale(sample->gX, sample->gY));
    }
    _isDispChanged = false;
}

std::optional<QPointF> CircleChartModel::marker() const
{
    if (isEmpty() || !markerVisible)
        return std::nullopt;
    const auto sample = _source->sampleAtPosition(_markerValue);
    if (!sample)
        return std::nullopt;
    return scopeScale(sample->gX, sample->gY);
}

std::vector<CircleChartModel::TracePath> CircleChartModel::trace()
{
    if (isEmpty())
        return {};
    if (_isDispChanged)
        rebuildPoints();
    switch (_playStatus) {
    case CommonConst::PlayStatus::NotReady:
        return {};
    case CommonConst::PlayStatus::Pause:
        return {stillTrace(_minValue, _markerValue)};
    case CommonConst::PlayStatus::Stop:
        return {stillTrace(_minValue, _maxValue)};
    case CommonConst::PlayStatus::Play:
        break;
    }
    return playingTrace(_markerValue + lineColorList().front().first, _markerValue);
}

std::vector<CircleChartModel::TracePath> CircleChartModel::playingTrace(int start, int end) const
{
    std::vector<TracePath> paths;
    std::optional<QPointF> previous;
    const auto &colours = lineColorList();
    for (size_t i = 0; i < colours.size(); ++i) {
        TracePath path{colours[i].second, {}};
        if (previous)
            path.points.push_back(*previous);
        const int e = std::max(start, std::min(end, end + colours[i].first));
        for (auto it = _points.lower_bound(start); it != _points.end() && it->first < e; ++it) {
            path.points.push_back(it->second);
            previous = it->second;
            start = it->first;
        }
        if (i + 1 == colours.size() && !path.points.empty()) {
            if (const auto dot = marker())
                path.points.push_back(*dot);
        }
        paths.push_back(std::move(path));
    }
    return paths;
}

CircleChartModel::TracePath CircleChartModel::stillTrace(int start, int end) const
{
    TracePath path{lineColorList().back().second, {}};
    const auto first = _points.lower_bound(start);
    const auto last = _points.lower_bound(end);
    if (_points.size() < TIME_CHANGE_G_PLOT) {
        for (auto it = first; it != last; ++it)
            path.points.push_back(it->second);
    } else if (first != last) {
        // One point of each group of 30: the one farthest from the point added before it.
        path.points.push_back(first->second);
        int countdown = FRAME_G_PLOT;
        std::optional<QPointF> candidate;
        double farthest = -1.0;
        for (auto it = std::next(first); it != last; ++it) {
            if (countdown == 0) {
                if (candidate)
                    path.points.push_back(*candidate);
                countdown = FRAME_G_PLOT;
                candidate.reset();
                farthest = -1.0;
                continue;
            }
            const QPointF d = it->second - path.points.back();
            const double distance = std::hypot(d.x(), d.y());
            if (distance > farthest) {
                farthest = distance;
                candidate = it->second;
            }
            --countdown;
        }
    }
    if (!path.points.empty()) {
        if (const auto dot = marker())
            path.points.push_back(*dot);
    }
    qCDebug(lcCircleChart).noquote()
        << QStringLiteral("CircleChartView drawLines mode:[notPlay] start:[%1] end:[%2] PathCount:[%3]")
               .arg(start)
               .arg(end)
               .arg(path.points.size());
    return path;
}

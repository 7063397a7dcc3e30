#include "map/WebMapView.h"

#include "card/ChapterData.h"
#include "card/ChapterOutline.h"
#include "card/TripData.h"
#include "map/MapScriptSink.h"
#include "map/MapScriptText.h"
#include "map/MapVersionNote.h"
#include "map/ReachabilityProbe.h"
#include "map/WebMapViewDelegate.h"
#include "recording/UserDefaultUtil.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <span>

namespace {
// How long the version note waits for the page to report its map script version.
constexpr int VERSION_NOTE_WAIT_MS = 5000;
} // namespace

WebMapView::WebMapView(MapScriptSink *sink, const Settings &settings, QObject *parent)
    : QObject(parent), _sink(sink), _iniDispBalloon(settings.mapDispBalloon), _mapTypeId(settings.mapTypeId),
      _mapZoom(settings.mapZoom), _mapDispBalloon(settings.mapDispBalloon), _mapLanguage(settings.mapLanguage)
{
    _reachabilityCheck = [this](std::function<void(bool)> done) {
        ReachabilityProbe::check(ReachabilityProbe::mapHostName(), this, std::move(done));
    };
    _versionNoteFolder = MapVersionNote::defaultFolder();
    connect(_sink, &MapScriptSink::pageLoaded, this, &WebMapView::onPageLoaded);
    connect(_sink, &MapScriptSink::markerClicked, this, &WebMapView::onMarkerClicked);
    connect(_sink, &MapScriptSink::pageStateChanged, this, &WebMapView::onPageStateChanged);
}

WebMapView::Settings WebMapView::settingsFrom(const UserDefaultUtil &defaults)
{
    Settings settings;
    settings.mapTypeId = defaults.mapTypeId;
    settings.mapZoom = defaults.mapZoom;
    settings.mapDispBalloon = defaults.mapDispBaloon;
    settings.mapLanguage = defaults.language;
    return settings;
}

void WebMapView::runScript(const QString &script)
{
    if (_batchDepth > 0) {
        _batched << script;
        return;
    }
    _sink->runScript(script);
}

WebMapView::ScriptBatch::ScriptBatch(WebMapView &view) : _view(&view)
{
    ++view._batchDepth;
}

WebMapView::ScriptBatch::~ScriptBatch()
{
    if (!_view || --_view->_batchDepth > 0)
        return;
    const QStringList scripts = std::exchange(_view->_batched, {});
    if (scripts.size() == 1) {
        _view->_sink->runScript(scripts.front());
        return;
    }
    if (scripts.isEmpty())
        return;
    // Each on its own, as separate calls were: a script that throws is reported and the rest still run.
    QString joined;
    for (const QString &script : scripts)
        joined += QStringLiteral("try { ") + script + QStringLiteral("; } catch (e) { console.error(e); }\n");
    _view->_sink->runScript(joined);
}

void WebMapView::removeRoute()
{
    runScript(QStringLiteral("removePolyLine()"));
    _polyList.clear();
    _lineCommand.clear();
    ++_routeRemovals;
}

void WebMapView::onPageLoaded()
{
    const int load = ++_loadCount;
    QPointer<WebMapView> self(this);
    _reachabilityCheck([self, load](bool reachable) {
        // A later load runs its own check; this answer belongs to a page that is gone.
        if (self && load == self->_loadCount)
            self->initializeMap(reachable);
    });
}

// Runs after every successful load. A page replaces the one before it with nothing drawn, so once
// the settings were applied the route and markers go out again. An unreachable tile server only
// leaves out what needs the network (the tiles and the version note): the page is set up all the
// same, so that a card opened offline is centred on its markers rather than on the start view.
void WebMapView::initializeMap(bool reachable)
{
    if (reachable)
        runScript(QStringLiteral("initialize()"));
    showCurrentPosition();
    if (_flgInit)
        sendAgainAfterReload();
    updateMap();
    if (reachable)
        writeVersionNote();
}

void WebMapView::sendAgainAfterReload()
{
    runScript(MapScriptText::setLanguage(_mapLanguage));
    // A line under way went to the page that is gone.
    _lineCommand.clear();
    // updateMap sends the route and markers itself when they were asked for before the settings.
    if (!_flgPoly && !_polyList.empty())
        drawPolyline();
    if (!_flgMarker && !_markerList.empty())
        drawMarkers();
}

void WebMapView::writeVersionNote()
{
    if (_versionNoteWritten || _versionNoteFolder.isEmpty())
        return;
    const QString version = getMapVersion();
    if (version.isEmpty()) {
        // The page reports its version through the channel, possibly after the load has finished.
        if (_versionNotePending)
            return;
        _versionNotePending = true;
        QTimer::singleShot(VERSION_NOTE_WAIT_MS, this, [this] {
            if (!_versionNotePending)
                return;
            _versionNotePending = false;
            _versionNoteWritten = true;
            const QString reported = getMapVersion();
            emit versionNoteDone(
                MapVersionNote::write(_versionNoteFolder, QCoreApplication::applicationVersion(),
                                      reported.isEmpty() ? QStringLiteral("unknown") : reported));
        });
        return;
    }
    _versionNotePending = false;
    _versionNoteWritten = true;
    emit versionNoteDone(
        MapVersionNote::write(_versionNoteFolder, QCoreApplication::applicationVersion(), version));
}

void WebMapView::onPageStateChanged()
{
    if (_versionNotePending && !getMapVersion().isEmpty())
        writeVersionNote();
}

void WebMapView::onMarkerClicked(const QString &key)
{
    const auto it = _markerList.find(key);
    if (it == _markerList.end() || !_delegate)
        return;
    // The delegate may empty the marker list (a new card opened); the point lives until it returns.
    const std::shared_ptr<MapPoint> point = it->second;
    _delegate->mapMarkerClicked(*point);
}

void WebMapView::showCurrentPosition()
{
    runScript(MapScriptText::movePosition(_currentPoint.lat, _currentPoint.lng));
    runScript(MapScriptText::setZoom(_mapZoom));
    runScript(MapScriptText::setMapTypeId(_mapTypeId));
    runScript(MapScriptText::setDispBalloon(_mapDispBalloon));
}

namespace {
// 1/36000 degree to degrees, rounded to six decimals (halves away from zero).
double toDegrees(int32_t value)
{
    return std::round(value / 36000.0 * 1000000.0) / 1000000.0;
}
} // namespace

void WebMapView::drawRoute(TripData &trip)
{
    if (showsRouteOf(trip))
        return;
    // Sorts the chapters by start time the first time a trip of two or more is read.
    const ChapterList chapters = trip.sortedChapters();
    _routeTrip = trip.weak_from_this();
    _routeChapters.clear();
    appendReadyChapters(chapters);
    drawPolyline();
}

void WebMapView::extendRoute(TripData &trip)
{
    const ChapterList chapters = trip.sortedChapters();
    if (!continuesRoute(trip, chapters)) {
        removeRoute();
        drawRoute(trip);
        return;
    }
    const size_t from = _polyList.size();
    appendReadyChapters(chapters);
    if (_polyList.size() == from)
        return;
    if (!_flgInit) {
        _flgPoly = true;
        return;
    }
    sendLine(from, QStringLiteral("extendPolyline()"));
}

bool WebMapView::showsRouteOf(TripData &trip) const
{
    if (!_flgInit || _flgPoly || !_lineCommand.isEmpty() || _polyList.empty())
        return false;
    const ChapterList chapters = trip.sortedChapters();
    // No chapter past those drawn has its outline yet.
    return continuesRoute(trip, chapters) &&
           (_routeChapters.size() == chapters.size() || !chapters[_routeChapters.size()]->outline());
}

bool WebMapView::continuesRoute(const TripData &trip, const ChapterList &chapters) const
{
    if (_routeTrip.lock().get() != &trip || _polyList.size() != _routePointCount ||
        _routeChapters.size() > chapters.size())
        return false;
    for (size_t i = 0; i < _routeChapters.size(); ++i) {
        if (chapters[i].get() != _routeChapters[i])
            return false;
    }
    return true;
}

void WebMapView::appendReadyChapters(const ChapterList &chapters)
{
    for (size_t i = _routeChapters.size(); i < chapters.size(); ++i) {
        ChapterData &chapter = *chapters[i];
        // Driving data is built by the card's worker; later chapters wait for its next hand-over.
        const std::shared_ptr<const ChapterOutline> outline = chapter.outline();
        if (!outline)
            break;
        _routeChapters.push_back(&chapter);
        for (const ChapterOutline::Point &point : outline->route) {
            const double lat = toDegrees(point.latitude);
            const double lng = toDegrees(point.longitude);
            if (isNewPolyPoint(lat, lng))
                _polyList.push_back({lat, lng});
        }
    }
    _routePointCount = _polyList.size();
}

void WebMapView::applyMapSettings()
{
    const bool carAway = _currentPoint.lat != _iniCenterLat && _currentPoint.lng != _iniCenterLng;
    if (_mapViewHiddenFlg) {
        if (carAway)
            runScript(MapScriptText::setCenter(_currentPoint.lat, _currentPoint.lng));
        runScript(MapScriptText::setMapTypeId(_mapTypeId));
        if (_mapZoom != _iniZoom)
            runScript(MapScriptText::setZoom(_mapZoom));
    } else {
        if (carAway)
            runScript(MapScriptText::setCenter(_iniCenterLat, _iniCenterLng));
        runScript(MapScriptText::setMapTypeId(_mapTypeId));
        if (_mapZoom != _iniZoom)
            runScript(MapScriptText::setZoom(_iniZoom));
    }
    if (_mapDispBalloon != _iniDispBalloon)
        runScript(MapScriptText::setDispBalloon(_mapDispBalloon));
    runScript(MapScriptText::setLanguage(_mapLanguage));
}

void WebMapView::updateMap()
{
    if (!_flgInit) {
        applyMapSettings();
        _flgInit = true;
    }
    if (_flgPoly)
        drawPolyline();
    if (_flgMarker)
        drawMarkers();
    if (_flgCar)
        runScript(MapScriptText::drawMyCar(_currentPoint.lat, _currentPoint.lng,
                                           MapPoint::iconCode(_currentPoint.icon), _currentPoint.isGps));
}

void WebMapView::drawMarkers()
{
    if (!_flgInit) {
        _flgMarker = true;
        return;
    }
    ++_markerListDraws;
    std::vector<std::pair<QString, const MapPoint *>> all;
    all.reserve(_markerList.size());
    for (const auto &[key, point] : _markerList)
        all.emplace_back(key, point.get());
    sendMarkers(all);
}

void WebMapView::drawMarkers(const std::vector<QString> &keys)
{
    std::vector<std::pair<QString, const MapPoint *>> put;
    for (const QString &key : keys) {
        if (const auto it = _markerList.find(key); it != _markerList.end())
            put.emplace_back(key, it->second.get());
    }
    // Before the settings are applied every marker of the list goes out together.
    if (!_flgInit) {
        _flgMarker = _flgMarker || !put.empty();
        return;
    }
    sendMarkers(put);
}

void WebMapView::sendMarkers(const std::vector<std::pair<QString, const MapPoint *>> &markers)
{
    // A full card has thousands: they go out in a few calls.
    constexpr size_t MARKERS_PER_CALL = 1000;
    std::vector<MapScriptText::Marker> batch;
    batch.reserve(std::min(markers.size(), MARKERS_PER_CALL));
    for (const auto &[key, point] : markers) {
        batch.push_back({key, point->lat, point->lng, point->msg, static_cast<int>(point->marker) + 1});
        if (batch.size() == MARKERS_PER_CALL) {
            runScript(MapScriptText::addMarkers(batch));
            batch.clear();
        }
    }
    if (!batch.empty())
        runScript(MapScriptText::addMarkers(batch));
}

void WebMapView::setCenter(double lat, double lng)
{
    runScript(MapScriptText::setCenter(lat, lng));
    _currentPoint.lat = lat;
    _currentPoint.lng = lng;
}

void WebMapView::setZoom(int zoom)
{
    runScript(MapScriptText::setZoom(zoom));
}

void WebMapView::drawMyCar(double lat, double lng, IconId icon, bool isGps)
{
    if (lat == _currentPoint.lat && lng == _currentPoint.lng &&
        MapPoint::iconCode(icon) == MapPoint::iconCode(_currentPoint.icon) && isGps == _currentPoint.isGps)
        return;
    runScript(MapScriptText::drawMyCar(lat, lng, MapPoint::iconCode(icon), isGps));
    _currentPoint.lat = lat;
    _currentPoint.lng = lng;
    _currentPoint.icon = icon;
    _currentPoint.isGps = isGps;
}

bool WebMapView::isNewPolyPoint(double lat, double lng) const
{
    // A point equal to one of the last two is dropped: the car standing still, or a back-and-forth
    // jitter between two fixes.
    const size_t n = _polyList.size();
    for (size_t back = 1; back <= 2 && back <= n; ++back) {
        const RoutePoint &p = _polyList[n - back];
        if (p.lat == lat && p.lng == lng)
            return false;
    }
    return true;
}

void WebMapView::appendPolyPoint(double lat, double lng)
{
    _routeTrip.reset();
    if (lat == 0.0 && lng == 0.0)
        return;
    if (isNewPolyPoint(lat, lng))
        _polyList.push_back({lat, lng});
}

void WebMapView::drawPolyline()
{
    if (!_flgInit) {
        _flgPoly = true;
        return;
    }
    sendLine(0, QStringLiteral("drawPolyline()"));
}

void WebMapView::sendLine(size_t from, const QString &command)
{
    if (!_lineCommand.isEmpty()) {
        // The points still to go continue the line under way.
        if (command == QLatin1String("extendPolyline()"))
            return;
        // The page drops the points it holds for the line it will not draw.
        runScript(QStringLiteral("removePolyLine()"));
    }
    _pagePoints = from;
    _lineCommand = command;
    sendNextPoints();
}

void WebMapView::sendNextPoints()
{
    // A call's text takes some 20 ms to write at this size as numbers, a few packed: a whole long trip's
    // route (hundreds of thousands of points) held the window for as many times that.
    constexpr size_t POINTS_PER_CALL = 50000;
    if (_lineCommand.isEmpty())
        return;
    const std::span<const RoutePoint> points(_polyList);
    _pagePoints = std::min(_pagePoints, points.size());
    const size_t count = std::min(POINTS_PER_CALL, points.size() - _pagePoints);
    if (count > 0) {
        runScript(MapScriptText::addPackedPolyPoints(points.subspan(_pagePoints, count)));
        _pagePoints += count;
    }
    if (_pagePoints < points.size()) {
        if (!std::exchange(_isNextPointsQueued, true)) {
            QTimer::singleShot(0, this, [this] {
                _isNextPointsQueued = false;
                sendNextPoints();
            });
        }
        return;
    }
    runScript(std::exchange(_lineCommand, QString()));
}

QString WebMapView::getZoom() const
{
    const auto zoom = _sink->pageState().zoom;
    return zoom ? QString::number(*zoom) : QString();
}

QString WebMapView::getMapTypeId() const
{
    const QString reported = _sink->pageState().mapTypeId;
    return reported.isEmpty() ? _mapTypeId : reported;
}

bool WebMapView::getDispBalloon() const
{
    return _sink->pageState().dispBalloon.value_or(false);
}

QString WebMapView::getMapVersion() const
{
    return _sink->pageState().mapVersion;
}

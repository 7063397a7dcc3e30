// The bridge to the map page: keeps the program's copy of what the page shows (car, route,
// markers) and turns the main window's requests into script calls, deferring the route and the
// markers until the map settings have been applied and skipping car drawings that change nothing.
#pragma once

#include "map/MapPoint.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class ChapterData;
class MapScriptSink;
class TripData;
using ChapterList = std::vector<std::shared_ptr<ChapterData>>;
class UserDefaultUtil;
class WebMapViewDelegate;

class WebMapView : public QObject
{
    Q_OBJECT
public:
    // The viewer settings the bridge starts from.
    struct Settings
    {
        QString mapTypeId = QStringLiteral("roadmap");
        int mapZoom = 15;
        bool mapDispBalloon = true;
        int mapLanguage = 0; // 0 English, 1 French, 2 Spanish
    };
    // The map values of the viewer settings.
    static Settings settingsFrom(const UserDefaultUtil &defaults);
    // Asks whether the map's tile server is reachable and answers through the callback.
    using ReachabilityCheck = std::function<void(std::function<void(bool)>)>;

    // sink is where the scripts go; it must outlive the bridge.
    WebMapView(MapScriptSink *sink, const Settings &settings, QObject *parent = nullptr);

    void setDelegate(WebMapViewDelegate *delegate) { _delegate = delegate; }
    void setReachabilityCheck(ReachabilityCheck check) { _reachabilityCheck = std::move(check); }
    // Where "mv.txt" goes; empty writes no note.
    void setVersionNoteFolder(const QString &folder) { _versionNoteFolder = folder; }

    // Sends a script text as it is (the main window's removals and resets).
    void runScript(const QString &script);
    // While one lives, the scripts sent go to the page as one call when the outermost ends, in the
    // order sent; one that fails does not stop those after it. Each call costs the page milliseconds
    // whatever it holds.
    class ScriptBatch
    {
    public:
        explicit ScriptBatch(WebMapView &view);
        ~ScriptBatch();
        ScriptBatch(const ScriptBatch &) = delete;
        ScriptBatch &operator=(const ScriptBatch &) = delete;

    private:
        QPointer<WebMapView> _view;
    };
    // Takes the route line off the page ("removePolyLine()") and empties its points.
    void removeRoute();
    // How many times removeRoute took the route off so far.
    quint64 routeRemovals() const { return _routeRemovals; }

    void showCurrentPosition();
    // Appends the trip's route, chapter by chapter in start-time order, up to the first chapter whose
    // driving data is not built yet, and draws it. The caller empties the route first for a new one.
    void drawRoute(TripData &trip);
    // The trip's route as drawRoute gives it after the route was emptied, but when the route shown is
    // this trip's as last drawn, only the points of chapters that have become ready since are sent,
    // continuing the line (the map's redraw while the card's workers run).
    void extendRoute(TripData &trip);
    // The page shows the trip's whole route as its chapters give it now: drawing it again would send
    // the same points (hundreds of thousands on a long trip).
    bool showsRouteOf(TripData &trip) const;
    void applyMapSettings();
    void updateMap();
    void drawMarkers();
    // Sends the markers of the list with these keys, put there after the others were drawn, in this
    // order; a key no longer in the list is passed over.
    void drawMarkers(const std::vector<QString> &keys);
    // How many times drawMarkers() sent the whole list so far: what was put before went with it.
    quint64 markerListDraws() const { return _markerListDraws; }
    void setCenter(double lat, double lng);
    void drawMyCar(double lat, double lng, IconId icon, bool isGps);
    void appendPolyPoint(double lat, double lng);
    void drawPolyline();
    void setZoom(int zoom);

    // Answers of the page, from what it last reported; never waits for the page.
    QString getZoom() const;      // decimal integer, empty before the page has reported
    QString getMapTypeId() const; // the map type last applied until the page reports one
    bool getDispBalloon() const;  // true only when the page reported balloons on
    QString getMapVersion() const;

    // Fields the main window works on directly: it empties the markers after "removeMarkerAll()"
    // and clears the car after "removeMyCar()".
    MapPoint &currentPoint() { return _currentPoint; }
    std::vector<RoutePoint> &polyList() { return _polyList; }
    std::map<QString, std::shared_ptr<MapPoint>> &markerList() { return _markerList; }

    bool flgCar() const { return _flgCar; }
    void setFlgCar(bool on) { _flgCar = on; }
    bool mapViewHiddenFlg() const { return _mapViewHiddenFlg; }
    void setMapViewHiddenFlg(bool on) { _mapViewHiddenFlg = on; }
    QString mapTypeId() const { return _mapTypeId; }
    void setMapTypeId(const QString &id) { _mapTypeId = id; }
    int mapZoom() const { return _mapZoom; }
    void setMapZoom(int zoom) { _mapZoom = zoom; }
    bool mapDispBalloon() const { return _mapDispBalloon; }
    void setMapDispBalloon(bool on) { _mapDispBalloon = on; }
    int mapLanguage() const { return _mapLanguage; }
    void setMapLanguage(int language) { _mapLanguage = language; }
    bool isInitialized() const { return _flgInit; }

    // The start view of the page.
    static constexpr double INI_CENTER_LAT = 50.8471;
    static constexpr double INI_CENTER_LNG = -104.5627;
    static constexpr int INI_ZOOM = 2;

signals:
    // The map version note was written (or failed): for tests and diagnostics.
    void versionNoteDone(bool written);

private:
    void onPageLoaded();
    void initializeMap(bool reachable);
    void sendAgainAfterReload();
    void writeVersionNote();
    void onPageStateChanged();
    void onMarkerClicked(const QString &key);
    bool isNewPolyPoint(double lat, double lng) const;
    bool continuesRoute(const TripData &trip, const ChapterList &chapters) const;
    // Reads the chapters after those already in the route, up to the first not ready.
    void appendReadyChapters(const ChapterList &chapters);
    // Sends the route's points from the given one on and then the command that draws them. A long
    // route goes one call a turn of the event loop, so that the window answers between the calls; a
    // line extended while under way takes the new points along, a new one replaces it.
    void sendLine(size_t from, const QString &command);
    void sendNextPoints();
    void sendMarkers(const std::vector<std::pair<QString, const MapPoint *>> &markers);

    MapScriptSink *_sink;
    int _batchDepth = 0;
    QStringList _batched;
    WebMapViewDelegate *_delegate = nullptr;
    ReachabilityCheck _reachabilityCheck;
    QString _versionNoteFolder;

    MapPoint _currentPoint{INI_CENTER_LAT, INI_CENTER_LNG}; // the car as last drawn; also the last centre
    double _iniCenterLat = INI_CENTER_LAT;
    double _iniCenterLng = INI_CENTER_LNG;
    int _iniZoom = INI_ZOOM;
    bool _iniDispBalloon;
    std::vector<RoutePoint> _polyList;
    // Where _polyList came from when it is a trip's route: the trip, the chapters read into it in
    // start-time order (compared by identity only), and the list's length after them; any other
    // length means the list was emptied or added to since.
    std::weak_ptr<TripData> _routeTrip;
    std::vector<const ChapterData *> _routeChapters;
    size_t _routePointCount = 0;
    quint64 _routeRemovals = 0;
    // The line under way: the points of _polyList the page has been sent for it, and the command that
    // ends it once all are; empty when none is under way.
    size_t _pagePoints = 0;
    QString _lineCommand;
    bool _isNextPointsQueued = false;
    std::map<QString, std::shared_ptr<MapPoint>> _markerList;
    quint64 _markerListDraws = 0;
    bool _flgInit = false;   // map settings applied (first updateMap)
    bool _flgPoly = false;   // a route was asked for before _flgInit
    bool _flgMarker = false; // markers were asked for before _flgInit
    bool _flgCar = false;
    bool _mapViewHiddenFlg = false;
    QString _mapTypeId;
    int _mapZoom;
    bool _mapDispBalloon;
    int _mapLanguage;

    int _loadCount = 0;               // successful page loads; an older load's late probe answer is ignored
    bool _versionNotePending = false; // waiting for the page to report its version
    bool _versionNoteWritten = false;
};

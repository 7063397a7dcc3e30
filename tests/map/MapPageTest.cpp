// Loads the real map page in a web view: the script interface, the channel back and the mirror.
#include "map/MapView.h"
#include "map/MapWebPage.h"
#include "map/WebMapViewDelegate.h"
#include "support/EventLoop.h"
#include "support/PageScript.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMouseEvent>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace {

struct ClickRecorder : WebMapViewDelegate
{
    void mapMarkerClicked(const MapPoint &point) override { clicked.push_back(point); }
    std::vector<MapPoint> clicked;
};

QJsonObject pageSummary(QWebEnginePage *page)
{
    const QString script = QStringLiteral(
        "JSON.stringify({"
        "  markers: Object.keys(markers).sort(),"
        "  kinds: Object.keys(markers).sort().map(function (k) { return markers[k].markerKind; }),"
        "  balloon: markers['E0'] ? markers['E0'].balloonText : null,"
        "  route: routeLatLngs().length,"
        "  car: car ? [car.getLatLng().lat, car.getLatLng().lng, car.iconCode, car.isGps] : null,"
        "  carTurn: document.querySelector('.car svg') ? document.querySelector('.car svg').style.transform "
        ": '',"
        "  callables: Object.keys(bridge).filter(function (k) { return typeof bridge[k] === 'function'; })"
        "})");
    return QJsonDocument::fromJson(evaluateInPage(page, script).toString().toUtf8()).object();
}

// Tests send nothing off the machine: with reachability faked as online, the page's tile requests
// are refused here.
struct OffMachineRefuser : QWebEngineUrlRequestInterceptor
{
    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const QUrl url = info.requestUrl();
        const QString scheme = url.scheme();
        const bool local = scheme == "qrc" || scheme == "file" || scheme == "data" ||
                           url.host() == "127.0.0.1" || url.host() == "localhost";
        if (!local) {
            info.block(true);
            ++refused;
        }
    }
    std::atomic<int> refused{0};
};

// The alpha of the route canvas's pixel at a place (dy pixels below it), as the canvas shows it now.
int routeAlphaAt(QWebEnginePage *page, double lat, double lng, int dy)
{
    return evaluateInPage(page, QStringLiteral("(function () { var c = routeLayer._canvas;"
                                               " var p = map.latLngToContainerPoint([%1, %2]);"
                                               " var at = map.containerPointToLayerPoint(p).subtract("
                                               "L.DomUtil.getPosition(c));"
                                               " var r = c.width / c.clientWidth;"
                                               " return c.getContext('2d').getImageData(Math.round(at.x * r),"
                                               " Math.round((at.y + %3) * r), 1, 1).data[3]; })()")
                                    .arg(lat, 0, 'f', 6)
                                    .arg(lng, 0, 'f', 6)
                                    .arg(dy))
        .toInt();
}

class MapPageTest : public ::testing::Test
{
protected:
    void SetUp() override { QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(&refuser); }
    void TearDown() override { QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(nullptr); }

    // The bridge of a view whose reachability is faked and which writes no version note.
    static WebMapView *bridgeOf(MapView &view, bool online)
    {
        view.mapWebView()->setReachabilityCheck([online](std::function<void(bool)> done) { done(online); });
        view.mapWebView()->setVersionNoteFolder({});
        return view.mapWebView();
    }

    // The bridge of an offline view shown at 800 x 600 once its page is set up; null when it never is.
    static WebMapView *shownOffline(MapView &view)
    {
        WebMapView *bridge = bridgeOf(view, false);
        view.resize(800, 600);
        view.show();
        return EventLoop::waitUntil(
                   [&] { return !bridge->getMapVersion().isEmpty() && bridge->isInitialized(); })
                   ? bridge
                   : nullptr;
    }

    // The bridge of an offline view shown as shownOffline gives it, centred on (35, 139) at zoom 15;
    // null when it never gets there.
    static WebMapView *shownOfflineAtZoom15(MapView &view)
    {
        WebMapView *bridge = shownOffline(view);
        if (!bridge)
            return nullptr;
        bridge->setCenter(35.0, 139.0);
        bridge->setZoom(15);
        return EventLoop::waitUntil([&] { return bridge->getZoom() == "15"; }) ? bridge : nullptr;
    }

    OffMachineRefuser refuser;
};

} // namespace

TEST_F(MapPageTest, DrawsRouteCarAndMarkersAndHearsClicks)
{
    MapView view(WebMapView::Settings{"roadmap", 13, true, 0});
    // Faked online: the page asks for tiles and the interceptor refuses them.
    WebMapView *bridge = bridgeOf(view, true);
    ASSERT_TRUE(EventLoop::waitUntil([&] { return refuser.refused > 0; }));
    ClickRecorder recorder;
    bridge->setDelegate(&recorder);
    view.resize(800, 600);
    view.show();

    // Calls made before the page has loaded wait for it.
    bridge->markerList()["E0"] =
        std::make_shared<MapPoint>(35.6812, 139.7671, "05.01.2024 \"12\":34 </b>", MarkerType::EVENT, 0);
    bridge->markerList()["C0_0"] =
        std::make_shared<MapPoint>(35.6586, 139.7454, "t", MarkerType::NORMAL, 0, 0);
    bridge->drawMarkers();
    ASSERT_TRUE(
        EventLoop::waitUntil([&] { return !bridge->getMapVersion().isEmpty() && bridge->isInitialized(); }));
    EXPECT_TRUE(bridge->getMapVersion().startsWith("Leaflet "));
    EXPECT_EQ(view.webPage()->page()->url(), MapWebPage::pageUrl(0));
    EXPECT_EQ(evaluateInPage(view.webPage()->page(), "document.documentElement.lang").toString(), "en");

    // What the card-open centring does, then a route and the car.
    bridge->setCenter(35.67, 139.755);
    bridge->setFlgCar(true);
    bridge->updateMap();
    bridge->setCenter(35.67, 139.755);
    bridge->setZoom(13);
    for (const auto &[lat, lng] :
         {std::pair{35.6586, 139.7454}, {35.665, 139.75}, {35.672, 139.758}, {35.6812, 139.7671}})
        bridge->appendPolyPoint(lat, lng);
    bridge->drawPolyline();
    bridge->drawMyCar(35.672, 139.758, IconId::East, true);

    ASSERT_TRUE(EventLoop::waitUntil([&] { return bridge->getZoom() == "13"; }))
        << bridge->getZoom().toStdString();
    EXPECT_EQ(bridge->getMapTypeId(), "roadmap");
    EXPECT_TRUE(bridge->getDispBalloon());

    QWebEnginePage *page = view.webPage()->page();
    const QJsonObject summary = pageSummary(page);
    EXPECT_EQ(summary["markers"].toVariant().toStringList(), (QStringList{"C0_0", "E0"}));
    EXPECT_EQ(summary["kinds"].toVariant().toList(), (QVariantList{1, 2}));
    EXPECT_EQ(summary["balloon"].toString(), "05.01.2024 \"12\":34 </b>");
    EXPECT_EQ(summary["route"].toInt(), 4);
    // The route goes on in pieces while a card is read: one line through every point, joined where
    // the pieces meet; a point at a time still works as before.
    view.webPage()->runScript("addPolyPoints([[35.69,139.77],[35.7,139.78]])");
    view.webPage()->runScript("extendPolyline()");
    EXPECT_EQ(
        evaluateInPage(page, "JSON.stringify(routeLatLngs().map(function (p) { return [p.lat, p.lng]; }))")
            .toString(),
        "[[35.6586,139.7454],[35.665,139.75],[35.672,139.758],[35.6812,139.7671],[35.69,139.77],[35.7,"
        "139.78]]");
    EXPECT_EQ(evaluateInPage(page, "routeLine.getLayers()[1].getLatLngs()[0].lat").toDouble(), 35.6812);
    view.webPage()->runScript("addPolyPoint(35.66, 139.75)");
    view.webPage()->runScript("addPolyPoint(35.67, 139.76)");
    view.webPage()->runScript("drawPolyline()");
    EXPECT_EQ(evaluateInPage(page, "routeLatLngs().length").toInt(), 2);
    bridge->drawPolyline();
    EXPECT_EQ(evaluateInPage(page, "routeLatLngs().length").toInt(), 4);
    EXPECT_EQ(summary["car"].toVariant().toList(), (QVariantList{35.672, 139.758, 7, true}));
    EXPECT_EQ(summary["carTurn"].toString(), "rotate(90deg)");
    // Of the bridge's methods the page sees only markerClickWithId and QObject's deleteLater, which the
    // channel refuses for a published object (checked below); the rest are the channel script's own.
    QStringList methods = summary["callables"].toVariant().toStringList();
    methods.removeIf([](const QString &name) {
        return name.contains('(') ||
               QStringList{"unwrapQObject", "unwrapProperties", "propertyUpdate", "signalEmitted"}.contains(
                   name);
    });
    EXPECT_EQ(methods, (QStringList{"deleteLater", "markerClickWithId"}));

    // A real mouse click on the event pin.
    const QVariantList at =
        evaluateInPage(page, "(function () { var p = map.latLngToContainerPoint(markers['E0'].getLatLng());"
                             " return [p.x, p.y - 20]; })()")
            .toList();
    ASSERT_EQ(at.size(), 2);
    const QPointF pos(at[0].toDouble(), at[1].toDouble());
    QWidget *target = view.webView()->focusProxy();
    ASSERT_NE(target, nullptr);
    for (const auto &[type, button, buttons] : {std::tuple{QEvent::MouseMove, Qt::NoButton, Qt::NoButton},
                                                {QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton},
                                                {QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton}}) {
        QMouseEvent event(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }
    ASSERT_TRUE(EventLoop::waitUntil([&] { return !recorder.clicked.empty(); }));
    EXPECT_EQ(recorder.clicked[0].marker, MarkerType::EVENT);
    EXPECT_EQ(recorder.clicked[0].eventIndex, 0);

    // The page cannot delete the object it talks to; unknown keys do nothing.
    evaluateInPage(page, "bridge.deleteLater(); bridge.markerClickWithId('X9');");
    EventLoop::runFor(std::chrono::milliseconds(300));
    evaluateInPage(page, "bridge.markerClickWithId('C0_0');");
    ASSERT_TRUE(EventLoop::waitUntil([&] { return recorder.clicked.size() == 2; }));
    EXPECT_EQ(recorder.clicked[1].tripIndex, 0);
    EXPECT_EQ(recorder.clicked[1].marker, MarkerType::NORMAL);

    // For a look at the page: ORV_MAP_SCREENSHOT=file.png (under xvfb-run with the xcb platform).
    const QString shot = qEnvironmentVariable("ORV_MAP_SCREENSHOT");
    if (!shot.isEmpty()) {
        EventLoop::runFor(std::chrono::milliseconds(1500));
        view.grab().save(shot);
    }
}

TEST_F(MapPageTest, MapTypesBalloonsAndTheCarWithoutGps)
{
    MapView view(WebMapView::Settings{"roadmap", 15, true, 1});
    WebMapView *bridge = bridgeOf(view, false);
    EXPECT_EQ(view.webView()->contextMenuPolicy(), Qt::NoContextMenu);
    QWebEnginePage *page = view.webPage()->page();
    ASSERT_TRUE(EventLoop::waitUntil([&] { return !bridge->getMapVersion().isEmpty(); }));
    EXPECT_TRUE(
        EventLoop::waitUntil([&] { return bridge->isInitialized(); })); // unreachable: set up, without tiles
    EXPECT_EQ(page->url(), MapWebPage::pageUrl(1));
    EXPECT_EQ(evaluateInPage(page, "document.documentElement.lang").toString(), "fr");

    bridge->runScript("setMapTypeId(\"terrain\")");
    ASSERT_TRUE(EventLoop::waitUntil([&] { return bridge->getMapTypeId() == "terrain"; }));
    bridge->runScript("setMapTypeId(\"satellite\")"); // no such tiles here: the road map
    ASSERT_TRUE(EventLoop::waitUntil([&] { return bridge->getMapTypeId() == "roadmap"; }));
    bridge->runScript("setDispBalloon(false)");
    ASSERT_TRUE(EventLoop::waitUntil([&] { return !bridge->getDispBalloon(); }));

    bridge->drawMyCar(10.0, 20.0, IconId::GDetection, false);
    const QVariantList car =
        evaluateInPage(
            page,
            "[document.querySelectorAll('.car-nogps').length, document.querySelectorAll('.car-still').length,"
            " document.querySelectorAll('.leaflet-tile-pane img').length]")
            .toList();
    EXPECT_EQ(car, (QVariantList{1, 1, 0}));

    bridge->runScript("removeMyCar()");
    bridge->currentPoint().clear();
    EXPECT_EQ(evaluateInPage(page, "car === null").toBool(), true);

    // Keys and texts are data, whatever they hold.
    bridge->updateMap();
    bridge->markerList()["__proto__"] = std::make_shared<MapPoint>(1.0, 2.0, "p", MarkerType::NORMAL, 0, 0);
    bridge->markerList()["a\"b');x('"] =
        std::make_shared<MapPoint>(1.5, 2.5, "q\n\u2028", MarkerType::EVENT, 1);
    bridge->drawMarkers();
    const QStringList keys = evaluateInPage(page, "Object.keys(markers).sort()").toStringList();
    EXPECT_EQ(keys, (QStringList{"__proto__", "a\"b');x('"}));
    EXPECT_EQ(evaluateInPage(page, "markers['__proto__'].balloonText").toString(), "p");
    EXPECT_EQ(evaluateInPage(page, "typeof x").toString(), "undefined");
}

TEST_F(MapPageTest, ScriptsGivenBeforeTheLoadRunAfterItInOrder)
{
    MapView view(WebMapView::Settings{"roadmap", 15, true, 2});
    WebMapView *bridge = bridgeOf(view, true);
    MapWebPage *page = view.webPage();
    EXPECT_FALSE(page->isPageReady());
    for (int i = 1; i <= 3; ++i)
        page->runScript(QString("window.order = (window.order || []).concat([%1])").arg(i));
    ASSERT_TRUE(EventLoop::waitUntil([&] { return bridge->isInitialized(); }));
    EXPECT_EQ(evaluateInPage(page->page(), "window.order").toList(), (QVariantList{1, 2, 3}));
    EXPECT_EQ(page->page()->url(), MapWebPage::pageUrl(2));
    EXPECT_EQ(evaluateInPage(page->page(), "document.documentElement.lang").toString(), "es");

    bridge->markerList()["E0"] = std::make_shared<MapPoint>(1.0, 2.0, "e", MarkerType::EVENT, 0);
    bridge->drawMarkers();
    bridge->appendPolyPoint(1.0, 2.0);
    bridge->appendPolyPoint(1.5, 2.5);
    bridge->drawPolyline();
    bridge->drawMyCar(1.5, 2.5, IconId::North, true);
    bridge->setFlgCar(true);

    // A reload forgets what the old page reported until the new one reports again, and the new
    // page gets the markers, the route and the car again.
    page->page()->triggerAction(QWebEnginePage::Reload);
    ASSERT_TRUE(EventLoop::waitUntil([&] { return !page->isPageReady(); }));
    EXPECT_EQ(bridge->getZoom(), "");
    ASSERT_TRUE(EventLoop::waitUntil([&] { return !bridge->getZoom().isEmpty(); }));
    EXPECT_EQ(evaluateInPage(page->page(), "window.order === undefined").toBool(), true);
    ASSERT_TRUE(EventLoop::waitUntil([&] { return evaluateInPage(page->page(), "car !== null").toBool(); }));
    EXPECT_EQ(evaluateInPage(page->page(), "Object.keys(markers)").toStringList(), QStringList{"E0"});
    EXPECT_EQ(evaluateInPage(page->page(), "routeLatLngs().length").toInt(), 2);
}

// Scripts sent within a batch reach the page as one call, in order, as they would one by one: one that
// fails is reported and those after it still run; batches opened within one go out with the outermost.
TEST_F(MapPageTest, ABatchOfScriptsIsOneCallThatRunsEachAsItsOwn)
{
    MapView view(WebMapView::Settings{"roadmap", 15, true, 0});
    WebMapView *bridge = bridgeOf(view, true);
    MapWebPage *page = view.webPage();
    ASSERT_TRUE(EventLoop::waitUntil([&] { return bridge->isInitialized(); }));
    QStringList asked;
    QObject::connect(page, &MapWebPage::scriptAsked, [&](const QString &script) { asked << script; });
    {
        WebMapView::ScriptBatch outer(*bridge);
        bridge->runScript("window.order = [1]");
        {
            WebMapView::ScriptBatch inner(*bridge);
            bridge->runScript("window.order.push(2); undefinedFunction()");
            bridge->runScript("window.order.push(3)");
        }
        EXPECT_TRUE(asked.isEmpty()) << "the inner batch waits for the outer";
        bridge->markerList()["E0"] = std::make_shared<MapPoint>(1.0, 2.0, "e", MarkerType::EVENT, 0);
        bridge->drawMarkers();
        bridge->runScript("window.order.push(4)");
    }
    EXPECT_EQ(asked.size(), 1);
    EXPECT_EQ(evaluateInPage(page->page(), "window.order").toList(), (QVariantList{1, 2, 3, 4}));
    EXPECT_EQ(evaluateInPage(page->page(), "Object.keys(markers)").toStringList(), QStringList{"E0"});
    {
        WebMapView::ScriptBatch one(*bridge);
        bridge->runScript("window.order.push(5)");
    }
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked.back(), "window.order.push(5)") << "a batch of one goes as it is";
    EXPECT_EQ(evaluateInPage(page->page(), "window.order.length").toInt(), 5);
}

// The page keeps the car it draws in view by itself: a car in view leaves the user's view alone, one
// out of view brings the map to it at the same zoom.
TEST_F(MapPageTest, ACarDrawnOutOfViewBringsTheMapToItAtTheSameZoom)
{
    MapView view(WebMapView::Settings{"roadmap", 13, true, 0});
    WebMapView *bridge = bridgeOf(view, false);
    view.resize(800, 600);
    view.show();
    ASSERT_TRUE(EventLoop::waitUntil([&] { return bridge->isInitialized(); }));
    QWebEnginePage *page = view.webPage()->page();
    bridge->setCenter(35.67, 139.755);
    bridge->setZoom(13);
    ASSERT_TRUE(EventLoop::waitUntil([&] {
        return evaluateInPage(page,
                              "map.getZoom() === 13 && map.getSize().x > 200 && map.getSize().equals("
                              "L.point(map.getContainer().clientWidth, map.getContainer().clientHeight))")
            .toBool();
    }));
    // Draws the car at a point given in fractions of the view's size, from its top left corner or from
    // the car, and tells whether the point was well inside the view (or off: near an edge or out), the
    // map moved, the car's icon (32 px, anchored at its middle) is wholly in view and the zoom kept.
    evaluateInPage(page,
                   "window.drawCarAt = function (fx, fy, fromCar) {"
                   "  var s = map.getSize(), c = map.getCenter(), z = map.getZoom();"
                   "  var at = (fromCar ? map.latLngToContainerPoint(car.getLatLng()) : L.point(0, 0))"
                   "      .add([s.x * fx, s.y * fy]);"
                   "  var l = map.containerPointToLatLng(at);"
                   "  drawMyCar(l.lat, l.lng, 7, true);"
                   "  var p = map.latLngToContainerPoint(car.getLatLng());"
                   "  return [at.x >= s.x / 10 && at.y >= s.y / 10 && at.x <= s.x * 0.9 && at.y <= s.y * 0.9"
                   "          ? 'well-in' : 'off', map.getCenter().equals(c) ? 'still' : 'moved',"
                   "          p.x >= 16 && p.y >= 16 && p.x <= s.x - 16 && p.y <= s.y - 16 ? 'whole' : 'cut',"
                   "          map.getZoom() === z ? 'same-zoom' : 'new-zoom'].join(' ');"
                   "}");
    const auto drawCarAt = [&](double fx, double fy, bool fromCar) {
        return evaluateInPage(page, QString("drawCarAt(%1, %2, %3)").arg(fx).arg(fy).arg(fromCar)).toString();
    };

    // After the user's own move: in view, near an edge, just past one, a country away, across the world.
    evaluateInPage(page, "map.panBy([120, -80], { animate: false })");
    for (const auto &[fx, fy, expected] : {std::tuple{0.5, 0.5, "well-in still whole same-zoom"},
                                           {0.2, 0.8, "well-in still whole same-zoom"},
                                           {0.9, 0.1, "well-in still whole same-zoom"},
                                           {0.5, 0.98, "off moved whole same-zoom"},
                                           {1.3, 0.4, "off moved whole same-zoom"},
                                           {-40.0, 25.0, "off moved whole same-zoom"},
                                           {0.5, -0.2, "off moved whole same-zoom"},
                                           {-1000.0, 300.0, "off moved whole same-zoom"}})
        EXPECT_EQ(drawCarAt(fx, fy, false).toStdString(), expected) << fx << "," << fy;

    // Playing: the car goes on by a part of the view at each frame and leaves it again and again. It is
    // never out of sight, and the map does not move while the car is well inside it.
    for (const auto &[fx, fy] : {std::pair{1.0 / 6, 0.0}, {-1.0 / 7, 1.0 / 5}}) {
        drawCarAt(0.5, 0.5, false);
        int moves = 0;
        for (int step = 1; step <= 16; ++step) {
            const QString drawn = drawCarAt(fx, fy, true);
            EXPECT_TRUE(drawn.endsWith("whole same-zoom"))
                << drawn.toStdString() << " " << fx << "," << fy << " step " << step;
            EXPECT_FALSE(drawn.startsWith("well-in moved")) << fx << "," << fy << " step " << step;
            moves += drawn.contains("moved");
        }
        EXPECT_GE(moves, 2) << fx << "," << fy;
    }
}

// A full card's thousands of pins are drawn on one canvas, sent in a few calls, and answer the mouse as
// marker elements did: of pins stacked at one place the one put last is on top, a pin further south
// covers its northern neighbour, resting on a pin shows its balloon, and a click plays the topmost.
TEST_F(MapPageTest, ThousandsOfPinsOnOneCanvasAnswerTheMouseAsStackedMarkers)
{
    MapView view(WebMapView::Settings{"roadmap", 15, true, 0});
    WebMapView *bridge = bridgeOf(view, false);
    ClickRecorder recorder;
    bridge->setDelegate(&recorder);
    view.resize(800, 600);
    view.show();
    ASSERT_TRUE(
        EventLoop::waitUntil([&] { return !bridge->getMapVersion().isEmpty() && bridge->isInitialized(); }));
    bridge->setCenter(35.0, 139.0);
    bridge->setZoom(15);
    ASSERT_TRUE(EventLoop::waitUntil([&] { return bridge->getZoom() == "15"; }));

    constexpr int CHAPTERS = 3000;
    for (int j = 0; j < CHAPTERS; ++j)
        bridge->markerList()[QStringLiteral("C1_%1").arg(j)] = std::make_shared<MapPoint>(
            34.9 - 0.001 * (j / 60), 138.9 + 0.001 * (j % 60), "c", MarkerType::NORMAL, 1, j);
    // At the centre: an event and a surveillance pin at one place (the surveillance one is put after
    // it), and an adventure pin two pixels south, which covers both; to the east, the first two alone.
    const std::tuple<const char *, double, double, MarkerType, int> stacked[] = {
        {"E0", 35.0, 139.0, MarkerType::EVENT, 0},          {"S0", 35.0, 139.0, MarkerType::SURVEILLANCE, 0},
        {"A0", 34.99992, 139.0, MarkerType::ADVENTURE, 0},  {"E1", 35.0, 139.002, MarkerType::EVENT, 1},
        {"S1", 35.0, 139.002, MarkerType::SURVEILLANCE, 1},
    };
    for (const auto &[key, lat, lng, type, index] : stacked)
        bridge->markerList()[key] = type == MarkerType::ADVENTURE
                                        ? std::make_shared<MapPoint>(lat, lng, key, type, index, 0)
                                        : std::make_shared<MapPoint>(lat, lng, key, type, index);
    MapWebPage *webPage = view.webPage();
    const qint64 callsBefore = webPage->scriptCalls();
    bridge->drawMarkers();
    EXPECT_LE(webPage->scriptCalls() - callsBefore, 4);
    QWebEnginePage *page = webPage->page();
    ASSERT_TRUE(EventLoop::waitUntil(
        [&] { return evaluateInPage(page, "Object.keys(markers).length").toInt() == CHAPTERS + 5; }));
    EXPECT_EQ(evaluateInPage(page, "document.querySelectorAll('.leaflet-marker-icon').length").toInt(), 0)
        << "no element per marker";

    QWidget *target = view.webView()->focusProxy();
    ASSERT_NE(target, nullptr);
    const auto pointOf = [&](const char *key) {
        const QVariantList at =
            evaluateInPage(page, QStringLiteral("(function () { var p = "
                                                "map.latLngToContainerPoint(markers['%1'].getLatLng());"
                                                " return [p.x, p.y]; })()")
                                     .arg(QLatin1String(key)))
                .toList();
        return at.size() == 2 ? QPointF(at[0].toDouble(), at[1].toDouble()) : QPointF();
    };
    const auto mouse = [&](QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    };
    const auto click = [&](QPointF pos) {
        mouse(QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
    };
    const QString balloon = "(function () { var t = document.querySelector('.leaflet-tooltip');"
                            " return t ? t.textContent : ''; })()";
    // Each pin's balloon is its key.
    const struct
    {
        const char *at;
        QPointF offset;
        const char *topmost;
    } clicks[] = {
        {"E0", {0, -20}, "A0"},  // the southern pin covers the place
        {"E1", {0, -20}, "S1"},  // of two at one place, the one put last
        {"E1", {11, -34}, "S1"}, // the box's corner
    };
    for (const auto &c : clicks) {
        SCOPED_TRACE(c.at);
        const QPointF pos = pointOf(c.at) + c.offset;
        const size_t before = recorder.clicked.size();
        click(pos);
        ASSERT_TRUE(EventLoop::waitUntil([&] { return recorder.clicked.size() == before + 1; }));
        EXPECT_EQ(recorder.clicked.back().msg, c.topmost);
        // Still there once a closing balloon would have faded.
        EventLoop::runFor(std::chrono::milliseconds(400));
        EXPECT_EQ(evaluateInPage(page, balloon).toString(), c.topmost);
    }
    // Beside the box: no pin, no balloon.
    const size_t before = recorder.clicked.size();
    click(pointOf("E1") + QPointF(13, -20));
    EXPECT_TRUE(EventLoop::waitUntil([&] { return evaluateInPage(page, balloon).toString().isEmpty(); }));
    EventLoop::runFor(std::chrono::milliseconds(300));
    EXPECT_EQ(recorder.clicked.size(), before);
}

// The route's canvas shows the line wherever its points lead, at every zoom: a long run far outside the
// view is left out without cutting the line where it comes back, and nothing is drawn beside it.
TEST_F(MapPageTest, TheRouteIsDrawnThroughItsPointsAtEveryZoom)
{
    MapView view(WebMapView::Settings{"roadmap", 15, true, 0});
    WebMapView *bridge = shownOffline(view);
    ASSERT_TRUE(bridge);
    // West to east through the centre, a long loop far to the north in between, then on east; the runs'
    // points closer together than a pixel.
    for (int i = 0; i <= 1000; ++i)
        bridge->appendPolyPoint(35.0, 138.999 + i * 0.000001);
    for (int i = 0; i <= 100; ++i)
        bridge->appendPolyPoint(35.0 + i * 0.05, 139.0);
    for (int i = 100; i >= 0; --i)
        bridge->appendPolyPoint(35.0 + i * 0.05, 139.0001);
    for (int i = 0; i <= 1000; ++i)
        bridge->appendPolyPoint(35.0, 139.0001 + i * 0.0000009);
    bridge->drawPolyline();
    QWebEnginePage *page = view.webPage()->page();
    ASSERT_TRUE(
        EventLoop::waitUntil([&] { return evaluateInPage(page, "routeLatLngs().length").toInt() > 2000; }));
    const auto alphaAt = [&](double lat, double lng, int dy) { return routeAlphaAt(page, lat, lng, dy); };
    for (const int zoom : {15, 12, 17, 3}) {
        SCOPED_TRACE(zoom);
        bridge->setCenter(35.0, 139.0);
        bridge->setZoom(zoom);
        ASSERT_TRUE(EventLoop::waitUntil([&] { return bridge->getZoom() == QString::number(zoom); }));
        ASSERT_TRUE(
            EventLoop::waitUntil([&] { return evaluateInPage(page, "!map._animatingZoom").toBool(); }));
        EventLoop::runFor(std::chrono::milliseconds(200));
        EXPECT_GT(alphaAt(35.0, 138.9995, 0), 0) << "the first run";
        EXPECT_GT(alphaAt(35.0, 139.0006, 0), 0) << "the last run, past the loop";
        EXPECT_EQ(alphaAt(35.0, 139.0003, 40), 0) << "beside the line";
    }
}

// A trip that drives the same road again and again (a card of copied chapters, a daily commute) shows the
// same line as one drive, and what the page walks to draw it does not grow with the drives.
TEST_F(MapPageTest, ARouteOverTheSameRoadManyTimesIsDrawnAsOnce)
{
    MapView view(WebMapView::Settings{"roadmap", 15, true, 0});
    WebMapView *bridge = shownOffline(view);
    ASSERT_TRUE(bridge);
    QWebEnginePage *page = view.webPage()->page();
    // A loop: east, then north-west past its start, then south-east back to it.
    const auto drive = [&] {
        for (int i = 0; i < 300; ++i)
            bridge->appendPolyPoint(35.0, 138.998 + i * 0.00001);
        for (int i = 0; i < 300; ++i)
            bridge->appendPolyPoint(35.0 + i * 0.000005, 139.001 - i * 0.00001);
        for (int i = 0; i < 100; ++i)
            bridge->appendPolyPoint(35.0015 - i * 0.000015, 138.998 + i * 0.0000001);
    };
    // The route canvas's pixels as a checksum, and the entries walked at the zoom shown.
    const QString look = "(function () { var c = routeLayer._canvas;"
                         " var d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;"
                         " var sum = 0, lit = 0; for (var i = 3; i < d.length; i += 4) {"
                         " sum = (sum * 31 + d[i] + d[i - 1] + i) % 1000000007; lit += d[i] > 0; }"
                         " var z = map.getZoom(), piece = routeLayer.getLayers()[0];"
                         " return [sum, lit, piece.kept(z, map.getZoomScale(z, 0)).length]; })()";
    const auto drawn = [&](int drives, int zoom) {
        bridge->removeRoute();
        for (int d = 0; d < drives; ++d)
            drive();
        bridge->appendPolyPoint(35.0, 138.998);
        const int points = int(bridge->polyList().size());
        bridge->drawPolyline();
        EXPECT_TRUE(EventLoop::waitUntil(
            [&] { return evaluateInPage(page, "routeLatLngs().length").toInt() == points; }));
        bridge->setCenter(35.0, 139.0);
        bridge->setZoom(zoom);
        EXPECT_TRUE(EventLoop::waitUntil([&] { return bridge->getZoom() == QString::number(zoom); }));
        EXPECT_TRUE(
            EventLoop::waitUntil([&] { return evaluateInPage(page, "!map._animatingZoom").toBool(); }));
        EventLoop::runFor(std::chrono::milliseconds(200));
        return evaluateInPage(page, look).toList();
    };
    for (const int zoom : {17, 14}) {
        SCOPED_TRACE(zoom);
        const QVariantList once = drawn(1, zoom);
        const QVariantList many = drawn(200, zoom);
        ASSERT_EQ(once.size(), 3);
        ASSERT_EQ(many.size(), 3);
        EXPECT_GT(once[1].toInt(), 100) << "the line is drawn";
        EXPECT_EQ(many[0], once[0]) << "the same pixels";
        EXPECT_LE(many[2].toInt(), once[2].toInt() + 2) << "walked once";
    }
}

// The route's points reach the page as the same numbers, whichever way they are packed: whole millionths
// of a degree as steps (both signs, the far ends of the world, a jump across it), others as they are.
TEST_F(MapPageTest, RoutePointsReachThePageAsTheSameNumbers)
{
    MapView view(WebMapView::Settings{"roadmap", 15, true, 0});
    WebMapView *bridge = bridgeOf(view, false);
    view.show();
    ASSERT_TRUE(
        EventLoop::waitUntil([&] { return !bridge->getMapVersion().isEmpty() && bridge->isInitialized(); }));
    QWebEnginePage *page = view.webPage()->page();
    const std::vector<std::vector<RoutePoint>> routes = {
        {{35.681236, 139.767125},
         {35.681237, 139.767124},
         {-33.86882, 151.209296},
         {0.000001, -0.000001},
         {89.999999, -179.999999},
         {-85.051128, 180.0},
         {35.681236, 139.767125}},
        {{35.6812365, 139.767125}, {35.1, 139.2}},
        {{12.5, -3.25}, {1e-7, 100.0}},
    };
    for (const auto &route : routes) {
        SCOPED_TRACE(route.size());
        bridge->removeRoute();
        for (const RoutePoint &point : route)
            bridge->appendPolyPoint(point.lat, point.lng);
        ASSERT_EQ(bridge->polyList().size(), route.size());
        bridge->drawPolyline();
        ASSERT_TRUE(EventLoop::waitUntil(
            [&] { return evaluateInPage(page, "routeLatLngs().length").toInt() == int(route.size()); }));
        const QVariantList drawn =
            evaluateInPage(page, "routeLatLngs().map(function (p) { return [p.lat, p.lng]; })").toList();
        ASSERT_EQ(drawn.size(), qsizetype(route.size()));
        for (size_t i = 0; i < route.size(); ++i) {
            const QVariantList point = drawn[qsizetype(i)].toList();
            ASSERT_EQ(point.size(), 2);
            EXPECT_EQ(point[0].toDouble(), route[i].lat) << i;
            EXPECT_EQ(point[1].toDouble(), route[i].lng) << i;
        }
    }
}

// Pins come in batches while a card is read, in any order, and a key may come again: whatever the
// batches, the page stacks them as its whole sort does (the southern on top, of two at one place the one
// put last) and a click answers with the pin on top.
TEST_F(MapPageTest, PinsPutInBatchesStackAndAnswerClicksAsIfPutOneAtATime)
{
    MapView view(WebMapView::Settings{"roadmap", 15, true, 0});
    WebMapView *bridge = shownOfflineAtZoom15(view);
    ASSERT_NE(bridge, nullptr);
    ClickRecorder recorder;
    bridge->setDelegate(&recorder);
    QWebEnginePage *page = view.webPage()->page();

    // Two places: A at the centre, with a pin two pixels south that covers it; B to the east, with a pin
    // two pixels north that it covers. Many more pins to the north, half of them in view, none on A or B.
    const std::pair<double, double> placeA{35.0, 139.0}, placeB{35.0, 139.002};
    const std::map<QString, std::pair<double, double>> places = {
        {"E0", placeA}, {"S0", placeA}, {"A0", {34.99992, 139.0}},
        {"E1", placeB}, {"S1", placeB}, {"N1", {35.00008, 139.002}},
    };
    QStringList others;
    for (int j = 0; j < 400; ++j)
        others << QStringLiteral("C1_%1").arg(j);
    const auto putAll = [&] {
        bridge->markerList().clear();
        for (const auto &[key, at] : places)
            bridge->markerList()[key] =
                std::make_shared<MapPoint>(at.first, at.second, key, MarkerType::EVENT, 0);
        for (int j = 0; j < others.size(); ++j)
            bridge->markerList()[others[j]] =
                std::make_shared<MapPoint>(35.003 + 0.0004 * (j / 20) + (j < 200 ? 0.0 : 0.05),
                                           138.99 + 0.0012 * (j % 20), others[j], MarkerType::NORMAL, 1, j);
    };
    const QString all = others.join(' ');

    QWidget *target = view.webView()->focusProxy();
    ASSERT_NE(target, nullptr);
    const auto pointOf = [&](std::pair<double, double> at) {
        const QVariantList point =
            evaluateInPage(page, QStringLiteral("(function () { var p = map.latLngToContainerPoint([%1, %2]);"
                                                " return [p.x, p.y]; })()")
                                     .arg(at.first, 0, 'g', 10)
                                     .arg(at.second, 0, 'g', 10))
                .toList();
        return point.size() == 2 ? QPointF(point[0].toDouble(), point[1].toDouble()) : QPointF();
    };
    const auto click = [&](QPointF pos) {
        for (const auto &[type, button, buttons] :
             {std::tuple{QEvent::MouseMove, Qt::NoButton, Qt::NoButton},
              {QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton},
              {QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton}}) {
            QMouseEvent event(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &event);
        }
    };
    const QString order = "JSON.stringify(pinLayer._ordered().map(function (p) { return p.markerKey; }))";
    const QString pixels = "pinLayer._canvas.toDataURL()";

    const struct
    {
        const char *name;
        std::vector<QString> batches; // keys, space-separated; "*" the pins around
        const char *movedToB;         // a key whose pin moves to B before the last batch
        const char *topAtA;
        const char *topAtB;
    } cases[] = {
        {"all at once", {"* E0 S0 A0 E1 S1 N1"}, "", "A0", "S1"},
        {"one at a time", {"*", "E0", "S0", "A0", "E1", "S1", "N1"}, "", "A0", "S1"},
        {"out of order", {"S1 A0", "*", "N1 S0", "E1 E0"}, "", "A0", "E1"},
        {"put again later", {"E0 S0 * E1 S1 N1", "E0"}, "", "E0", "S1"},
        {"twice in one batch", {"* E0 S0", "E1 S1 E1"}, "", "S0", "E1"},
        {"moved", {"E0 S0 * E1 S1", "S0"}, "S0", "E0", "S0"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        view.webPage()->runScript("removeMarkerAll()");
        putAll();
        for (size_t i = 0; i < c.batches.size(); ++i) {
            if (i + 1 == c.batches.size() && *c.movedToB)
                bridge->markerList()[c.movedToB] =
                    std::make_shared<MapPoint>(placeB.first, placeB.second, c.movedToB, MarkerType::EVENT, 0);
            const QStringList batch = QString(c.batches[i]).replace("*", all).split(' ', Qt::SkipEmptyParts);
            bridge->drawMarkers(std::vector<QString>(batch.begin(), batch.end()));
        }
        // The order kept through the batches, and the pins drawn, are those of a whole sort and drawing.
        const std::string kept = evaluateInPage(page, order).toString().toStdString();
        const QString drawn = evaluateInPage(page, pixels).toString();
        evaluateInPage(page, "pinLayer.changed(); 1");
        EXPECT_EQ(kept, evaluateInPage(page, order).toString().toStdString());
        EXPECT_TRUE(drawn == evaluateInPage(page, pixels).toString());

        for (const auto &[at, top] : {std::pair{placeA, c.topAtA}, {placeB, c.topAtB}}) {
            const size_t before = recorder.clicked.size();
            click(pointOf(at) + QPointF(0, -20));
            ASSERT_TRUE(EventLoop::waitUntil([&] { return recorder.clicked.size() == before + 1; }));
            EXPECT_EQ(recorder.clicked.back().msg.toStdString(), top);
            EXPECT_EQ(evaluateInPage(page, "map.getContainer().style.cursor").toString(), "pointer");
            EXPECT_TRUE(EventLoop::waitUntil([&] {
                return evaluateInPage(page,
                                      "(function () { var t = document.querySelector('.leaflet-tooltip');"
                                      " return t ? t.textContent : ''; })()")
                           .toString() == top;
            }));
        }
    }
}

// A route that grows piece by piece while a card is read shows what the whole route drawn at once shows,
// its pieces crossing each other included, at the zoom it was drawn at and after a change of zoom.
TEST_F(MapPageTest, ARouteGrownPieceByPieceShowsWhatItDrawnWholeShows)
{
    MapView view(WebMapView::Settings{"roadmap", 15, true, 0});
    WebMapView *bridge = shownOfflineAtZoom15(view);
    ASSERT_NE(bridge, nullptr);
    QWebEnginePage *page = view.webPage()->page();
    const QString pixels = "routeLayer._canvas.toDataURL()";
    // Out and back over the same road, then across it, a piece at a time.
    const char *pieces[] = {"[[35.0,138.99],[35.0,139.0],[35.002,139.004]]",
                            "[[35.001,139.006],[35.0,139.0]]",
                            "[[34.998,139.0],[35.003,139.001],[35.0,139.01]]"};
    view.webPage()->runScript("drawPolyline()");
    for (const int zoom : {15, 14}) {
        SCOPED_TRACE(zoom);
        bridge->setZoom(zoom);
        ASSERT_TRUE(EventLoop::waitUntil([&] { return bridge->getZoom() == QString::number(zoom); }));
        for (const char *piece : pieces) {
            view.webPage()->runScript(QStringLiteral("addPolyPoints(%1)").arg(QLatin1String(piece)));
            view.webPage()->runScript("extendPolyline()");
        }
        const QString grown = evaluateInPage(page, pixels).toString();
        evaluateInPage(page, "routeLayer.redraw(); 1");
        EXPECT_TRUE(grown == evaluateInPage(page, pixels).toString());
        EXPECT_GT(evaluateInPage(page, "routeLayer.getLayers().length").toInt(), 1);
    }
}

// The map following the car moves several times a minute; a move that leaves the view inside what the
// canvases drew (the view and half of it on every side) puts them back in place without drawing the
// route and the pins again. A move past that, a zoom or a drag started near the drawing's edge draws
// them anew.
TEST_F(MapPageTest, AMoveWithinWhatWasDrawnKeepsTheDrawingInPlace)
{
    MapView view(WebMapView::Settings{"roadmap", 15, true, 0});
    WebMapView *bridge = shownOfflineAtZoom15(view);
    ASSERT_NE(bridge, nullptr);
    QWebEnginePage *page = view.webPage()->page();
    // West to east through the centre, far past the view either way.
    for (int i = 0; i <= 400; ++i)
        bridge->appendPolyPoint(35.0, 138.96 + i * 0.0002);
    bridge->drawPolyline();
    ASSERT_TRUE(
        EventLoop::waitUntil([&] { return evaluateInPage(page, "routeLatLngs().length").toInt() == 401; }));
    evaluateInPage(page, "window.draws = { route: 0, pins: 0 };"
                         "[[RouteLayer, 'route'], [PinLayer, 'pins']].forEach(function (layer) {"
                         "  var draw = layer[0].prototype.draw;"
                         "  layer[0].prototype.draw = function () { ++draws[layer[1]];"
                         "    return draw.apply(this, arguments); }; }); 1");
    // Moves the map's centre by fractions of the view's size (as following the car does), or zooms, or
    // starts a drag; then how many times each canvas was drawn since the last step.
    const auto step = [&](const QString &action) {
        evaluateInPage(page, "draws = { route: 0, pins: 0 }; " + action + "; 1");
        return evaluateInPage(page, "draws.route + ',' + draws.pins").toString().toStdString();
    };
    const auto moveBy = [](double fx, double fy) {
        return QStringLiteral("(function () { var s = map.getSize();"
                              " var l = map.containerPointToLatLng([s.x * (0.5 + %1), s.y * (0.5 + %2)]);"
                              " centreOn(l.lat, l.lng, map.getZoom()); })()")
            .arg(fx)
            .arg(fy);
    };
    const QString start = "centreOn(35.0, 139.0, map.getZoom()); routeLayer.redraw(); pinLayer.redraw()";
    const QString drag = "map.fire('dragstart')";
    const struct
    {
        const char *what;
        QStringList actions;
        std::string drawn;
    } rows[] = {
        {"a fifth east", {start, moveBy(0.2, 0.0)}, "0,0"},
        {"to the margin's edge", {start, moveBy(0.45, -0.45)}, "0,0"},
        {"there and back", {start, moveBy(0.4, 0.0), moveBy(-0.4, 0.0)}, "0,0"},
        {"two moves past the margin", {start, moveBy(0.3, 0.0), moveBy(0.3, 0.0)}, "1,1"},
        {"past the margin at once", {start, moveBy(0.0, 0.7)}, "1,1"},
        {"a zoom", {start, "map.setZoom(14, { animate: false })"}, "1,1"},
        {"a drag from a whole margin", {start, drag}, "0,0"},
        {"a drag after a move", {start, moveBy(0.3, 0.0), drag}, "1,1"},
    };
    const auto atZoom15 = [&] {
        bridge->setZoom(15);
        return EventLoop::waitUntil([&] { return bridge->getZoom() == "15"; });
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(atZoom15());
        std::string drawn;
        for (const QString &action : row.actions)
            drawn = step(action);
        EXPECT_EQ(drawn, row.drawn);
        // Wherever the map went, the line shows through the view's middle row and nowhere beside it.
        evaluateInPage(page, "var c = map.getCenter(); centreOn(35.0, c.lng, map.getZoom()); 1");
        const double lng = evaluateInPage(page, "map.getCenter().lng").toDouble();
        EXPECT_GT(routeAlphaAt(page, 35.0, lng, 0), 0);
        EXPECT_EQ(routeAlphaAt(page, 35.0, lng, 30), 0);
    }
    // A piece added after a move that kept the drawing goes where its points are.
    ASSERT_TRUE(atZoom15());
    evaluateInPage(page, start + "; 1");
    EXPECT_EQ(step(moveBy(0.1, 0.3)), "0,0");
    view.webPage()->runScript("addPolyPoints([[34.999, 139.0], [34.997, 139.0]]); extendPolyline()");
    ASSERT_TRUE(
        EventLoop::waitUntil([&] { return evaluateInPage(page, "routeLatLngs().length").toInt() == 403; }));
    EXPECT_GT(routeAlphaAt(page, 34.998, 139.0, 0), 0);
    EXPECT_EQ(routeAlphaAt(page, 34.998, 139.001, 0), 0);
}

// Pieces of the route that cannot show on the canvas are passed over: what to walk of them at a zoom is
// worked out once the map goes to them.
TEST_F(MapPageTest, APieceOfTheRouteOffTheCanvasIsLeftUntilTheMapGoesToIt)
{
    MapView view(WebMapView::Settings{"roadmap", 15, true, 0});
    WebMapView *bridge = shownOfflineAtZoom15(view);
    ASSERT_NE(bridge, nullptr);
    QWebEnginePage *page = view.webPage()->page();
    view.webPage()->runScript("drawPolyline()");
    // A piece here, one north from its end, and one there (a piece goes on from where the last ended).
    for (const char *piece :
         {"[[35.0,138.99],[35.0,139.01]]", "[[35.5,139.01],[36.0,139.01]]", "[[36.0,138.99],[36.0,139.0]]"})
        view.webPage()->runScript(
            QStringLiteral("addPolyPoints(%1); extendPolyline()").arg(QLatin1String(piece)));
    ASSERT_TRUE(EventLoop::waitUntil(
        [&] { return evaluateInPage(page, "routeLayer.getLayers().length").toInt() == 3; }));
    const QString walked = "routeLayer.getLayers().map(function (p) { return p._kept.length > 0; }).join()";
    EXPECT_EQ(evaluateInPage(page, walked).toString().toStdString(), "true,true,false");
    bridge->setCenter(36.0, 139.0);
    ASSERT_TRUE(
        EventLoop::waitUntil([&] { return evaluateInPage(page, walked).toString() == "true,true,true"; }));
    EXPECT_GT(routeAlphaAt(page, 36.0, 139.0, 0), 0);
}

// The car following the playback is moved while its icon stays, and shows the new heading when it turns:
// one car on the page either way.
TEST_F(MapPageTest, TheCarMovesAndTurnsAsOneCar)
{
    MapView view(WebMapView::Settings{"roadmap", 15, true, 0});
    WebMapView *bridge = shownOffline(view);
    ASSERT_NE(bridge, nullptr);
    QWebEnginePage *page = view.webPage()->page();
    const QString car = "JSON.stringify([document.querySelectorAll('.car').length, car.getLatLng().lat,"
                        " car.getLatLng().lng, document.querySelector('.car svg').style.transform])";
    const struct
    {
        double lat, lng;
        IconId icon;
        const char *shown;
    } moves[] = {
        {35.0, 139.0, IconId::East, "[1,35,139,\"rotate(90deg)\"]"},
        {35.0001, 139.0002, IconId::East, "[1,35.0001,139.0002,\"rotate(90deg)\"]"},
        {35.0002, 139.0002, IconId::North, "[1,35.0002,139.0002,\"rotate(0deg)\"]"},
    };
    for (const auto &m : moves) {
        bridge->drawMyCar(m.lat, m.lng, m.icon, true);
        EXPECT_EQ(evaluateInPage(page, car).toString().toStdString(), m.shown);
    }
}

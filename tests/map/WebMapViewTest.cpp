#include "map/WebMapView.h"

#include "FakeScriptSink.h"
#include "map/MapPoint.h"
#include "map/MapScriptText.h"
#include "map/WebMapViewDelegate.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

struct RecordingDelegate : WebMapViewDelegate
{
    void mapMarkerClicked(const MapPoint &point) override
    {
        clicked.push_back(point);
        if (onClick)
            onClick();
    }
    std::vector<MapPoint> clicked;
    std::function<void()> onClick;
};

class WebMapViewTest : public ::testing::Test
{
protected:
    std::unique_ptr<WebMapView> makeView()
    {
        WebMapView::Settings s;
        s.mapLanguage = 1;
        auto view = std::make_unique<WebMapView>(&sink, s);
        view->setReachabilityCheck([this](std::function<void(bool)> done) { done(reachable); });
        view->setVersionNoteFolder({});
        return view;
    }
    static void addMarker(WebMapView &view, const QString &key, double lat, double lng, const QString &msg,
                          MarkerType type, int index = 0)
    {
        view.markerList()[key] = std::make_shared<MapPoint>(lat, lng, msg, type, index);
    }

    FakeScriptSink sink;
    bool reachable = true;
};

} // namespace

// An unreachable tile server leaves out only the initialisation: the page is set up all the same.
TEST_F(WebMapViewTest, FirstLoadInitialisesAndAppliesTheSettings)
{
    for (bool online : {true, false}) {
        reachable = online;
        auto view = makeView();
        sink.finishLoad();
        QStringList expected{"initialize()", "movePosition(50.8471,-104.5627)", "setZoom(15)",
                             "setMapTypeId(\"roadmap\")", "setDispBalloon(true)",
                             // applyMapSettings, panel shown: the car is at the start centre, so no
                             // centre; the zoom is not the start zoom, so the start zoom
                             "setMapTypeId(\"roadmap\")", "setZoom(2)", "setLanguage(1)"};
        if (!online)
            expected.removeFirst();
        EXPECT_EQ(sink.take(), expected);
        EXPECT_TRUE(view->isInitialized());
        // So the markers of a card opened offline reach the page at once, before the centring step.
        addMarker(*view, "E0", 1.0, 2.0, "m", MarkerType::EVENT);
        view->drawMarkers();
        EXPECT_EQ(sink.take().size(), 1);
    }
}

TEST_F(WebMapViewTest, AReloadOnceReachableInitialisesAndSendsEverythingAgain)
{
    reachable = false;
    auto view = makeView();
    sink.finishLoad();
    addMarker(*view, "E0", 1.0, 2.0, "m", MarkerType::EVENT);
    view->drawMarkers(); // deferred: not initialised
    view->setCenter(1.0, 2.0);
    view->setFlgCar(true);
    view->updateMap(); // the card-open centring step applies the settings without a page initialisation
    view->drawPolyline();
    view->appendPolyPoint(3.0, 4.0);
    view->drawPolyline();
    sink.take();

    reachable = true;
    sink.finishLoad();
    const QStringList sent = sink.take();
    ASSERT_FALSE(sent.isEmpty());
    EXPECT_EQ(sent.first(), "initialize()");
    for (const QString &script :
         {QStringLiteral("setLanguage(1)"), QStringLiteral("addMarkers([[\"E0\",1,2,\"m\",2]])"),
          MapScriptText::addPackedPolyPoints(std::vector<RoutePoint>{{3.0, 4.0}})})
        EXPECT_EQ(sent.count(script), 1) << script.toStdString();
    EXPECT_EQ(sent.last(), "drawMyCar(1.0, 2.0, 1, false)");
    EXPECT_FALSE(sent.contains("setZoom(2)")) << "the settings are applied once";
}

TEST_F(WebMapViewTest, AProbeAnswerForAReplacedPageIsIgnored)
{
    auto view = makeView();
    std::vector<std::function<void(bool)>> answers;
    view->setReachabilityCheck([&](std::function<void(bool)> done) { answers.push_back(std::move(done)); });
    sink.finishLoad();
    sink.finishLoad();
    ASSERT_EQ(answers.size(), 2u);
    answers[0](true);
    EXPECT_TRUE(sink.scripts.isEmpty());
    answers[1](true);
    EXPECT_EQ(sink.scripts.count("initialize()"), 1);
}

TEST_F(WebMapViewTest, MarkersWaitForTheSettings)
{
    // Asked for before the settings: sent after them by every update.
    auto view = makeView();
    addMarker(*view, "E0", 1.0, 2.0, "e", MarkerType::EVENT);
    addMarker(*view, "S1", -3.5, 4.0, "s", MarkerType::SURVEILLANCE, 1);
    view->drawMarkers();
    EXPECT_TRUE(sink.scripts.isEmpty());
    // All in one call.
    const QStringList markers{"addMarkers([[\"E0\",1,2,\"e\",2],[\"S1\",-3.5,4,\"s\",3]])"};
    view->updateMap();
    const QStringList sent = sink.take();
    EXPECT_EQ(sent.mid(sent.size() - 1), markers);
    view->updateMap();
    EXPECT_EQ(sink.take(), markers);

    // Asked for after them: sent at once, and not again by an update.
    auto later = makeView();
    later->updateMap();
    sink.take();
    later->markerList()["C0_0"] =
        std::make_shared<MapPoint>(1.0, 2.0, QString::fromUtf8("…"), MarkerType::NORMAL, 0, 0);
    later->markerList()["C0_1"] = std::make_shared<MapPoint>(1.0, 2.5, "x", MarkerType::ADVENTURE, 0, 1);
    later->drawMarkers();
    EXPECT_EQ(
        sink.take(),
        (QStringList{QString::fromUtf8("addMarkers([[\"C0_0\",1,2,\"…\",1],[\"C0_1\",1,2.5,\"x\",4]])")}));
    later->updateMap();
    EXPECT_TRUE(sink.scripts.isEmpty());
}

TEST_F(WebMapViewTest, DeferredRouteAndMarkersFollowTheSettingsThenTheCar)
{
    auto view = makeView();
    view->setMapViewHiddenFlg(true);
    addMarker(*view, "E0", 1.0, 2.0, "e", MarkerType::EVENT);
    view->drawMarkers();
    view->appendPolyPoint(1.0, 2.0);
    view->appendPolyPoint(1.25, 2.5);
    view->drawPolyline();
    view->setCenter(1.25, 2.5);
    view->setFlgCar(true);
    sink.take();

    view->updateMap();
    EXPECT_EQ(sink.take(),
              (QStringList{
                  "setCenter(1.25,2.5)", "setMapTypeId(\"roadmap\")", "setZoom(15)", "setLanguage(1)",
                  MapScriptText::addPackedPolyPoints(std::vector<RoutePoint>{{1.0, 2.0}, {1.25, 2.5}}),
                  "drawPolyline()", "addMarkers([[\"E0\",1,2,\"e\",2]])", "drawMyCar(1.25, 2.5, 1, false)"}));
}

TEST_F(WebMapViewTest, RoutePointRules)
{
    const std::pair<std::vector<std::pair<double, double>>, std::vector<double>> cases[] = {
        {{{0, 0}, {1, 1}, {2, 2}, {1, 1}, {2, 2}},
         {1, 2}}, // no position; the last or the one before it again
        {{{1, 1}, {2, 2}, {3, 3}, {1, 1}}, {1, 2, 3, 1}},
        {{{0, 139.5}, {0, 139.5}}, {0}}, // latitude 0 alone is a position
    };
    for (const auto &[points, keptLatitudes] : cases) {
        auto view = makeView();
        for (const auto &[lat, lng] : points)
            view->appendPolyPoint(lat, lng);
        std::vector<double> kept;
        for (const RoutePoint &p : view->polyList())
            kept.push_back(p.lat);
        EXPECT_EQ(kept, keptLatitudes);
    }
}

TEST_F(WebMapViewTest, TheCarIsSentOnlyWhenSomethingChanged)
{
    auto view = makeView();
    view->drawMyCar(35.689487, 139.691706, IconId::North, true);
    view->drawMyCar(35.689487, 139.691706, IconId::North, true);
    EXPECT_EQ(sink.take(), QStringList{"drawMyCar(35.689487, 139.691706, 9, true)"});

    view->drawMyCar(35.689487, 139.691706, IconId::North, false);
    view->drawMyCar(35.689487, 139.691706, IconId::NorthEast, false);
    view->drawMyCar(35.7, 139.691706, IconId::NorthEast, false);
    EXPECT_EQ(sink.take(), (QStringList{"drawMyCar(35.689487, 139.691706, 9, false)",
                                        "drawMyCar(35.689487, 139.691706, 8, false)",
                                        "drawMyCar(35.7, 139.691706, 8, false)"}));

    // A centre moves the remembered car: the same place with the same icon is no change.
    view->setCenter(10.5, 20.25);
    EXPECT_EQ(sink.take(), QStringList{"setCenter(10.5,20.25)"});
    view->drawMyCar(10.5, 20.25, IconId::NorthEast, false);
    EXPECT_TRUE(sink.scripts.isEmpty());

    // After the main window removes the car and clears the point, the next drawing goes out.
    view->runScript("removeMyCar()");
    view->currentPoint().clear();
    view->drawMyCar(0.0, 0.0, IconId::None, true);
    EXPECT_EQ(sink.take(), (QStringList{"removeMyCar()", "drawMyCar(0.0, 0.0, 1, true)"}));

    // An update redraws the car only when allowed.
    view->updateMap();
    EXPECT_FALSE(sink.take().contains("drawMyCar(0.0, 0.0, 1, true)"));
    view->setFlgCar(true);
    view->updateMap();
    EXPECT_EQ(sink.take(), QStringList{"drawMyCar(0.0, 0.0, 1, true)"});
}

// Panel shown: the start view unless already there; panel hidden: the car and the saved zoom. The
// balloon setting only when it differs from the start one.
TEST_F(WebMapViewTest, SettingsSendTheViewOfThePanelMode)
{
    const struct
    {
        bool hidden;
        int zoom;
        double lat, lng;
        bool balloon;
        const char *sent;
    } cases[] = {
        {false, 15, 35.0, 139.0, false,
         "setCenter(50.8471,-104.5627) setMapTypeId(\"terrain\") setZoom(2) setDispBalloon(false) "
         "setLanguage(1)"},
        {false, 2, 50.8471, 139.0, true, "setMapTypeId(\"terrain\") setLanguage(1)"},
        {true, 15, 35.0, 139.0, true,
         "setCenter(35.0,139.0) setMapTypeId(\"terrain\") setZoom(15) setLanguage(1)"},
        {true, 2, 35.0, -104.5627, false, "setMapTypeId(\"terrain\") setDispBalloon(false) setLanguage(1)"},
    };
    for (const auto &c : cases) {
        auto view = makeView();
        view->setMapDispBalloon(c.balloon);
        view->setMapTypeId("terrain");
        view->setMapViewHiddenFlg(c.hidden);
        view->setMapZoom(c.zoom);
        view->setCenter(c.lat, c.lng);
        sink.take();
        view->applyMapSettings();
        EXPECT_EQ(sink.take().join(' '), c.sent);
    }
}

TEST_F(WebMapViewTest, MarkerClicksReachTheDelegate)
{
    auto view = makeView();
    RecordingDelegate delegate;
    view->setDelegate(&delegate);
    addMarker(*view, "S3", 1.0, 2.0, "s", MarkerType::SURVEILLANCE, 3);
    // A delegate that opens another card empties the list while it handles the click.
    delegate.onClick = [&] { view->markerList().clear(); };
    sink.click("S3");
    sink.click("E9");
    ASSERT_EQ(delegate.clicked.size(), 1u);
    EXPECT_EQ(delegate.clicked[0].marker, MarkerType::SURVEILLANCE);
    EXPECT_EQ(delegate.clicked[0].eventIndex, 3);
}

TEST_F(WebMapViewTest, TheVersionNoteWaitsForThePagesVersion)
{
    TempDir dir;
    auto view = makeView();
    view->setVersionNoteFolder(dir.filePath("Orvalind"));
    std::vector<bool> done;
    QObject::connect(view.get(), &WebMapView::versionNoteDone,
                     [&](bool written) { done.push_back(written); });
    sink.finishLoad();
    EXPECT_TRUE(done.empty());
    sink.report({2, "roadmap", true, "Leaflet 1.6.0"});
    EXPECT_EQ(done, std::vector<bool>{true});
    QFile note(dir.filePath("Orvalind/mv.txt"));
    ASSERT_TRUE(note.open(QIODevice::ReadOnly));
    EXPECT_TRUE(note.readAll().endsWith("Maps JavaScript API Version: Leaflet 1.6.0\n"));

    // Once per view.
    sink.finishLoad();
    sink.report({3, "roadmap", true, "Leaflet 1.6.0"});
    EXPECT_EQ(done.size(), 1u);
}

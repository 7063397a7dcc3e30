#include "map/WebMapView.h"

#include "FakeScriptSink.h"
#include "map/WebMapViewDelegate.h"
#include "recording/UserDefaultUtil.h"
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
    WebMapView::Settings settings() const
    {
        WebMapView::Settings s;
        s.mapTypeId = "roadmap";
        s.mapZoom = 15;
        s.mapDispBalloon = true;
        s.mapLanguage = 1;
        return s;
    }

    std::unique_ptr<WebMapView> makeView(const WebMapView::Settings &s)
    {
        auto view = std::make_unique<WebMapView>(&sink, s);
        view->setReachabilityCheck([this](std::function<void(bool)> done) { done(reachable); });
        view->setVersionNoteFolder({});
        return view;
    }

    std::shared_ptr<MapPoint> marker(double lat, double lng, const QString &msg, MarkerType type, int index)
    {
        return std::make_shared<MapPoint>(lat, lng, msg, type, index);
    }

    FakeScriptSink sink;
    bool reachable = true;
};

} // namespace

TEST_F(WebMapViewTest, FirstLoadInitialisesAndAppliesTheSettings)
{
    auto view = makeView(settings());
    sink.finishLoad();
    EXPECT_EQ(sink.take(), (QStringList{"initialize()", "movePosition(50.8471,-104.5627)", "setZoom(15)",
                                        "setMapTypeId(\"roadmap\")", "setDispBalloon(true)",
                                        // applyMapSettings, panel shown: the car is at the start centre,
                                        // so no centre; the zoom is not the start zoom, so the start zoom
                                        "setMapTypeId(\"roadmap\")", "setZoom(2)", "setLanguage(1)"}));
    EXPECT_TRUE(view->isInitialized());
}

TEST_F(WebMapViewTest, UnreachableTileServerSetsTheFirstPageUpWithoutTiles)
{
    reachable = false;
    auto view = makeView(settings());
    sink.finishLoad();
    EXPECT_FALSE(sink.take().contains("initialize()"));
    EXPECT_TRUE(view->isInitialized());
    // So the markers of a card opened offline reach the page at once, before the centring step.
    view->markerList()["E0"] = marker(1.0, 2.0, "m", MarkerType::EVENT, 0);
    view->drawMarkers();
    EXPECT_EQ(sink.take().size(), 1);

    // Car drawings do not wait for initialisation.
    view->drawMyCar(35.689487, 139.691706, IconId::North, true);
    EXPECT_EQ(sink.take(), QStringList{"drawMyCar(35.689487, 139.691706, 9, true)"});
}

TEST_F(WebMapViewTest, AReloadOnceReachableInitialisesAndSendsEverythingAgain)
{
    reachable = false;
    auto view = makeView(settings());
    sink.finishLoad();
    view->markerList()["E0"] = marker(1.0, 2.0, "m", MarkerType::EVENT, 0);
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
    EXPECT_TRUE(sent.contains("setLanguage(1)"));
    EXPECT_TRUE(sent.contains("addMarker(\"E0\", 1.0, 2.0,\"m\", 2)"));
    EXPECT_TRUE(sent.contains("addPolyPoint(3.0, 4.0)"));
    EXPECT_TRUE(sent.contains("drawPolyline()"));
    EXPECT_EQ(sent.last(), "drawMyCar(1.0, 2.0, 1, false)");
}

TEST_F(WebMapViewTest, AReloadOfAnInitialisedPageSendsRouteAndMarkersOnce)
{
    auto view = makeView(settings());
    sink.finishLoad();
    view->appendPolyPoint(3.0, 4.0);
    view->drawPolyline();
    view->markerList()["C0_0"] = marker(1.0, 2.0, "t", MarkerType::NORMAL, -1);
    view->drawMarkers();
    sink.take();

    sink.finishLoad();
    const QStringList sent = sink.take();
    EXPECT_EQ(sent.count("addPolyPoint(3.0, 4.0)"), 1);
    EXPECT_EQ(sent.count("drawPolyline()"), 1);
    EXPECT_EQ(sent.count("addMarker(\"C0_0\", 1.0, 2.0,\"t\", 1)"), 1);
    EXPECT_FALSE(sent.contains("setZoom(2)")); // the settings are applied once
}

TEST_F(WebMapViewTest, AProbeAnswerForAReplacedPageIsIgnored)
{
    auto view = makeView(settings());
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

TEST_F(WebMapViewTest, MarkersAskedForBeforeTheSettingsAreSentByEveryUpdate)
{
    auto view = makeView(settings());
    view->markerList()["E0"] = marker(1.0, 2.0, "a\"b", MarkerType::EVENT, 0);
    view->markerList()["S1"] = marker(-3.5, 4.0, "s", MarkerType::SURVEILLANCE, 1);
    view->drawMarkers();
    EXPECT_TRUE(sink.scripts.isEmpty());

    view->updateMap();
    QStringList sent = sink.take();
    const QStringList markers{"addMarker(\"E0\", 1.0, 2.0,\"a\\\"b\", 2)",
                              "addMarker(\"S1\", -3.5, 4.0,\"s\", 3)"};
    ASSERT_GE(sent.size(), 2);
    EXPECT_EQ(sent.mid(sent.size() - 2), markers);

    view->updateMap();
    EXPECT_EQ(sink.take(), markers);
}

TEST_F(WebMapViewTest, DeferredRouteAndMarkersFollowTheSettingsThenTheCar)
{
    auto view = makeView(settings());
    view->setMapViewHiddenFlg(true);
    view->markerList()["E0"] = marker(1.0, 2.0, "e", MarkerType::EVENT, 0);
    view->drawMarkers();
    view->appendPolyPoint(1.0, 2.0);
    view->appendPolyPoint(1.25, 2.5);
    view->drawPolyline();
    view->setCenter(1.25, 2.5);
    view->setFlgCar(true);
    sink.take();

    view->updateMap();
    EXPECT_EQ(sink.take(), (QStringList{"setCenter(1.25,2.5)", "setMapTypeId(\"roadmap\")", "setZoom(15)",
                                        "setLanguage(1)", "addPolyPoint(1.0, 2.0)", "addPolyPoint(1.25, 2.5)",
                                        "drawPolyline()", "addMarker(\"E0\", 1.0, 2.0,\"e\", 2)",
                                        "drawMyCar(1.25, 2.5, 1, false)"}));
}

TEST_F(WebMapViewTest, MarkersDrawnAfterTheSettingsGoOutAtOnce)
{
    auto view = makeView(settings());
    view->updateMap();
    sink.take();
    view->markerList()["C0_0"] =
        std::make_shared<MapPoint>(1.0, 2.0, QString::fromUtf8("…"), MarkerType::NORMAL, 0, 0);
    view->markerList()["C0_1"] = std::make_shared<MapPoint>(1.0, 2.5, "x", MarkerType::ADVENTURE, 0, 1);
    view->drawMarkers();
    EXPECT_EQ(sink.take(), (QStringList{QString::fromUtf8("addMarker(\"C0_0\", 1.0, 2.0,\"…\", 1)"),
                                        "addMarker(\"C0_1\", 1.0, 2.5,\"x\", 4)"}));
    view->updateMap(); // markers were not deferred: not sent again
    EXPECT_TRUE(sink.scripts.isEmpty());
}

TEST_F(WebMapViewTest, ARouteAskedForBeforeTheSettingsIsSentByUpdate)
{
    auto view = makeView(settings());
    view->appendPolyPoint(1.0, 2.0);
    view->appendPolyPoint(1.5, 2.0);
    view->drawPolyline();
    EXPECT_TRUE(sink.scripts.isEmpty());
    view->updateMap();
    const QStringList sent = sink.take();
    EXPECT_EQ(sent.mid(sent.size() - 3),
              (QStringList{"addPolyPoint(1.0, 2.0)", "addPolyPoint(1.5, 2.0)", "drawPolyline()"}));
}

TEST_F(WebMapViewTest, EmptyRouteStillDrawsTheLine)
{
    auto view = makeView(settings());
    view->updateMap();
    sink.take();
    view->drawPolyline();
    EXPECT_EQ(sink.take(), QStringList{"drawPolyline()"});
}

TEST_F(WebMapViewTest, RoutePointRules)
{
    auto view = makeView(settings());
    auto points = [&] {
        QStringList out;
        for (const MapPoint &p : view->polyList())
            out << QString("%1,%2").arg(p.lat).arg(p.lng);
        return out;
    };
    view->appendPolyPoint(0.0, 0.0); // no position
    view->appendPolyPoint(1, 1);     // A
    view->appendPolyPoint(2, 2);     // B
    view->appendPolyPoint(1, 1);     // A again: equals the one before the last
    view->appendPolyPoint(2, 2);     // B again: equals the last
    EXPECT_EQ(points(), (QStringList{"1,1", "2,2"}));

    view->polyList().clear();
    for (double v : {1.0, 2.0, 3.0, 1.0}) // A, B, C, A keeps all four
        view->appendPolyPoint(v, v);
    EXPECT_EQ(points().size(), 4);

    view->polyList().clear();
    view->appendPolyPoint(0.0, 139.5); // latitude 0 alone is a position
    view->appendPolyPoint(0.0, 139.5);
    EXPECT_EQ(points(), QStringList{"0,139.5"});
}

TEST_F(WebMapViewTest, TheCarIsSentOnlyWhenSomethingChanged)
{
    auto view = makeView(settings());
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
}

TEST_F(WebMapViewTest, UpdateRedrawsTheCarOnlyWhenAllowed)
{
    auto view = makeView(settings());
    view->drawMyCar(1.0, 2.0, IconId::South, true);
    sink.take();
    view->updateMap();
    EXPECT_FALSE(sink.take().contains("drawMyCar(1.0, 2.0, 13, true)"));
    view->setFlgCar(true);
    view->updateMap();
    EXPECT_EQ(sink.take(), QStringList{"drawMyCar(1.0, 2.0, 13, true)"});
}

TEST_F(WebMapViewTest, SettingsWithThePanelShownSendTheStartView)
{
    auto s = settings();
    s.mapDispBalloon = true;
    auto view = makeView(s);
    view->setMapDispBalloon(false);
    view->setMapTypeId("terrain");
    view->setCenter(35.0, 139.0);
    sink.take();
    view->applyMapSettings();
    EXPECT_EQ(sink.take(), (QStringList{"setCenter(50.8471,-104.5627)", "setMapTypeId(\"terrain\")",
                                        "setZoom(2)", "setDispBalloon(false)", "setLanguage(1)"}));

    // Zoom already the start zoom, car at the start latitude: neither centre nor zoom.
    view->setMapZoom(2);
    view->setCenter(50.8471, 139.0);
    view->setMapDispBalloon(true);
    sink.take();
    view->applyMapSettings();
    EXPECT_EQ(sink.take(), (QStringList{"setMapTypeId(\"terrain\")", "setLanguage(1)"}));
}

TEST_F(WebMapViewTest, SettingsWithThePanelHiddenSendTheCarAndTheSavedZoom)
{
    auto view = makeView(settings());
    view->setMapViewHiddenFlg(true);
    view->setCenter(35.0, 139.0);
    sink.take();
    view->applyMapSettings();
    EXPECT_EQ(sink.take(), (QStringList{"setCenter(35.0,139.0)", "setMapTypeId(\"roadmap\")", "setZoom(15)",
                                        "setLanguage(1)"}));

    view->setCenter(35.0, -104.5627); // start longitude: no centre
    view->setMapZoom(2);
    sink.take();
    view->applyMapSettings();
    EXPECT_EQ(sink.take(), (QStringList{"setMapTypeId(\"roadmap\")", "setLanguage(1)"}));
}

TEST_F(WebMapViewTest, MarkerClicksReachTheDelegate)
{
    auto view = makeView(settings());
    RecordingDelegate delegate;
    view->setDelegate(&delegate);
    view->markerList()["S3"] = marker(1.0, 2.0, "s", MarkerType::SURVEILLANCE, 3);
    // A delegate that opens another card empties the list while it handles the click.
    delegate.onClick = [&] { view->markerList().clear(); };
    sink.click("S3");
    sink.click("E9");
    ASSERT_EQ(delegate.clicked.size(), 1u);
    EXPECT_EQ(delegate.clicked[0].marker, MarkerType::SURVEILLANCE);
    EXPECT_EQ(delegate.clicked[0].eventIndex, 3);
}

TEST_F(WebMapViewTest, GettersAnswerFromWhatThePageReported)
{
    auto view = makeView(settings());
    EXPECT_EQ(view->getZoom(), "");
    EXPECT_EQ(view->getMapTypeId(), "roadmap");
    EXPECT_FALSE(view->getDispBalloon());
    sink.report({12, "terrain", true, "Leaflet 1.6.0"});
    EXPECT_EQ(view->getZoom(), "12");
    EXPECT_EQ(view->getMapTypeId(), "terrain");
    EXPECT_TRUE(view->getDispBalloon());
    EXPECT_EQ(view->getMapVersion(), "Leaflet 1.6.0");
    EXPECT_TRUE(sink.scripts.isEmpty()); // no script is needed to answer
}

TEST_F(WebMapViewTest, TheVersionNoteWaitsForThePagesVersion)
{
    TempDir dir;
    auto view = makeView(settings());
    view->setVersionNoteFolder(dir.filePath("Orvalind"));
    std::vector<bool> done;
    QObject::connect(view.get(), &WebMapView::versionNoteDone,
                     [&](bool written) { done.push_back(written); });
    sink.finishLoad();
    EXPECT_TRUE(done.empty());
    sink.report({2, "roadmap", true, "Leaflet 1.6.0"});
    ASSERT_EQ(done.size(), 1u);
    EXPECT_TRUE(done[0]);
    QFile note(dir.filePath("Orvalind/mv.txt"));
    ASSERT_TRUE(note.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(note.readAll()).split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[2], "Maps JavaScript API Version: Leaflet 1.6.0");

    // Once per view.
    sink.finishLoad();
    sink.report({3, "roadmap", true, "Leaflet 1.6.0"});
    EXPECT_EQ(done.size(), 1u);
}

TEST(WebMapViewSettingsTest, StartsFromTheViewerSettings)
{
    TempDir dir;
    UserDefaultUtil defaults(dir.filePath("settings.ini"));
    defaults.setValue(UserDefaultUtil::KEY_MAP_ZOOM, 9);
    defaults.setValue(UserDefaultUtil::KEY_MAP_TYPE_ID, "terrain");
    defaults.setValue(UserDefaultUtil::KEY_MAP_DISP_BALOON, false);
    defaults.setLanguage(2);
    defaults.load();
    const WebMapView::Settings settings = WebMapView::settingsFrom(defaults);
    EXPECT_EQ(settings.mapZoom, 9);
    EXPECT_EQ(settings.mapTypeId, "terrain");
    EXPECT_FALSE(settings.mapDispBalloon);
    EXPECT_EQ(settings.mapLanguage, 2);
}

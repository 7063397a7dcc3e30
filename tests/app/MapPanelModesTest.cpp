#include "app/MapPanelModes.h"
#include "app/ChildWindows.h"
#include "app/DrivingPanelCoordinator.h"
#include "app/FormColors.h"
#include "app/NewWindowView.h"
#include "map/EmptyMapView.h"
#include "map/MapTitleView.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include "AppFakes.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using PS = CommonConst::PlayStatus;
using MS = CommonConst::MouseStatus;

namespace {
// A main window's map column with a plain widget standing in for the web map.
struct Column
{
    Column()
    {
        auto *layout = new QVBoxLayout(&main);
        title = new MapTitleView(&main);
        placeholder = new EmptyMapView(&main);
        layout->addWidget(title);
        layout->addWidget(placeholder);
        map = new QWidget;
        placeholder->addMapView(map);
        modes = std::make_unique<MapPanelModes>(MapPanelModes::Parts{
            player, map, title, placeholder, children, &main, [this](bool hidden) { this->hidden = hidden; },
            [this](bool playing) { frames.push_back(playing); }});
        title->setDelegate(modes.get());
        main.resize(800, 600);
        main.show();
    }
    QWidget *window() const { return modes->newWindowView().window(); }

    FakePlayback player;
    ChildWindows children;
    QWidget main;
    MapTitleView *title;
    EmptyMapView *placeholder;
    QWidget *map;
    std::unique_ptr<MapPanelModes> modes;
    std::optional<bool> hidden;
    std::vector<bool> frames;
};

struct Panel
{
    bool meterOn = true, circleOn = true;
    std::optional<int> selected;
    std::optional<int> value;
    int refreshes = 0;
};

DrivingPanelCoordinator make(UserDefaultUtil &settings, FakePlayback &player, Panel &panel)
{
    return DrivingPanelCoordinator(settings, player,
                                   {[&panel](bool circle) { return circle ? panel.circleOn : panel.meterOn; },
                                    [&panel] { return panel.selected; },
                                    [&panel](int v) { panel.value = v; }},
                                   [&panel] { ++panel.refreshes; });
}
} // namespace

TEST(MapPanelModesTest, PlaybackIsPausedAroundEachModeAndPutBackAsItWas)
{
    const std::pair<PS, QStringList> rows[] = {
        {PS::Play, {"pause", "play"}}, {PS::Pause, {}}, {PS::Stop, {"stop"}}, {PS::NotReady, {}}};
    for (const MapType mode : {MapType::Hidden, MapType::Show, MapType::Window}) {
        for (const auto &[status, calls] : rows) {
            Column column;
            column.player.status = status;
            if (mode == MapType::Window)
                column.title->onMapWindowButton();
            else
                column.title->setMapType(mode);
            EXPECT_EQ(column.player.calls, calls) << int(mode) << " " << int(status);
            EXPECT_EQ(column.player.status, status);
            EXPECT_EQ(column.hidden, mode != MapType::Show);
        }
    }
}

TEST(MapPanelModesTest,
     HidingKeepsTheTitleBarAndADetachedWindowOpensCentredAtTheRememberedSizeAndDocksWhenClosed)
{
    Column column;
    column.title->onMapHideButton();
    EXPECT_FALSE(column.map->isVisible());
    EXPECT_EQ(column.placeholder->height(), 0);
    EXPECT_TRUE(column.title->isVisible());
    EXPECT_TRUE(column.title->mapShowButton()->isVisible());
    column.title->onMapShowButton();
    QCoreApplication::processEvents();
    EXPECT_TRUE(column.map->isVisible());
    EXPECT_EQ(column.placeholder->height(), MapPanelModes::MAP_HEIGHT);

    // Detached: a window of its own, centred at the remembered size; closing it docks the map again.
    column.title->onMapWindowButton();
    QWidget *window = column.window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(column.modes->newWindowView().rememberedWindowSize(), QSize(480, 294));
    EXPECT_EQ(window->size(), QSize(480, 294 - NewWindowView::TITLE_BAR_HEIGHT));
    const QPoint centre = column.main.screen()->availableGeometry().center();
    EXPECT_LE((window->frameGeometry().center() - centre).manhattanLength(),
              2 + NewWindowView::TITLE_BAR_HEIGHT);
    EXPECT_TRUE(column.map->isVisibleTo(window));
    EXPECT_FALSE(column.title->isVisible());
    EXPECT_EQ(column.frames, std::vector<bool>{false}) << "the car drawn at the current frame";
    EXPECT_TRUE(column.children.isTopMost(window));

    window->resize(600, 400);
    QCoreApplication::processEvents();
    EXPECT_EQ(column.modes->newWindowView().rememberedWindowSize(),
              QSize(600, 400 + NewWindowView::TITLE_BAR_HEIGHT));
    column.modes->newWindowView().windowCloseOnclick(); // the strip's close control
    QCoreApplication::processEvents();
    EXPECT_EQ(column.window(), nullptr);
    EXPECT_EQ(column.map->parentWidget(), column.placeholder);
    EXPECT_TRUE(column.title->isVisible());
    EXPECT_EQ(column.title->height(), MapPanelModes::TITLE_HEIGHT);
    EXPECT_EQ(column.placeholder->height(), MapPanelModes::MAP_HEIGHT);
    EXPECT_EQ(column.title->mapType(), MapType::Show);

    column.title->onMapWindowButton();
    ASSERT_NE(column.window(), nullptr);
    EXPECT_EQ(column.window()->size(), QSize(600, 400)) << "the next window opens at the new size";
    column.window()->close(); // the close box
    QCoreApplication::processEvents();
    EXPECT_EQ(column.map->parentWidget(), column.placeholder);
}

// The detached map window's view is painted in the form's colours: opaque black, white text.
TEST(MapPanelModesTest, TheDetachedMapViewIsPaintedInTheFormColours)
{
    NewWindowView view(nullptr);
    view.view()->resize(120, 80);
    const QImage shot = view.view()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(2, shot.height() - 3), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(2, shot.height() - 3), FormColors::FROM_BACKGROUND_COLOR);
    EXPECT_EQ(view.view()->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(FormColors::FROM_TEXT_COLOR, QColor(Qt::white));
}

TEST(DrivingPanelCoordinatorTest, EachToggleWritesOnlyItsOwnKey)
{
    for (const bool circle : {false, true}) {
        TempDir dir;
        UserDefaultUtil settings(dir.filePath("s.ini"));
        settings.load();
        FakePlayback player;
        Panel panel{false, false, {}, {}, 0};
        DrivingPanelCoordinator coordinator = make(settings, player, panel);
        coordinator.saveDisplaySetting(circle);
        const QString meter = UserDefaultUtil::KEY_DISP_SPEED_METER,
                      chart = UserDefaultUtil::KEY_DISP_CIRCLE_CHART;
        const QString &own = circle ? chart : meter, &other = circle ? meter : chart;
        EXPECT_TRUE(settings.contains(own) && !settings.value(own).toBool()) << circle;
        EXPECT_FALSE(settings.contains(other)) << circle;
        EXPECT_EQ(std::pair(settings.dispSpeedMeter, settings.dispCircleChart), std::pair(circle, !circle));
        EXPECT_EQ(panel.refreshes, 1);
    }
}

TEST(DrivingPanelCoordinatorTest, ADragPausesWhileItMovesAndRestoresTheStatusItBeganWith)
{
    for (const PS atPress : {PS::Play, PS::Pause, PS::NotReady}) {
        TempDir dir;
        UserDefaultUtil settings(dir.filePath("s.ini"));
        FakePlayback player;
        player.status = atPress;
        Panel panel;
        DrivingPanelCoordinator coordinator = make(settings, player, panel);
        coordinator.lineChartSeek(MS::MouseDown);
        panel.selected = 1200;
        coordinator.lineChartSeek(MS::MouseDragged);
        EXPECT_EQ(panel.value, 1200);
        panel.selected = 1500;
        coordinator.lineChartSeek(MS::MouseUp);
        const QString name = FakePlayback::name(atPress);
        EXPECT_EQ(player.calls, QStringList({"move 1200 Pause", "move 1500 " + name})) << name.toStdString();
        EXPECT_EQ(player.status, atPress);
        EXPECT_EQ(panel.value, 1500);

        // A second release without a press, and a drag without a graph value, move nothing.
        player.calls.clear();
        coordinator.lineChartSeek(MS::MouseUp);
        panel.selected.reset();
        coordinator.lineChartSeek(MS::MouseDragged);
        EXPECT_TRUE(player.calls.isEmpty());
    }
}

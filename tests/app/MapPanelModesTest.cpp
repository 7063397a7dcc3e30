#include "app/MapPanelModes.h"
#include "app/ChildWindows.h"
#include "app/NewWindowView.h"
#include "map/EmptyMapView.h"
#include "map/MapTitleView.h"

#include "AppFakes.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using PS = CommonConst::PlayStatus;

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

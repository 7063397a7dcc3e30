#include "map/EmptyMapView.h"
#include "map/MapTitleView.h"
#include "map/MapTitleViewDelegate.h"

#include <QLabel>
#include <QLayout>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct ModeRecorder : MapTitleViewDelegate
{
    void setMapType(MapType type) override { modes.push_back(type); }
    std::vector<MapType> modes;
};

// Which controls are shown: label, show, hide, window.
std::array<bool, 4> shown(const MapTitleView &title)
{
    return {!title.lblMapTitle()->isHidden(), !title.mapShowButton()->isHidden(),
            !title.mapHideButton()->isHidden(), !title.mapWindowButton()->isHidden()};
}

constexpr std::array<bool, 4> SHOW_CONTROLS{true, false, true, true};
constexpr std::array<bool, 4> HIDDEN_CONTROLS{false, true, false, false};

} // namespace

TEST(MapTitleViewTest, ButtonsSwitchTheControlsAndReportTheMode)
{
    MapTitleView title;
    ModeRecorder recorder;
    title.setDelegate(&recorder);

    // Detaching keeps the controls of Show: closing the window comes back to Show.
    const std::tuple<QToolButton *, MapType, std::array<bool, 4>> steps[] = {
        {title.mapHideButton(), MapType::Hidden, HIDDEN_CONTROLS},
        {title.mapShowButton(), MapType::Show, SHOW_CONTROLS},
        {title.mapWindowButton(), MapType::Window, SHOW_CONTROLS},
    };
    for (const auto &[button, mode, controls] : steps) {
        button->click();
        EXPECT_EQ(title.mapType(), mode);
        EXPECT_EQ(shown(title), controls);
    }
    EXPECT_EQ(recorder.modes, (std::vector<MapType>{MapType::Hidden, MapType::Show, MapType::Window}));

    title.resetMapType(MapType::Show);
    EXPECT_EQ(title.mapType(), MapType::Show);
    EXPECT_EQ(recorder.modes.size(), 3u);

    // Window mode changes no control, from Hidden either; with no delegate there is nothing to report to.
    title.setDelegate(nullptr);
    title.setMapType(MapType::Hidden);
    title.setMapType(MapType::Window);
    EXPECT_EQ(shown(title), HIDDEN_CONTROLS);
}

TEST(EmptyMapViewTest, TakesTheMapBackFromTheDetachedWindow)
{
    QWidget detached;
    EmptyMapView place;
    QWidget other(&place); // something already in the placeholder stays above the map
    auto *map = new QWidget(&detached);
    map->setGeometry(5, 5, 800, 600);

    place.addMapView(map);
    EXPECT_EQ(map->parentWidget(), &place);
    EXPECT_TRUE(detached.children().isEmpty());
    EXPECT_EQ(map->geometry(), QRect(0, 0, 360, 220));
    EXPECT_LT(place.children().indexOf(map), place.children().indexOf(&other)); // below the others

    // From then on it follows the placeholder's edges.
    place.resize(500, 300);
    place.show();
    place.layout()->activate();
    EXPECT_EQ(map->geometry(), QRect(0, 0, 500, 300));

    place.addMapView(map); // again: still one entry in the layout
    EXPECT_EQ(place.layout()->count(), 1);
}

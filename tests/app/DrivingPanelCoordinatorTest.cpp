#include "app/DrivingPanelCoordinator.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include "AppFakes.h"

#include <gtest/gtest.h>

using PS = CommonConst::PlayStatus;
using MS = CommonConst::MouseStatus;

namespace {
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

TEST(DrivingPanelCoordinatorTest, EachToggleWritesOnlyItsOwnKey)
{
    for (const bool circle : {false, true}) {
        TempDir dir;
        UserDefaultUtil settings(dir.filePath("s.ini"));
        settings.load();
        FakePlayback player;
        Panel panel{false, false};
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

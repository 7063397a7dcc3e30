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
        const QString file = dir.filePath("s.ini");
        UserDefaultUtil settings(file);
        settings.load();
        FakePlayback player;
        Panel panel;
        panel.meterOn = panel.circleOn = false;
        DrivingPanelCoordinator coordinator = make(settings, player, panel);
        coordinator.saveDisplaySetting(circle);

        const char *own =
            circle ? UserDefaultUtil::KEY_DISP_CIRCLE_CHART : UserDefaultUtil::KEY_DISP_SPEED_METER;
        const char *other =
            circle ? UserDefaultUtil::KEY_DISP_SPEED_METER : UserDefaultUtil::KEY_DISP_CIRCLE_CHART;
        ASSERT_TRUE(settings.contains(QString::fromLatin1(own))) << circle;
        EXPECT_FALSE(settings.value(QString::fromLatin1(own)).toBool()) << circle;
        EXPECT_FALSE(settings.contains(QString::fromLatin1(other))) << circle;
        EXPECT_EQ(circle ? settings.dispCircleChart : settings.dispSpeedMeter, false);
        EXPECT_TRUE(circle ? settings.dispSpeedMeter : settings.dispCircleChart);
        EXPECT_EQ(panel.refreshes, 1);
    }
}

TEST(DrivingPanelCoordinatorTest, ADragPausesWhileItMovesAndRestoresTheStatusItBeganWith)
{
    struct Row
    {
        PS atPress;
        QStringList calls;
        PS after;
    };
    const Row rows[] = {
        {PS::Play, {"move 1200 Pause", "move 1500 Play"}, PS::Play},
        {PS::Pause, {"move 1200 Pause", "move 1500 Pause"}, PS::Pause},
        {PS::NotReady, {"move 1200 Pause", "move 1500 NotReady"}, PS::NotReady},
    };
    for (const Row &row : rows) {
        TempDir dir;
        UserDefaultUtil settings(dir.filePath("s.ini"));
        FakePlayback player;
        player.status = row.atPress;
        Panel panel;
        DrivingPanelCoordinator coordinator = make(settings, player, panel);
        coordinator.lineChartSeek(MS::MouseDown);
        panel.selected = 1200;
        coordinator.lineChartSeek(MS::MouseDragged);
        EXPECT_EQ(panel.value, 1200);
        panel.selected = 1500;
        coordinator.lineChartSeek(MS::MouseUp);
        EXPECT_EQ(player.calls, row.calls) << FakePlayback::name(row.atPress).toStdString();
        EXPECT_EQ(player.status, row.after);
        EXPECT_EQ(panel.value, 1500);

        // A second release without a press, and a drag without a graph value, move nothing.
        player.calls.clear();
        coordinator.lineChartSeek(MS::MouseUp);
        panel.selected.reset();
        coordinator.lineChartSeek(MS::MouseDragged);
        EXPECT_TRUE(player.calls.isEmpty());
    }
}

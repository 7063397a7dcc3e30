#include "app/StopWatchWindow.h"
#include "app/ChildWindows.h"
#include "app/StopWatchCoordinator.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"
#include "videotools/StopWatchView.h"

#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

TEST(StopWatchWindowTest, MarksReachTheTrackBarWithUnsetMarksAsMinusOne)
{
    using S = StopWatchStatus;
    struct Row
    {
        StopWatchMarkers markers;
        StopWatchWindow::TrackUpdate expected;
    };
    const Row rows[] = {
        // Reset: nothing drawn and nothing held, whatever the old values.
        {{S::Ready, 0, {}, 0, 0}, {S::Ready, -1, {}, -1, std::nullopt}},
        // Started at the very start of the timeline: 0 is a real mark, and drags stop at the last lap.
        {{S::Start, 0, {3000, 6000}, 0, 6000}, {S::Start, 0, {3000, 6000}, -1, 6000}},
        {{S::Stop, 1000, {3000}, 9000, 3000}, {S::Stop, 1000, {3000}, 9000, std::nullopt}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(StopWatchWindow::trackUpdate(row.markers), row.expected) << int(row.markers.status);
}

TEST(StopWatchWindowTest, TheRealWindowKeepsItsLapsAcrossHideAndShowAndFollowsThePosition)
{
    TempDir dir;
    UserDefaultUtil settings(dir.filePath("s.ini"));
    QWidget mainWindow;
    std::vector<StopWatchWindow::TrackUpdate> sent;
    int buttonOff = 0;
    StopWatchWindow panel(
        settings, &mainWindow,
        {[&](const StopWatchWindow::TrackUpdate &u) { sent.push_back(u); }, [&] { ++buttonOff; }});
    ChildWindows children;
    int64_t position = 2000;
    StopWatchCoordinator coordinator(panel, children,
                                     {[&] {
                                          StopWatchCoordinator::PlayedItem item;
                                          item.positionMs = position;
                                          return item;
                                      },
                                      [] { return nullptr; },
                                      [] { return QPoint(300, 40); },
                                      {}});
    StopWatchView *view = panel.view();
    EXPECT_FALSE(view->isVisible()) << "made with the main window, shown only on demand";

    coordinator.showStopWatch();
    EXPECT_TRUE(view->isVisible()) << "the window flags set after showing must not hide it";

    view->startStop();
    coordinator.updateStopWatchPosition(5500);
    view->lapReset();
    EXPECT_EQ(sent.back(), (StopWatchWindow::TrackUpdate{StopWatchStatus::Start, 2000, {5500}, -1, 5500}));
    coordinator.updateStopWatchPosition(7000);
    EXPECT_EQ(view->lapText(1), QStringLiteral("00'01\"5")) << "the running lap follows the position";

    view->hideWindow();
    EXPECT_FALSE(view->isVisible());
    EXPECT_GE(buttonOff, 1) << "hiding turns the player's button off";
    position = 99000; // a reopened stopwatch is not reloaded
    coordinator.showStopWatch();
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->lapText(0), QStringLiteral("00'03\"5"));
    EXPECT_EQ(view->model().status(), StopWatchStatus::Start);
    coordinator.closeStopWatch();
    EXPECT_FALSE(view->isVisible());
    coordinator.stopMeasurement(); // the player's Stop button, the window hidden
    EXPECT_EQ(sent.back(), (StopWatchWindow::TrackUpdate{StopWatchStatus::Stop, 2000, {5500}, 7000, {}}));
}

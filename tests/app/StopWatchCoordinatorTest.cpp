#include "app/StopWatchCoordinator.h"
#include "app/ChildWindows.h"
#include "app/StopWatchPanel.h"
#include "app/StopWatchWindow.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"
#include "videotools/StopWatchView.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {
// Records the calls; laps stand for the measurement a reload would clear.
struct FakeStopWatch : StopWatchPanel
{
    bool isLoaded() const override { return loaded; }
    bool isMeasuring() const override { return laps > 0; }
    QWidget *window() override { return &widget; }
    void setupWindow() override { loaded = true; }
    void clearData() override { calls << "clear"; }
    void resetMeasurement() override { calls << "reset", laps = 0; }
    void stopMeasurement() override { calls << "stop"; }
    void setChapters(const ChapterTimeline &t) override
    {
        calls << QStringLiteral("chapters %1").arg(t.size());
    }
    void setEventChapters(CardData &, MoveProtectInfo &) override { calls << "event"; }
    void setCurrentSumFrameTimeSpan(int64_t ms) override { calls << QStringLiteral("at %1").arg(ms); }
    void redrawLaps() override { calls << "redraw"; }
    void refreshTimeline() override { calls << "refresh"; }

    QWidget widget;
    bool loaded = false;
    int laps = 0;
    QStringList calls;
};
} // namespace

TEST(StopWatchCoordinatorTest, TheFirstShowLoadsThePlayedItemBesideTheMainWindow)
{
    using PT = CommonConst::PlayType;
    // Type, with its protection record, what the first show loads: a trip or an adventure its chapters
    // as played, an event its record's stretch.
    const std::tuple<PT, bool, QStringList> rows[] = {
        {PT::Movie, false, {"clear", "reset", "chapters 2"}},
        {PT::Adventure, true, {"clear", "reset", "chapters 2"}},
        {PT::Adventure, false, {"clear", "reset", "chapters 2"}},
        {PT::Event, true, {"event"}},
        {PT::Surveillance, false, {}},
    };
    for (const auto &[type, withRecord, load] : rows) {
        CardData card;
        FakeStopWatch panel;
        ChildWindows children;
        const ChapterList two{std::make_shared<ChapterData>(QUrl(), nullptr, ChapterData::Records{}),
                              std::make_shared<ChapterData>(QUrl(), nullptr, ChapterData::Records{})};
        StopWatchCoordinator::PlayedItem item{type, ChapterTimeline(two), {}, 61000};
        if (withRecord) {
            const std::vector<uint8_t> record(64, 0);
            item.protectInfo = std::make_shared<MoveProtectInfo>(record, MoveProtectInfo::DetectStatus::G);
        }
        StopWatchCoordinator coordinator(
            panel, children,
            {[&] { return item; }, [&] { return &card; }, [] { return QPoint(900, 62); }, {}, {}});
        coordinator.showStopWatch();
        EXPECT_EQ(panel.calls, load + QStringList({"at 61000", "redraw"})) << int(type);
        EXPECT_TRUE(panel.widget.isVisible());
        EXPECT_EQ(panel.widget.pos(), QPoint(900, 62));
        EXPECT_TRUE(children.isTopMost(&panel.widget));
    }
}

TEST(StopWatchCoordinatorTest, AMeasurementIsDroppedOnlyWhenTheUserAgrees)
{
    // Laps measured, the user's answer, whether the caller may go on, the calls.
    const std::tuple<int, bool, bool, QStringList> rows[] = {
        {0, false, true, {}}, {2, true, true, {"ask", "reset"}}, {2, false, false, {"ask"}}};
    for (const auto &[laps, agree, goOn, calls] : rows) {
        FakeStopWatch panel;
        ChildWindows children;
        panel.laps = laps;
        StopWatchCoordinator coordinator(
            panel, children, {{}, {}, {}, {}, [&, agree = agree] { return panel.calls << "ask", agree; }});
        EXPECT_EQ(coordinator.confirmStopWatchReset(), goOn) << laps << agree;
        EXPECT_EQ(panel.calls, calls) << laps << agree;
    }
}

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
    StopWatchCoordinator::PlayedItem item{CommonConst::PlayType::Movie, {}, {}, 2000};
    StopWatchCoordinator coordinator(
        panel, children,
        {[&] { return item; }, [] { return nullptr; }, [] { return QPoint(300, 40); }, {}, {}});
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
    item.positionMs = 99000; // a reopened stopwatch is not reloaded
    coordinator.showStopWatch();
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->lapText(0), QStringLiteral("00'03\"5"));
    EXPECT_EQ(view->model().status(), StopWatchStatus::Start);
    coordinator.closeStopWatch();
    EXPECT_FALSE(view->isVisible());
    coordinator.stopMeasurement(); // the player's Stop button, the window hidden
    EXPECT_EQ(sent.back(), (StopWatchWindow::TrackUpdate{StopWatchStatus::Stop, 2000, {5500}, 7000, {}}));
}

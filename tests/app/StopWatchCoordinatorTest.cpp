#include "app/StopWatchCoordinator.h"
#include "app/ChildWindows.h"
#include "app/StopWatchPanel.h"
#include "card/AdvMoveProtectInfo.h"
#include "card/CardData.h"
#include "card/MoveProtectInfo.h"

#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

namespace {
// Records the calls; laps stand for the measurement a reload would clear.
struct FakeStopWatch : StopWatchPanel
{
    bool isLoaded() const override { return loaded; }
    QWidget *window() override { return &widget; }
    void setupWindow() override { loaded = true; }
    void clearData() override { calls << "clear"; }
    void resetMeasurement() override
    {
        calls << "reset";
        laps = 0;
    }
    void setChapters(const ChapterList &chapters) override
    {
        calls << QStringLiteral("chapters %1").arg(chapters.size());
    }
    void setEventChapters(CardData &, MoveProtectInfo &) override { calls << "event"; }
    void setTripChapters(CardData &, AdvMoveProtectInfo &) override { calls << "adventure"; }
    void setCurrentSumFrameTimeSpan(int64_t ms) override { calls << QStringLiteral("at %1").arg(ms); }
    void redrawLaps() override { calls << "redraw"; }

    QWidget widget;
    bool loaded = false;
    int laps = 0;
    QStringList calls;
};
} // namespace

TEST(StopWatchCoordinatorTest, TheFirstShowLoadsThePlayedItemAndAReopenedStopwatchKeepsItsLaps)
{
    using PT = CommonConst::PlayType;
    struct Row
    {
        PT type;
        bool withRecord;
        QStringList load;
    };
    const Row rows[] = {
        {PT::Movie, false, {"clear", "reset", "chapters 2"}},
        {PT::Adventure, true, {"adventure"}},
        {PT::Adventure, false, {}},
        {PT::Event, true, {"event"}},
        {PT::Surveillance, false, {}},
    };
    for (const Row &row : rows) {
        CardData card;
        FakeStopWatch panel;
        ChildWindows children;
        int buttonOff = 0;
        StopWatchCoordinator::PlayedItem item;
        item.playType = row.type;
        item.chapters.resize(2);
        item.positionMs = 61000;
        if (row.withRecord) {
            const std::vector<uint8_t> record(64, 0);
            item.protectInfo = std::make_shared<MoveProtectInfo>(record, MoveProtectInfo::DetectStatus::G);
            item.advProtectInfo = std::make_shared<AdvMoveProtectInfo>(record);
        }
        StopWatchCoordinator coordinator(panel, children,
                                         {[&] { return item; }, [&] { return &card; },
                                          [] { return QPoint(900, 62); }, [&] { ++buttonOff; }});
        coordinator.showStopWatch();
        QStringList expected = row.load;
        expected << "at 61000"
                 << "redraw";
        EXPECT_EQ(panel.calls, expected) << int(row.type);
        EXPECT_TRUE(panel.widget.isVisible());
        EXPECT_EQ(panel.widget.pos(), QPoint(900, 62));
        EXPECT_TRUE(children.isTopMost(&panel.widget));

        panel.laps = 3;
        panel.calls.clear();
        coordinator.closeStopWatch();
        EXPECT_FALSE(panel.widget.isVisible());
        EXPECT_EQ(buttonOff, 1);
        coordinator.showStopWatch();
        EXPECT_TRUE(panel.widget.isVisible());
        EXPECT_TRUE(panel.calls.isEmpty()) << "nothing reloaded";
        EXPECT_EQ(panel.laps, 3);
    }
}

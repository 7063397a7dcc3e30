#include "app/ToolWindows.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include "../maintenance/FakePrompts.h"

#include <QCoreApplication>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {
struct Harness
{
    Harness() : settings(dir.filePath("s.ini"))
    {
        state.hasRecording = true;
        state.selectFrame = true;
        state.selectStartMs = 4000;
        state.trackValue = 9876.9;
        tools = std::make_unique<ToolWindows>(
            settings, prompter, nullptr,
            ToolWindows::Calls{[this] { return state; },
                               [this](bool on) { calls << (on ? "trim on" : "trim off"); },
                               [this] { calls << "pause"; },
                               [] { return QPoint(120, 340); },
                               [this](bool on) { backupFlg = on; },
                               {},
                               [this](ModalWindow &window, TrimView &tool) { run(window, tool); }});
    }
    void run(ModalWindow &window, TrimView &tool)
    {
        calls << QStringLiteral("run %1 %2,%3").arg(window.windowTitle()).arg(window.x()).arg(window.y());
        EXPECT_EQ(window.type(), ModalWindow::Type::Trim);
        EXPECT_EQ(tool.toolinfo->selectStartSumFrameTS, 4000);
        EXPECT_EQ(tool.toolinfo->selectEndSumFrameTS, 9876);
        window.show();
        action(window, tool);
        while (window.isVisible())
            QCoreApplication::processEvents();
        calls << "ended";
    }

    TempDir dir;
    UserDefaultUtil settings;
    FakePrompter prompter;
    ToolWindows::PlayerState state;
    QStringList calls;
    bool backupFlg = false;
    std::function<void(ModalWindow &, TrimView &)> action;
    std::unique_ptr<ToolWindows> tools;
};
} // namespace

TEST(ToolWindowsTest, TheCutButtonFirstSelectsARangeAndRefusesWithoutAUsablePosition)
{
    struct Row
    {
        bool hasRecording;
        bool selecting;
        double trackValue;
        QStringList calls;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Row rows[] = {
        {true, false, 1500.0, {"trim on"}}, {false, true, 1500.0, {"trim off"}},
        {true, true, nan, {"trim off"}},    {true, false, inf, {"trim off"}},
        {true, true, 1e300, {"trim off"}},  {true, true, -3.0, {"trim off"}},
    };
    for (const Row &row : rows) {
        Harness h;
        h.state.hasRecording = row.hasRecording;
        h.state.selectFrame = row.selecting;
        h.state.trackValue = row.trackValue;
        h.tools->openToolWindow(ToolWindows::CUT_BUTTON);
        EXPECT_EQ(h.calls, row.calls) << row.trackValue;
        const bool refused = row.calls == QStringList{"trim off"};
        EXPECT_EQ(h.prompter.shown.size(), refused ? 1 : 0);
        if (refused)
            EXPECT_EQ(h.prompter.shown.value(0), "warn: Cut was unsuccessful.");
    }
}

TEST(ToolWindowsTest, TheSecondPressOpensTheTrimWindowAndEachResultEndsItsRun)
{
    struct Row
    {
        const char *name;
        std::function<void(ModalWindow &, TrimView &)> action;
        QStringList after; // calls after the run line
        QStringList alerts;
    };
    const Row rows[] = {
        {"back", [](ModalWindow &, TrimView &t) { t.backAction(); }, {"ended"}, {}},
        {"close button", [](ModalWindow &w, TrimView &) { w.closeButtonPressed(); }, {"ended"}, {}},
        {"cancel", [](ModalWindow &, TrimView &t) { t.cancelAction(); }, {"trim off", "ended"}, {}},
        {"saved",
         [](ModalWindow &, TrimView &t) { t.delegate->toolWindowClosed(2); },
         {"trim off", "ended"},
         {}},
        {"cancelled while running",
         [](ModalWindow &, TrimView &t) { t.delegate->toolWindowClosed(3); },
         {"ended"},
         {"inform: The trim tool operation was cancelled."}},
    };
    for (const Row &row : rows) {
        Harness h;
        h.action = row.action;
        h.tools->openToolWindow(ToolWindows::CUT_BUTTON);
        QCoreApplication::processEvents();
        QStringList expected{"pause", "run Trim Tool 120,340"};
        expected << row.after;
        EXPECT_EQ(h.calls, expected) << row.name;
        EXPECT_EQ(h.prompter.shown, row.alerts) << row.name;
    }
}

TEST(ToolWindowsTest, SaveFollowsTheKindOfSourceOpen)
{
    using S = ToolWindows::OpenSource;
    const std::pair<S, bool> rows[] = {
        {S::Card, true}, {S::BackupFolder, false}, {S::MovieFile, false}, {S::None, false}};
    Harness h;
    for (const auto &[source, enabled] : rows) {
        h.backupFlg = !enabled;
        h.tools->setOpenSource(source);
        h.tools->enableSaveButton();
        EXPECT_EQ(h.backupFlg, enabled) << static_cast<int>(source);
    }
}

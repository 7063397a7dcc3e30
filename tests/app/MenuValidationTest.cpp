#include "app/MenuValidation.h"
#include "app/MainMenu.h"

#include <QAction>
#include <QMenuBar>
#include <gtest/gtest.h>

TEST(MenuValidationTest, SavingCommandsNeedAUsableCardAndNoSheetOthersOnlyTheirHandler)
{
    using State = MenuValidation::State;
    using enum MenuCommand;
    // State (usable card, sheet shown, window works when modal), "Save as" and "Back up" enabled.
    const std::tuple<const char *, State, bool> rows[] = {
        {"no card", {false, false, false}, false},
        {"usable card", {true, false, false}, true},
        {"usable card under a sheet", {true, true, false}, false},
        {"usable card under a sheet, window works when modal", {true, true, true}, true},
        {"no card under a sheet", {false, true, true}, false},
    };
    for (const auto &[name, state, saveEnabled] : rows) {
        SCOPED_TRACE(name);
        for (MenuCommand saving : {SaveAs, BackUp}) {
            EXPECT_EQ(MenuValidation::isEnabled(saving, true, state), saveEnabled);
            EXPECT_FALSE(MenuValidation::isEnabled(saving, false, state));
        }
        for (MenuCommand command : {About, Open, ViewerSettings, CameraSettings, BackupDirectorySettings,
                                    Delete, DownloadUpdates, Quit}) {
            EXPECT_TRUE(MenuValidation::isEnabled(command, true, state));
            EXPECT_FALSE(MenuValidation::isEnabled(command, false, state)) << "no handler, no item";
        }
    }
}

TEST(MainMenuTest, ActionsFollowTheStateAndOnlyEnabledHandlersRun)
{
    QMenuBar bar;
    MenuValidation::State state;
    MainMenu menu(&bar, [&state] { return state; });
    int saves = 0;
    int abouts = 0;
    menu.setHandler(MenuCommand::SaveAs, [&] { ++saves; });
    menu.setHandler(MenuCommand::About, [&] { ++abouts; });

    EXPECT_FALSE(menu.action(MenuCommand::Open)->isEnabled());
    EXPECT_FALSE(menu.action(MenuCommand::SaveAs)->isEnabled());
    menu.action(MenuCommand::SaveAs)->trigger();
    menu.trigger(MenuCommand::Open);
    EXPECT_EQ(saves, 0);

    state.backupFlg = true;
    menu.validate();
    EXPECT_TRUE(menu.action(MenuCommand::SaveAs)->isEnabled());
    EXPECT_FALSE(menu.action(MenuCommand::BackUp)->isEnabled()) << "its handler does not exist";
    menu.action(MenuCommand::SaveAs)->trigger();
    menu.action(MenuCommand::About)->trigger();
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(abouts, 1);

    // The state is asked again when a command is chosen, not only when a menu opens.
    state.backupFlg = false;
    menu.trigger(MenuCommand::SaveAs);
    EXPECT_EQ(saves, 1);
}

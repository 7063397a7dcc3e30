#include "app/MenuValidation.h"

bool MenuValidation::savesCardData(MenuCommand command)
{
    return command == MenuCommand::SaveAs || command == MenuCommand::BackUp;
}

bool MenuValidation::isEnabled(MenuCommand command, bool hasHandler, const State &state)
{
    // A command whose dialog is not part of the program yet stays off rather than doing nothing.
    if (!hasHandler)
        return false;
    if (state.backupFlg && (!state.sheetAttached || state.worksWhenModal))
        return true;
    return !savesCardData(command);
}

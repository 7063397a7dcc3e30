// Whether a menu command can be chosen: its handler exists, and the two commands that save card data
// need a usable card and no sheet over the main window.
#pragma once

#include "app/MenuCommand.h"

class MenuValidation
{
public:
    struct State
    {
        bool backupFlg = false;      // an opened card is usable
        bool sheetAttached = false;  // a window-modal sheet covers the main window
        bool worksWhenModal = false; // the main window takes commands under a sheet
    };

    static bool isEnabled(MenuCommand command, bool hasHandler, const State &state);
    // "Save as" and "Back up": the commands that copy the open card.
    static bool savesCardData(MenuCommand command);
};

// The main menu's commands, in the order the dispatcher compares their titles.
#pragma once

enum class MenuCommand
{
    About,
    Open,
    SaveAs,
    ViewerSettings,
    CameraSettings,
    BackupDirectorySettings,
    BackUp,
    Delete,
    DownloadUpdates,
    FullScreen,
    Quit,
};

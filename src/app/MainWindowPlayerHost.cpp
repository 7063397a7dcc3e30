#include "app/MainWindowPlayerHost.h"

#include "app/MainWindow.h"
#include "app/MenuCommands.h"
#include "app/ToolWindows.h"
#include "app/WindowCoordinators.h"

bool MainWindowPlayerHost::provides(Service service) const
{
    switch (service) {
    case Service::FullScreen:
    case Service::OpenFrom:
        return true;
    case Service::Save:
    case Service::TrimTool:
    case Service::GoogleEarth:
        // Their handlers live in the coordinators, made once start-up has run.
        return _window.coordinators() != nullptr;
    default:
        return false;
    }
}

void MainWindowPlayerHost::showOpenFromDialog()
{
    _window.showOpenFromDialog();
}

void MainWindowPlayerHost::showBackupSettingDialog()
{
    if (WindowCoordinators *coordinators = _window.coordinators())
        coordinators->menuCommands().showBackupSettingDialog();
}

void MainWindowPlayerHost::openToolWindow(int type)
{
    if (WindowCoordinators *coordinators = _window.coordinators())
        coordinators->toolWindows().openToolWindow(type);
}

void MainWindowPlayerHost::exportGoogleEarthFile()
{
    if (WindowCoordinators *coordinators = _window.coordinators())
        coordinators->exportGoogleEarthFile();
}

bool MainWindowPlayerHost::isSaveAvailable() const
{
    return _window.backupFlg();
}

bool MainWindowPlayerHost::isFullscreen() const
{
    return _window.isFullScreen();
}

void MainWindowPlayerHost::toggleFullScreen()
{
    _window.toggleFullScreen();
}

void MainWindowPlayerHost::updatePanelLayout(bool fullScreen)
{
    _window.updatePanelLayout(fullScreen);
}

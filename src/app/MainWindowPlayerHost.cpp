#include "app/MainWindowPlayerHost.h"

#include "app/ItemPlayback.h"
#include "app/MainWindow.h"
#include "app/MenuCommands.h"
#include "app/StopWatchCoordinator.h"
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
    case Service::CaptureTool:
    case Service::StopWatch:
    case Service::CameraSetting:
    case Service::GoogleEarth:
        // Their handlers live in the coordinators, made once start-up has run.
        return _window.coordinators() != nullptr;
    case Service::PreviousItem:
    case Service::NextItem:
        return true;
    }
    return false;
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

void MainWindowPlayerHost::showCameraSettingDialog()
{
    if (WindowCoordinators *coordinators = _window.coordinators())
        coordinators->menuCommands().showCameraSettingDialog();
}

void MainWindowPlayerHost::showStopWatch()
{
    if (WindowCoordinators *coordinators = _window.coordinators())
        coordinators->stopWatch().showStopWatch();
}

void MainWindowPlayerHost::hideStopWatch()
{
    if (WindowCoordinators *coordinators = _window.coordinators())
        coordinators->stopWatch().closeStopWatch();
}

void MainWindowPlayerHost::playPreviousItem()
{
    _window.itemPlayback().playPreviousItem();
}

void MainWindowPlayerHost::playNextItem()
{
    _window.itemPlayback().playNextItem();
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

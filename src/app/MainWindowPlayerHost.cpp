#include "app/MainWindowPlayerHost.h"

#include "app/MainWindow.h"

bool MainWindowPlayerHost::provides(Service service) const
{
    return service == Service::FullScreen;
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

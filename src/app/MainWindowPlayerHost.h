// The main window's side of the player panel's tool bar: what the window can do today. The panel keeps
// the buttons of everything else disabled.
#pragma once

#include "player/PlayerPanelHost.h"

class MainWindow;

class MainWindowPlayerHost : public PlayerPanelHost
{
public:
    explicit MainWindowPlayerHost(MainWindow &window) : _window(window) {}

    bool provides(Service service) const override;
    bool isFullscreen() const override;
    void toggleFullScreen() override;
    void updatePanelLayout(bool fullScreen) override;

private:
    MainWindow &_window;
};

// The main window's side of the player panel's tool bar. The panel keeps the buttons of whatever the
// window does not provide disabled.
#pragma once

#include "player/PlayerPanelHost.h"

class MainWindow;

class MainWindowPlayerHost : public PlayerPanelHost
{
public:
    explicit MainWindowPlayerHost(MainWindow &window) : _window(window) {}

    bool provides(Service service) const override;
    void showOpenFromDialog() override;
    void showBackupSettingDialog() override;
    void showCameraSettingDialog() override;
    void openToolWindow(int type) override;
    void showStopWatch() override;
    void hideStopWatch() override;
    void playPreviousItem() override;
    void playNextItem() override;
    void exportGoogleEarthFile() override;
    bool isSaveAvailable() const override;
    bool isFullscreen() const override;
    void toggleFullScreen() override;
    void updatePanelLayout(bool fullScreen) override;

private:
    MainWindow &_window;
};

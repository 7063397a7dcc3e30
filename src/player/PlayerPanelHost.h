// What the player panel's tool bar and item buttons ask of the main window. A window answers
// provides() only for what it can do; the panel keeps the other buttons disabled.
#pragma once

class PlayerPanelHost
{
public:
    enum class Service
    {
        OpenFrom,
        Save,
        CameraSetting,
        TrimTool,
        CaptureTool,
        StopWatch,
        GoogleEarth,
        FullScreen,
        PreviousItem,
        NextItem,
    };
    // Tool window codes of openToolWindow.
    static constexpr int TOOL_TRIM = 5, TOOL_CAPTURE = 6;

    virtual ~PlayerPanelHost() = default;
    virtual bool provides(Service service) const = 0;

    virtual void showOpenFromDialog() {}
    virtual void showBackupSettingDialog() {}
    virtual void showCameraSettingDialog() {}
    virtual void openToolWindow(int type) { (void)type; }
    virtual void showStopWatch() {}
    virtual void hideStopWatch() {}
    virtual void exportGoogleEarthFile() {}
    virtual void playPreviousItem() {}
    virtual void playNextItem() {}
    // The source was opened from a card drive: the save button may back it up.
    virtual bool isSaveAvailable() const { return false; }
    // Full screen: the window's state, the switch, and the panels' layout for it.
    virtual bool isFullscreen() const { return false; }
    virtual void toggleFullScreen() {}
    virtual void updatePanelLayout(bool fullScreen) { (void)fullScreen; }
};

// What the detached map window tells the main window.
#pragma once

class NewWindowViewDelegate
{
public:
    virtual ~NewWindowViewDelegate() = default;
    // Brings the map's car to the current frame (called with false).
    virtual void updateFrameDisplay(bool playing) = 0;
    // The detached window is closing: the map goes back under its title bar.
    virtual void mapWindowClosed() = 0;
};

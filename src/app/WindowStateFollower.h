// What follows the main window's state: its child windows when it is minimised or restored and when the
// application loses or regains the focus, and in full screen the panels, the player's tool bar and the
// menu bar, however full screen was entered or left.
#pragma once

#include "app/ChildWindows.h"

#include <QtGlobal>

#include <functional>

class MainWindowLayout;
class QAction;
class QMainWindow;

class WindowStateFollower
{
public:
    struct Parts
    {
        QMainWindow &window;
        MainWindowLayout &panels;
        std::function<QAction *()> fullScreenAction; // the View menu's, once the menu is built
        std::function<void(bool playing)> updateFrameDisplay;
    };

    explicit WindowStateFollower(Parts parts);

    ChildWindows &childWindows() { return _childWindows; }
    bool isFullscreen() const { return _isFullscreen; }

    // From the window's state change event.
    void stateChanged(Qt::WindowStates old, Qt::WindowStates now);
    void applicationActive(bool active);
    void toggleFullScreen();
    void updatePanelLayout(bool fullScreen);

private:
    // The keys stay with the player panel when full screen hides the control that has the focus.
    void keepFocusOnThePlayer();

    Parts _parts;
    ChildWindows _childWindows;
    bool _isFullscreen = false;
};

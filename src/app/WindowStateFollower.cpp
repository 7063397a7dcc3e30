#include "app/WindowStateFollower.h"

#include "app/MainWindowLayout.h"
#include "player/MoviePlayerView.h"
#include "player/PlayerControls.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>

WindowStateFollower::WindowStateFollower(Parts parts) : _parts(std::move(parts)) {}

void WindowStateFollower::stateChanged(Qt::WindowStates old, Qt::WindowStates now)
{
    if (now.testFlag(Qt::WindowMinimized) && !old.testFlag(Qt::WindowMinimized))
        _childWindows.mainWindowMinimised();
    else if (old.testFlag(Qt::WindowMinimized) && !now.testFlag(Qt::WindowMinimized))
        _childWindows.mainWindowRestored();
    // Entered or left by the player's button, the menu, F11 or the window manager alike.
    const bool fullScreen = now.testFlag(Qt::WindowFullScreen);
    if (fullScreen != _isFullscreen) {
        _parts.panels.moviePlayerView()->controls()->fullscreenEntered(fullScreen);
        updatePanelLayout(fullScreen);
    }
}

void WindowStateFollower::applicationActive(bool active)
{
    _childWindows.applicationActive(active);
}

void WindowStateFollower::toggleFullScreen()
{
    if (_parts.window.isFullScreen())
        _parts.window.showNormal();
    else
        _parts.window.showFullScreen();
}

void WindowStateFollower::updatePanelLayout(bool fullScreen)
{
    if (fullScreen)
        keepFocusOnThePlayer();
    _parts.panels.apply(PanelLayout::sizesFor(fullScreen));
    _childWindows.setFullScreen(fullScreen);
    _parts.panels.moviePlayerView()->controls()->toolsView()->setHidden(fullScreen);
    // The picture takes the whole screen; the menu's shortcuts stay with the window.
    _parts.window.menuBar()->setHidden(fullScreen);
    _isFullscreen = fullScreen;
    if (QAction *action = _parts.fullScreenAction ? _parts.fullScreenAction() : nullptr)
        action->setChecked(fullScreen);
    _parts.updateFrameDisplay(false);
}

void WindowStateFollower::keepFocusOnThePlayer()
{
    // Hidden with the focus, a control hands it to the next one in the window: a Space would then press a
    // button of the control row that the user never chose.
    MoviePlayerView *player = _parts.panels.moviePlayerView();
    QWidget *focus = _parts.window.focusWidget();
    if (!focus || focus == player)
        return;
    const bool staysShown =
        player->isAncestorOf(focus) && !player->controls()->toolsView()->isAncestorOf(focus);
    if (!staysShown)
        player->setFocus(Qt::OtherFocusReason);
}

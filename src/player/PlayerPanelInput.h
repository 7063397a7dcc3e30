// The keys, clicks and size changes that reach the player panel, handed to its controls: the zoom
// menu's keys and Escape, Tab along the tool bar, a click on the panel or on the video, and the zoom
// menu's place after a resize.
#pragma once

#include <QObject>
#include <QPoint>

class MoviePlayerView;
class PlayerControls;
class QKeyEvent;

class PlayerPanelInput : public QObject
{
    Q_OBJECT
public:
    // Watches the panel, and the tool bar's buttons for Tab.
    PlayerPanelInput(MoviePlayerView &panel, PlayerControls &controls);

    // True when the key was taken.
    bool keyDown(const QKeyEvent &event);
    // Tab (forward) or Shift+Tab in the tool bar where the order skips or wraps; true when moved.
    bool moveToolFocus(bool forward);
    void panelClicked(const QPoint &panelPos, bool onVideo);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MoviePlayerView &_panel;
    PlayerControls &_controls;
};

// The zoom menu's behaviour: opening it under the zoom button with a click catcher over the panel's
// parent, applying or resetting a scale on the video, and the keyboard highlight of its scale buttons.
#pragma once

#include "player/FilterViewDelegate.h"
#include "player/ZoomViewDelegate.h"

#include <QObject>
#include <QPointer>

#include <functional>

class EXTextButton;
class FilterView;
class NSZoomView;
class PlayerView;
class QWidget;

class ZoomMenuControl : public QObject, public ZoomViewDelegate, public FilterViewDelegate
{
    Q_OBJECT
public:
    // panel: the widget the menu hangs in (its parent gets the click catcher); toolsChanged refreshes
    // the tool bar after every change.
    ZoomMenuControl(QWidget *panel, EXTextButton *zoomButton, PlayerView *playerView,
                    std::function<void()> toolsChanged);

    NSZoomView *zoomMenu() const { return _zoomMenu; }
    bool isShown() const;

    void onZoomButton();
    void applyZoomScale(int scale);
    void resetZoom();
    void resetZoomAndButtons();
    void closeZoomMenu() override;
    void resetZoomKeySelection() override;
    // 0...4 for the first highlighted scale button, 5 for none.
    int hoveredZoomButtonIndex() const;
    bool selectHoveredZoomButton();
    void moveZoomHover(bool forward);
    void clearZoomHover();
    // Arrow keys and Return while the menu is open; true when the key was taken.
    bool keyDown(int key);
    // Escape: close the menu; the zoom button stays on while a scale is applied.
    void escape();
    // A click on the panel outside the open menu closes it.
    void panelClicked(const QPoint &panelPos);
    // Under the tool bar, left-aligned with the zoom button; laid out at every opening.
    void layoutMenu();
    bool isScaled() const;

private:
    // The widget the click catcher covers while the menu is open: the panel's parent, the panel alone
    // when it has none.
    QWidget *coverHost() const;
    void showFilterView(bool hidden);
    void hideMenu();

    QWidget *_panel;
    EXTextButton *_zoomButton;
    PlayerView *_playerView;
    std::function<void()> _toolsChanged;
    NSZoomView *_zoomMenu;
    QPointer<FilterView> _filterView;
};

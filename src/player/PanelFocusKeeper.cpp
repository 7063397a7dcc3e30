#include "player/PanelFocusKeeper.h"

#include <QEvent>
#include <QWidget>

PanelFocusKeeper::PanelFocusKeeper(QWidget &panel) : QObject(&panel), _panel(panel)
{
    panel.installEventFilter(this);
}

bool PanelFocusKeeper::takeBack()
{
    // The window's focus, not the application's: a control hidden or disabled while another window is
    // active keeps its window's focus until that window comes back.
    const QWidget *focus = _panel.window()->focusWidget();
    const bool outOfReach =
        focus && _panel.isAncestorOf(focus) && (!focus->isVisible() || !focus->isEnabled());
    if (!outOfReach || !_panel.isVisible())
        return false;
    _panel.setFocus(Qt::OtherFocusReason);
    return true;
}

bool PanelFocusKeeper::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &_panel || event->type() != QEvent::WindowActivate || takeBack())
        return false;
    // A window without a focus of its own gives it to its first control, which the user never picked.
    if (!_panel.window()->focusWidget() && _panel.isVisible())
        _panel.setFocus(Qt::ActiveWindowFocusReason);
    return false;
}

#include "player/PlayerPanelInput.h"

#include "player/MoviePlayerView.h"
#include "player/PlayerControls.h"
#include "player/PlayerPanelRules.h"
#include "player/PlayerView.h"
#include "player/ZoomMenuControl.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMouseEvent>

PlayerPanelInput::PlayerPanelInput(MoviePlayerView &panel, PlayerControls &controls)
    : QObject(&panel), _panel(panel), _controls(controls)
{
    panel.installEventFilter(this);
    for (QWidget *button : controls.toolsView()->findChildren<QWidget *>())
        button->installEventFilter(this);
}

bool PlayerPanelInput::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto &key = static_cast<const QKeyEvent &>(*event);
        const bool tab = key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
        if (tab && !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return moveToolFocus(key.key() == Qt::Key_Tab && !(key.modifiers() & Qt::ShiftModifier));
        return watched == &_panel && keyDown(key);
    }
    case QEvent::MouseButtonPress:
        if (watched == &_panel) {
            const QPoint at = static_cast<const QMouseEvent *>(event)->position().toPoint();
            panelClicked(at, _panel.playerView()->geometry().contains(at));
        }
        return false;
    case QEvent::Resize:
        if (watched == &_panel)
            _controls.zoom()->layoutMenu();
        return false;
    default:
        return false;
    }
}

bool PlayerPanelInput::keyDown(const QKeyEvent &event)
{
    if (_controls.zoom()->keyDown(event.key()))
        return true;
    if (event.key() != Qt::Key_Escape)
        return false;
    _controls.escape();
    return true;
}

bool PlayerPanelInput::moveToolFocus(bool forward)
{
    // The order is that of the tool bar's buttons: a slider sharing a button's name is not that button.
    auto *focus = qobject_cast<QAbstractButton *>(_controls.toolsView()->focusWidget());
    if (!focus || !focus->hasFocus())
        return false;
    const QWidget *stopWatch = _controls.control(QStringLiteral("stopwatch"));
    const auto target =
        PlayerPanelRules::moveToolFocus(focus->objectName(), forward, stopWatch && stopWatch->isEnabled());
    QWidget *next = target ? _controls.toolsView()->findChild<QAbstractButton *>(*target) : nullptr;
    // A button that cannot take the focus leaves the key to the window's own order, so the focus never
    // stays put.
    if (!next || !next->isEnabled() || !next->isVisibleTo(next->window()))
        return false;
    next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void PlayerPanelInput::panelClicked(const QPoint &panelPos, bool onVideo)
{
    ZoomMenuControl *zoom = _controls.zoom();
    zoom->panelClicked(panelPos);
    if (onVideo && _controls.isFullscreenOn())
        _controls.escFullScreenCancel();
    zoom->resetZoomKeySelection();
    _controls.updateToolButtons();
}

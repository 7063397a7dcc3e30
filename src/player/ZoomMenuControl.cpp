#include "player/ZoomMenuControl.h"

#include "player/EXTextButton.h"
#include "player/FilterView.h"
#include "player/NSZoomView.h"
#include "player/PlayerPanelRules.h"
#include "player/PlayerView.h"

#include <QLayout>

using Scale = PlayerView::ScaleType;

ZoomMenuControl::ZoomMenuControl(QWidget *panel, EXTextButton *zoomButton, PlayerView *playerView,
                                 std::function<void()> toolsChanged)
    : QObject(panel), _panel(panel), _zoomButton(zoomButton), _playerView(playerView),
      _toolsChanged(std::move(toolsChanged)), _zoomMenu(new NSZoomView(panel))
{
    _zoomMenu->hide();
    _zoomButton->setChecked(false);
    for (int i = 0; i < NSZoomView::COUNT; ++i) {
        connect(_zoomMenu->button(i), &QAbstractButton::clicked, this, [this, i] {
            if (i == 0)
                resetZoomAndButtons();
            else
                applyZoomScale(i + 1);
        });
    }
}

bool ZoomMenuControl::isShown() const
{
    return _zoomMenu->isVisible();
}

bool ZoomMenuControl::isScaled() const
{
    return _playerView->playerScale() != Scale::Scale_x1;
}

QWidget *ZoomMenuControl::coverHost() const
{
    return _panel->parentWidget() ? _panel->parentWidget() : _panel;
}

void ZoomMenuControl::showFilterView(bool hidden)
{
    QWidget *host = coverHost();
    if (!_filterView || _filterView->parentWidget() != host) {
        delete _filterView;
        _filterView = new FilterView(host);
        _filterView->setDelegate(this);
    }
    _filterView->setGeometry(host->rect());
    _filterView->setVisible(!hidden);
    if (!hidden) {
        // Over everything beside and in the panel (its buttons, sliders and picture, the list, the map);
        // only the menu lies above it.
        _filterView->raise();
        _zoomMenu->raise();
    }
}

void ZoomMenuControl::hideMenu()
{
    _zoomMenu->hide();
}

void ZoomMenuControl::onZoomButton()
{
    layoutMenu();
    showFilterView(false);
    _zoomMenu->show();
    _zoomMenu->raise();
    _zoomButton->setChecked(true);
    _panel->setFocus(Qt::OtherFocusReason);
    _toolsChanged();
}

void ZoomMenuControl::applyZoomScale(int scale)
{
    _playerView->setPlayerScale(PlayerView::scaleFromRaw(scale).value_or(Scale::Scale_x1));
    _playerView->layoutZoom();
    hideMenu();
    _zoomButton->setChecked(true);
    resetZoomKeySelection();
    _toolsChanged();
}

void ZoomMenuControl::resetZoom()
{
    _playerView->resetZoom();
    hideMenu();
    _zoomButton->setChecked(false);
    resetZoomKeySelection();
}

void ZoomMenuControl::resetZoomAndButtons()
{
    resetZoom();
    _toolsChanged();
}

void ZoomMenuControl::closeZoomMenu()
{
    if (!isShown())
        return;
    if (_zoomMenu->button(0)->flgZoomBtnForKey()) {
        hideMenu();
        _zoomButton->setChecked(false);
    } else {
        if (selectHoveredZoomButton())
            return;
        hideMenu();
        if (!isScaled())
            _zoomButton->setChecked(false);
    }
    resetZoomKeySelection();
    _toolsChanged();
}

void ZoomMenuControl::resetZoomKeySelection()
{
    clearZoomHover();
    for (int i = 0; i < NSZoomView::COUNT; ++i)
        _zoomMenu->button(i)->setFlgZoomBtnForKey(false);
    _zoomMenu->setDelegate(nullptr);
    // The pointer handed back over the open menu leaves the cover in place: a click outside still only
    // closes the menu.
    showFilterView(!isShown());
}

int ZoomMenuControl::hoveredZoomButtonIndex() const
{
    for (int i = 0; i < NSZoomView::COUNT; ++i)
        if (_zoomMenu->button(i)->isMouseOver())
            return i;
    return NSZoomView::COUNT;
}

bool ZoomMenuControl::selectHoveredZoomButton()
{
    const int index = hoveredZoomButtonIndex();
    if (index == NSZoomView::COUNT)
        return false;
    if (index == 0)
        resetZoomAndButtons();
    else
        applyZoomScale(index + 1);
    return true;
}

void ZoomMenuControl::moveZoomHover(bool forward)
{
    const int target = PlayerPanelRules::moveZoomHover(hoveredZoomButtonIndex(), forward);
    clearZoomHover();
    _zoomMenu->button(target)->mouseEntered(false);
}

void ZoomMenuControl::clearZoomHover()
{
    for (int i = 0; i < NSZoomView::COUNT; ++i) {
        _zoomMenu->button(i)->setFlgZoomBtnForKey(true);
        _zoomMenu->button(i)->mouseExited();
    }
}

void ZoomMenuControl::escape()
{
    if (!isShown())
        return;
    hideMenu();
    if (!isScaled())
        _zoomButton->setChecked(false);
    resetZoomKeySelection();
    _toolsChanged();
}

void ZoomMenuControl::panelClicked(const QPoint &panelPos)
{
    const QPoint inMenuParent =
        _zoomMenu->parentWidget() == _panel ? panelPos : _panel->mapTo(_zoomMenu->parentWidget(), panelPos);
    if (isShown() && !_zoomMenu->geometry().contains(inMenuParent))
        hideMenu();
    if (!isScaled())
        _zoomButton->setChecked(false);
}

void ZoomMenuControl::layoutMenu()
{
    // The menu lies in the cover's parent, so that it stays above the cover that takes every other click;
    // the panel may have been given its parent after the menu was made.
    if (QWidget *host = coverHost(); _zoomMenu->parentWidget() != host) {
        const bool shown = !_zoomMenu->isHidden();
        _zoomMenu->setParent(host);
        _zoomMenu->setVisible(shown);
    }
    // The button's tool bar may not have been laid out before the panel was first shown.
    if (QWidget *toolBar = _zoomButton->parentWidget(); toolBar && toolBar->layout())
        toolBar->layout()->activate();
    _zoomMenu->adjustSize();
    QWidget *menuParent = _zoomMenu->parentWidget();
    const QPoint at = _zoomButton->mapTo(menuParent, QPoint(0, _zoomButton->height()));
    const QWidget *toolBar = _zoomButton->parentWidget();
    const int below = toolBar ? toolBar->mapTo(menuParent, QPoint(0, toolBar->height())).y() : at.y();
    _zoomMenu->move(at.x(), below);
    if (_filterView && _filterView->isVisible())
        _filterView->setGeometry(_filterView->parentWidget()->rect());
}

bool ZoomMenuControl::keyDown(int key)
{
    if (!isShown())
        return false;
    _zoomMenu->setDelegate(this);
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        moveZoomHover(false);
        return true;
    case Qt::Key_Right:
    case Qt::Key_Down:
        moveZoomHover(true);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        selectHoveredZoomButton();
        return true;
    default:
        return false;
    }
}

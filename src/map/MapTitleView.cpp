#include "map/MapTitleView.h"

#include "map/MapTitleViewDelegate.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

MapTitleView::MapTitleView(QWidget *parent) : QWidget(parent)
{
    _lblMapTitle = new QLabel(tr("Map"), this);
    _mapShowButton = new QToolButton(this);
    _mapShowButton->setText(tr("Show map"));
    _mapShowButton->setToolTip(tr("Show map"));
    _mapHideButton = new QToolButton(this);
    _mapHideButton->setText(tr("Hide"));
    _mapHideButton->setToolTip(tr("Hide map"));
    _mapWindowButton = new QToolButton(this);
    _mapWindowButton->setText(tr("Window"));
    _mapWindowButton->setToolTip(tr("Show map in a window"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(_lblMapTitle);
    layout->addStretch();
    layout->addWidget(_mapShowButton);
    layout->addWidget(_mapWindowButton);
    layout->addWidget(_mapHideButton);

    // The controls of Show, the mode the panel starts in.
    _mapShowButton->setVisible(false);

    connect(_mapShowButton, &QToolButton::clicked, this, &MapTitleView::onMapShowButton);
    connect(_mapHideButton, &QToolButton::clicked, this, &MapTitleView::onMapHideButton);
    connect(_mapWindowButton, &QToolButton::clicked, this, &MapTitleView::onMapWindowButton);
}

void MapTitleView::onMapShowButton()
{
    setMapType(MapType::Show);
}

void MapTitleView::onMapHideButton()
{
    setMapType(MapType::Hidden);
}

void MapTitleView::onMapWindowButton()
{
    // The buttons stay those of Show: closing the detached window comes back to Show.
    _mapType = MapType::Window;
    if (_delegate)
        _delegate->setMapType(MapType::Window);
}

void MapTitleView::setMapType(MapType type)
{
    switch (type) {
    case MapType::Show:
        _mapShowButton->setVisible(false);
        _lblMapTitle->setVisible(true);
        _mapHideButton->setVisible(true);
        _mapWindowButton->setVisible(true);
        break;
    case MapType::Hidden:
        _mapShowButton->setVisible(true);
        _lblMapTitle->setVisible(false);
        _mapHideButton->setVisible(false);
        _mapWindowButton->setVisible(false);
        break;
    case MapType::Window:
        break;
    }
    _mapType = type;
    if (_delegate)
        _delegate->setMapType(type);
}

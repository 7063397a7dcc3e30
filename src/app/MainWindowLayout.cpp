#include "app/MainWindowLayout.h"

#include "map/EmptyMapView.h"
#include "map/MapTitleView.h"
#include "player/MoviePlayerView.h"

#include <QVBoxLayout>

namespace {
// Height of the docked map; the list takes the rest of the right column.
constexpr int MAP_HEIGHT = 220;

QWidget *makeSlot(const QString &name, QWidget *parent)
{
    auto *slot = new QWidget(parent);
    slot->setObjectName(name);
    auto *layout = new QVBoxLayout(slot);
    layout->setContentsMargins(0, 0, 0, 0);
    return slot;
}
} // namespace

MainWindowLayout::MainWindowLayout(MoviePlayerView *player, QWidget *parent)
    : QWidget(parent), _player(player), _mapTitleView(new MapTitleView(this)),
      _emptyMapView(new EmptyMapView(this)),
      _drivingInfoSlot(makeSlot(QStringLiteral("drivingInfoSlot"), this)),
      _videoListSlot(makeSlot(QStringLiteral("videoListSlot"), this))
{
    _player->setParent(this);
    auto *left = new QVBoxLayout;
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(1);
    left->addWidget(_player, 1);
    left->addWidget(_drivingInfoSlot);

    auto *right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(1);
    right->addWidget(_mapTitleView);
    right->addWidget(_emptyMapView);
    right->addWidget(_videoListSlot, 1);
    _emptyMapView->setFixedHeight(MAP_HEIGHT);

    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(1);
    columns->addLayout(left, 1);
    columns->addLayout(right);

    // Tab moves through the panels in reading order and wraps at the window's end.
    setTabOrder(_player, _drivingInfoSlot);
    setTabOrder(_drivingInfoSlot, _mapTitleView);
    setTabOrder(_mapTitleView, _videoListSlot);
    apply(PanelLayout::sizesFor(false));
}

void MainWindowLayout::setFixedExtent(QWidget *panel, int size, bool width)
{
    // A panel of no size is hidden, so the layout leaves no spacing for it either.
    panel->setVisible(size > 0);
    if (size <= 0)
        return;
    if (width)
        panel->setFixedWidth(size);
    else
        panel->setFixedHeight(size);
}

void MainWindowLayout::apply(const PanelLayout::Sizes &sizes)
{
    setFixedExtent(_videoListSlot, sizes.videoListWidth, true);
    setFixedExtent(_mapTitleView, sizes.mapTitleWidth, true);
    setFixedExtent(_emptyMapView, sizes.emptyMapWidth, true);
    setFixedExtent(_drivingInfoSlot, sizes.drivingInfoHeight, false);
}

#include "app/MapPanelModes.h"

#include "app/ChildWindows.h"
#include "app/NewWindowView.h"
#include "app/PlaybackControl.h"
#include "map/EmptyMapView.h"
#include "map/MapTitleView.h"

#include <QWidget>

MapPanelModes::MapPanelModes(Parts parts, QObject *parent)
    : QObject(parent), _parts(std::move(parts)),
      _newViewController(new NewWindowView(_parts.windowParent, this))
{
}

MapPanelModes::~MapPanelModes() = default;

void MapPanelModes::setMapType(MapType type)
{
    const CommonConst::PlayStatus status = _parts.player.readyStatus();
    if (status == CommonConst::PlayStatus::Play)
        _parts.player.pauseMovie();
    switch (type) {
    case MapType::Show:
        _parts.mapView->show();
        _parts.placeholder->setFixedHeight(MAP_HEIGHT);
        _parts.setMapHidden(false);
        break;
    case MapType::Hidden:
        _parts.mapView->hide();
        _parts.placeholder->setFixedHeight(0);
        _parts.setMapHidden(true);
        break;
    case MapType::Window:
        detach();
        break;
    }
    switch (status) {
    case CommonConst::PlayStatus::Play:
        _parts.player.playMovie();
        break;
    case CommonConst::PlayStatus::Stop:
        // Back to the start position, as a stopped player shows it.
        _parts.player.stopMovie();
        break;
    default:
        break;
    }
}

void MapPanelModes::detach()
{
    _parts.titleView->hide();
    _parts.placeholder->hide();
    _parts.placeholder->setFixedHeight(0);
    _parts.titleView->setFixedHeight(0);
    _newViewController->setDelegate(this);
    _newViewController->addMapView(_parts.mapView);
    _parts.setMapHidden(true);
    QWidget *window = _newViewController->openWindow(QString());
    _parts.childWindows.add(window);
}

void MapPanelModes::mapWindowClosed()
{
    _parts.titleView->show();
    _parts.placeholder->show();
    _parts.titleView->setFixedHeight(TITLE_HEIGHT);
    _parts.placeholder->setFixedHeight(MAP_HEIGHT);
    _parts.placeholder->addMapView(_parts.mapView);
    // The title bar still shows Show's buttons; only its mode goes back.
    _parts.titleView->resetMapType(MapType::Show);
}

void MapPanelModes::updateFrameDisplay(bool playing)
{
    if (_parts.updateFrameDisplay)
        _parts.updateFrameDisplay(playing);
}

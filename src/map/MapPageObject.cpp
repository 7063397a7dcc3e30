#include "map/MapPageObject.h"

MapPageObject::MapPageObject(QObject *parent) : QObject(parent) {}

void MapPageObject::markerClickWithId(const QString &key)
{
    if (_clickHandler)
        _clickHandler(key);
}

void MapPageObject::reset()
{
    _zoom = 0;
    _hasZoom = false;
    _mapTypeId.clear();
    _dispBalloon = false;
    _hasDispBalloon = false;
    _mapVersion.clear();
}

void MapPageObject::setZoom(int zoom)
{
    const bool changed = !_hasZoom || zoom != _zoom;
    _zoom = zoom;
    _hasZoom = true;
    if (changed)
        emit zoomChanged();
}

void MapPageObject::setMapTypeId(const QString &id)
{
    if (id == _mapTypeId)
        return;
    _mapTypeId = id;
    emit mapTypeIdChanged();
}

void MapPageObject::setDispBalloon(bool show)
{
    const bool changed = !_hasDispBalloon || show != _dispBalloon;
    _dispBalloon = show;
    _hasDispBalloon = true;
    if (changed)
        emit dispBalloonChanged();
}

void MapPageObject::setMapVersion(const QString &version)
{
    if (version == _mapVersion)
        return;
    _mapVersion = version;
    emit mapVersionChanged();
}

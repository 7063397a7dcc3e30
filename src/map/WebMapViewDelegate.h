// What the map bridge tells the main window: a marker on the page was clicked.
#pragma once

class MapPoint;

class WebMapViewDelegate
{
public:
    virtual ~WebMapViewDelegate() = default;
    virtual void mapMarkerClicked(const MapPoint &point) = 0;
};

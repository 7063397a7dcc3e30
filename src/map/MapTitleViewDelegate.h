// What the map title bar tells the main window: the user chose a map panel mode.
#pragma once

#include "map/MapType.h"

class MapTitleViewDelegate
{
public:
    virtual ~MapTitleViewDelegate() = default;
    virtual void setMapType(MapType type) = 0;
};

// The side panels' sizes: in full screen the list, the map and the driving data shrink to nothing and
// the player takes the window.
#pragma once

class PanelLayout
{
public:
    struct Sizes
    {
        int videoListWidth;    // px
        int mapTitleWidth;     // px
        int emptyMapWidth;     // px
        int drivingInfoHeight; // px
    };

    static Sizes sizesFor(bool fullScreen);
};

// What the zoom menu asks of the panel: hand the highlight back to the pointer.
#pragma once

class ZoomViewDelegate
{
public:
    virtual ~ZoomViewDelegate() = default;
    virtual void resetZoomKeySelection() = 0;
};

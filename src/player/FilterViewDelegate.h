// What the click catcher under the open zoom menu asks of the panel.
#pragma once

class FilterViewDelegate
{
public:
    virtual ~FilterViewDelegate() = default;
    virtual void closeZoomMenu() = 0;
};

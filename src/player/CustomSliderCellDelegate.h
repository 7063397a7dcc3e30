// What the track bar tells its owner, the player panel.
#pragma once

class CustomSliderCellDelegate
{
public:
    virtual ~CustomSliderCellDelegate() = default;
    // The position may have changed (a clock tick, a new value model, a drag limit): read it from the cell.
    virtual void trackbarValueChanged() = 0;
};

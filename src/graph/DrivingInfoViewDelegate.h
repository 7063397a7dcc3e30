// What the driving-data panel asks of the main window.
#pragma once

#include "recording/CommonConst.h"

class DrivingInfoViewDelegate
{
public:
    virtual ~DrivingInfoViewDelegate() = default;
    // A toggle button changed: false for the speed meter, true for the circle chart. The main window stores
    // the button's new state and refreshes the frame display.
    virtual void saveDisplaySetting(bool circleChart) = 0;
    // A selection on the line chart: seek to the panel's minimum position plus the chart's value.
    virtual void lineChartSeek(CommonConst::MouseStatus phase) = 0;
};

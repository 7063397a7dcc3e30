// What the line chart tells the driving-data panel: the phase of a selection made on the graph.
#pragma once

#include "recording/CommonConst.h"

class LineViewDelegate
{
public:
    virtual ~LineViewDelegate() = default;
    virtual void lineChartSeek(CommonConst::MouseStatus phase) = 0;
};

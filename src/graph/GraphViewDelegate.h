// What the graph area tells its owner: a time value chosen with the mouse, and the phase of the press.
#pragma once

#include "recording/CommonConst.h"

class GraphViewDelegate
{
public:
    virtual ~GraphViewDelegate() = default;
    virtual void graphSelected(int value, CommonConst::MouseStatus phase) = 0;
};

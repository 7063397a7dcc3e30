// The driving data of one frame as the panel's views use it: copied out of the recording at once, so no
// view holds on to the recording's own frame storage.
#pragma once

#include "recording/Date.h"

#include <cstdint>

struct DrivingSample
{
    Date time = Date::distantPast();
    int32_t speedKmh = 0; // as recorded; may be out of any range
    double gX = 0.0;      // g
    double gY = 0.0;
    bool gps = false;              // the frame has a GPS fix
    uint32_t movieTimeStampMs = 0; // position of the frame within its movie file
};

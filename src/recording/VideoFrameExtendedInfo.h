// Derived per-frame information (detection, violation, heading, distance), copied with its frame.
#pragma once

#include "recording/DetectionType.h"
#include "recording/IconId.h"
#include "recording/ViolationType.h"

struct VideoFrameExtendedInfo
{
    DetectionType detectionType = DetectionType::All;
    ViolationType violationType = ViolationType::All; // All: no violation
    bool speedOver = false;
    IconId direction = IconId::None; // one of the 16 compass icons once headings are worked out
    double distance = 0.0;           // distance travelled up to this frame
    bool isFrameEnable = false;      // the frame holds usable data (its position moved on)

    bool operator==(const VideoFrameExtendedInfo &) const = default;
};

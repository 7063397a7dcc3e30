// What the main window's coordinators (map modes, line-chart seeks, tools, menu commands) need of the
// player panel; the panel's adapter implements it, tests give a fake.
#pragma once

#include "recording/CommonConst.h"

#include <cstdint>

class PlaybackControl
{
public:
    virtual ~PlaybackControl() = default;
    // The play status when the engine has an item ready to play; NotReady otherwise.
    virtual CommonConst::PlayStatus readyStatus() const = 0;
    virtual void pauseMovie() = 0;
    virtual void playMovie() = 0;
    virtual void stopMovie() = 0;
    // Seeks to position (ms on the item's timeline), then restores status.
    virtual void moveToPosition(int64_t position, CommonConst::PlayStatus status) = 0;
};

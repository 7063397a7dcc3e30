// What the stopwatch needs of the window that shows it (the main window implements it): the track
// bar's markers and the player's stopwatch button.
#pragma once

#include "player/CustomSliderCell.h"

#include <cstdint>
#include <vector>

// The marks the track bar draws, all ms on the played item's timeline; 0 means not set.
struct StopWatchMarkers
{
    StopWatchStatus status = StopWatchStatus::Ready;
    int64_t startMs = 0;
    std::vector<int64_t> lapMs; // the stored laps' ends
    int64_t stopMs = 0;
    int64_t lastMarkMs = 0; // while running, the player keeps the position from going back before it

    bool operator==(const StopWatchMarkers &) const = default;
};

class StopWatchViewDelegate
{
public:
    virtual ~StopWatchViewDelegate() = default;
    // After every change of the marks.
    virtual void updateStopWatchMarkers(const StopWatchMarkers &markers) = 0;
    // The stopwatch window was hidden (Escape or its close button): the player's button goes off.
    virtual void stopWatchHidden() = 0;
};

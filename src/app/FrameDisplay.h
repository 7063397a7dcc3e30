// What the panels beside the video show for one playback position, worked out without widgets: where
// the car stands on the map, and the speed meter's table of how long each speed run lasts.
#pragma once

#include "card/TripData.h"
#include "graph/SpeedDurations.h"
#include "recording/IconId.h"
#include "recording/VideoInfo.h"

#include <cstdint>
#include <optional>
#include <span>

// The car as the map draws it, in 1/36000 degree.
struct CarFix
{
    int32_t latitude = 0;
    int32_t longitude = 0;
    IconId icon = IconId::North;
    bool gps = false;
    bool operator==(const CarFix &) const = default;
};

// One frame of a chapter for the meter's table: its position in the movie (ms) and its speed.
struct SpeedRunEntry
{
    int32_t stamp = 0;
    int32_t speed = 0;
};

class FrameDisplay
{
public:
    FrameDisplay() = delete;

    // frames: camera 0 of the playing chapter (may be null); currentFrame: the offset in that chapter.
    // The frame at or before the offset when it has both coordinates; else the last known position of
    // an earlier chapter already read, else the first position of the item's chapters, heading North
    // without a fix. None when nothing has a position: the car stays where it was.
    static std::optional<CarFix> carPosition(const FrameTable *frames, int64_t currentFrame,
                                             const std::shared_ptr<ChapterData> &current,
                                             const ChapterList &chapters);
    // The first step of carPosition: the frame at or before the offset when it has both coordinates.
    static std::optional<CarFix> frameFix(const FrameTable *frames, int64_t currentFrame);
    // The rest of carPosition; it may read earlier chapters' driving data again (LastKnownCar).
    static std::optional<CarFix> lastKnownPosition(const std::shared_ptr<ChapterData> &current,
                                                   const ChapterList &chapters);

    // For each frame's stamp, the seconds left in its run of one speed; a run's start holds the run's
    // length. The recorded arithmetic is kept as the meter's animation was tuned to it.
    static SpeedDurationTable speedRunTable(std::span<const SpeedRunEntry> entries);
    // The same over a recording: camera 0's frames by time, stamped with camera 1's movie position.
    static SpeedDurationTable speedRunTableOf(VideoInfo &video);
};

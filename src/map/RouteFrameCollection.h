// The driving-data frames of camera 0 along a stretch of a chapter list: the route of an event or
// surveillance recording, for its export and for the map.
#pragma once

#include "card/TripData.h"
#include "platform/WorkControl.h"
#include "recording/VideoFrame.h"

#include <cstdint>
#include <span>
#include <vector>

class RouteFrameCollection
{
public:
    RouteFrameCollection() = delete;

    using Chapters = std::span<const std::shared_ptr<ChapterData>>;

    // What one chapter's recording holds for the route.
    struct ChapterFrames
    {
        enum class Status
        {
            NoPicture,   // the movie could not be read
            NoRecording, // read, but without driving data
            Read
        };
        Status status = Status::NoPicture;
        std::vector<VideoFrame> frames; // camera 0, ascending key (time)
    };
    // Reads the chapter's driving data when missing (counting the attempt).
    static ChapterFrames cameraFrames(ChapterData &chapter);

    // Frames from the start to the end position (ms on the list's timeline): the first chapter from
    // the last usable frame not after the start, the last chapter up to the last usable frame not
    // after the end, the chapters between whole. A chapter that cannot be read ends the collection;
    // one read without driving data gives a single frame without a position instead of a route.
    // control: stopped, the collection ends before the next chapter's read; each read is reported
    // against the chapter count.
    static std::vector<VideoFrame> collectMovieFrames(Chapters chapters, std::int32_t start, std::int32_t end,
                                                      const WorkControl &control = {});
};

// Where the frame-step buttons go: the position of the movie's next or previous picture, read from the
// keys of the chapter's driving data. A step of a fixed length drifts against keys 33 and 34 ms apart
// and shows a picture twice or skips one.
#pragma once

#include <cstdint>
#include <optional>

class ChapterTimeline;

class FrameSteps
{
public:
    FrameSteps() = delete;

    // The position of the picture after (direction > 0) or before (direction < 0) the one at position,
    // on into the neighbouring chapter at a border: the next chapter's start, the previous chapter's
    // last picture. Past the first picture it is the item's start, past the last picture the position
    // itself. None when the chapter at position has no driving data.
    static std::optional<int64_t> neighbour(const ChapterTimeline &timeline, int64_t position, int direction);
};

// Where the frame-step buttons go: the position of the movie's next or previous picture. The driving
// data need not have a record per picture (the camera writes 28 records a second to a movie of 30
// pictures), so the step counts pictures by the movie's frame rate, and a position between two records
// stands for the movie time that far after the earlier one.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

class ChapterTimeline;
class FrameTable;

class FrameSteps
{
public:
    FrameSteps() = delete;

    // Movie time (ms) at an offset into a chapter whose seek camera has these frames: the movie time
    // of the record at or before the offset plus the time since that record, short of the next
    // record's movie time. The record's own time at its key, as a lookup of the record gives.
    static int64_t movieTimeAt(const FrameTable &frames, int64_t offset);
    // The picture shown at a movie time in whole ms: the one starting at or before it, where a
    // picture's start written in whole ms may lie half a millisecond after its true time.
    static int64_t pictureAt(int64_t movieTimeMs, double fps);

    // The number of pictures in the movie of the chapter at an index of the timeline; 0 when unknown.
    using PictureCount = std::function<int64_t(int64_t chapterIndex)>;

    // The position of the picture after (direction > 0) or before (direction < 0) the one at position,
    // on into the neighbouring chapter at a border: the next chapter's start, the previous chapter's
    // last picture. Past the first picture it is the item's start, past the last picture the item's
    // end, which shows the last chapter's last picture (its records end before its movie does). None
    // without a frame rate or when the chapter at position has no driving data.
    static std::optional<int64_t> neighbour(const ChapterTimeline &timeline, int64_t position, int direction,
                                            double fps, const PictureCount &pictureCount = {});

    // A picture of a chapter's movie: the chapter's index on the timeline and the picture's number.
    struct Picture
    {
        int64_t chapter = 0;
        int64_t number = 0;
        bool operator==(const Picture &) const = default;
    };
    // The picture a position shows, as the steps count it; none as for neighbour.
    static std::optional<Picture> pictureAtPosition(const ChapterTimeline &timeline, int64_t position,
                                                    double fps, const PictureCount &pictureCount = {});
    // The first position that shows the picture; none where the chapter's records end before it, without a
    // frame rate or driving data, or outside the timeline.
    static std::optional<int64_t> positionOf(const ChapterTimeline &timeline, Picture picture, double fps,
                                             const PictureCount &pictureCount = {});
};

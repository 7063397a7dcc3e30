#include "player/FrameSteps.h"

#include "card/ChapterData.h"
#include "card/ChapterTimeline.h"
#include "recording/VideoInfo.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Camera 1's table: the records a seek goes by (PlayMovieValueInfo::movieTimeOfCurrentFrame).
constexpr int SEEK_CAMERA = 1;

std::optional<FrameTable> framesOf(const ChapterTimeline &timeline, int64_t index)
{
    const auto picture = timeline.chapters()[static_cast<size_t>(index)]->getPicture(true);
    if (!picture || !picture->video)
        return std::nullopt;
    const FrameTable frames = picture->video->getCameraFrames(SEEK_CAMERA);
    if (frames.empty())
        return std::nullopt;
    return frames;
}

// The table's entry a lookup at offset finds (VideoInfo::findFrame): the last key not above it.
size_t entryAt(const FrameTable &frames, int64_t offset)
{
    const auto keys = frames.keys();
    const auto after = std::upper_bound(keys.begin(), keys.end(), offset);
    return after == keys.begin() ? 0 : static_cast<size_t>(after - keys.begin()) - 1;
}

} // namespace

int64_t FrameSteps::movieTimeAt(const FrameTable &frames, int64_t offset)
{
    const size_t at = entryAt(frames, offset);
    const int64_t movie = frames.frame(at)._movieTimeStamp;
    const int64_t since = std::max<int64_t>(offset - frames.key(at), 0);
    if (at + 1 >= frames.size())
        return movie + since;
    const int64_t next = frames.frame(at + 1)._movieTimeStamp;
    return next > movie ? std::min(movie + since, next - 1) : movie;
}

int64_t FrameSteps::pictureAt(int64_t movieTimeMs, double fps)
{
    return static_cast<int64_t>(std::floor((double(movieTimeMs) + 0.5) * fps / 1000.0));
}

namespace {

// What a step needs of one chapter: its records, its length on the timeline and its last picture.
struct ChapterFrames
{
    FrameTable frames;
    int32_t length = 0;
    int64_t lastPicture = 0;
    bool isLastChapter = false;
};

std::optional<ChapterFrames> chapterFrames(const ChapterTimeline &timeline, int64_t index, double fps,
                                           const FrameSteps::PictureCount &pictureCount)
{
    auto frames = framesOf(timeline, index);
    if (!frames)
        return std::nullopt;
    const int32_t length = timeline.length(static_cast<size_t>(index));
    // A chapter's length may run to the next chapter's start, which is the end of its movie, not a
    // picture: the movie's own count bounds it. The item's last chapter ends at its last record, before
    // the movie does: its end stands for the rest of the movie, down to the last picture.
    int64_t last = FrameSteps::pictureAt(FrameSteps::movieTimeAt(*frames, length), fps);
    const bool isLastChapter = index + 1 == static_cast<int64_t>(timeline.size());
    if (const int64_t count = pictureCount ? pictureCount(index) : 0; count > 0)
        last = isLastChapter ? count - 1 : std::min(last, count - 1);
    return ChapterFrames{std::move(*frames), length, last, isLastChapter};
}

// The first offset whose movie time shows the picture (from its start in whole ms; movie time grows
// with the offset); none when the chapter's records end before it.
std::optional<int32_t> offsetOf(const ChapterFrames &chapter, int64_t picture, double fps)
{
    const auto start = static_cast<int64_t>(std::ceil(double(picture) * 1000.0 / fps - 0.5));
    if (FrameSteps::movieTimeAt(chapter.frames, chapter.length) < start)
        return std::nullopt;
    int32_t low = 0, high = chapter.length;
    while (low < high) {
        const int32_t middle = low + (high - low) / 2;
        if (FrameSteps::movieTimeAt(chapter.frames, middle) >= start)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

// The chapter and offset of a position, with the picture it shows.
struct ShownAt
{
    int64_t index;
    int32_t offset;
    ChapterFrames chapter;
    int64_t shown;
};

std::optional<ShownAt> shownAt(const ChapterTimeline &timeline, int64_t position, double fps,
                               const FrameSteps::PictureCount &pictureCount)
{
    if (timeline.empty() || !(fps > 0.0))
        return std::nullopt;
    int64_t index = 0;
    int32_t offset = 0;
    timeline.chapterPosition(
        static_cast<int32_t>(std::clamp<int64_t>(position, std::numeric_limits<int32_t>::min(),
                                                 std::numeric_limits<int32_t>::max())),
        index, offset);
    auto chapter = chapterFrames(timeline, index, fps, pictureCount);
    if (!chapter)
        return std::nullopt;
    const int64_t shown =
        chapter->isLastChapter && offset >= chapter->length
            ? chapter->lastPicture
            : std::min(FrameSteps::pictureAt(FrameSteps::movieTimeAt(chapter->frames, offset), fps),
                       chapter->lastPicture);
    return ShownAt{index, offset, std::move(*chapter), shown};
}

} // namespace

std::optional<FrameSteps::Picture> FrameSteps::pictureAtPosition(const ChapterTimeline &timeline,
                                                                 int64_t position, double fps,
                                                                 const PictureCount &pictureCount)
{
    const auto at = shownAt(timeline, position, fps, pictureCount);
    return at ? std::optional(Picture{at->index, at->shown}) : std::nullopt;
}

std::optional<int64_t> FrameSteps::positionOf(const ChapterTimeline &timeline, Picture picture, double fps,
                                              const PictureCount &pictureCount)
{
    if (picture.chapter < 0 || picture.chapter >= static_cast<int64_t>(timeline.size()) || !(fps > 0.0) ||
        picture.number < 0)
        return std::nullopt;
    const auto chapter = chapterFrames(timeline, picture.chapter, fps, pictureCount);
    if (!chapter || picture.number > chapter->lastPicture)
        return std::nullopt;
    // The last chapter's pictures after its last record: the item's end stands for them.
    const auto found = offsetOf(*chapter, picture.number, fps);
    if (!found)
        return chapter->isLastChapter
                   ? std::optional<int64_t>(timeline.position(picture.chapter, chapter->length))
                   : std::nullopt;
    return timeline.position(picture.chapter, *found);
}

std::optional<int64_t> FrameSteps::neighbour(const ChapterTimeline &timeline, int64_t position, int direction,
                                             double fps, const PictureCount &pictureCount)
{
    const auto at = shownAt(timeline, position, fps, pictureCount);
    if (!at)
        return std::nullopt;
    const int64_t index = at->index;
    const ChapterFrames *chapter = &at->chapter;
    const int64_t shown = at->shown;
    if (direction > 0) {
        if (shown + 1 <= chapter->lastPicture) {
            if (const auto found = offsetOf(*chapter, shown + 1, fps))
                return timeline.position(index, *found);
        }
        const bool isLast = index + 1 >= static_cast<int64_t>(timeline.size());
        return isLast ? timeline.position(index, chapter->length) : timeline.position(index + 1, 0);
    }
    if (shown > 0) {
        if (const auto found = offsetOf(*chapter, shown - 1, fps))
            return timeline.position(index, *found);
    }
    if (index == 0)
        return timeline.position(0, 0);
    const auto previous = chapterFrames(timeline, index - 1, fps, pictureCount);
    const int32_t previousLength = timeline.length(static_cast<size_t>(index - 1));
    const auto found = previous ? offsetOf(*previous, previous->lastPicture, fps) : std::nullopt;
    return timeline.position(index - 1, found.value_or(previousLength));
}

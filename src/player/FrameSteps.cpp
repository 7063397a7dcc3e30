#include "player/FrameSteps.h"

#include "card/ChapterData.h"
#include "card/ChapterTimeline.h"
#include "recording/VideoInfo.h"

#include <algorithm>
#include <limits>

namespace {

// Camera 1's table: the frames a seek goes to (PlayMovieValueInfo::movieTimeOfCurrentFrame).
constexpr int SEEK_CAMERA = 1;

std::optional<FrameTable> framesOf(const ChapterTimeline &timeline, int64_t index)
{
    const auto picture = timeline.chapters()[static_cast<size_t>(index)]->getPicture(true);
    if (!picture || !picture->video)
        return std::nullopt;
    return picture->video->getCameraFrames(SEEK_CAMERA);
}

// The table's entry a lookup at offset finds (VideoInfo::findFrame): the last key not above it.
size_t entryAt(const FrameTable &frames, int64_t offset)
{
    const auto keys = frames.keys();
    const auto after = std::upper_bound(keys.begin(), keys.end(), offset);
    return after == keys.begin() ? 0 : static_cast<size_t>(after - keys.begin()) - 1;
}

} // namespace

std::optional<int64_t> FrameSteps::neighbour(const ChapterTimeline &timeline, int64_t position, int direction)
{
    if (timeline.empty())
        return std::nullopt;
    const auto narrowed = static_cast<int32_t>(std::clamp<int64_t>(
        position, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    int64_t index = 0;
    int32_t offset = 0;
    timeline.chapterPosition(narrowed, index, offset);
    const auto frames = framesOf(timeline, index);
    if (!frames || frames->empty())
        return std::nullopt;
    const int32_t length = timeline.length(static_cast<size_t>(index));
    const size_t at = entryAt(*frames, offset);
    // Keys that share a movie time show one picture (a table's key 0 stands for its first frame too).
    const uint32_t shown = frames->frame(at)._movieTimeStamp;
    if (direction > 0) {
        for (size_t i = at + 1; i < frames->size() && frames->key(i) <= length; ++i) {
            if (frames->frame(i)._movieTimeStamp != shown)
                return timeline.position(index, frames->key(i));
        }
        if (index + 1 < static_cast<int64_t>(timeline.size()))
            return timeline.position(index + 1, 0);
        return position;
    }
    for (size_t i = at; i-- > 0;) {
        if (frames->key(i) >= 0 && frames->key(i) <= length && frames->frame(i)._movieTimeStamp != shown)
            return timeline.position(index, frames->key(i));
    }
    if (index == 0)
        return timeline.position(0, 0);
    const int32_t previousLength = timeline.length(static_cast<size_t>(index - 1));
    const auto previous = framesOf(timeline, index - 1);
    if (!previous || previous->empty())
        return timeline.position(index - 1, previousLength);
    const auto last = previous->key(entryAt(*previous, previousLength));
    return timeline.position(index - 1, std::clamp(last, 0, previousLength));
}

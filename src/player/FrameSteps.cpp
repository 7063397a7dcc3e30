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

std::optional<int64_t> FrameSteps::neighbour(const ChapterTimeline &timeline, int64_t position, int direction,
                                             double fps)
{
    if (timeline.empty() || !(fps > 0.0))
        return std::nullopt;
    int64_t index = 0;
    int32_t offset = 0;
    timeline.chapterPosition(
        static_cast<int32_t>(std::clamp<int64_t>(position, std::numeric_limits<int32_t>::min(),
                                                 std::numeric_limits<int32_t>::max())),
        index, offset);
    const auto frames = framesOf(timeline, index);
    if (!frames)
        return std::nullopt;
    const int32_t length = timeline.length(static_cast<size_t>(index));
    const int64_t wanted = pictureAt(movieTimeAt(*frames, offset), fps) + (direction > 0 ? 1 : -1);
    if (wanted < 0)
        return index == 0 ? timeline.position(0, 0)
                          : timeline.position(index - 1, timeline.length(index - 1));
    // The first offset whose movie time shows the wanted picture (its start in whole ms); movie time
    // grows with the offset.
    const auto start = static_cast<int64_t>(std::ceil(double(wanted) * 1000.0 / fps - 0.5));
    if (movieTimeAt(*frames, length) < start) {
        if (direction < 0)
            return position;
        const bool isLast = index + 1 >= static_cast<int64_t>(timeline.size());
        return isLast ? timeline.position(index, length) : timeline.position(index + 1, 0);
    }
    int32_t low = 0, high = length;
    while (low < high) {
        const int32_t middle = low + (high - low) / 2;
        if (movieTimeAt(*frames, middle) >= start)
            high = middle;
        else
            low = middle + 1;
    }
    return timeline.position(index, low);
}

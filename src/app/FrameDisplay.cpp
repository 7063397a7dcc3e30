#include "app/FrameDisplay.h"

#include "card/ChapterData.h"
#include "card/ChapterOutline.h"
#include "card/VrecMoveManagerInfo.h"
#include "recording/PictureData.h"

#include <vector>

namespace {
std::optional<CarFix> fallbackFix(int32_t latitude, int32_t longitude)
{
    if (latitude == 0 && longitude == 0)
        return std::nullopt;
    return CarFix{latitude, longitude, IconId::North, false};
}
} // namespace

std::optional<CarFix> FrameDisplay::carPosition(const FrameTable *frames, int64_t currentFrame,
                                                const std::shared_ptr<ChapterData> &current,
                                                const ChapterList &chapters)
{
    if (auto fix = frameFix(frames, currentFrame))
        return fix;
    return lastKnownPosition(current, chapters);
}

std::optional<CarFix> FrameDisplay::frameFix(const FrameTable *frames, int64_t currentFrame)
{
    if (frames && !frames->empty()) {
        const std::span<const int32_t> keys = frames->keys();
        const auto it =
            std::upper_bound(keys.begin(), keys.end(),
                             static_cast<int32_t>(std::clamp<int64_t>(currentFrame, INT32_MIN, INT32_MAX)));
        if (it != keys.begin()) {
            const VideoFrame frame = frames->frame(static_cast<size_t>(it - keys.begin()) - 1);
            // Both coordinates are needed here; a frame with one of them zero is taken for no fix.
            if (frame._latitude != 0 && frame._longitude != 0)
                return CarFix{frame._latitude, frame._longitude, frame.ex.direction, frame.gps};
        }
    }
    return std::nullopt;
}

std::optional<CarFix> FrameDisplay::lastKnownPosition(const std::shared_ptr<ChapterData> &current,
                                                      const ChapterList &chapters)
{
    // The last position of an earlier chapter, only from recordings already read.
    for (auto chapter = current ? current->previousChapter() : nullptr; chapter;
         chapter = chapter->previousChapter()) {
        const auto outline = chapter->outline();
        if (!outline)
            continue;
        if (auto fix = fallbackFix(outline->last.latitude, outline->last.longitude))
            return fix;
    }
    for (const auto &chapter : chapters) {
        if (!chapter)
            continue;
        if (chapter->_vmmInfo) {
            if (auto fix = fallbackFix(chapter->_vmmInfo->_latitude, chapter->_vmmInfo->_longitude))
                return fix;
            continue;
        }
        const auto outline = chapter->outline();
        if (!outline)
            continue;
        if (auto fix = fallbackFix(outline->first.latitude, outline->first.longitude))
            return fix;
    }
    return std::nullopt;
}

SpeedDurationTable FrameDisplay::speedRunTable(std::span<const SpeedRunEntry> entries)
{
    SpeedDurationTable table;
    int64_t previous = 0;
    int64_t runStart = 0;
    int64_t accumulated = 0;
    int32_t runSpeed = 0;
    bool first = true;
    for (const SpeedRunEntry &entry : entries) {
        if (first) {
            accumulated = entry.stamp - previous;
            runStart = entry.stamp;
            runSpeed = entry.speed;
        }
        if (runSpeed != entry.speed) {
            table[static_cast<int32_t>(runStart)] = accumulated / 1000.0;
            accumulated = 0;
            runStart = entry.stamp;
        }
        accumulated += entry.stamp - previous;
        runSpeed = entry.speed;
        previous = entry.stamp;
        first = false;
    }
    if (!entries.empty())
        table[static_cast<int32_t>(runStart)] = accumulated / 1000.0;

    double runLength = 0.0;
    double elapsed = 0.0;
    for (const SpeedRunEntry &entry : entries) {
        if (const auto it = table.find(entry.stamp); it != table.end()) {
            runLength = it->second;
            elapsed = 0.0;
        } else {
            elapsed += (entry.stamp - previous) / 1000.0;
            table[entry.stamp] = runLength - elapsed;
        }
        previous = entry.stamp;
    }
    return table;
}

SpeedDurationTable FrameDisplay::speedRunTableOf(VideoInfo &video)
{
    const FrameTable frames = video.getCameraFrames(0);
    std::vector<SpeedRunEntry> entries;
    entries.reserve(frames.size());
    for (const auto &[key, frame] : frames) {
        const VideoFrame stamped = video.findFrame(1, key, true);
        entries.push_back({static_cast<int32_t>(stamped._movieTimeStamp), frame.speed});
    }
    return speedRunTable(entries);
}

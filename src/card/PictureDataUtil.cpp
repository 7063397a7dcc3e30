#include "card/PictureDataUtil.h"

#include "card/ChapterData.h"
#include "card/ChapterTimeline.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"

namespace {
int32_t lengthOf(const std::shared_ptr<ChapterData> &chapter)
{
    return static_cast<int32_t>(chapter->frameTimeSpan());
}
} // namespace

void PictureDataUtil::getChapterPosition(Chapters chapters, int32_t position, int64_t &index, int32_t &offset)
{
    index = 0;
    if (chapters.empty()) {
        offset = 0;
        return;
    }
    const auto n = static_cast<int64_t>(chapters.size());
    offset = position;
    // Strict comparison: an offset equal to the length is the chapter's last position.
    while (index < n && lengthOf(chapters[static_cast<size_t>(index)]) < offset) {
        offset -= lengthOf(chapters[static_cast<size_t>(index)]) + 1;
        ++index;
    }
    if (index >= n) {
        index = n - 1;
        offset = lengthOf(chapters.back());
        return;
    }
    const auto length = lengthOf(chapters[static_cast<size_t>(index)]);
    if (offset > length)
        offset = length;
    if (offset < 0)
        offset = 0;
}

int32_t PictureDataUtil::getPosition(Chapters chapters, int64_t index, int32_t offset)
{
    const auto k = std::min<int64_t>(std::max<int64_t>(index, 0), static_cast<int64_t>(chapters.size()));
    int32_t position = 0;
    for (int64_t j = 0; j < k; ++j)
        position += lengthOf(chapters[static_cast<size_t>(j)]) + 1;
    return position + offset;
}

int32_t PictureDataUtil::getTotalLength(Chapters chapters)
{
    if (chapters.empty())
        return 0;
    const auto last = static_cast<int64_t>(chapters.size()) - 1;
    return getPosition(chapters, last, lengthOf(chapters.back()));
}

std::optional<VideoFrame> PictureDataUtil::frameAt(ChapterData &chapter, int camera, int32_t offset)
{
    const auto picture = chapter.getPicture(true);
    if (!picture || !picture->video)
        return std::nullopt;
    return picture->video->findFrame(camera, offset, true);
}

std::optional<VideoFrame> PictureDataUtil::getVideoFrame(Chapters chapters, int32_t position)
{
    int64_t index = 0;
    int32_t offset = 0;
    getChapterPosition(chapters, position, index, offset);
    if (index >= static_cast<int64_t>(chapters.size()))
        return std::nullopt;
    return frameAt(*chapters[static_cast<size_t>(index)], 0, offset);
}

std::optional<uint32_t> PictureDataUtil::getMovieTimeStamp(Chapters chapters, int32_t position)
{
    int64_t index = 0;
    int32_t offset = 0;
    getChapterPosition(chapters, position, index, offset);
    if (index >= static_cast<int64_t>(chapters.size()))
        return std::nullopt;
    const auto frame = frameAt(*chapters[static_cast<size_t>(index)], 1, offset);
    if (!frame)
        return std::nullopt;
    return frame->_movieTimeStamp;
}

void PictureDataUtil::getChapterPosition(const ChapterTimeline &timeline, int32_t position, int64_t &index,
                                         int32_t &offset)
{
    timeline.chapterPosition(position, index, offset);
}

int32_t PictureDataUtil::getPosition(const ChapterTimeline &timeline, int64_t index, int32_t offset)
{
    return timeline.position(index, offset);
}

int32_t PictureDataUtil::getTotalLength(const ChapterTimeline &timeline)
{
    return timeline.totalLength();
}

std::optional<VideoFrame> PictureDataUtil::getVideoFrame(const ChapterTimeline &timeline, int32_t position)
{
    int64_t index = 0;
    int32_t offset = 0;
    timeline.chapterPosition(position, index, offset);
    if (timeline.empty())
        return std::nullopt;
    return frameAt(*timeline.chapters()[static_cast<size_t>(index)], 0, offset);
}

std::optional<uint32_t> PictureDataUtil::getMovieTimeStamp(const ChapterTimeline &timeline, int32_t position)
{
    int64_t index = 0;
    int32_t offset = 0;
    timeline.chapterPosition(position, index, offset);
    if (timeline.empty())
        return std::nullopt;
    const auto frame = frameAt(*timeline.chapters()[static_cast<size_t>(index)], 1, offset);
    if (!frame)
        return std::nullopt;
    return frame->_movieTimeStamp;
}

#include "map/RouteFrameCollection.h"

#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"

namespace {

// Index of the last usable frame whose key is not above the offset; the first frame when none is.
size_t boundFrame(const FrameTable &keyed, std::int32_t offset)
{
    size_t found = 0;
    for (size_t i = 0; i < keyed.size() && keyed.key(i) <= offset; ++i) {
        if (keyed.frame(i).ex.isFrameEnable)
            found = i;
    }
    return found;
}

} // namespace

RouteFrameCollection::ChapterFrames RouteFrameCollection::cameraFrames(ChapterData &chapter)
{
    ChapterFrames result;
    const auto picture = chapter.getPicture(true);
    if (!picture)
        return result;
    result.status = ChapterFrames::Status::NoRecording;
    if (!picture->video)
        return result;
    result.status = ChapterFrames::Status::Read;
    // Keep the table alive while walking it.
    result.frames = VideoInfo::convertDictionary(picture->video->getCameraFrames(0));
    return result;
}

std::vector<VideoFrame> RouteFrameCollection::collectMovieFrames(Chapters chapters, std::int32_t start,
                                                                 std::int32_t end, const WorkControl &control)
{
    std::vector<VideoFrame> collected;
    if (chapters.empty())
        return collected;
    int64_t index = 0;
    int32_t startOffset = 0;
    int32_t endOffset = 0;
    PictureDataUtil::getChapterPosition(chapters, start, index, startOffset);
    PictureDataUtil::getChapterPosition(chapters, end, index, endOffset);

    for (size_t k = 0; k < chapters.size(); ++k) {
        if (control.isCancelled())
            return collected;
        const auto picture = chapters[k]->getPicture(true);
        control.report(int(k + 1), int(chapters.size()));
        if (!picture)
            return collected;
        if (!picture->video)
            return {VideoFrame()};
        const FrameTable table = picture->video->getCameraFrames(0);
        if (table.empty())
            continue;
        const size_t first = k == 0 ? boundFrame(table, startOffset) : 0;
        const size_t last = k + 1 == chapters.size() ? boundFrame(table, endOffset) : table.size() - 1;
        for (size_t i = first; i <= last && last >= first; ++i)
            collected.push_back(table.frame(i));
    }
    return collected;
}

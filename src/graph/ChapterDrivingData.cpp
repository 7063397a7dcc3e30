#include "graph/ChapterDrivingData.h"

#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"

ChapterDrivingData::ChapterDrivingData(ChapterList chapters) : _timeline(std::move(chapters)) {}

void ChapterDrivingData::chapterPosition(int32_t position, int64_t &index, int32_t &offset) const
{
    PictureDataUtil::getChapterPosition(_timeline, position, index, offset);
}

int32_t ChapterDrivingData::position(int64_t index, int32_t offset) const
{
    return PictureDataUtil::getPosition(_timeline, index, offset);
}

std::optional<DrivingSample> ChapterDrivingData::sampleAt(size_t index, int32_t offset)
{
    if (index >= _timeline.size())
        return std::nullopt;
    const auto picture = _timeline.chapters()[index]->getPicture(true);
    if (!picture || !picture->video)
        return std::nullopt;
    // The frame is read and let go here; the views keep only these values.
    const VideoFrame frame = picture->video->findFrame(0, offset, true);
    DrivingSample sample;
    sample.time = frame.time;
    sample.speedKmh = frame.speed;
    sample.gX = frame.gX;
    sample.gY = frame.gY;
    sample.gps = frame.gps;
    sample.movieTimeStampMs = frame._movieTimeStamp;
    return sample;
}

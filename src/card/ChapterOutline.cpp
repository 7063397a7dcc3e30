#include "card/ChapterOutline.h"

#include "recording/VideoInfo.h"

ChapterOutline ChapterOutline::of(VideoInfo &video)
{
    ChapterOutline outline;
    const FrameTable frames = video.getCameraFrames(0);
    int64_t previous = 0;
    for (const auto &[key, frame] : frames) {
        outline.distance += float(int64_t(frame.speed) * (int64_t(key) - previous));
        previous = key;
        if (!frame.ex.isFrameEnable || (frame._latitude == 0 && frame._longitude == 0))
            continue;
        const Point point{frame._latitude, frame._longitude};
        if (outline.route.empty() || outline.route.back() != point)
            outline.route.push_back(point);
    }
    outline.route.shrink_to_fit();
    const VideoFrame first = video.findFrame(0, 0, false);
    outline.first = {first._latitude, first._longitude};
    const VideoFrame last = video.findFrame(0, video._timeSpan, true);
    outline.last = {last._latitude, last._longitude};
    outline.firstTime = video.firstTime;
    outline.isCutVideo = video.isCutVideo();
    return outline;
}

size_t ChapterOutline::bytes() const
{
    return sizeof(ChapterOutline) + route.capacity() * sizeof(Point);
}

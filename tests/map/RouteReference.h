// The route a trip's driving data gives on the map, worked out from every chapter's full frames as the
// map drew it when it read the recordings: camera 0's usable frames with a position, in degrees rounded
// to six decimals, each point equal to one of the last two kept left out. Reads the recordings.
#pragma once

#include "card/ChapterData.h"
#include "map/MapPoint.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"

#include <cmath>
#include <memory>
#include <span>
#include <vector>

namespace RouteReference {

inline double degrees(int32_t value)
{
    return std::round(value / 36000.0 * 1000000.0) / 1000000.0;
}

inline std::vector<RoutePoint> of(std::span<const std::shared_ptr<ChapterData>> chapters)
{
    std::vector<RoutePoint> route;
    for (const auto &chapter : chapters) {
        const auto picture = chapter->getPicture(true);
        if (!picture || !picture->video)
            break;
        for (const auto &[key, frame] : picture->video->getCameraFrames(0)) {
            if (!frame.ex.isFrameEnable || (frame._latitude == 0 && frame._longitude == 0))
                continue;
            const RoutePoint point{degrees(frame._latitude), degrees(frame._longitude)};
            const size_t n = route.size();
            bool repeat = false;
            for (size_t back = 1; back <= 2 && back <= n; ++back)
                repeat = repeat || (route[n - back].lat == point.lat && route[n - back].lng == point.lng);
            if (!repeat)
                route.push_back(point);
        }
    }
    return route;
}

} // namespace RouteReference

// What the recording readers' tests keep of a read.
#pragma once

#include "recording/VideoInfo.h"

#include <QByteArray>

#include <memory>
#include <span>
#include <vector>

struct Read
{
    std::shared_ptr<VideoInfo> info;
    bool isError = false;
};

// Camera 0's counters in key order.
inline std::vector<uint32_t> stamps(VideoInfo &info)
{
    std::vector<uint32_t> out;
    for (const auto &[key, frame] : info.getCameraFrames(0))
        out.push_back(frame._timeStamp);
    return out;
}

inline std::span<const uint8_t> bytesOf(const QByteArray &bytes)
{
    return {reinterpret_cast<const uint8_t *>(bytes.data()), size_t(bytes.size())};
}

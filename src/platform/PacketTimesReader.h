// The time stamps of a movie's picture packets, in the order they are decoded, read from its container.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

class PacketTimesReader
{
public:
    PacketTimesReader() = delete;

    struct Packet
    {
        int64_t ptsUs = 0; // when the picture is shown
        int64_t dtsUs = 0; // when it is decoded; with B-frames ahead of some pictures shown earlier
    };

    // The first video stream's packets from the key frame at or before fromUs up to the first one decoded
    // at or after toUs, in decode order, in µs from the movie's start as ffmpeg counts a cut's times (the
    // container's start time is 0). Empty when the file or its stamps cannot be read.
    static std::vector<Packet> read(const QString &path, int64_t fromUs, int64_t toUs);
};

// Where a cut whose pictures are copied must stop so that it ends on whole pictures.
#pragma once

#include "platform/PacketTimesReader.h"

#include <cstdint>
#include <vector>

class CopyCutEnd
{
public:
    CopyCutEnd() = delete;

    // ffmpeg ends a copied cut by decode order: it keeps the packets decoded before the cut's length. With
    // B-frames a picture is decoded after pictures shown later, so that end can leave out a picture shown
    // before it and keep one shown after it: a hole in the clip's last pictures. A B-frame needs the
    // pictures on both sides of it, so a cut can end without a hole only after a whole group.
    // packets: in decode order, µs from the cut's start as ffmpeg counts it, reaching past the wanted
    // end. The length in ms to give ffmpeg: the one that ends on the group whose end is nearest, by
    // pictures, to the wanted end; on a tie lengthMs when it ends on a whole group, else the shorter.
    // lengthMs itself when it is that length, or when no whole end lies within the packets.
    static int64_t lengthMs(const std::vector<PacketTimesReader::Packet> &packets, int64_t lengthMs);
};

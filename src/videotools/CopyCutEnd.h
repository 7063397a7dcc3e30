// Where a cut whose pictures are copied must stop so that it ends on whole pictures.
#pragma once

#include "platform/PacketTimesReader.h"

#include <cstdint>
#include <optional>
#include <vector>

class CopyCutEnd
{
public:
    CopyCutEnd() = delete;

    struct End
    {
        int64_t lengthMs = 0; // the cut's length: of its sound, and of its pictures as ffmpeg cuts them
        // Pictures shown from here on (µs from the cut's start) are dropped from those ffmpeg keeps;
        // none when it keeps the right ones.
        std::optional<int64_t> dropFromUs;
    };

    // ffmpeg ends a copied cut by decode order: it keeps the packets decoded before the cut's length. With
    // B-frames a picture is decoded after pictures shown later, so that end can leave out a picture shown
    // before it and keep one shown after it: a hole in the clip's last pictures. A B-frame needs the
    // pictures on both sides of it, so a cut can end without a hole only after a whole group.
    // packets: in decode order, µs from the cut's start as ffmpeg counts it, reaching past the wanted
    // end. The cut ends on the group whose end is nearest, by pictures, to the wanted end: on a tie
    // lengthMs when it ends on a whole group, else the shorter. lengthMs as it is when it is that end or
    // when no whole end lies within the packets; else the length up to that group's end, so the sound
    // ends with the pictures, and the pictures after it dropped.
    static End end(const std::vector<PacketTimesReader::Packet> &packets, int64_t lengthMs);
};

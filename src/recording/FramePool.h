// The frames of one recording in one flat array of compact values, and the gap-filling frames as
// references to the frame they repeat. Camera tables (FrameTable) index into it by slot.
#pragma once

#include "recording/VideoFrame.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class FramePool
{
public:
    // Slots with this bit set name a repeat, the others a frame of the array.
    static constexpr uint32_t REPEAT_BIT = 0x80000000u;

    // Stores a frame; returns its slot.
    uint32_t add(const VideoFrame &frame);
    // Stores a gap-filling frame (VideoFrame::repeated of the frame at source, moved to another counter
    // value) as a reference. Repeats are made before detection, headings and distances are worked out,
    // so gDetected, ex.direction, ex.distance and ex.isFrameEnable read as unset; the position is the one
    // the source had when the repeat was made.
    uint32_t addRepeat(uint32_t source, uint32_t timeStamp, uint32_t movieTimeStamp);
    VideoFrame at(uint32_t slot) const;
    // Orders slot numbers by their frames' counter values; equal counters keep their order.
    void sortByCounter(std::vector<uint32_t> &order) const;
    // Overwrites the frame of a slot that add returned (a repeat slot is left as it is).
    void replace(uint32_t slot, const VideoFrame &frame);

    size_t size() const { return _frames.size(); }
    size_t repeatCount() const { return _repeats.size(); }
    // Heap bytes held, capacity included.
    size_t heapBytes() const;
    void shrinkToFit();

private:
    // One frame at the widths the camera's records use: 48 bytes. A frame that does not fit (a
    // cut-clip frame with fractional G values, a picture, fields the MP4 records never set) is kept
    // whole in _wide and its compact entry only points there.
    struct Packed
    {
        double distance = 0.0;
        uint32_t timeSeconds = 0; // Unix seconds; NO_TIME for the distant past
        int32_t longitude = 0;
        int32_t latitude = 0;
        uint32_t timeStamp = 0; // index into _wide for a wide frame
        uint32_t movieTimeStamp = 0;
        uint32_t frameSize = 0;
        int16_t gXmg = 0; // milli-g
        int16_t gYmg = 0;
        int16_t gZmg = 0;
        uint16_t speed = 0;
        uint16_t blockNo = 0;
        uint8_t sw = 0;
        uint8_t id = 0;
        uint8_t pictureChannel = 0;
        uint8_t direction = 0; // IconId
        int8_t violation = 0;  // ViolationType
        bool gps : 1 = true;
        bool powerDown : 1 = false;
        bool gps2 : 1 = true;
        bool gDetected : 1 = false;
        bool isFrameEnable : 1 = false;
        bool posWest : 1 = false;
        bool posSouth : 1 = false;
        bool wide : 1 = false;
    };
    static_assert(sizeof(Packed) == 48);
    struct Repeat
    {
        uint32_t source = 0;
        uint32_t timeStamp = 0;
        uint32_t movieTimeStamp = 0;
        int32_t longitude = 0;
        int32_t latitude = 0;
    };
    static constexpr uint32_t NO_TIME = 0xFFFFFFFFu;

    static bool pack(const VideoFrame &frame, Packed &packed);
    static VideoFrame unpack(const Packed &packed);
    Packed packOrWiden(const VideoFrame &frame, const Packed *previous);

    std::vector<Packed> _frames;
    std::vector<Repeat> _repeats;
    std::vector<VideoFrame> _wide;
};

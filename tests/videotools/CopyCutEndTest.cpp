// A copied cut ends where the pictures decoded before its length are exactly the pictures shown up to
// its end, as near as groups of B-frames allow to the end asked for; the shorter of two as near, unless
// the length asked for already ends on a whole group.
#include "videotools/CopyCutEnd.h"

#include <gtest/gtest.h>

namespace {

constexpr int64_t FRAME_US = 40000;

// The packets of pictures shown at frame `order[i]`, decoded i-th, each delay frames before its time.
std::vector<PacketTimesReader::Packet> decoded(const std::vector<int> &order, int delay)
{
    std::vector<PacketTimesReader::Packet> packets;
    for (size_t i = 0; i < order.size(); ++i)
        packets.push_back({order[i] * FRAME_US, (int64_t(i) - delay) * FRAME_US});
    return packets;
}

// The pictures (frames shown) that the cut keeps: ffmpeg cuts by decode time, then drops those shown
// from the end's drop time on.
std::vector<int> kept(const std::vector<PacketTimesReader::Packet> &packets, const CopyCutEnd::End &end)
{
    std::vector<int> frames;
    for (const auto &packet : packets) {
        if (packet.dtsUs < end.lengthMs * 1000 && packet.ptsUs < end.dropFromUs.value_or(packet.ptsUs + 1))
            frames.push_back(int(packet.ptsUs / FRAME_US));
    }
    std::sort(frames.begin(), frames.end());
    return frames;
}

std::vector<int> upTo(int last)
{
    std::vector<int> frames;
    for (int frame = 0; frame <= last; ++frame)
        frames.push_back(frame);
    return frames;
}

TEST(CopyCutEndTest, EndsOnTheWholeGroupNearestTheEnd)
{
    const std::vector<int> plain = upTo(15);
    // One B-frame after each P-frame, decoded one frame late; three B-frames as a pyramid, two late.
    const std::vector<int> oneB = {0, 2, 1, 4, 3, 6, 5, 8, 7, 10, 9, 12, 11, 14, 13, 16, 15};
    const std::vector<int> twoB = {0, 3, 1, 2, 6, 4, 5, 9, 7, 8, 12, 10, 11, 15, 13, 14};
    const std::vector<int> pyramid = {0, 4, 2, 1, 3, 8, 6, 5, 7, 12, 10, 9, 11, 16, 14, 13, 15};
    const struct
    {
        const char *name;
        std::vector<int> order;
        int delay;
        int64_t lengthMs;
        int lastFrame; // the last picture the cut keeps
        bool isAsIs;   // the length asked for is kept
    } cases[] = {
        {"no B-frames", plain, 0, 200, 4, true},
        {"no B-frames, off the frame", plain, 0, 219, 5, true},
        {"one B, a hole: back to the group's end", oneB, 1, 200, 4, false},
        {"one B, a whole group one past: as asked", oneB, 1, 160, 4, true},
        {"two B, a hole: back to the group's end", twoB, 1, 280, 6, false},
        {"two B, a whole group one past: as asked", twoB, 1, 240, 6, true},
        {"two B, a hole: one fewer rather than two more", twoB, 1, 200, 3, false},
        {"pyramid, two either way: as asked", pyramid, 2, 280, 8, true},
        {"pyramid decoded one late, two either way: fewer", pyramid, 1, 280, 4, false},
        {"pyramid, one past a group", pyramid, 2, 360, 8, false},
        {"pyramid, the camera's end", pyramid, 2, 310, 8, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto packets = decoded(c.order, c.delay);
        const CopyCutEnd::End end = CopyCutEnd::end(packets, c.lengthMs);
        EXPECT_EQ(end.lengthMs == c.lengthMs && !end.dropFromUs, c.isAsIs) << end.lengthMs;
        EXPECT_EQ(kept(packets, end), upTo(c.lastFrame)) << end.lengthMs;
        // The sound, cut at the length, ends with the last picture.
        if (!c.isAsIs)
            EXPECT_EQ(end.lengthMs * 1000, (c.lastFrame + 1) * FRAME_US);
    }
}

TEST(CopyCutEndTest, KeepsTheLengthWithoutAWholeEndInReach)
{
    for (const auto &packets : {std::vector<PacketTimesReader::Packet>{},
                                // every cut inside these leaves a hole: what follows them is unknown
                                decoded({4, 2, 1, 3}, 2)}) {
        const CopyCutEnd::End end = CopyCutEnd::end(packets, 100);
        EXPECT_EQ(end.lengthMs, 100);
        EXPECT_FALSE(end.dropFromUs);
    }
}

} // namespace

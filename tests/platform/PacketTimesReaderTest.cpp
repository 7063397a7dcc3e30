// A movie's picture packets are read in decode order, from the key frame before a time to a packet
// decoded past another, with the times ffmpeg gives them.
#include "platform/PacketTimesReader.h"

#include "support/Ffmpeg.h"
#include "support/TempDir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

constexpr int64_t FRAME_US = 40000;

TEST(PacketTimesReaderTest, ReadsTheWindowInDecodeOrder)
{
    // 25 pictures a second, a key frame each second, two B-frames between the others.
    TempDir dir;
    const QString movie = dir.filePath("b.mp4");
    ASSERT_TRUE(Ffmpeg::run({"-f", "lavfi", "-i", "testsrc2=size=64x48:rate=25:duration=4", "-c:v", "libx264",
                             "-preset", "veryfast", "-bf", "2", "-g", "25", "-pix_fmt", "yuv420p", movie}));
    const struct
    {
        int64_t fromUs, toUs;
        int64_t firstShownUs; // the key frame the window starts on
    } cases[] = {
        {0, 500000, 0},
        {1500000, 2200000, 1000000},
        {2000000, 2000000, 2000000},
        {3000000, 9000000, 3000000},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.fromUs);
        const std::vector<PacketTimesReader::Packet> packets =
            PacketTimesReader::read(movie, c.fromUs, c.toUs);
        ASSERT_FALSE(packets.empty());
        EXPECT_EQ(packets.front().ptsUs, c.firstShownUs);
        // The last one is decoded past the window, or is the movie's last.
        EXPECT_TRUE(packets.back().dtsUs >= c.toUs || packets.back().dtsUs >= 4000000 - 3 * FRAME_US)
            << packets.back().dtsUs;
        EXPECT_TRUE(std::is_sorted(packets.begin(), packets.end(),
                                   [](const auto &a, const auto &b) { return a.dtsUs < b.dtsUs; }));
        // Every picture in the window once, on the frame grid, some shown before others decoded earlier.
        std::vector<int64_t> shown;
        for (const auto &packet : packets)
            shown.push_back(packet.ptsUs);
        const bool isReordered = !std::is_sorted(shown.begin(), shown.end());
        std::sort(shown.begin(), shown.end());
        EXPECT_EQ(std::adjacent_find(shown.begin(), shown.end()), shown.end());
        EXPECT_TRUE(std::all_of(shown.begin(), shown.end(), [](int64_t t) { return t % FRAME_US == 0; }));
        EXPECT_TRUE(isReordered || packets.size() < 4);
    }
}

TEST(PacketTimesReaderTest, NothingFromWhatIsNoMovie)
{
    TempDir dir;
    EXPECT_TRUE(PacketTimesReader::read(dir.write("x.mp4", QByteArray(4096, 'x')), 0, 1000000).empty());
    EXPECT_TRUE(PacketTimesReader::read(dir.filePath("missing.mp4"), 0, 1000000).empty());
}

} // namespace

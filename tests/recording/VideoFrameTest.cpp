#include "recording/VideoFrame.h"
#include "recording/FramePool.h"
#include <functional>
#include <gtest/gtest.h>

namespace {

VideoFrame cameraFrame()
{
    VideoFrame f;
    f.time = Date::fromUnixSeconds(1700000000);
    f.gX = -1.0;
    f.gY = 0.25;
    f.gZ = 0.002;
    f.speed = 6553;
    f._longitude = -4680000;
    f._latitude = 1260000;
    f.sw = 0x42;
    f.gps = false;
    f.powerDown = true;
    f._posWest = 1;
    f._gps2 = false;
    f._id = 0x55;
    f._timeStamp = 0xFFFFFFF0u;
    f._movieTimeStamp = 777;
    f.frameSize = 4096;
    f.pictureChannel = 2;
    f.blockNo = 60;
    f.ex.violationType = ViolationType::Overspeed;
    f.ex.direction = IconId::SouthWest;
    f.ex.distance = 12.345678901234;
    f.ex.isFrameEnable = true;
    f.gDetected = true;
    return f;
}

} // namespace

TEST(VideoFrameTest, RepeatsTakeTheDataButNotThePictureAndPowerFieldsAndReferToTheirFrame)
{
    VideoFrame source = cameraFrame();
    source.camera = 2;
    source._imageData = QByteArray("jpeg");
    source.addrs = 42;
    source.latitude = 5;
    VideoFrame expected = source;
    expected.powerDown = false;
    expected._posWest = 0;
    expected._gps2 = true;
    expected._movieTimeStamp = 0;
    expected.addrs = 0;
    expected.frameSize = 0;
    expected.pictureChannel = 0;
    expected.latitude = 0;
    EXPECT_TRUE(source.repeated().sameAs(expected));

    // In the pool, later changes to the source reach its repeats, except the position it had then.
    FramePool pool;
    VideoFrame plain = cameraFrame();
    plain.gDetected = false;
    plain.ex.distance = 0;
    plain.ex.direction = IconId::None;
    plain.ex.isFrameEnable = false;
    const uint32_t slot = pool.add(plain);
    const uint32_t repeat = pool.addRepeat(pool.addRepeat(slot, 1, 2), 3, 4);
    VideoFrame moved = plain;
    moved._longitude = 1;
    moved.speed = 9;
    pool.replace(slot, moved);
    expected = plain.repeated();
    expected.speed = 9;
    expected._timeStamp = 3;
    expected._movieTimeStamp = 4;
    EXPECT_TRUE(pool.at(repeat).sameAs(expected));
    EXPECT_EQ(pool.size(), 1u);
}

// Every frame comes back from the pool exactly as it went in, whether it fits the compact form or not.
TEST(VideoFrameTest, PoolGivesBackEveryFrameExactly)
{
    const std::function<void(VideoFrame &)> changes[] = {
        [](VideoFrame &) {},
        [](VideoFrame &f) { f.time = Date::distantPast(); },
        [](VideoFrame &f) { f.time = f.time.addingMilliseconds(36); }, // a cut clip's fractional second
        [](VideoFrame &f) { f.time = Date::fromUnixSeconds(0xFFFFFFFFll); },
        [](VideoFrame &f) { f.gX = 0.1234; },   // not a whole milli-g
        [](VideoFrame &f) { f.gY = -0.0; },     // the sign of zero survives
        [](VideoFrame &f) { f.gZ = 40.0; },     // beyond 16 bits of milli-g
        [](VideoFrame &f) { f.speed = 70000; }, // a cut clip's wide values
        [](VideoFrame &f) { f.speed = -1; },
        [](VideoFrame &f) { f.blockNo = 70000; },
        [](VideoFrame &f) { f.sw = 300; },
        [](VideoFrame &f) { f._posSouth = 2; },
        [](VideoFrame &f) { f.status = 3; },
        [](VideoFrame &f) { f._imageData = "jpeg"; },
        [](VideoFrame &f) { f.ex.detectionType = DetectionType::GSensor; },
        [](VideoFrame &f) { f.ex.direction = IconId::Pin_Gray_focus; },
    };
    FramePool pool;
    std::vector<VideoFrame> frames;
    for (const auto &change : changes) {
        frames.push_back(cameraFrame());
        change(frames.back());
        pool.add(frames.back());
    }
    for (uint32_t i = 0; i < frames.size(); ++i)
        EXPECT_TRUE(pool.at(i).sameAs(frames[i])) << i;
    // Replacing a wide frame by a compact one and back.
    pool.replace(4, cameraFrame());
    EXPECT_TRUE(pool.at(4).sameAs(cameraFrame()));
    pool.replace(4, frames[4]);
    EXPECT_TRUE(pool.at(4).sameAs(frames[4]));
}

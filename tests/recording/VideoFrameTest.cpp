#include "recording/VideoFrame.h"

#include <QTimeZone>
#include <gtest/gtest.h>
#include <map>

TEST(VideoFrameTest, NewFrameDefaults)
{
    const VideoFrame frame;
    EXPECT_EQ(frame.camera, 1);
    EXPECT_TRUE(frame.gps);
    EXPECT_TRUE(frame._gps2);
    EXPECT_EQ(frame.time, Date::distantPast());
    EXPECT_EQ(frame.latitude, 0);
    EXPECT_EQ(frame.longitude, 0);
    EXPECT_EQ(frame.ex.detectionType, DetectionType::All);
    EXPECT_EQ(frame.ex.violationType, ViolationType::All);
    EXPECT_EQ(frame.ex.direction, IconId::None);
    EXPECT_FALSE(frame.ex.isFrameEnable);
    const QDateTime local = frame.invalidTime.toDateTime().toTimeZone(QTimeZone::systemTimeZone());
    EXPECT_EQ(local.date(), QDate(2000, 1, 1));
    EXPECT_EQ(local.time(), QTime(0, 0, 0));
}

TEST(VideoFrameTest, CopyTakesTheDataButNotThePictureAndPowerFields)
{
    VideoFrame source;
    source.camera = 2;
    source.frame = 17;
    source.gDetected = true;
    source.time = Date::fromUnixSeconds(1700000000);
    source.gX = 0.25;
    source.gY = -0.5;
    source.gZ = 1.5;
    source._engineSpeed = 2400;
    source.speed = 88;
    source._longitude = -4680000;
    source._latitude = 1260000;
    source.status = 3;
    source.sw = 4;
    source.gps = false;
    source.ex.detectionType = DetectionType::GSensor;
    source.ex.direction = IconId::SouthWest;
    source.ex.distance = 12.5;
    source.ex.isFrameEnable = true;
    source.lacked = true;
    source._imageData = QByteArray("jpeg");
    source._id = 0x55;
    source._timeStamp = 123456;
    source.blockNo = 9;
    source.powerDown = true;
    source._posWest = 1;
    source._posSouth = 1;
    source._gps2 = false;
    source._movieTimeStamp = 777;
    source.addrs = 42;
    source.frameSize = 4096;
    source.pictureChannel = 2;
    source.latitude = 5;
    source.longitude = 6;

    const auto copy = std::make_shared<VideoFrame>(source);
    EXPECT_EQ(copy->camera, 2);
    EXPECT_EQ(copy->frame, 17);
    EXPECT_TRUE(copy->gDetected);
    EXPECT_EQ(copy->time, source.time);
    EXPECT_EQ(copy->gX, 0.25);
    EXPECT_EQ(copy->gY, -0.5);
    EXPECT_EQ(copy->gZ, 1.5);
    EXPECT_EQ(copy->_engineSpeed, 2400);
    EXPECT_EQ(copy->speed, 88);
    EXPECT_EQ(copy->_longitude, -4680000);
    EXPECT_EQ(copy->_latitude, 1260000);
    EXPECT_EQ(copy->status, 3);
    EXPECT_EQ(copy->sw, 4);
    EXPECT_FALSE(copy->gps);
    EXPECT_EQ(copy->ex, source.ex);
    EXPECT_TRUE(copy->lacked);
    EXPECT_EQ(copy->_imageData, QByteArray("jpeg"));
    EXPECT_EQ(copy->_id, 0x55);
    EXPECT_EQ(copy->_timeStamp, 123456u);
    EXPECT_EQ(copy->blockNo, 9);

    EXPECT_FALSE(copy->powerDown);
    EXPECT_EQ(copy->_posWest, 0);
    EXPECT_EQ(copy->_posSouth, 0);
    EXPECT_TRUE(copy->_gps2);
    EXPECT_EQ(copy->_movieTimeStamp, 0u);
    EXPECT_EQ(copy->addrs, 0u);
    EXPECT_EQ(copy->frameSize, 0u);
    EXPECT_EQ(copy->pictureChannel, 0);
    EXPECT_EQ(copy->latitude, 0);
    EXPECT_EQ(copy->longitude, 0);
    EXPECT_EQ(copy->invalidTime, VideoFrame::makeInvalidTime());

    // The copy is a frame of its own.
    copy->speed = 1;
    EXPECT_EQ(source.speed, 88);
}

TEST(VideoFrameTest, HoldersShareOneFrame)
{
    const VideoFramePtr frame = std::make_shared<VideoFrame>();
    std::map<int, VideoFramePtr> first{{0, frame}};
    std::map<int, VideoFramePtr> second{{40, frame}};
    first[0]->gDetected = true;
    EXPECT_TRUE(second[40]->gDetected);
}

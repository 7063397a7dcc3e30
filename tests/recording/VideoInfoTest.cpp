#include "recording/VideoInfo.h"
#include "recording/FullTimeDataInfo.h"
#include "recording/VersionInfo.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

VideoFramePtr frameAt(uint32_t timeStamp)
{
    auto f = std::make_shared<VideoFrame>();
    f->_timeStamp = timeStamp;
    return f;
}

// A recording whose camera 0 holds the given keys, with key lists rebuilt as a reader leaves them.
std::shared_ptr<VideoInfo> recordingWithKeys(std::initializer_list<int> keys)
{
    auto info = std::make_shared<VideoInfo>();
    FrameTable table;
    for (int k : keys)
        table[k] = frameAt(uint32_t(k));
    info->setCameraFrames(0, table);
    info->rebuildKeyLists();
    return info;
}

} // namespace

TEST(VideoInfoTest, NewRecordingHoldsOnePlaceholderFrame)
{
    VideoInfo info;
    EXPECT_EQ(info._timeSpan, 1u);
    EXPECT_EQ(info._userCarCode, "00000000");
    EXPECT_EQ(info._jpegHeader.size(), 16);
    EXPECT_EQ(uint8_t(info._jpegHeader12[3]), 0xDB);
    EXPECT_EQ(info.cameraNumbers(), (std::vector<int>{1}));
    EXPECT_EQ(info.getCameraFrames(1)->size(), 1u);
    EXPECT_EQ(info.recMode(), CommonConst::RecMode::Nomal);
    EXPECT_EQ(info._terminalType, TerminalType::None);
}

TEST(VideoInfoTest, FindFrameTakesTheGreatestKeyNotAboveThePosition)
{
    auto info = recordingWithKeys({0, 36, 72});
    const auto table = info->getCameraFrames(0);
    EXPECT_EQ(info->findFrame(0, 50, true), table->at(36));
    EXPECT_EQ(info->findFrame(0, 36, false), table->at(36));
    EXPECT_EQ(info->findFrame(0, 500, true), table->at(72));
    EXPECT_EQ(info->findFrame(0, -5, true), table->at(0));
    EXPECT_EQ(info->findFrame(0, 71, true), table->at(36));
}

TEST(VideoInfoTest, FindFrameWithEmptyKeyListOrNoCameraStoresAPlaceholder)
{
    auto info = std::make_shared<VideoInfo>();
    info->setCameraFrames(0, FrameTable{});
    info->rebuildKeyLists(); // camera 0: empty list, camera 1: [0]
    const VideoFramePtr placeholder = info->findFrame(0, 10, true);
    ASSERT_TRUE(placeholder);
    EXPECT_EQ(info->getCameraFrames(0)->size(), 1u);
    EXPECT_EQ(info->getCameraFrames(0)->at(0), placeholder);

    // No key list and no table for camera 3.
    const VideoFramePtr third = info->findFrame(3, 100, true);
    EXPECT_TRUE(third->time.isDistantPast());
    EXPECT_EQ(info->getCameraFrames(3)->size(), 1u);
    EXPECT_EQ(info->getCameraFrames(3)->at(0), third);
}

TEST(VideoInfoTest, GetCameraFramesNeverGivesAnEmptyTable)
{
    VideoInfo info;
    info._playback.detectTime = Date::fromUnixSeconds(1000);
    info.setCameraFrames(2, FrameTable{});
    const auto table = info.getCameraFrames(2);
    ASSERT_EQ(table->size(), 1u);
    EXPECT_EQ(table->at(0)->time, Date::fromUnixSeconds(1000));
    const auto missing = info.getCameraFrames(7);
    ASSERT_EQ(missing->size(), 1u);
    EXPECT_TRUE(missing->at(0)->time.isDistantPast());
    EXPECT_EQ(info.getCameraFrames(7), missing); // stored, not made anew
}

TEST(VideoInfoTest, WalkWithoutKeyListPrefersTheLowerKeyOnATie)
{
    VideoInfo info;
    info.setCameraFrames(0, FrameTable{{10, frameAt(10)}, {20, frameAt(20)}});
    // No rebuild: arrayCamera is empty, so the table is walked.
    EXPECT_EQ(info.findFrame(0, 15, true)->_timeStamp, 10u);
    EXPECT_EQ(info.findFrame(0, 16, true)->_timeStamp, 20u);
    EXPECT_EQ(info.findFrame(0, 25, true)->_timeStamp, 20u);
}

TEST(VideoInfoTest, LocateDetectionChoosesTheNearerKeyAndMarksIt)
{
    auto info = recordingWithKeys({0, 100, 200});
    info->_playback.detectionType = DetectionType::GSensor;
    info->_playback.detectPosition = 5150;
    EXPECT_EQ(info->locateDetection(5000, 9000), 200);
    EXPECT_TRUE(info->getCameraFrames(0)->at(200)->gDetected);
    EXPECT_FALSE(info->getCameraFrames(0)->at(100)->gDetected);

    info->_playback.detectPosition = 5120;
    EXPECT_EQ(info->locateDetection(5000, 9000), 100);
    info->_playback.detectPosition = 5100;
    EXPECT_EQ(info->locateDetection(5000, 9000), 100);
    // Outside 1 <= r < last: 0.
    info->_playback.detectPosition = 4000;
    EXPECT_EQ(info->locateDetection(5000, 9000), 0);
    // Past the last key: 0, nothing marked.
    auto late = recordingWithKeys({0, 100});
    late->_playback.detectPosition = 5500;
    EXPECT_EQ(late->locateDetection(5000, 9000), 0);
    EXPECT_FALSE(late->getCameraFrames(0)->at(100)->gDetected);

    info->_playback.detectionType = DetectionType::Movie;
    info->_playback.detectPosition = 5150;
    EXPECT_EQ(info->locateDetection(5000, 9000), 0);
}

TEST(VideoInfoTest, MakeFrameTableNumbersMoviePositionsAndFillsPositions)
{
    std::vector<VideoFramePtr> frames{frameAt(1000), frameAt(1040), frameAt(1080)};
    frames[1]->_longitude = 77;
    frames[1]->_latitude = 88;
    int32_t longitude = 5;
    int32_t latitude = 6;
    const FrameTable table = VideoInfo::makeFrameTable(frames, 1000, 40, longitude, latitude);
    EXPECT_EQ(table.size(), 3u);
    EXPECT_EQ(frames[2]->_movieTimeStamp, 80u);
    EXPECT_EQ(frames[0]->_longitude, 5);
    EXPECT_EQ(frames[1]->_longitude, 77);
    EXPECT_EQ(frames[2]->_latitude, 6);

    std::vector<VideoFramePtr> none{frameAt(1000)};
    longitude = -1;
    VideoInfo::makeFrameTable(none, 1000, 0, longitude, latitude);
    EXPECT_EQ(none[0]->_longitude, 0);

    longitude = 0;
    latitude = 9;
    VideoInfo::makeFrameTable(none, 1000, 0, longitude, latitude);
    EXPECT_EQ(none[0]->_longitude, 0);
    EXPECT_EQ(latitude, 0);

    // The first frame at a key stays, and the list's first frame is also at key 0.
    std::vector<VideoFramePtr> twice{frameAt(1010), frameAt(1010)};
    longitude = -1;
    const FrameTable dup = VideoInfo::makeFrameTable(twice, 1000, 0, longitude, latitude);
    EXPECT_EQ(dup.at(10), twice[0]);
    EXPECT_EQ(dup.at(0), twice[0]);
}

TEST(VideoInfoTest, SmallConversions)
{
    auto a = frameAt(1);
    auto b = frameAt(2);
    auto c = frameAt(3);
    EXPECT_EQ(VideoInfo::convertDictionary(FrameTable{{72, c}, {0, a}, {36, b}}),
              (std::vector<VideoFramePtr>{a, b, c}));
    EXPECT_EQ(VideoInfo::getDetectType(17), DetectionType::Movie);
    EXPECT_EQ(VideoInfo::getDetectType(10), DetectionType::GSensor);
    EXPECT_EQ(VideoInfo::getDetectType(32), DetectionType::UrgencySW);
    EXPECT_EQ(VideoInfo::getDetectType(30), DetectionType::ExtTrigger);
    EXPECT_EQ(VideoInfo::getDetectType(12), DetectionType::None);
    EXPECT_EQ(VideoInfo::getDetectType(9), DetectionType::None);

    EXPECT_EQ(VideoInfo::getTargetType(QUrl::fromLocalFile("/card/EVT/Video.dat")), TargetType::Common);
    EXPECT_EQ(VideoInfo::getTargetType(QUrl::fromLocalFile("/card/m201901011230-0001.dat")),
              TargetType::Common);
    EXPECT_EQ(VideoInfo::getTargetType(QUrl::fromLocalFile("/card/G2019010112300001.DAT")),
              TargetType::Gyomu12);
    EXPECT_EQ(VideoInfo::getTargetType(QUrl::fromLocalFile("/card/movie.mp4")), TargetType::None);
}

TEST(VideoInfoTest, DispatchReportsItsTwoTexts)
{
    TempDir dir;
    FullTimeDataInfo info;
    QStringList errors;
    const auto none = VideoInfo::fromFile(
        QUrl("https://example.invalid/a.MP4"), VersionInfo::fallback(), errors, Date::distantPast(),
        Date::distantFuture(), PictureData::PictureDataType::All, info, PictureData::RecType::Yohin14Rec, {});
    EXPECT_FALSE(none);
    EXPECT_EQ(errors, QStringList{"画像データがありません。"});

    // An MP4 whose only block is not a frame: a recording with a time span of 0, reported and returned.
    QByteArray file = QByteArray::fromHex("00000010667479706973736f6d00000200");
    file.chop(1);
    QByteArray header(80, '\0');
    header[0] = 0x17;
    QByteArray block(128, '\0');
    block[44] = char(0xAA);
    QByteArray payload = QByteArray::fromHex("00000000"
                                             "00000002");
    const int dataAt = file.size() + 8 + 8 + 16;
    payload += QByteArray::fromHex(QByteArray::number(dataAt, 16).rightJustified(8, '0') + "00000050");
    payload += QByteArray::fromHex(QByteArray::number(dataAt + 80, 16).rightJustified(8, '0') + "00000080");
    payload += header + block;
    file += QByteArray::fromHex(QByteArray::number(8 + payload.size(), 16).rightJustified(8, '0')) + "udat" +
            payload;
    const QString path = dir.write("m2024050112300001.MP4", file);
    errors.clear();
    const auto empty = VideoInfo::fromFile(
        QUrl::fromLocalFile(path), VersionInfo::fallback(), errors, Date::distantPast(),
        Date::distantFuture(), PictureData::PictureDataType::All, info, PictureData::RecType::Yohin14Rec, {});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->_timeSpan, 0u);
    EXPECT_EQ(errors, QStringList{"正常な画像詳細情報ではありません。"});

    // A file without driving data gives nothing, with the same text.
    errors.clear();
    const QString plain = dir.write("plain.MP4", QByteArray::fromHex("00000008667265650000"));
    EXPECT_FALSE(VideoInfo::fromFile(QUrl::fromLocalFile(plain), VersionInfo::fallback(), errors,
                                     Date::distantPast(), Date::distantFuture(),
                                     PictureData::PictureDataType::All, info,
                                     PictureData::RecType::Yohin14Rec, {}));
    EXPECT_EQ(errors, QStringList{"正常な画像詳細情報ではありません。"});
}

TEST(VideoInfoTest, LookupsFromTwoThreadsAreSafe)
{
    // A recording without kept frames: every lookup of camera 0 stores a new placeholder table, while
    // another thread walks the tables as the distance computation does.
    auto info = std::make_shared<VideoInfo>();
    info->setCameraFrames(0, FrameTable{});
    info->setCameraFrames(1, FrameTable{});
    info->rebuildKeyLists();
    std::atomic<bool> stop{false};
    std::thread worker([&] {
        while (!stop) {
            // The snapshot is kept while it is walked.
            const FrameTablePtr table = info->getCameraFrames(0);
            for (const auto &entry : *table)
                entry.second->ex.distance += 0;
            info->getCameraFrames(1);
        }
    });
    for (int i = 0; i < 20000; ++i)
        ASSERT_TRUE(info->findFrame(i % 3, i, true));
    stop = true;
    worker.join();
}

#include "recording/VideoInfo.h"
#include "recording/FullTimeDataInfo.h"
#include "recording/VersionInfo.h"
#include "support/HostileFiles.h"
#include "support/TempDir.h"
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

VideoFrame frameAt(uint32_t timeStamp)
{
    VideoFrame f;
    f._timeStamp = timeStamp;
    return f;
}

// A recording whose camera 0 holds the given keys, with key lists fixed as a reader leaves them.
std::shared_ptr<VideoInfo> recordingWithKeys(const std::vector<int> &keys, bool index = true)
{
    auto info = std::make_shared<VideoInfo>();
    std::map<int, VideoFrame> table;
    for (int k : keys)
        table.emplace(k, frameAt(uint32_t(k)));
    info->setCameraFrames(0, table);
    if (index)
        info->rebuildKeyLists();
    return info;
}

std::vector<int> keysOf(const FrameTable &table)
{
    return {table.keys().begin(), table.keys().end()};
}

} // namespace

TEST(VideoInfoTest, FindFrameLookupsAndPlaceholdersForMissingAndEmptyTables)
{
    // (keys, key lists fixed, position, counter of the frame found)
    const std::tuple<std::vector<int>, bool, int64_t, uint32_t> cases[] = {
        {{0, 36, 72}, true, 50, 36}, {{0, 36, 72}, true, 36, 36}, {{0, 36, 72}, true, 500, 72},
        {{0, 36, 72}, true, -5, 0},  {{0, 36, 72}, true, 71, 36}, {{10, 20}, false, 15, 10},
        {{10, 20}, false, 16, 20},   {{10, 20}, false, 25, 20}, // unindexed: nearest, a tie to the lower
    };
    for (const auto &[keys, indexed, position, found] : cases) {
        auto info = recordingWithKeys(keys, indexed);
        EXPECT_EQ(info->findFrame(0, position, true)._timeStamp, found) << position;
        EXPECT_EQ(info->findFrame(0, position, false)._timeStamp, found) << position;
    }

    VideoInfo info;
    EXPECT_EQ(info.cameraNumbers(), (std::vector<int>{1}));
    info._playback.detectTime = Date::fromUnixSeconds(1000);
    info.setCameraFrames(2, {});
    EXPECT_EQ(keysOf(info.getCameraFrames(2)), (std::vector<int>{0}));
    EXPECT_EQ(info.getCameraFrames(2).at(0).time, Date::fromUnixSeconds(1000));
    EXPECT_TRUE(info.getCameraFrames(7).at(0).time.isDistantPast());
    EXPECT_EQ(info.getCameraFrames(7).cameraKeys(), info.getCameraFrames(7).cameraKeys()) << "stored";

    // An empty key list, and a camera with neither list nor table.
    auto empty = std::make_shared<VideoInfo>();
    empty->setCameraFrames(0, {});
    empty->rebuildKeyLists();
    EXPECT_TRUE(empty->findFrame(0, 10, true).time.isDistantPast());
    EXPECT_EQ(empty->getCameraFrames(0).size(), 1u);
    EXPECT_TRUE(empty->findFrame(3, 100, true).time.isDistantPast());
    EXPECT_EQ(empty->getCameraFrames(3).size(), 1u);
}

TEST(VideoInfoTest, LocateDetectionChoosesTheNearerKeyAndMarksIt)
{
    auto info = recordingWithKeys({0, 100, 200});
    info->_playback.detectionType = DetectionType::GSensor;
    info->_playback.detectPosition = 5150;
    EXPECT_EQ(info->locateDetection(5000, 9000), 200);
    EXPECT_TRUE(info->getCameraFrames(0).at(200).gDetected);
    EXPECT_FALSE(info->getCameraFrames(0).at(100).gDetected);
    // (detection counter, key located): 5100 exact, 5120 nearer the lower, 4000 outside 1 <= r < last.
    for (const auto &[counter, key] : {std::pair{5120, 100}, {5100, 100}, {4000, 0}}) {
        info->_playback.detectPosition = counter;
        EXPECT_EQ(info->locateDetection(5000, 9000), key) << counter;
    }
    // Past the last key: 0, nothing marked.
    auto late = recordingWithKeys({0, 100});
    late->_playback.detectPosition = 5500;
    EXPECT_EQ(late->locateDetection(5000, 9000), 0);
    EXPECT_FALSE(late->getCameraFrames(0).at(100).gDetected);

    info->_playback.detectionType = DetectionType::Movie;
    info->_playback.detectPosition = 5150;
    EXPECT_EQ(info->locateDetection(5000, 9000), 0);
}

// Movie positions and the fallback position of a frame without one are in the MP4 reader's tests.
TEST(VideoInfoTest, MakeFrameTableWithoutAFallbackPositionWithRepeatedKeysAndEqualTablesKeptOnce)
{
    int32_t longitude = -1;
    int32_t latitude = 0;
    FramePool none;
    const std::vector<uint32_t> one{none.add(frameAt(1000))};
    VideoInfo::makeFrameTable(none, one, 1000, 0, longitude, latitude);
    EXPECT_EQ(none.at(0)._longitude, 0);
    longitude = 0;
    latitude = 9;
    VideoInfo::makeFrameTable(none, one, 1000, 0, longitude, latitude);
    EXPECT_EQ(none.at(0)._longitude, 0);
    EXPECT_EQ(latitude, 0);

    // The first frame at a key stays, and the list's first frame is also at key 0.
    FramePool twice;
    const std::vector<uint32_t> both{twice.add(frameAt(1010)), twice.add(frameAt(1010))};
    longitude = -1;
    const CameraKeys dup = VideoInfo::makeFrameTable(twice, both, 1000, 0, longitude, latitude);
    EXPECT_EQ(dup.keys, (std::vector<int32_t>{0, 10}));
    EXPECT_EQ(dup.slot(0), 0u);
    EXPECT_EQ(dup.slot(1), 0u);

    VideoInfo info;
    auto pool = std::make_shared<FramePool>();
    const std::vector<std::pair<int, uint32_t>> pairs{{0, pool->add(frameAt(5))},
                                                      {36, pool->add(frameAt(41))}};
    CameraKeys table = CameraKeys::fromPairs(pairs);
    EXPECT_TRUE(table.indices.empty()) << "slot i is i";
    info.setFrames(pool, {{0, table}, {1, table}});
    EXPECT_EQ(info.getCameraFrames(0).cameraKeys(), info.getCameraFrames(1).cameraKeys());
    EXPECT_EQ(VideoInfo::convertDictionary(info.getCameraFrames(1)).back()._timeStamp, 41u);
}

TEST(VideoInfoTest, TargetTypeByFileNameAndTheTwoTextsOfTheDispatch)
{
    const std::pair<const char *, TargetType> names[] = {{"/card/EVT/Video.dat", TargetType::Common},
                                                         {"/card/m201901011230-0001.dat", TargetType::Common},
                                                         {"/card/G2019010112300001.DAT", TargetType::Gyomu12},
                                                         {"/card/movie.mp4", TargetType::None}};
    for (const auto &[name, type] : names)
        EXPECT_EQ(VideoInfo::getTargetType(QUrl::fromLocalFile(name)), type) << name;

    TempDir dir;
    FullTimeDataInfo info;
    QStringList errors;
    const auto read = [&](const QUrl &url) {
        errors.clear();
        return VideoInfo::fromFile(url, VersionInfo::fallback(), errors, Date::distantPast(),
                                   Date::distantFuture(), PictureData::PictureDataType::All, info,
                                   PictureData::RecType::Yohin14Rec, {});
    };
    EXPECT_FALSE(read(QUrl("https://example.invalid/a.MP4")));
    EXPECT_EQ(errors, QStringList{"画像データがありません。"});

    // A chapter of one frame: a recording with a time span of 0, reported and returned.
    const auto single =
        read(QUrl::fromLocalFile(dir.write("m2024050112300001.MP4", HostileFiles::chapter(1, 30, 1000))));
    ASSERT_TRUE(single);
    EXPECT_EQ(single->_timeSpan, 0u);
    EXPECT_EQ(errors, QStringList{"正常な画像詳細情報ではありません。"});

    // A file without driving data gives nothing, with the same text.
    EXPECT_FALSE(
        read(QUrl::fromLocalFile(dir.write("plain.MP4", QByteArray::fromHex("00000008667265650000")))));
    EXPECT_EQ(errors, QStringList{"正常な画像詳細情報ではありません。"});
}

TEST(VideoInfoTest, LookupsAndEditsFromTwoThreadsAreSafe)
{
    // A recording without kept frames: every lookup of camera 0 stores a new placeholder table, while
    // another thread edits and walks the tables as the distance computation does.
    auto info = recordingWithKeys({0, 36, 72});
    info->setCameraFrames(1, {});
    info->rebuildKeyLists();
    std::atomic<bool> stop{false};
    std::thread worker([&] {
        while (!stop) {
            info->editFrames(0, [](std::span<const int32_t>, std::vector<VideoFrame> &frames) {
                for (VideoFrame &frame : frames)
                    frame.ex.distance += 1;
            });
            for (const auto &[key, frame] : info->getCameraFrames(0))
                ASSERT_GE(frame.ex.distance, 0);
            info->getCameraFrames(1);
        }
    });
    for (int i = 0; i < 20000; ++i)
        (void)info->findFrame(i % 3, i, true);
    stop = true;
    worker.join();
}

#include "recording/PictureData.h"
#include "recording/FullTimeDataInfo.h"
#include "recording/VideoInfo.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// A unit over a file that does not exist, with a recording the test builds by hand.
struct Unit
{
    PictureData picture{QUrl::fromLocalFile("/nonexistent/m2024050112300001.MP4"),
                        PictureData::PictureDataType::All,
                        Date::distantPast(),
                        Date::distantFuture(),
                        std::make_shared<FullTimeDataInfo>(),
                        std::nullopt,
                        {}};

    // Camera-0 frames at keys = time stamps, with speed and position.
    std::vector<VideoFramePtr> frames(std::initializer_list<std::tuple<int, int, int32_t, int32_t>> rows,
                                      int64_t detectPosition, uint32_t timeSpan)
    {
        picture.video = std::make_shared<VideoInfo>();
        FrameTable table;
        std::vector<VideoFramePtr> list;
        for (const auto &[key, speed, lon, lat] : rows) {
            auto f = std::make_shared<VideoFrame>();
            f->_timeStamp = uint32_t(key);
            f->speed = speed;
            f->_longitude = lon;
            f->_latitude = lat;
            table[key] = f;
            list.push_back(f);
        }
        picture.video->setCameraFrames(0, table);
        picture.video->rebuildKeyLists();
        picture.video->_playback.detectPosition = detectPosition;
        picture.video->_timeSpan = timeSpan;
        return list;
    }
};

} // namespace

TEST(PictureDataTest, WithoutRecordTypeNothingIsRead)
{
    Unit u;
    EXPECT_FALSE(u.picture.video);
    EXPECT_TRUE(u.picture.errors.isEmpty());
    EXPECT_EQ(u.picture.movieFPS, "01");
    EXPECT_EQ(u.picture.d2us, "03");
    EXPECT_EQ(u.picture.dataPath()->toLocalFile(), "/nonexistent");
    EXPECT_FALSE(u.picture.GetFrameTimeSpan());
    EXPECT_FALSE(u.picture.startTime());
}

TEST(PictureDataTest, Mp4ChaptersIgnoreTheFoldersVersionFile)
{
    TempDir dir;
    dir.write("ver.txt", "103 1.0\n");
    const QString path = dir.write("m2024050112300001.MP4", QByteArray("not a movie"));
    PictureData mp4(QUrl::fromLocalFile(path), PictureData::PictureDataType::All, Date::distantPast(),
                    Date::distantFuture(), std::make_shared<FullTimeDataInfo>(),
                    PictureData::RecType::Yohin14Rec, {});
    EXPECT_EQ(mp4.ver()._target, TargetType::Gyomu12);
    EXPECT_EQ(mp4.ver()._versionString, "104");
    EXPECT_FALSE(mp4.video);
    EXPECT_EQ(mp4.errors, QStringList{"正常な画像詳細情報ではありません。"});

    PictureData other(QUrl::fromLocalFile(path), PictureData::PictureDataType::Thumbnail, Date::distantPast(),
                      Date::distantFuture(), std::make_shared<FullTimeDataInfo>(),
                      PictureData::RecType::MovieRec, {});
    EXPECT_EQ(other.ver()._target, TargetType::Common);
    EXPECT_EQ(other.d2us, "03");
}

TEST(PictureDataTest, DistanceIsMeasuredBackToTheEndOrTheDetection)
{
    Unit u;
    // 36 km/h is 10 m/s: 10 m per second of counter.
    auto f = u.frames({{0, 36, 0, 0}, {1000, 36, 0, 0}, {2000, 72, 0, 0}, {3000, 36, 0, 0}}, 0, 3000);
    u.picture.setDistance();
    EXPECT_DOUBLE_EQ(f[3]->ex.distance, 10.0); // its own last step
    EXPECT_DOUBLE_EQ(f[2]->ex.distance, 30.0);
    EXPECT_DOUBLE_EQ(f[1]->ex.distance, 40.0);
    EXPECT_DOUBLE_EQ(f[0]->ex.distance, 0.0); // the first key keeps what it had

    // A detection inside the recording is the reference; later frames keep their distance.
    auto g = u.frames({{0, 36, 0, 0}, {1000, 36, 0, 0}, {2000, 36, 0, 0}, {3000, 36, 0, 0}}, 1000, 3000);
    g[2]->ex.distance = 7;
    u.picture.setDistance();
    EXPECT_DOUBLE_EQ(g[1]->ex.distance, 10.0);
    EXPECT_DOUBLE_EQ(g[2]->ex.distance, 7.0);

    // Detection at or beyond the span: reference 0, only key 0 is touched.
    auto h = u.frames({{0, 36, 0, 0}, {1000, 36, 0, 0}}, 5000, 1000);
    h[0]->ex.distance = 3;
    h[1]->ex.distance = 3;
    u.picture.setDistance();
    EXPECT_DOUBLE_EQ(h[0]->ex.distance, 0.0);
    EXPECT_DOUBLE_EQ(h[1]->ex.distance, 3.0);

    // Equal time stamps add nothing.
    auto e = u.frames({{0, 36, 0, 0}, {1000, 36, 0, 0}}, 0, 1000);
    e[1]->_timeStamp = 0;
    u.picture.setDistance();
    EXPECT_DOUBLE_EQ(e[1]->ex.distance, 0.0);
}

TEST(PictureDataTest, DirectionBackFillsAndKeepsTheLastHeading)
{
    Unit u;
    auto f = u.frames({{0, 0, 100, 100}, {36, 0, 100, 100}, {72, 0, 100, 200}, {108, 0, 100, 200}}, 0, 108);
    u.picture.setDirection();
    EXPECT_EQ(f[0]->ex.direction, IconId::North);
    EXPECT_EQ(f[1]->ex.direction, IconId::North);
    EXPECT_EQ(f[2]->ex.direction, IconId::North);
    EXPECT_EQ(f[3]->ex.direction, IconId::North);
    // Enabled: a position differing from the two before (the first against (0, 0)).
    EXPECT_TRUE(f[0]->ex.isFrameEnable);
    EXPECT_FALSE(f[1]->ex.isFrameEnable);
    EXPECT_TRUE(f[2]->ex.isFrameEnable);
    EXPECT_FALSE(f[3]->ex.isFrameEnable);

    // A change of GPS flag enables a repeated position.
    auto g = u.frames({{0, 0, 0, 0}, {36, 0, 0, 0}}, 0, 36);
    g[1]->gps = false;
    u.picture.setDirection();
    EXPECT_FALSE(g[0]->ex.isFrameEnable);
    EXPECT_TRUE(g[1]->ex.isFrameEnable);
    EXPECT_EQ(g[1]->ex.direction, IconId::None);
}

TEST(PictureDataTest, DirectionSectors)
{
    const auto at = [](double degrees) {
        const double rad = degrees * 3.141592653589793 / 180.0;
        return PictureData::getDirection(int32_t(std::lround(std::cos(rad) * 1e6)),
                                         int32_t(std::lround(std::sin(rad) * 1e6)), 0, 0);
    };
    EXPECT_EQ(PictureData::getDirection(0, 5, 0, 0), IconId::North);
    EXPECT_EQ(PictureData::getDirection(-5, 0, 0, 0), IconId::West);
    EXPECT_EQ(PictureData::getDirection(0, -5, 0, 0), IconId::South);
    EXPECT_EQ(PictureData::getDirection(5, 0, 0, 0), IconId::East);
    EXPECT_EQ(PictureData::getDirection(7, 7, 7, 7), IconId::None);
    EXPECT_EQ(at(11.0), IconId::East);
    EXPECT_EQ(at(12.0), IconId::NorthEE);
    EXPECT_EQ(at(45.0), IconId::NorthEast);
    EXPECT_EQ(at(70.0), IconId::NNEast);
    EXPECT_EQ(at(110.0), IconId::NNWest);
    EXPECT_EQ(at(135.0), IconId::NorthWest);
    EXPECT_EQ(at(160.0), IconId::NorthWW);
    EXPECT_EQ(at(200.0), IconId::SouthWW);
    EXPECT_EQ(at(225.0), IconId::SouthWest);
    EXPECT_EQ(at(250.0), IconId::SSWest);
    EXPECT_EQ(at(290.0), IconId::SSEast);
    EXPECT_EQ(at(315.0), IconId::SouthEast);
    EXPECT_EQ(at(340.0), IconId::SouthEE);
    EXPECT_EQ(at(349.0), IconId::East);
    // Differences wrap as 32-bit values instead of overflowing.
    EXPECT_EQ(PictureData::getDirection(INT32_MIN, 0, INT32_MAX, 0), IconId::East);
}

#include "recording/PictureData.h"
#include "recording/RecordingRead.h"
#include "support/TempDir.h"

namespace {

// A unit over a file that does not exist, with a recording the test builds by hand.
struct Unit
{
    PictureData picture = pictureOf("/nonexistent/m2024050112300001.MP4", std::nullopt);

    // Camera-0 frames at keys = time stamps, with speed and position.
    static std::vector<VideoFrame> rows(std::initializer_list<std::tuple<int, int, int32_t, int32_t>> rows)
    {
        std::vector<VideoFrame> list;
        for (const auto &[key, speed, lon, lat] : rows) {
            VideoFrame f;
            f._timeStamp = uint32_t(key);
            f.speed = speed;
            f._longitude = lon;
            f._latitude = lat;
            list.push_back(f);
        }
        return list;
    }
    void store(const std::vector<VideoFrame> &list, int64_t detectPosition, uint32_t timeSpan)
    {
        picture.video = std::make_shared<VideoInfo>();
        std::map<int, VideoFrame> table;
        for (const VideoFrame &f : list)
            table.emplace(int(table.size()) * 1000, f);
        picture.video->setCameraFrames(0, table);
        picture.video->rebuildKeyLists();
        picture.video->_playback.detectPosition = detectPosition;
        picture.video->_timeSpan = timeSpan;
    }
    VideoFrame at(size_t i) const { return picture.video->getCameraFrames(0).frame(i); }
};

} // namespace

TEST(PictureDataTest, Mp4ChaptersIgnoreTheFoldersVersionFile)
{
    // Without a record type nothing is read.
    Unit u;
    EXPECT_FALSE(u.picture.video);
    EXPECT_TRUE(u.picture.errors.isEmpty());
    EXPECT_EQ(u.picture.dataPath()->toLocalFile(), "/nonexistent");

    TempDir dir;
    dir.write("ver.txt", "103 1.0\n");
    const QString path = dir.write("m2024050112300001.MP4", QByteArray("not a movie"));
    const PictureData mp4 = pictureOf(path);
    EXPECT_EQ(mp4.ver()._target, TargetType::Gyomu12);
    EXPECT_EQ(mp4.ver()._versionString, "104");
    EXPECT_FALSE(mp4.video);
    EXPECT_EQ(mp4.errors, QStringList{"正常な画像詳細情報ではありません。"});

    const PictureData other =
        pictureOf(path, PictureData::RecType::MovieRec, PictureData::PictureDataType::Thumbnail);
    EXPECT_EQ(other.ver()._target, TargetType::Common);
}

TEST(PictureDataTest, DistanceIsMeasuredBackToTheEndOrTheDetection)
{
    Unit u;
    // 36 km/h is 10 m/s: 10 m per second of counter; frames are filed 1000 ms apart.
    u.store(Unit::rows({{0, 36, 0, 0}, {1000, 36, 0, 0}, {2000, 72, 0, 0}, {3000, 36, 0, 0}}), 0, 3000);
    u.picture.setDistance();
    // Each frame adds its own last step; the first key keeps what it had.
    for (const auto &[i, metres] : {std::pair{3, 10.0}, {2, 30.0}, {1, 40.0}, {0, 0.0}})
        EXPECT_DOUBLE_EQ(u.at(size_t(i)).ex.distance, metres) << i;

    // A detection inside the recording is the reference; later frames keep their distance.
    auto g = Unit::rows({{0, 36, 0, 0}, {1000, 36, 0, 0}, {2000, 36, 0, 0}, {3000, 36, 0, 0}});
    g[2].ex.distance = 7;
    u.store(g, 1000, 3000);
    u.picture.setDistance();
    EXPECT_DOUBLE_EQ(u.at(1).ex.distance, 10.0);
    EXPECT_DOUBLE_EQ(u.at(2).ex.distance, 7.0);

    // Detection at or beyond the span: reference 0, only key 0 is touched.
    auto h = Unit::rows({{0, 36, 0, 0}, {1000, 36, 0, 0}});
    h[0].ex.distance = 3;
    h[1].ex.distance = 3;
    u.store(h, 5000, 1000);
    u.picture.setDistance();
    EXPECT_DOUBLE_EQ(u.at(0).ex.distance, 0.0);
    EXPECT_DOUBLE_EQ(u.at(1).ex.distance, 3.0);

    // Equal time stamps add nothing.
    u.store(Unit::rows({{0, 36, 0, 0}, {0, 36, 0, 0}}), 0, 1000);
    u.picture.setDistance();
    EXPECT_DOUBLE_EQ(u.at(1).ex.distance, 0.0);
}

TEST(PictureDataTest, DirectionBackFillsKeepsTheLastHeadingAndFollowsTheSectors)
{
    Unit u;
    u.store(Unit::rows({{0, 0, 100, 100}, {36, 0, 100, 100}, {72, 0, 100, 200}, {108, 0, 100, 200}}), 0, 108);
    u.picture.setDirection();
    // Enabled: a position differing from the two before (the first against (0, 0)).
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(u.at(i).ex.direction, IconId::North) << i;
        EXPECT_EQ(u.at(i).ex.isFrameEnable, i % 2 == 0) << i;
    }

    // A change of GPS flag enables a repeated position.
    auto g = Unit::rows({{0, 0, 0, 0}, {36, 0, 0, 0}});
    g[1].gps = false;
    u.store(g, 0, 36);
    u.picture.setDirection();
    EXPECT_FALSE(u.at(0).ex.isFrameEnable);
    EXPECT_TRUE(u.at(1).ex.isFrameEnable);
    EXPECT_EQ(u.at(1).ex.direction, IconId::None);

    const auto at = [](double degrees) {
        const double rad = degrees * 3.141592653589793 / 180.0;
        return PictureData::getDirection(int32_t(std::lround(std::cos(rad) * 1e6)),
                                         int32_t(std::lround(std::sin(rad) * 1e6)), 0, 0);
    };
    EXPECT_EQ(PictureData::getDirection(0, 5, 0, 0), IconId::North);
    EXPECT_EQ(PictureData::getDirection(7, 7, 7, 7), IconId::None);
    // Sector edges, anticlockwise from east.
    const std::pair<double, IconId> sectors[] = {
        {11.0, IconId::East},     {12.0, IconId::NorthEE},  {70.0, IconId::NNEast},
        {110.0, IconId::NNWest},  {160.0, IconId::NorthWW}, {200.0, IconId::SouthWW},
        {250.0, IconId::SSWest},  {290.0, IconId::SSEast},  {315.0, IconId::SouthEast},
        {340.0, IconId::SouthEE}, {349.0, IconId::East},
    };
    for (const auto &[degrees, icon] : sectors)
        EXPECT_EQ(at(degrees), icon) << degrees;
    // Differences wrap as 32-bit values instead of overflowing.
    EXPECT_EQ(PictureData::getDirection(INT32_MIN, 0, INT32_MAX, 0), IconId::East);
}

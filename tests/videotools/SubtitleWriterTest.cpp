#include "videotools/SubtitleWriter.h"

#include "recording/VideoInfo.h"

#include <gtest/gtest.h>

namespace {

const QString SPEED = QStringLiteral("\u3000speed\uFF1A");

VideoFrame frameWith(int32_t speed, double gX = 0, double gY = 0, int32_t lat = 0, int32_t lon = 0)
{
    VideoFrame frame;
    frame.speed = speed;
    frame.gX = gX;
    frame.gY = gY;
    frame._latitude = lat;
    frame._longitude = lon;
    frame.time = Date::fromUnixSeconds(1714566600); // 2024-05-01 12:30:00 UTC
    return frame;
}

TEST(SubtitleWriterTest, InfoTextItems)
{
    const OverlayFlags speed{false, true, false, false};
    const struct
    {
        OverlayFlags flags;
        bool speedMeter;
        VideoFrame frame;
        QString expected;
    } cases[] = {
        {{}, true, frameWith(100), ""},
        {speed, false, frameWith(100), SPEED + "62[MPH]"},
        {speed, true, frameWith(100), SPEED + "100[KM/H]"},
        {{false, false, true, false}, true, frameWith(0, 0.3, 0.4), "\u3000acceleration\uFF1A0.500[G]"},
        // clang-format off
        {{false, false, false, true}, true, frameWith(0, 0, 0, int32_t(35.55 * 36000), -1800000),
         "\u3000latitude\uFF1A35.550000\u3000longitude\uFF1A-50.000000"},
        // Canada/Pacific, 24-hour year first, standard time all year.
        {{true, true, false, false}, true, frameWith(7),
         " time/date\uFF1A2024.05.01 04:30:00" + SPEED + "7[KM/H]"},
        // clang-format on
    };
    for (const auto &c : cases) {
        const SubtitleWriter writer({DateFormatType::YMD24H, 5, false, c.speedMeter});
        EXPECT_EQ(writer.makeInfoText(c.frame, c.flags), c.expected);
    }
}

TEST(SubtitleWriterTest, DocumentHeaderAndOneEventPerLaterMovieTime)
{
    VideoInfo recording;
    std::map<int, VideoFrame> camera0, camera1;
    const std::pair<int, uint32_t> frames[] = {{0, 0}, {100, 100}, {150, 100}, {200, 200}};
    for (const auto &[key, movieTime] : frames) {
        camera0[key] = frameWith(key);
        camera1[key] = frameWith(key);
        camera1[key]._movieTimeStamp = movieTime;
    }
    recording.setCameraFrames(0, camera0);
    recording.setCameraFrames(1, camera1);
    recording.rebuildKeyLists();
    const SubtitleWriter writer({DateFormatType::YMD24H, 5, false, true});
    const QStringList lines =
        writer.assDocument(&recording, 1920, 1080, {false, true, false, false}).split('\n');
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines[4], "PlayResX: 1920");
    EXPECT_EQ(lines[11],
              "Style: Default,Helvetica,24,&H00f8ffff,&H0000ffff,&H00000000,&H00000000,-1,0,0,0,100,100,"
              "0,0.00,1,2,0,1,0,0,0,128");
    EXPECT_EQ(lines[15],
              "Dialogue: 0,00:00:00.00,00:00:00.10,Default,,0000,0000,0000,," + SPEED + "100[KM/H]");
    EXPECT_EQ(lines[16],
              "Dialogue: 0,00:00:00.10,00:00:00.20,Default,,0000,0000,0000,," + SPEED + "200[KM/H]");
    EXPECT_EQ(SubtitleWriter::assTimeText(36000000 + 9), "10:00:00.00"); // cut to hundredths
    for (const auto &[width, fontSize] : {std::pair{640, "9"}, std::pair{641, "24"}}) {
        const QStringList header = writer.assDocument(nullptr, width, 360, {true}).split('\n');
        EXPECT_EQ(header.size(), 15);
        EXPECT_EQ(header[11].section(',', 2, 2), fontSize);
    }
}

} // namespace

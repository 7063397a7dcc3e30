// What a chapter keeps of its driving data for walks over a whole trip.
#include "card/ChapterOutline.h"
#include "recording/VideoInfo.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {
using Point = ChapterOutline::Point;

struct Sample
{
    Point at;
    bool enabled = true;
    int32_t speed = 0;
};

// A recording whose camera 0 has one frame every 100 ms.
std::unique_ptr<VideoInfo> recordingOf(const std::vector<Sample> &samples)
{
    auto made = std::make_unique<VideoInfo>();
    VideoInfo &recording = *made;
    std::map<int, VideoFrame> table;
    for (size_t i = 0; i < samples.size(); ++i) {
        VideoFrame frame;
        frame._latitude = samples[i].at.latitude;
        frame._longitude = samples[i].at.longitude;
        frame.ex.isFrameEnable = samples[i].enabled;
        frame.speed = samples[i].speed;
        table.emplace(int(i) * 100, frame);
    }
    recording.setCameraFrames(0, table);
    recording.rebuildKeyLists();
    recording._timeSpan = uint32_t(samples.empty() ? 0 : (samples.size() - 1) * 100);
    return made;
}

// The map's rule for the points of a route: a point equal to one of the last two kept is dropped.
void addAsTheMapDoes(std::vector<Point> &route, Point point)
{
    const size_t n = route.size();
    for (size_t back = 1; back <= 2 && back <= n; ++back) {
        if (route[n - back] == point)
            return;
    }
    route.push_back(point);
}
} // namespace

TEST(ChapterOutlineTest, RouteLeavesOutUnusableFramesAndRepeatsOfThePointBefore)
{
    const Point a{100, 200}, b{101, 200}, none{0, 0};
    struct Case
    {
        const char *name;
        std::vector<Sample> samples;
        std::vector<Point> route;
    } const cases[] = {
        {"standing still", {{a}, {a}, {a}, {b}, {b}}, {a, b}},
        {"back and forth is the map's to drop", {{a}, {b}, {a}, {b}}, {a, b, a, b}},
        {"no fix and disabled frames", {{a}, {none}, {b, false}, {a}, {b}}, {a, b}},
        {"a repeat across a frame without a fix", {{a}, {none}, {a}}, {a}},
        {"one coordinate zero is a position", {{{0, 5}}, {{5, 0}}}, {{0, 5}, {5, 0}}},
        {"nothing usable", {{none}, {a, false}}, {}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ChapterOutline::of(*recordingOf(c.samples)).route, c.route) << c.name;
    }
}

TEST(ChapterOutlineTest, KeepsTheEndsTheDistanceAndTheTrimmedClipFlag)
{
    const Point a{100, 200}, b{300, 400}, none{0, 0};
    const auto made = recordingOf({{a, true, 10}, {b, true, 20}, {none, true, 30}});
    VideoInfo &recording = *made;
    recording.firstTime = Date::fromUnixSeconds(1714566896);
    recording._isCutVideo = true;
    const ChapterOutline outline = ChapterOutline::of(recording);
    EXPECT_EQ(outline.first, a);
    // The last frame, found by the same search the player makes at the end.
    const VideoFrame last = recording.findFrame(0, recording._timeSpan, true);
    EXPECT_EQ(outline.last, (Point{last._latitude, last._longitude}));
    EXPECT_EQ(outline.firstTime, recording.firstTime);
    // Each frame's speed over the time since the frame before it: 10*0 + 20*100 + 30*100.
    EXPECT_EQ(outline.distance, 5000.0f);
    EXPECT_TRUE(outline.isCutVideo);
    EXPECT_GE(outline.bytes(), sizeof(ChapterOutline) + 2 * sizeof(Point));
}

// The map draws a trip's route chapter by chapter. Taken from the outlines, every route of a few points
// jittering across chapter borders comes out as taken from every frame.
TEST(ChapterOutlineTest, TheMapsRouteFromOutlinesIsTheRouteFromEveryFrame)
{
    std::mt19937 random(77);
    const Point points[] = {{1, 1}, {2, 1}, {3, 1}, {0, 0}};
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::vector<Sample>> chapters(1 + random() % 4);
        for (auto &chapter : chapters) {
            chapter.resize(random() % 7);
            for (Sample &sample : chapter)
                sample = {points[random() % std::size(points)], random() % 5 != 0};
        }
        std::vector<Point> fromFrames, fromOutlines;
        for (const auto &chapter : chapters) {
            for (const Sample &sample : chapter) {
                if (sample.enabled && sample.at != Point{0, 0})
                    addAsTheMapDoes(fromFrames, sample.at);
            }
            for (const Point &point : ChapterOutline::of(*recordingOf(chapter)).route)
                addAsTheMapDoes(fromOutlines, point);
        }
        ASSERT_EQ(fromOutlines, fromFrames) << "round " << round;
    }
}

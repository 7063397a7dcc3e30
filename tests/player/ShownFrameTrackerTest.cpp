// Which picture is on screen while playing, counted from the pictures handed over, and which picture waits
// for the main thread when a redraw follows a new one.
#include "player/ShownFrameTracker.h"
#include "player/SoftwareRenderThread.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

namespace {

constexpr double FPS = 30.0;

// One picture handed over: its display time (ms after the first, none when the core gave none), the
// latest time the core reported (in pictures), and the picture the tracker must name.
struct Handed
{
    std::optional<double> displayMs;
    double latestPicture;
    double expected;
};

struct Case
{
    const char *name;
    double rate;
    std::vector<Handed> pictures;
};

int64_t displayUs(double ms)
{
    return 1'000'000'000 + int64_t(std::llround(ms * 1000.0));
}

} // namespace

TEST(ShownFrameTrackerTest, NamesThePictureOnScreenFromRest)
{
    constexpr double I = 1000.0 / FPS;
    const Case cases[] = {
        // The core reports a picture as it queues it, one or two ahead of the screen.
        {"one after another", 1.0, {{0, 48, 48}, {I, 50, 49}, {2 * I, 51, 50}, {3 * I, 52, 51}}},
        {"a picture the core dropped", 1.0, {{0, 49, 48}, {2 * I, 51, 50}, {3 * I, 52, 51}}},
        {"at x2", 2.0, {{0, 49, 48}, {I / 2, 50, 49}, {I, 51, 50}, {2 * I, 53, 52}}},
        // The core's thread had no time to report picture 50 before it showed: the screen is named no
        // further than the report, and the count is not lost once the report comes.
        {"a late report", 1.0, {{0, 49, 48}, {I, 49, 49}, {2 * I, 49, 49}, {3 * I, 52, 51}, {4 * I, 53, 52}}},
        // A count a picture ahead of what the core ever reported is set back.
        {"a count too far",
         1.0,
         {{0, 47, 47}, {I, 48, 48}, {3 * I, 49, 49}, {4 * I, 50, 50}, {5 * I, 52, 51}}},
        // A new picture without a display time is one picture on.
        {"no display time", 1.0, {{0, 49, 48}, {std::nullopt, 50, 49}, {2 * I, 51, 50}, {3 * I, 52, 51}}},
        // Pictures the count never saw (a machine so busy the main thread missed them all) come from the
        // report once it is further ahead than the core queues.
        {"far behind the report", 1.0, {{0, 49, 48}, {I, 55, 54}, {2 * I, 56, 55}}},
    };
    for (const Case &c : cases) {
        ShownFrameTracker tracker;
        tracker.setFrameInterval(1.0 / FPS);
        tracker.rest(47.0 / FPS);
        for (size_t i = 0; i < c.pictures.size(); ++i) {
            const Handed &picture = c.pictures[i];
            const auto at = picture.displayMs ? std::optional(displayUs(*picture.displayMs)) : std::nullopt;
            const double time = tracker.handedOver(at, c.rate, picture.latestPicture / FPS);
            EXPECT_EQ(std::lround(time * FPS), std::lround(picture.expected)) << c.name << ", picture " << i;
            EXPECT_EQ(tracker.time(), time) << c.name;
        }
    }
}

// One picture handed over by a renderer that may number its pictures: when the core's report was read (ms
// after the picture's display time), the pictures gone by it, the rate and, in pictures, the report and the
// picture the tracker must name.
struct Tallied
{
    std::optional<double> displayMs;
    double readLateMs;
    std::optional<ShownFrameTracker::Tally> tally;
    double rate;
    double latestPicture;
    double expected;
};

TEST(ShownFrameTrackerTest, CountsThePicturesDrawnAndDroppedAndTrustsNoReportBeyondItsLead)
{
    using Tally = ShownFrameTracker::Tally;
    constexpr double I = 1000.0 / FPS;
    const auto none = std::nullopt;
    const struct
    {
        const char *name;
        std::optional<Tally> atRest;
        std::vector<Tallied> pictures;
    } cases[] = {
        // A busy main thread took the first picture after the rest only once the renderer had drawn the next
        // one over it: the display time has nothing before it to count from, the tally does.
        {"one drawn over before the first after a rest",
         Tally{10, 0},
         {{0, 40, Tally{12, 0}, 1.0, 50, 49},
          {I, 5, Tally{13, 0}, 1.0, 51, 50},
          {2 * I, 5, Tally{14, 0}, 1.0, 52, 51}}},
        {"three drawn over before the first after a rest",
         Tally{10, 0},
         {{0, 100, Tally{14, 0}, 1.0, 53, 51}, {I, 5, Tally{15, 0}, 1.0, 53, 52}}},
        {"drawn over between two without display times",
         Tally{10, 0},
         {{none, 2, Tally{11, 0}, 1.0, 49, 48}, {none, 2, Tally{13, 0}, 1.0, 51, 50}}},
        // The player nudged the rate up while the pictures on their way were spaced at the rate before: four
        // pictures' time at the new rate reads as five.
        {"a nudged rate",
         Tally{10, 0},
         {{0, 2, Tally{11, 0}, 1.0, 49, 48}, {132.68, 28, Tally{15, 0}, 1.17, 53, 52}}},
        {"pictures the core dropped",
         Tally{10, 0},
         {{0, 2, Tally{11, 0}, 1.0, 49, 48},
          {3 * I, 2, Tally{12, 2}, 1.0, 52, 51},
          {4 * I, 2, Tally{13, 2}, 1.0, 53, 52}}},
        // The core reported the drop only after the picture behind it was taken: it counts from then on.
        {"a drop reported late",
         Tally{10, 0},
         {{0, 2, Tally{11, 0}, 1.0, 49, 48},
          {2 * I, 2, Tally{12, 0}, 1.0, 51, 49},
          {3 * I, 2, Tally{13, 1}, 1.0, 52, 51}}},
        // A seek sets the core's count of dropped pictures back to 0, which the rest may not have seen yet.
        {"a dropped count set back",
         Tally{10, 5},
         {{0, 2, Tally{11, 0}, 1.0, 49, 48}, {2 * I, 2, Tally{12, 1}, 1.0, 51, 50}}},
        {"a rest without a tally",
         none,
         {{0, 2, Tally{30, 0}, 1.0, 49, 48}, {I, 2, Tally{31, 0}, 1.0, 50, 49}}},
        // The picture was taken 90 ms after its display time: the core queued the pictures due by then and
        // those 50 ms further on, and its report is that far ahead of a count that is right.
        {"taken late while the core ran ahead",
         Tally{10, 0},
         {{0, 2, Tally{11, 0}, 1.0, 49, 48},
          {I, 90, Tally{12, 0}, 1.0, 53, 49},
          {2 * I, 5, Tally{13, 0}, 1.0, 51, 50}}},
        // Further ahead than that the count has lost pictures: it takes the earliest the report allows.
        {"lost pictures, the report ahead even of a late picture",
         none,
         {{0, 2, none, 1.0, 49, 48}, {I, 90, none, 1.0, 60, 56}}},
        // The pictures queued before x2 went back to x1 are half an interval apart.
        {"queued at the rate before", none, {{0, 2, none, 2.0, 49, 48}, {I / 2, 30, none, 1.0, 52, 49}}},
    };
    for (const auto &c : cases) {
        ShownFrameTracker tracker;
        tracker.setFrameInterval(1.0 / FPS);
        tracker.rest(47.0 / FPS, c.atRest);
        for (size_t i = 0; i < c.pictures.size(); ++i) {
            const Tallied &picture = c.pictures[i];
            const auto at = picture.displayMs ? std::optional(displayUs(*picture.displayMs)) : std::nullopt;
            const auto read = displayUs(picture.displayMs.value_or(0.0) + picture.readLateMs);
            const double time =
                tracker.handedOver(at, picture.rate, picture.latestPicture / FPS, read, picture.tally);
            EXPECT_EQ(std::lround(time * FPS), std::lround(picture.expected)) << c.name << ", picture " << i;
        }
    }
}

TEST(ShownFrameTrackerTest, ARestStartsTheCountAgain)
{
    ShownFrameTracker tracker;
    tracker.setFrameInterval(1.0 / FPS);
    tracker.rest(10.0 / FPS);
    tracker.handedOver(displayUs(0), 1.0, 12.0 / FPS);
    tracker.rest(100.0 / FPS);
    // The display time before the rest says nothing of how far the next picture is.
    EXPECT_EQ(std::lround(tracker.handedOver(displayUs(5000), 1.0, 102.0 / FPS) * FPS), 101);
}

TEST(SoftwareRenderThreadTest, ARedrawOverAnUntakenNewPictureIsStillThatNewPicture)
{
    // The picture due counts the redraws asked for before it was drawn, whatever it stands in for: the
    // item's end waits for its redraw. Its number counts the new picture it replaced.
    using Picture = SoftwareRenderThread::Picture;
    const struct
    {
        const char *name;
        std::optional<Picture> untaken;
        Picture next;
        bool newFrame;
        int64_t targetUs;
        uint64_t drawnNumber;
    } cases[] = {
        {"nothing waiting", std::nullopt, {{}, 0, false, 1, 6}, false, 0, 6},
        {"a redraw over a new picture", Picture{{}, 500, true, 0, 6}, {{}, 0, false, 1, 6}, true, 500, 6},
        {"a new picture over a new picture",
         Picture{{}, 500, true, 0, 6},
         {{}, 533, true, 1, 7},
         true,
         533,
         7},
        {"a new picture over a redraw", Picture{{}, 0, false, 0, 6}, {{}, 533, true, 1, 7}, true, 533, 7},
        {"a redraw over a redraw", Picture{{}, 0, false, 0, 6}, {{}, 0, false, 1, 6}, false, 0, 6},
    };
    for (const auto &c : cases) {
        const Picture due = SoftwareRenderThread::supersede(c.untaken, c.next);
        EXPECT_EQ(due.newFrame, c.newFrame) << c.name;
        EXPECT_EQ(due.targetUs, c.targetUs) << c.name;
        EXPECT_EQ(due.redraws, 1u) << c.name;
        EXPECT_EQ(due.drawnNumber, c.drawnNumber) << c.name;
    }
}

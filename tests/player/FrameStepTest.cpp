// The frame-step buttons' steps on the real engine, over a generated trip whose pictures carry their
// frame numbers: what the engine shows after each press.
#include "player/MoviePlayerView.h"

#include "player/FrameSteps.h"
#include "player/MpvEngine.h"
#include "player/PlayMovieValueInfo.h"

#include "TripFixture.h"
#include "support/EventLoop.h"
#include "support/FrameStamp.h"

#include <gtest/gtest.h>

#include <cmath>

using PlayStatus = CommonConst::PlayStatus;

namespace {

constexpr int WIDTH = 320;
constexpr double FPS = 30.0;
constexpr int PICTURES = 31; // in each chapter of the first test

// Chapter index and frame number of the picture on screen, and the frame the engine's time gives.
struct Shown
{
    int64_t chapter = -1;
    int stamp = -1;
    long fromTime = -1;
    bool operator==(const Shown &) const = default;
};

Shown shownBy(MoviePlayerView &panel, const ChapterList &chapters)
{
    Shown shown;
    auto *engine = dynamic_cast<MpvEngine *>(panel.engine());
    const auto at = std::find(chapters.begin(), chapters.end(), panel.currentChapterData());
    if (!engine || at == chapters.end())
        return shown;
    shown.chapter = at - chapters.begin();
    shown.stamp = frameStampIn(engine->softwareFrame(), WIDTH).value_or(-1);
    shown.fromTime = std::lround(engine->currentTime() * FPS);
    return shown;
}

} // namespace

TEST(FrameStepTest, EachPressShowsTheNeighbouringPictureOnBothSidesOfAChapterBorder)
{
    // Two chapters of 31 pictures (0 to 1000 ms) with 28 records of driving data a second, as the
    // camera and samplecard write them: steps by the records alone would skip two pictures a second.
    const TripFixture trip({1030, 1030}, WIDTH, 180, 28.0, 0, true, FPS);
    ASSERT_TRUE(trip.ok()) << qPrintable(trip.error);
    MoviePlayerView panel([] { return std::make_unique<MpvEngine>(MpvEngine::RenderMode::Software); });
    panel.resize(480, 320);
    panel.setValueInfo(std::make_shared<PlayMovieValueInfo>(trip.chapters, CardData::ActiveType::MovieRec));
    panel.preparePlayer();
    const Shown first{0, 0, 0};
    ASSERT_TRUE(EventLoop::waitUntil([&] { return shownBy(panel, trip.chapters) == first; }));
    ASSERT_EQ(panel.currentStatus(), PlayStatus::Stop);

    // 44 presses forward run from the first chapter's start into the second; as many back return.
    const struct
    {
        const char *button;
        int direction;
        void (MoviePlayerView::*press)();
    } ways[] = {{"forward", 1, &MoviePlayerView::frameForward}, {"back", -1, &MoviePlayerView::frameBack}};
    int frame = 0; // counted over both chapters
    for (const auto &way : ways) {
        for (int press = 0; press < 44; ++press) {
            frame += way.direction;
            const Shown expected{frame / PICTURES, frame % PICTURES, frame % PICTURES};
            (panel.*way.press)();
            EventLoop::waitUntil([&] { return shownBy(panel, trip.chapters) == expected; },
                                 std::chrono::seconds(3));
            const Shown shown = shownBy(panel, trip.chapters);
            ASSERT_EQ(shown, expected) << way.button << " press " << press + 1 << " shows chapter "
                                       << shown.chapter << " frame " << shown.stamp << " (engine time: frame "
                                       << shown.fromTime << "), not frame " << expected.stamp;
        }
    }
    EXPECT_EQ(panel.valueInfo()->currentValue(), 0);
    EXPECT_EQ(panel.currentStatus(), PlayStatus::Stop) << "back at the first picture stops at the start";
}

TEST(FrameStepTest, StepsGoToThePicturesStartAndEndAtTheItemsFirstAndLastPictures)
{
    // 28 records a second to 30 pictures; picture n starts at n x 33.3 ms.
    const TripFixture trip({1000, 1000}, 64, 48, 28.0, 0, false, FPS);
    ASSERT_TRUE(trip.ok()) << qPrintable(trip.error);
    const ChapterTimeline timeline(trip.chapters);
    const int64_t second = timeline.start(1), end = timeline.totalLength();
    const struct
    {
        int64_t position;
        int direction;
        int64_t expected;
    } rows[] = {
        {0, 1, 33},
        {40, 1, 67},
        {40, -1, 0},
        {0, -1, 0},
        {second - 1, 1, second},
        {second, -1, second - 1},
        {second + 33, -1, second},
        {end, 1, end},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(FrameSteps::neighbour(timeline, row.position, row.direction, FPS), row.expected)
            << row.position << " " << row.direction;
    }
    EXPECT_EQ(FrameSteps::neighbour(timeline, 40, 1, 0.0), std::nullopt) << "no frame rate";
    EXPECT_EQ(FrameSteps::neighbour(ChapterTimeline(), 0, 1, FPS), std::nullopt);
}

// The panel on the real engine (software render): a generated two-chapter trip plays across the
// border and seeks exactly.
#include "player/MoviePlayerView.h"

#include "player/CustomSliderCell.h"

#include "player/MpvEngine.h"
#include "player/PlayMovieValueInfo.h"

#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"

#include "TestClips.h"
#include "TripFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>

using PlayStatus = CommonConst::PlayStatus;
using testclips::waitUntil;

namespace {

struct Shown
{
    double movieMs;
    int64_t position;
    std::shared_ptr<ChapterData> chapter;
};

class PlaybackTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        trip = std::make_unique<TripFixture>(std::vector<int>{2000, 2000}, 320, 180, 28.0, 28);
    }
    static void TearDownTestSuite() { trip.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(trip->ok()) << qPrintable(trip->error);
        panel = std::make_unique<MoviePlayerView>(
            [] { return std::make_unique<MpvEngine>(MpvEngine::RenderMode::Software); });
        panel->resize(480, 320);
        panel->setValueInfo(
            std::make_shared<PlayMovieValueInfo>(trip->chapters, CardData::ActiveType::MovieRec));
    }

    void watchFrames()
    {
        QObject::connect(panel.get(), &MoviePlayerView::frameShown, [this](double t) {
            // The clock's position now: the last tick's value carried forward, since a loaded
            // machine delays ticks more than frames.
            CustomSliderCell *cell = panel->trackCell();
            const int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                    std::chrono::steady_clock::now().time_since_epoch())
                                    .count();
            double position = cell->doubleValue();
            if (cell->clock()->isRunning() && cell->clock()->lastTickNs())
                position += cell->clock()->rate() * double(now - *cell->clock()->lastTickNs()) / 1e6;
            position = std::min(position, cell->maxValue());
            shown.push_back({t * 1000.0, int64_t(position), panel->currentChapterData()});
        });
    }

    int64_t start(int64_t index) const { return PictureDataUtil::getPosition(trip->chapters, index, 0); }

    static std::unique_ptr<TripFixture> trip;
    std::unique_ptr<MoviePlayerView> panel;
    std::vector<Shown> shown;
};

std::unique_ptr<TripFixture> PlaybackTest::trip;

} // namespace

TEST_F(PlaybackTest, PlaysAGeneratedTripAcrossTheChapterBorder)
{
    panel->setAutoPlay(true);
    panel->preparePlayer();
    watchFrames();
    ASSERT_TRUE(waitUntil([&] { return panel->currentStatus() == PlayStatus::Play; }));
    const int64_t border = start(1);
    ASSERT_TRUE(waitUntil([&] { return panel->valueInfo()->currentValue() > border + 1300; }, 8000));
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Play);
    EXPECT_EQ(panel->currentChapterData(), trip->chapters[1]);
    EXPECT_GT(panel->engine()->currentTime(), 0.3);
    // Once the second file is open and playing, its frames follow the clock's position. A loaded
    // machine may drop or delay a few, so the typical frame is checked, not every one.
    std::vector<double> drifts;
    for (const Shown &s : shown) {
        if (s.chapter != trip->chapters[1] || s.position < border + 800)
            continue;
        const auto expected = PictureDataUtil::getMovieTimeStamp(trip->chapters, int32_t(s.position));
        ASSERT_TRUE(expected.has_value());
        drifts.push_back(std::abs(s.movieMs - double(*expected)));
    }
    const int secondFileFrames = int(drifts.size());
    ASSERT_GT(secondFileFrames, 5);
    std::sort(drifts.begin(), drifts.end());
    // Unloaded, the drift is within a frame (PlaybackSyncBench measures it); a starved CPU, such as
    // a small CI machine running suites side by side, delays ticks, seeks and decoding by several
    // frames. The bound still catches a video that runs free of the clock or from the wrong offset.
    EXPECT_LT(drifts[drifts.size() / 2], 1000.0);
    EXPECT_GT(secondFileFrames, 5);
}

TEST_F(PlaybackTest, SeeksExactlyToTheFrameAtThePosition)
{
    panel->preparePlayer();
    watchFrames();
    ASSERT_TRUE(waitUntil([&] { return panel->currentStatus() == PlayStatus::Stop; }));
    for (int64_t position : {int64_t(1234), start(1) + 1500, int64_t(400)}) {
        shown.clear();
        panel->moveToPosition(position, PlayStatus::Pause);
        EXPECT_EQ(panel->currentStatus(), PlayStatus::Pause);
        const auto expected = PictureDataUtil::getMovieTimeStamp(trip->chapters, int32_t(position));
        ASSERT_TRUE(expected.has_value());
        ASSERT_TRUE(waitUntil([&] {
            return !shown.empty() && std::abs(shown.back().movieMs - double(*expected)) < 1000.0 / 28.0;
        })) << "position "
            << position << " expected " << *expected << " shown "
            << (shown.empty() ? -1.0 : shown.back().movieMs);
    }
}

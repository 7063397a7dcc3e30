#include "graph/SpeedMeterModel.h"
#include "FakeDrivingData.h"

#include <gtest/gtest.h>

namespace {
using M = SpeedMeterModel;
constexpr int N = M::GLYPH_NONE;
constexpr int H = M::GLYPH_HYPHEN;

double degrees(double radians)
{
    return radians * 180.0 / M::PI;
}

struct MeterFixture : ::testing::Test
{
    MeterFixture() { meter.isSpeedType = SpeedMeterType::KMH; }
    int64_t now = 1000;
    M meter{[this] { return now; }};
    std::array<int, 3> digits() const { return meter.digitsAt(now); }
};
} // namespace

TEST(SpeedMeterModelStatic, UnitConversionAndCaps)
{
    const struct
    {
        int kmh;
        SpeedMeterType type;
        int shown;
    } cases[] = {
        {100, SpeedMeterType::MPH, 62},  {178, SpeedMeterType::MPH, 110}, {179, SpeedMeterType::MPH, 110},
        {150, SpeedMeterType::MPH, 93},  {180, SpeedMeterType::MPH, 110}, {200, SpeedMeterType::KMH, 180},
        {180, SpeedMeterType::KMH, 180}, {181, SpeedMeterType::KMH, 180}, {-7, SpeedMeterType::KMH, 0},
        {-7, SpeedMeterType::MPH, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(M::convertSpeed(c.kmh, c.type), c.shown) << c.kmh;
}

TEST(SpeedMeterModelStatic, DigitSequencesLeaveLeadingPlacesBlank)
{
    const struct
    {
        double from, to;
        M::Glyphs hundreds, tens, ones;
    } cases[] = {
        {0, 0, {N}, {N}, {0}},
        {5, 5, {N}, {N}, {5}},
        {42.9, 42.2, {N}, {4}, {2}},
        {100, 100, {1}, {0}, {0}},
        {180, 180, {1}, {8}, {0}},
        {38, 41, {N, N, N, N}, {3, 3, 4, 4}, {8, 9, 0, 1}},
        {41, 38, {N, N, N, N}, {4, 4, 3, 3}, {1, 0, 9, 8}},
        {99, 100, {N, 1}, {9, 0}, {9, 0}},
    };
    for (const auto &c : cases) {
        const auto lists = M::digits(c.from, c.to);
        EXPECT_EQ(lists.hundreds, c.hundreds) << c.from << "->" << c.to;
        EXPECT_EQ(lists.tens, c.tens) << c.from << "->" << c.to;
        EXPECT_EQ(lists.ones, c.ones) << c.from << "->" << c.to;
    }
}

TEST_F(MeterFixture, ResetShowsTheNoFixLookAtZero)
{
    meter.updateSpeed(makeSample(0, 90), false, {});
    meter.resetMeter();
    EXPECT_FALSE(meter.isGpsOn());
    EXPECT_FALSE(meter.timerRunning());
    EXPECT_EQ(meter.dispSpeed(), 0.0);
    EXPECT_EQ(meter.realSpeed(), 0.0);
    EXPECT_EQ(digits(), (std::array<int, 3>{N, N, H}));
    now += 300;
    EXPECT_NEAR(degrees(meter.needleAngleAt(now)), 108.0, 1e-9);
}

TEST_F(MeterFixture, ChangeWhilePlayingCountsThroughEverySpeedInTheTableTime)
{
    meter.updateSpeed(makeSample(0, 38), false, {});
    now += 1000;
    const SpeedDurationTable table{{400, 0.4}, {800, 2.5}};
    meter.updateSpeed(makeSample(100, 38), true, table);
    meter.updateSpeed(makeSample(400, 41), true, table);
    // The change is complete at once; the number and the needle move over the table's 0.4 s.
    EXPECT_EQ(meter.dispSpeed(), 41.0);
    EXPECT_FALSE(meter.timerRunning());
    const int64_t start = now;
    const struct
    {
        int64_t at;
        int ones;
    } steps[] = {{50, 8}, {150, 9}, {250, 0}, {350, 1}, {5000, 1}};
    for (const auto &s : steps) {
        now = start + s.at;
        EXPECT_EQ(digits()[2], s.ones) << s.at;
    }
    now = start + 200;
    EXPECT_NEAR(degrees(meter.needleAngleAt(now)), 108.0 - 1.2 * 39.5, 1e-6);

    // An entry of 2.5 s is cut to 1.0 s.
    meter.updateSpeed(makeSample(800, 45), true, table);
    now += 500;
    EXPECT_NEAR(degrees(meter.needleAngleAt(now)), 108.0 - 1.2 * 43.0, 1e-6);
    now += 501;
    EXPECT_EQ(digits(), (std::array<int, 3>{N, 4, 5}));
}

TEST_F(MeterFixture, ChangeWhilePausedShowsTheTargetAtOnceAndTurnsInDefaultTimeInEitherUnit)
{
    meter.updateSpeed(makeSample(0, 38), false, {});
    now += 1000;
    meter.updateSpeed(makeSample(0, 41), false, {{0, 0.4}});
    EXPECT_EQ(digits(), (std::array<int, 3>{N, 4, 1}));
    now += 125;
    EXPECT_NEAR(degrees(meter.needleAngleAt(now)), 108.0 - 1.2 * 39.5, 1e-6);
    // Miles per hour turn the needle to the kilometre angle.
    meter.isSpeedType = SpeedMeterType::MPH;
    meter.updateSpeed(makeSample(0, 150), false, {});
    now += 1000;
    EXPECT_EQ(digits(), (std::array<int, 3>{N, 9, 3}));
    EXPECT_NEAR(degrees(meter.needleAngleAt(now)), 108.0 - 1.2 * 149.6649, 1e-6);
}

TEST_F(MeterFixture, NoFixShowsAHyphenAndTheNumberReturnsWithTheFix)
{
    meter.updateSpeed(makeSample(0, 60, 0, 0, false), false, {});
    EXPECT_FALSE(meter.isGpsOn());
    EXPECT_EQ(digits(), (std::array<int, 3>{N, N, H}));
    now += 1000;
    EXPECT_NEAR(degrees(meter.needleAngleAt(now)), 36.0, 1e-9);
    // Same speed while playing, fix regained: the number comes back at once, the needle stays.
    meter.updateSpeed(makeSample(33, 60), true, {});
    EXPECT_TRUE(meter.isGpsOn());
    EXPECT_EQ(digits(), (std::array<int, 3>{N, 6, 0}));
    EXPECT_FALSE(meter.isAnimating(now));
}

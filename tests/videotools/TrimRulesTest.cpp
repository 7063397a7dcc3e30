#include "videotools/TrimRules.h"

#include <gtest/gtest.h>

namespace {

using Mode = CommonConst::RecMode;

TEST(TrimRulesTest, DurationText)
{
    const std::pair<int64_t, const char *> cases[] = {
        {300000, "5m"}, {3599999, "59m"}, {3600000, "1h0m"}, {3725000, "1h2m"}, {36000000, "10h0m"}};
    for (const auto &[span, text] : cases)
        EXPECT_EQ(TrimRules::makeDurationText(span, "h", "m"), text) << span;
}

TEST(TrimRulesTest, DiskSpaceFigures)
{
    constexpr int64_t MiB = 1048576;
    struct Case
    {
        Mode mode;
        int64_t rangeMs;
        int64_t workMiB, destinationMiB;
    };
    const Case cases[] = {
        {Mode::LongRec, 100000, 108, 36},
        {Mode::HighQuality, 39999, 36, 0},
        {Mode::HighQuality, 40000, 108, 36},
        {Mode::Nomal, 104000, 180, 72},
    };
    for (const Case &c : cases) {
        const auto need = TrimRules::diskNeed(c.mode, c.rangeMs);
        EXPECT_EQ(need.workMiB, c.workMiB) << c.rangeMs;
        EXPECT_EQ(need.destinationMiB, c.destinationMiB) << c.rangeMs;
        EXPECT_TRUE(TrimRules::hasDiskSpace(c.mode, c.rangeMs, c.workMiB * MiB, c.destinationMiB * MiB));
        EXPECT_FALSE(TrimRules::hasDiskSpace(c.mode, c.rangeMs, c.workMiB * MiB - 1, c.destinationMiB * MiB));
        EXPECT_EQ(TrimRules::hasDiskSpace(c.mode, c.rangeMs, c.workMiB * MiB, c.destinationMiB * MiB - 1),
                  c.destinationMiB == 0);
    }
    // An unreadable volume counts as full.
    EXPECT_FALSE(TrimRules::hasDiskSpace(Mode::HighQuality, 1000, -1, 0));
}

TEST(TrimRulesTest, ProgressStaysBelowHundredUntilForced)
{
    const std::tuple<double, bool, double, const char *> cases[] = {{100.0, false, 99.0, "99%"},
                                                                    {100.0, true, 100.0, "100%"},
                                                                    {57.8, false, 57.8, "57%"},
                                                                    {0.0, false, 0.0, "0%"}};
    for (const auto &[percent, force, value, label] : cases) {
        EXPECT_DOUBLE_EQ(TrimRules::progressValue(percent, force), value);
        EXPECT_EQ(TrimRules::progressLabel(value), label);
    }
}

} // namespace

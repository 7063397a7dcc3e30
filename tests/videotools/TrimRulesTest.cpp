#include "videotools/TrimRules.h"

#include <gtest/gtest.h>

namespace {

using Mode = CommonConst::RecMode;

TEST(TrimRulesTest, DiskSpaceFigures)
{
    constexpr int64_t MiB = 1048576;
    const struct
    {
        Mode mode;
        int64_t rangeMs;
        int64_t workMiB, destinationMiB;
    } cases[] = {
        {Mode::LongRec, 100000, 108, 36},
        {Mode::HighQuality, 39999, 36, 0},
        {Mode::HighQuality, 40000, 108, 36},
        {Mode::Nomal, 104000, 180, 72},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.rangeMs);
        const auto need = TrimRules::diskNeed(c.mode, c.rangeMs);
        EXPECT_EQ((std::pair{need.workMiB, need.destinationMiB}), (std::pair{c.workMiB, c.destinationMiB}));
        EXPECT_TRUE(TrimRules::hasDiskSpace(c.mode, c.rangeMs, c.workMiB * MiB, c.destinationMiB * MiB));
        EXPECT_FALSE(TrimRules::hasDiskSpace(c.mode, c.rangeMs, c.workMiB * MiB - 1, c.destinationMiB * MiB));
        EXPECT_EQ(TrimRules::hasDiskSpace(c.mode, c.rangeMs, c.workMiB * MiB, c.destinationMiB * MiB - 1),
                  c.destinationMiB == 0);
    }
    // An unreadable volume counts as full.
    EXPECT_FALSE(TrimRules::hasDiskSpace(Mode::HighQuality, 1000, -1, 0));
}

TEST(TrimRulesTest, SavedNameAlwaysHasTheToolsFileType)
{
    const std::tuple<const char *, const char *, const char *> cases[] = {
        {"/m/clip.mp4", "mp4", "/m/clip.mp4"},
        {"/m/clip.MP4", "mp4", "/m/clip.MP4"},
        {"/card/m01.DAT", "mp4", "/card/m01.DAT.mp4"},
        {"/card/m01.MP4", "jpeg", "/card/m01.MP4.jpeg"},
        {"/p/a.jpg", "jpeg", "/p/a.jpg"},
        {"/p/a", "jpeg", "/p/a.jpeg"}};
    for (const auto &[path, extension, expected] : cases)
        EXPECT_EQ(TrimRules::withExtension(path, extension), expected) << path;
}

} // namespace

// The trim's plain rules: ffmpeg's arguments and concat list, the disk space it needs, the saved name.
#include "videotools/TrimRules.h"
#include "videotools/FfmpegOperate.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using Mode = CommonConst::RecMode;

TEST(FfmpegOperateTest, CutArgumentsPerForm)
{
    // A stream copy names only the picture's codec: the sound takes ffmpeg's default for MP4.
    const struct
    {
        const char *ass;
        std::optional<uint32_t> start, end;
        const char *expected;
    } cases[] = {
        {"", std::nullopt, std::nullopt, "-y -i /t/a.mp4 -vcodec copy -g 10 /t/b.mp4"},
        {"", 5000, std::nullopt, "-y -ss 00:00:05.000 -i /t/a.mp4 -vcodec copy -g 10 /t/b.mp4"},
        {"", std::nullopt, 65250, "-y -i /t/a.mp4 -t 00:01:05.250 -vcodec copy -g 10 /t/b.mp4"},
        {"", 3723500, 3725734, "-y -ss 01:02:03.500 -i /t/a.mp4 -t 00:00:02.234 -vcodec copy -g 10 /t/b.mp4"},
        {"/tmp/movinfo.ass", 1000, 4000,
         "-y -i /t/a.mp4 -preset veryfast -loglevel quiet -vf ass='/tmp/movinfo.ass' -ss 00:00:01.000 "
         "-t 00:00:03.000 -g 10 /t/b.mp4"},
        {"/tmp/movinfo.ass", std::nullopt, std::nullopt,
         "-y -i /t/a.mp4 -preset veryfast -loglevel quiet -vf ass='/tmp/movinfo.ass' -g 10 /t/b.mp4"},
        // No length: no cut.
        {"", 4000, 1000, ""},
        {"", 4000, 4000, ""},
        {"/tmp/movinfo.ass", std::nullopt, 0, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FfmpegOperate::makeTrimArguments("/t/a.mp4", "/t/b.mp4", c.ass, c.start, c.end).join(' '),
                  c.expected);
}

TEST(FfmpegOperateTest, CopiedCutDropsThePicturesPastItsEnd)
{
    // Those ffmpeg keeps in decode order that are shown from 4.95 s on: the expression must hold no
    // comma, which would split ffmpeg's list of bitstream filters.
    EXPECT_EQ(
        FfmpegOperate::makeTrimArguments("/t/a.mp4", "/t/b.mp4", "", 5000, 10067, false, 4950000).join(' '),
        "-y -ss 00:00:05.000 -i /t/a.mp4 -t 00:00:05.067 -vcodec copy -bsf:v "
        "noise=drop=sgn(pts*tb-4.950000)+1 "
        "-g 10 /t/b.mp4");
}

TEST(FfmpegOperateTest, ConcatListNeedsTwoPathsAndEndsWithoutLineFeed)
{
    TempDir dir;
    EXPECT_FALSE(FfmpegOperate::margefileCreate({"/t/a.mp4"}, dir.path()));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    const auto list = FfmpegOperate::margefileCreate({"/t/a.mp4", "/t/it's.mp4"}, dir.path());
    ASSERT_TRUE(list);
    EXPECT_EQ(QFileInfo(*list).fileName().size(), 16);
    QFile file(*list);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "file '/t/a.mp4'\nfile '/t/it'\\''s.mp4'");
}

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
        // One volume for both folders is asked for each need on its own: the clip is renamed into
        // place there, so it takes no room beside the work folder's.
        EXPECT_TRUE(TrimRules::hasDiskSpace(c.mode, c.rangeMs, c.workMiB * MiB, c.workMiB * MiB));
        EXPECT_FALSE(
            TrimRules::hasDiskSpace(c.mode, c.rangeMs, c.workMiB * MiB - MiB, c.workMiB * MiB - MiB));
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

#include "videotools/FfmpegOperate.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

struct TrimCase
{
    const char *ass;
    std::optional<uint32_t> start;
    std::optional<uint32_t> end;
    const char *expected;
};

TEST(FfmpegOperateTest, CutArgumentsPerForm)
{
    const TrimCase cases[] = {
        {"", std::nullopt, std::nullopt, "-y -i /t/a.mp4 -vcodec copy -acodec copy -g 10 /t/b.mp4"},
        {"", 5000, std::nullopt, "-y -ss 00:00:05.000 -i /t/a.mp4 -vcodec copy -acodec copy -g 10 /t/b.mp4"},
        {"", std::nullopt, 65250, "-y -i /t/a.mp4 -t 00:01:05.250 -vcodec copy -acodec copy -g 10 /t/b.mp4"},
        {"", 3723500, 3725734,
         "-y -ss 01:02:03.500 -i /t/a.mp4 -t 00:00:02.234 -vcodec copy -acodec copy -g 10 /t/b.mp4"},
        {"/tmp/movinfo.ass", 1000, 4000,
         "-y -i /t/a.mp4 -preset veryfast -loglevel quiet -vf ass='/tmp/movinfo.ass' -ss 00:00:01.000 "
         "-t 00:00:03.000 -g 10 /t/b.mp4"},
        {"", 4000, 1000, ""},
    };
    for (const TrimCase &c : cases) {
        const QStringList args =
            FfmpegOperate::makeTrimArguments("/t/a.mp4", "/t/b.mp4", c.ass, c.start, c.end);
        EXPECT_EQ(args.join(' ').toStdString(), c.expected);
    }
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

} // namespace

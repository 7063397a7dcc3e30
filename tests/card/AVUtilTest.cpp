#include "card/AVUtil.h"

#include "support/Ffmpeg.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <gtest/gtest.h>

TEST(AVUtilTest, FileNameCarriesThePositionAsTimeOfDay)
{
    const QUrl movie = QUrl::fromLocalFile("/card/MOVE/MOVE001/240501123456_0001.MP4");
    EXPECT_EQ(AVUtil::thumbnailFileName(movie, 75000), "240501123456_0001_000115.jpeg");
    // 25 h 1 min 1 s: the hours wrap at 24.
    EXPECT_EQ(AVUtil::thumbnailFileName(movie, 90061000), "240501123456_0001_010101.jpeg");
    EXPECT_EQ(AVUtil::thumbnailFileName(movie, 1), "240501123456_0001_000000.jpeg");
    EXPECT_EQ(AVUtil::thumbnailFileName(QUrl::fromLocalFile("/x/clip.cut.mp4"), 999), "clip.cut_000000.jpeg");
}

TEST(AVUtilTest, WritesTheStillIntoTheFolderMadeOnDemand)
{
    TempDir dir;
    const QString movie = dir.filePath("240501123456_0001.MP4");
    ASSERT_TRUE(Ffmpeg::writeTestMovie(movie, 1280, 720, 2.0));
    const QUrl folder = QUrl::fromLocalFile(dir.filePath("TMP/THUMB/"));

    const auto still = AVUtil::saveThumbnail(QUrl::fromLocalFile(movie), 1500, folder);
    ASSERT_TRUE(still.has_value());
    EXPECT_EQ(still->toLocalFile(), dir.filePath("TMP/THUMB/240501123456_0001_000001.jpeg"));
    QImageReader reader(still->toLocalFile());
    EXPECT_EQ(reader.format(), "jpeg");
    EXPECT_EQ(reader.size(), QSize(320, 180));
    EXPECT_EQ(QDir(dir.filePath("TMP/THUMB")).entryList(QDir::Files).size(), 1);
}

TEST(AVUtilTest, RefusesBadArgumentsAndMissingFrames)
{
    TempDir dir;
    const QString movie = dir.filePath("240501123456_0002.MP4");
    ASSERT_TRUE(Ffmpeg::writeTestMovie(movie, 320, 180, 1.0));
    const QUrl movieUrl = QUrl::fromLocalFile(movie);

    // A folder URL without the trailing "/" is not a directory URL: nothing is made.
    EXPECT_FALSE(AVUtil::saveThumbnail(movieUrl, 1, QUrl::fromLocalFile(dir.filePath("A"))).has_value());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("A")));
    EXPECT_FALSE(
        AVUtil::saveThumbnail(QUrl("http://host/x.mp4"), 1, QUrl::fromLocalFile(dir.filePath("B/"))));

    const QUrl folder = QUrl::fromLocalFile(dir.filePath("C/"));
    EXPECT_FALSE(AVUtil::saveThumbnail(movieUrl, -500, folder).has_value());
    EXPECT_FALSE(AVUtil::saveThumbnail(movieUrl, 5000, folder).has_value());
    EXPECT_FALSE(AVUtil::saveThumbnail(QUrl::fromLocalFile(dir.write("bad.MP4", "not a movie")), 1, folder));
    EXPECT_TRUE(QDir(dir.filePath("C")).entryList(QDir::Files).isEmpty());
    // A file where the folder should be.
    dir.write("D", "x");
    EXPECT_FALSE(AVUtil::saveThumbnail(movieUrl, 1, QUrl::fromLocalFile(dir.filePath("D/"))).has_value());
}

#include "platform/JpegFile.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <gtest/gtest.h>

TEST(JpegFileTest, WritesARealJpegAndLeavesNoTemporaryFiles)
{
    TempDir dir;
    QImage image(320, 180, QImage::Format_RGB888);
    image.fill(QColor(200, 40, 10));
    const QString target = dir.filePath("still.jpeg");
    ASSERT_TRUE(JpegFile::write(image, target));

    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(3) == QByteArray("\xFF\xD8\xFF", 3));
    file.close();
    QImageReader reader(target);
    EXPECT_EQ(reader.format(), "jpeg");
    const QImage back = reader.read();
    ASSERT_EQ(back.size(), QSize(320, 180));
    EXPECT_NEAR(back.pixelColor(100, 100).red(), 200, 4);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"still.jpeg"});
}

TEST(JpegFileTest, FailureLeavesTheOldFileInPlace)
{
    TempDir dir;
    const QString target = dir.write("still.jpeg", "old");
    EXPECT_FALSE(JpegFile::write(QImage(), target));
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("old"));
    EXPECT_FALSE(
        JpegFile::write(QImage(8, 8, QImage::Format_RGB888), dir.filePath("no/such/folder/still.jpeg")));
}

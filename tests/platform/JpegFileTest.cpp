#include "platform/JpegFile.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <gtest/gtest.h>

// A failed write leaves the old file as it was; a good one replaces it whole, with no temporary file left.
TEST(JpegFileTest, ReplacesTheFileOnlyWithAWholeJpeg)
{
    TempDir dir;
    const QString target = dir.write("still.jpeg", "old");
    EXPECT_FALSE(JpegFile::write(QImage(), target));
    EXPECT_FALSE(
        JpegFile::write(QImage(8, 8, QImage::Format_RGB888), dir.filePath("no/such/folder/still.jpeg")));
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("old"));
    file.close();

    QImage image(320, 180, QImage::Format_RGB888);
    image.fill(QColor(200, 40, 10));
    ASSERT_TRUE(JpegFile::write(image, target));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(3) == QByteArray("\xFF\xD8\xFF", 3));
    QImageReader reader(target);
    EXPECT_EQ(reader.format(), "jpeg");
    const QImage back = reader.read();
    ASSERT_EQ(back.size(), QSize(320, 180));
    EXPECT_NEAR(back.pixelColor(100, 100).red(), 200, 4);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"still.jpeg"});
}

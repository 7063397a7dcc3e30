#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(TempDirTest, WritesNestedFilesAndRemovesThemAfterwards)
{
    QString path;
    {
        TempDir dir;
        path = dir.write("a/b/c.bin", QByteArray("xyz"));
        ASSERT_FALSE(path.isEmpty());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("xyz"));
    }
    EXPECT_FALSE(QFile::exists(path));
}

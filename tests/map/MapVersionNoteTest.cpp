#include "map/MapVersionNote.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>

namespace {
QString readNote(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}
} // namespace

TEST(MapVersionNoteTest, ThreeLinesEachEndedByALineFeed)
{
    const QDateTime when(QDate(2024, 5, 1), QTime(12, 34, 56));
    const QString text = MapVersionNote::text(when, "1.0.0", "Leaflet 1.6.0");
    EXPECT_EQ(text, QLocale().toString(when, QLocale::LongFormat) + "\n" +
                        QString::fromUtf8("アプリケーション・バージョン: 1.0.0\n") +
                        "Maps JavaScript API Version: Leaflet 1.6.0\n");
}

TEST(MapVersionNoteTest, MakesTheFolderAndReplacesAnOldNote)
{
    TempDir dir;
    const QString folder = dir.filePath("deep/Orvalind");
    ASSERT_TRUE(MapVersionNote::write(folder, "1.0.0", "v1"));
    EXPECT_TRUE(readNote(folder + "/mv.txt").endsWith("Maps JavaScript API Version: v1\n"));
    ASSERT_TRUE(MapVersionNote::write(folder, "1.0.1", "v2"));
    const QString note = readNote(folder + "/mv.txt");
    EXPECT_TRUE(note.contains(QString::fromUtf8("バージョン: 1.0.1\n")));
    EXPECT_TRUE(note.endsWith("Maps JavaScript API Version: v2\n"));
    EXPECT_FALSE(note.contains("v1"));
}

TEST(MapVersionNoteTest, AFileInThePlaceOfTheFolderFailsQuietly)
{
    TempDir dir;
    const QString folder = dir.write("Orvalind", "not a folder");
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_FALSE(MapVersionNote::write(folder, "1.0.0", "v1"));
    EXPECT_EQ(readNote(folder), "not a folder");
    EXPECT_FALSE(MapVersionNote::write(QString(), "1.0.0", "v1"));
}

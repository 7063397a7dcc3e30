#include "map/MapVersionNote.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringList>
#include <gtest/gtest.h>

namespace {
// The lines the note writes to the console while it runs.
QStringList g_console;

class ConsoleCapture
{
public:
    ConsoleCapture()
    {
        g_console.clear();
        _previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &text) { g_console.append(text); });
    }
    ~ConsoleCapture() { qInstallMessageHandler(_previous); }
    QStringList lines() const { return g_console; }

private:
    QtMessageHandler _previous;
};

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

TEST(MapVersionNoteTest, ConsoleLinesTellWhatHappenedToTheFolder)
{
    TempDir dir;
    const QString folder = dir.filePath("Orvalind");
    {
        ConsoleCapture console;
        ASSERT_TRUE(MapVersionNote::write(folder, "1.0.0", "v1"));
        EXPECT_EQ(console.lines(), QStringList{QString::fromUtf8("Orvalindフォルダが存在しませんよ")});
    }
    {
        ConsoleCapture console;
        ASSERT_TRUE(MapVersionNote::write(folder, "1.0.0", "v1"));
        EXPECT_EQ(console.lines(), QStringList{QString::fromUtf8("Orvalindフォルダが存在しますよ")});
    }
    {
        // The note's own name taken by a folder: the write fails into an existing folder.
        ASSERT_TRUE(QDir(folder).removeRecursively());
        ASSERT_TRUE(QDir().mkpath(folder + "/mv.txt"));
        ConsoleCapture console;
        EXPECT_FALSE(MapVersionNote::write(folder, "1.0.0", "v1"));
        const QStringList lines = console.lines();
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[0], QString::fromUtf8("Orvalindフォルダが存在しますよ"));
        EXPECT_TRUE(lines[1].startsWith("error: ")) << lines[1].toStdString();
    }
    {
        const QString blocked = dir.write("file/Orvalind", "not a folder");
        ConsoleCapture console;
        EXPECT_FALSE(MapVersionNote::write(blocked, "1.0.0", "v1"));
        const QStringList lines = console.lines();
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[0], QString::fromUtf8("Orvalindフォルダが存在しませんよ"));
        EXPECT_TRUE(lines[1].startsWith("folder generated failed: ")) << lines[1].toStdString();
    }
}

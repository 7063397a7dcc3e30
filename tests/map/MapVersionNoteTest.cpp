#include "map/MapVersionNote.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QLoggingCategory>
#include <QStringList>
#include <gtest/gtest.h>

namespace {
// The lines the note writes to the console while it runs, its debug lines asked for.
QStringList g_console;

struct ConsoleCapture
{
    ConsoleCapture()
    {
        g_console.clear();
        QLoggingCategory::setFilterRules(QStringLiteral("orv.map.versionnote.debug=true"));
    }
    ~ConsoleCapture()
    {
        QLoggingCategory::setFilterRules({});
        qInstallMessageHandler(previous);
    }
    QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &text) { g_console.append(text); });
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

// The console lines tell what happened to the folder; whatever holds the note's place is left as it was.
TEST(MapVersionNoteTest, MakesTheFolderReplacesAnOldNoteAndRefusesWhatIsInTheWay)
{
    TempDir dir;
    const QString absent = QString::fromUtf8("Orvalindフォルダが存在しませんよ");
    const QString present = QString::fromUtf8("Orvalindフォルダが存在しますよ");
    const QString old = dir.write("old/Orvalind/mv.txt", "an old note").section('/', 0, -2);
    const QString taken = dir.filePath("taken/Orvalind");
    ASSERT_TRUE(QDir().mkpath(taken + "/mv.txt"));
    const QString blocked = dir.write("file/Orvalind", "not a folder");
    const struct
    {
        QString folder;
        bool written;
        QStringList console; // the last line's start
    } cases[] = {
        {dir.filePath("deep/Orvalind"), true, {absent}},
        {old, true, {present}},
        {taken, false, {present, "error: "}},
        {blocked, false, {absent, "folder generated failed: "}},
    };
    for (const auto &c : cases) {
        ConsoleCapture console;
        EXPECT_EQ(MapVersionNote::write(c.folder, "1.0.1", "v2"), c.written) << c.folder.toStdString();
        const QStringList lines = g_console;
        ASSERT_EQ(lines.size(), c.console.size()) << lines.join('|').toStdString();
        EXPECT_EQ(lines.front(), c.console.front());
        EXPECT_TRUE(lines.back().startsWith(c.console.back())) << lines.back().toStdString();
        const QString note = readNote(c.folder + "/mv.txt");
        EXPECT_EQ(note.endsWith(QString::fromUtf8("バージョン: 1.0.1\nMaps JavaScript API Version: v2\n")) &&
                      !note.contains("old"),
                  c.written);
    }
    EXPECT_EQ(readNote(blocked), "not a folder");
    EXPECT_FALSE(MapVersionNote::write(QString(), "1.0.0", "v1"));
}

#include "support/TempDir.h"

#include <QDirIterator>
#include <QProcess>
#include <gtest/gtest.h>

namespace {
QString tool(const QString &name)
{
    return qEnvironmentVariable("ORV_BUILD_DIR") + "/devtools/" + name;
}

QByteArray run(const QString &program, const QStringList &args, int *exitCode = nullptr)
{
    QProcess process;
    process.start(tool(program), args);
    EXPECT_TRUE(process.waitForFinished(-1));
    if (exitCode)
        *exitCode = process.exitCode();
    else
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

QByteArray dumpWithoutPaths(const QString &folder)
{
    return run("carddump", {folder}).replace(folder.toUtf8(), "<source>");
}

std::map<QString, QByteArray> contents(const QString &root)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        files[file.fileName()] = file.readAll();
    }
    return files;
}
} // namespace

// The sample card backed up whole reads back as the same card; a backup onto the card itself is refused.
TEST(BackupCardToolTest, BackupOfTheSampleCardReopensAsTheSameCard)
{
    TempDir dir;
    run("samplecard", {dir.path()});
    const QString card = dir.filePath("MOVE");
    const auto before = contents(card);
    run("backupcard", {card, dir.filePath("backups"), "whole", "--all"});
    EXPECT_EQ(dumpWithoutPaths(dir.filePath("backups/whole")), dumpWithoutPaths(card));

    int exitCode = 0;
    run("backupcard", {card, dir.path(), "MOVE", "--all"}, &exitCode);
    EXPECT_NE(exitCode, 0);
    run("backupcard", {card, dir.filePath("backups"), "part", "--trips", "0,9"}, &exitCode);
    EXPECT_NE(exitCode, 0);
    EXPECT_EQ(contents(card), before);
}

#include "platform/LockedWorkFolder.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

namespace {

// A folder locked by another process, as a running copy holds its own (util-linux's flock program locks
// the shell's descriptor, which the shell then keeps as sleep).
std::unique_ptr<QProcess> holdInAnotherProcess(const QString &folder)
{
    auto holder = std::make_unique<QProcess>();
    holder->start(QStringLiteral("sh"),
                  {"-c", "exec 9<\"$0\" && flock 9 && echo held && exec sleep 60", folder});
    if (!holder->waitForReadyRead(10000))
        return nullptr;
    return holder;
}

} // namespace

TEST(LockedWorkFolderTest, OnlyFoldersWhoseLockIsFreeAreRemoved)
{
    if (QStandardPaths::findExecutable("flock").isEmpty())
        GTEST_SKIP() << "no flock program";
    TempDir parent;
    TempDir elsewhere;
    const LockedWorkFolder live(parent.filePath(".work-XXXXXX"));
    ASSERT_TRUE(live.isValid());
    parent.write(".work-killed/part.mp4", "x");
    parent.write(".work-killed/sub/part.ass", "x");
    parent.write(".other-killed/part.mp4", "x");
    parent.write(".work-other/part.mp4", "x");
    elsewhere.write("kept", "x");
    ASSERT_TRUE(QFile::link(elsewhere.path(), parent.filePath(".work-link")));
    const auto holder = holdInAnotherProcess(parent.filePath(".work-other"));
    ASSERT_TRUE(holder);

    const struct
    {
        QString name;
        bool removed;
    } cases[] = {
        {".work-killed", true}, {".other-killed", false},
        {".work-other", false}, {QFileInfo(live.path()).fileName(), false},
        {".work-link", false},
    };
    EXPECT_EQ(LockedWorkFolder::removeDead(parent.path(), ".work-"), 1);
    for (const auto &c : cases)
        EXPECT_EQ(QFileInfo::exists(parent.filePath(c.name)), !c.removed) << c.name.toStdString();
    EXPECT_TRUE(QFileInfo::exists(elsewhere.filePath("kept")));

    // The other process ends as a killed run does: its lock goes with it.
    holder->kill();
    holder->waitForFinished();
    EXPECT_EQ(LockedWorkFolder::removeDead(parent.path(), ".work-"), 1);
    EXPECT_FALSE(QFileInfo::exists(parent.filePath(".work-other")));
}

TEST(LockedWorkFolderTest, APrivateFolderGoesWithItsObject)
{
    TempDir parent;
    QString path;
    {
        const LockedWorkFolder folder(parent.filePath("run-XXXXXX"));
        path = folder.path();
        ASSERT_TRUE(folder.isValid());
        struct stat info = {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0700u);
        parent.write(QFileInfo(path).fileName() + "/THUMB/still.jpeg", "x");
    }
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(LockedWorkFolder(parent.filePath("no/such/run-XXXXXX")).isValid());
}

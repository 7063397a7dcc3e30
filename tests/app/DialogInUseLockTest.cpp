#include "app/DialogInUseLock.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {
const QString key = QString::fromLatin1(UserDefaultUtil::KEY_BACKUP_SETTING_FLG);
}

TEST(DialogInUseLockTest, AFlagHeldByAnotherCopyRefusesAndIsLeftAlone)
{
    TempDir dir;
    UserDefaultUtil store(dir.filePath("s.conf"));
    // Two copies share one store: the first holds the dialog, the second is refused.
    UserDefaultUtil other(dir.filePath("s.conf"));
    DialogInUseLock first(store, [] { return true; });
    DialogInUseLock second(other, [] { return true; });
    DialogInUseLock::Hold held = first.acquire(key);
    ASSERT_TRUE(held);
    EXPECT_FALSE(second.acquire(key));
    EXPECT_TRUE(store.flag(key));
    held.release();
    EXPECT_TRUE(second.acquire(key)) << "free again once the first copy's dialog has closed";
}

TEST(DialogInUseLockTest, ProcessScanFindsOnlyOtherProcessesOfTheSameExecutable)
{
    // A program of our own, so that no other process on the machine runs the same file.
    TempDir dir;
    const QString copyPath = dir.filePath("orv-copy");
    ASSERT_TRUE(QFile::copy(QStandardPaths::findExecutable(QStringLiteral("sleep")), copyPath));
    QFile::setPermissions(copyPath, QFile::ReadOwner | QFile::ExeOwner);
    const QString exe = QFileInfo(copyPath).canonicalFilePath();
    QProcess copy;
    copy.start(exe, {QStringLiteral("30")});
    ASSERT_TRUE(copy.waitForStarted());
    EXPECT_TRUE(DialogInUseLock::isOtherProcessRunning(exe, ::getpid()));
    EXPECT_FALSE(DialogInUseLock::isOtherProcessRunning(exe, copy.processId()))
        << "the asking process itself does not count";
    EXPECT_FALSE(DialogInUseLock::isOtherProcessRunning(exe + QStringLiteral("-elsewhere"), ::getpid()))
        << "a copy started from another place is another program";

    UserDefaultUtil store(dir.filePath("s.conf"));
    store.setFlag(key, true);
    DialogInUseLock lock(store, [&] { return DialogInUseLock::isOtherProcessRunning(exe, ::getpid()); });
    EXPECT_FALSE(lock.acquire(key)) << "with another copy running the flag is not stale";
    copy.kill();
    copy.waitForFinished();
    EXPECT_TRUE(lock.acquire(key));
}

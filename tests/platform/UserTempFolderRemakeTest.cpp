#include "platform/UserTempFolder.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

// The private folder trusted at start may be removed by a cleaner and taken by someone else; making a
// folder inside it checks it again and refuses what is no longer ours.
TEST(UserTempFolderTest, MakingAFolderInsideChecksThePrivateFolderAgain)
{
    const auto remove = [](const QString &user, const QString &) { return QDir(user).removeRecursively(); };
    const auto link = [](const QString &user, const QString &elsewhere) {
        return QDir(user).removeRecursively() && QFile::link(elsewhere, user);
    };
    const auto open = [](const QString &user, const QString &) {
        return ::chmod(QFile::encodeName(user).constData(), 0777) == 0;
    };
    const auto linkInside = [](const QString &user, const QString &elsewhere) {
        return QDir(user + "/TMP").removeRecursively() && QFile::link(elsewhere, user + "/TMP");
    };
    const struct
    {
        const char *what;
        std::function<bool(const QString &, const QString &)> tamper;
        bool made;
    } cases[] = {
        {"removed", remove, true},
        {"opened to all", open, true},
        {"replaced by a link", link, false},
        {"a link inside", linkInside, false},
    };
    for (const auto &c : cases) {
        TempDir base;
        TempDir elsewhere;
        const QString user = UserTempFolder::pathBelow(base.path());
        const QString thumbs = user + "/TMP/THUMB";
        ASSERT_TRUE(UserTempFolder::makeFolderBelow(base.path(), thumbs)) << c.what;
        ASSERT_TRUE(c.tamper(user, elsewhere.path())) << c.what;
        EXPECT_EQ(UserTempFolder::makeFolderBelow(base.path(), thumbs), c.made) << c.what;
        EXPECT_TRUE(QDir(elsewhere.path()).isEmpty()) << c.what;
        if (c.made) {
            struct stat info = {};
            ASSERT_EQ(::lstat(QFile::encodeName(user).constData(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0700u) << c.what;
            EXPECT_TRUE(QFileInfo(thumbs).isDir()) << c.what;
        }
    }
}

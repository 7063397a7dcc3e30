#include "platform/UserTempFolder.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

unsigned modeOf(const QString &path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    return info.st_mode & 07777;
}

} // namespace

TEST(UserTempFolderTest, CreatesAPrivateFolderPerUser)
{
    TempDir base;
    const QString path = UserTempFolder::pathBelow(base.path());
    EXPECT_EQ(path, QDir(base.path()).filePath(QStringLiteral("orvalind-%1").arg(::getuid())));
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(modeOf(path), 0700u);
    // A second call reuses it, and tightens a folder whose mode was opened up.
    ::chmod(QFile::encodeName(path).constData(), 0777);
    EXPECT_EQ(UserTempFolder::pathBelow(base.path()), path);
    EXPECT_EQ(modeOf(path), 0700u);
}

TEST(UserTempFolderTest, DoesNotFollowALinkPlantedUnderItsName)
{
    TempDir base;
    TempDir elsewhere;
    const QString name = QDir(base.path()).filePath(QStringLiteral("orvalind-%1").arg(::getuid()));
    ASSERT_TRUE(QFile::link(elsewhere.path(), name));
    const QString path = UserTempFolder::pathBelow(base.path());
    EXPECT_TRUE(path.startsWith(name + QLatin1Char('-')));
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_EQ(modeOf(path), 0700u);

    // A plain file under the name is passed over the same way.
    TempDir other;
    other.write(QStringLiteral("orvalind-%1").arg(::getuid()), "x");
    EXPECT_TRUE(QFileInfo(UserTempFolder::pathBelow(other.path())).isDir());
}

// The private folder trusted at start may be removed by a cleaner and taken by someone else; making a
// folder inside it checks it again and refuses what is no longer ours.
TEST(UserTempFolderTest, MakingAFolderInsideChecksThePrivateFolderAgain)
{
    const struct
    {
        const char *what;
        const char *removed; // below the private folder; none when null
        const char *linked;  // to a folder elsewhere, after the removal
        bool opened;         // to all
        bool made;
    } cases[] = {
        {"removed", "", nullptr, false, true},
        {"opened to all", nullptr, nullptr, true, true},
        {"replaced by a link", "", "", false, false},
        {"a link inside", "/TMP", "/TMP", false, false},
    };
    for (const auto &c : cases) {
        TempDir base;
        TempDir elsewhere;
        const QString user = UserTempFolder::pathBelow(base.path());
        const QString thumbs = user + "/TMP/THUMB";
        ASSERT_TRUE(UserTempFolder::makeFolderBelow(base.path(), thumbs)) << c.what;
        if (c.removed)
            ASSERT_TRUE(QDir(user + c.removed).removeRecursively()) << c.what;
        if (c.linked)
            ASSERT_TRUE(QFile::link(elsewhere.path(), user + c.linked)) << c.what;
        if (c.opened)
            ASSERT_EQ(::chmod(QFile::encodeName(user).constData(), 0777), 0) << c.what;
        EXPECT_EQ(UserTempFolder::makeFolderBelow(base.path(), thumbs), c.made) << c.what;
        EXPECT_TRUE(QDir(elsewhere.path()).isEmpty()) << c.what;
        if (c.made) {
            EXPECT_EQ(modeOf(user), 0700u) << c.what;
            EXPECT_TRUE(QFileInfo(thumbs).isDir()) << c.what;
        }
    }
}

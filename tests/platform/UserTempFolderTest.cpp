#include "platform/UserTempFolder.h"
#include "platform/PlatformError.h"
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
    EXPECT_FALSE(path.isEmpty());
    EXPECT_NE(path, name);
    EXPECT_TRUE(path.startsWith(name + QLatin1Char('-')));
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_EQ(modeOf(path), 0700u);

    // A plain file under the name is passed over the same way.
    TempDir other;
    other.write(QStringLiteral("orvalind-%1").arg(::getuid()), "x");
    const QString second = UserTempFolder::pathBelow(other.path());
    EXPECT_TRUE(QFileInfo(second).isDir());
}

#include "recording/CommonConst.h"
#include "recording/DetectionType.h"
#include "recording/IconId.h"
#include "recording/Location.h"
#include "recording/MyError.h"
#include "recording/TerminalType.h"
#include "recording/VideoId.h"
#include "recording/ViolationType.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>

TEST(CommonConstTest, TemporaryFoldersAreJoinedWithOneSlash)
{
    for (const QString &base :
         {QStringLiteral("/tmp/orvalind-1000"), QStringLiteral("/tmp/orvalind-1000/")}) {
        const CommonConst::TempPaths paths = CommonConst::tempPathsBelow(base);
        EXPECT_EQ(paths.dirPathTmp, QStringLiteral("/tmp/orvalind-1000/TMP/"));
        EXPECT_EQ(paths.archivePathTmp, QStringLiteral("/tmp/orvalind-1000/ArchiveTmp/"));
        EXPECT_EQ(paths.dirPathThumb, paths.dirPathTmp + QStringLiteral("THUMB/"));
        EXPECT_EQ(paths.dirPathMap, paths.dirPathTmp + QStringLiteral("MAP/"));
    }

    // The process's own folders sit in a private folder under the system temp folder.
    const QString tmp = CommonConst::DIR_PATH_TMP();
    EXPECT_TRUE(tmp.endsWith(QStringLiteral("/TMP/")));
    EXPECT_FALSE(tmp.contains(QStringLiteral("//")));
    EXPECT_TRUE(tmp.startsWith(QDir::tempPath() + QLatin1Char('/')));
    EXPECT_EQ(CommonConst::DIR_PATH_THUMB(), tmp + QStringLiteral("THUMB/"));
    EXPECT_EQ(CommonConst::DIR_PATH_MAP(), tmp + QStringLiteral("MAP/"));
    EXPECT_EQ(&CommonConst::DIR_PATH_TMP(), &CommonConst::DIR_PATH_TMP());
    const QString userFolder = QFileInfo(tmp.chopped(1)).absolutePath();
    struct stat info = {};
    ASSERT_EQ(::lstat(QFile::encodeName(userFolder).constData(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

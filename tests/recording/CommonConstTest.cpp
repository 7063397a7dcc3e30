#include "recording/CommonConst.h"
#include <QDir>
#include <gtest/gtest.h>

// The per-user folder itself (its mode, its re-making) is in the platform tests.
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
    const QString tmp = CommonConst::DIR_PATH_TMP();
    EXPECT_TRUE(tmp.startsWith(QDir::tempPath() + QLatin1Char('/')));
    EXPECT_FALSE(tmp.contains(QStringLiteral("//")));
    EXPECT_EQ(CommonConst::DIR_PATH_THUMB(), tmp + QStringLiteral("THUMB/"));
}

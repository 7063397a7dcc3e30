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

TEST(CommonConstTest, ValuesOtherPartsDependOn)
{
    EXPECT_EQ(CommonConst::IMAGE_DATA_IDENTIFIER.size(), 14u);
    EXPECT_EQ(CommonConst::IMAGE_DATA_IDENTIFIER[0], 'H');
    EXPECT_EQ(CommonConst::IMAGE_DATA_IDENTIFIER[11], 0x2E);
    EXPECT_EQ(CommonConst::IMAGE_DATA_IDENTIFIER[12], 0x00);
    EXPECT_EQ(CommonConst::IMAGE_DATA_IDENTIFIER[13], 0x00);
    EXPECT_EQ(CommonConst::DEFAULT_DATE, Date::distantPast());
    EXPECT_EQ(CommonConst::recSpan(CommonConst::RecMode::HighQuality), 40000);
    EXPECT_EQ(CommonConst::recSpan(CommonConst::RecMode::Nomal), 52000);
    EXPECT_EQ(CommonConst::recSpan(CommonConst::RecMode::LongRec), 79000);
    EXPECT_EQ(CommonConst::recModeFps(CommonConst::RecMode::LongRec), 28.0f);
    EXPECT_EQ(CommonConst::G_VALUE_MUL, 1000.0f);
    EXPECT_EQ(CommonConst::FILE_SIZE_SETTING_WRITE, 32768);
    EXPECT_EQ(CommonConst::MAX_CUTMOVIE, 30 * 60 * 1000);
    EXPECT_EQ(CommonConst::FMT_FORM_TITLE_MOVIE(), QStringLiteral("Recording always on"));
    EXPECT_EQ(CommonConst::FMT_FORM_TITLE_EVENT(), QStringLiteral("Event recording"));
    EXPECT_EQ(CommonConst::FROM_TEXT_COLOR(), QColor(Qt::white));
    EXPECT_EQ(CommonConst::FROM_BACKGROUND_COLOR(), QColor(Qt::black));
    EXPECT_EQ(static_cast<int>(CommonConst::PlayType::Surveillance), 2);
    EXPECT_EQ(static_cast<int>(CommonConst::PlayStatus::Stop), 3);
    EXPECT_EQ(static_cast<int>(CommonConst::ListType::AdvChapter), 5);
    EXPECT_EQ(static_cast<int>(CommonConst::MouseStatus::MouseUp), 2);
    EXPECT_EQ(CommonConst::caseName(CommonConst::RecMode::Nomal), QStringLiteral("Nomal"));
    EXPECT_DOUBLE_EQ(HEIGHT_SCALE_NUMERATOR / HEIGHT_SCALE_DENOMINATOR, 30.0 / 1080.0);
}

TEST(CommonConstTest, RawValueEnumsGiveNoValueOutsideTheirRange)
{
    EXPECT_EQ(detectionTypeFromRaw(-1), DetectionType::All);
    EXPECT_EQ(detectionTypeFromRaw(10), DetectionType::Movie);
    EXPECT_FALSE(detectionTypeFromRaw(11));
    EXPECT_FALSE(detectionTypeFromRaw(-2));
    EXPECT_EQ(caseName(DetectionType::UrgencySW), QStringLiteral("UrgencySW"));
    EXPECT_EQ(violationTypeFromRaw(8), ViolationType::VelocityGDetection);
    EXPECT_FALSE(violationTypeFromRaw(9));
    EXPECT_EQ(caseName(ViolationType::All), QStringLiteral("All"));
    EXPECT_EQ(videoIdFromRaw(0x55), VideoId::Image);
    EXPECT_EQ(videoIdFromRaw(0xAA), VideoId::Sound);
    EXPECT_FALSE(videoIdFromRaw(0x00));
    EXPECT_EQ(myErrorFromRaw(0), MyError::FormatException);
    EXPECT_FALSE(myErrorFromRaw(1));
    EXPECT_EQ(caseName(TerminalType::AllInOne), QStringLiteral("AllInOne"));
    EXPECT_FALSE(terminalTypeFromRaw(3));
}

TEST(CommonConstTest, IconIdsCarryTheMapCodes)
{
    std::set<int> codes;
    std::set<QString> names;
    for (const IconIdCase &c : ICON_ID_CASES) {
        codes.insert(static_cast<int>(c.id));
        names.insert(QString::fromLatin1(c.name));
        EXPECT_EQ(iconIdFromRaw(static_cast<int>(c.id)), c.id);
        EXPECT_EQ(caseName(c.id), QString::fromLatin1(c.name));
    }
    EXPECT_EQ(codes.size(), 37u);
    EXPECT_EQ(names.size(), 37u);
    EXPECT_EQ(static_cast<int>(IconId::None), 1);
    EXPECT_EQ(static_cast<int>(IconId::North), 9);
    EXPECT_EQ(static_cast<int>(IconId::NNWest), 27);
    EXPECT_EQ(static_cast<int>(IconId::Pin_Gray_focus), 68);
    EXPECT_EQ(ICON_ID_CASES[8].id, IconId::North);
    EXPECT_FALSE(iconIdFromRaw(0));
    EXPECT_FALSE(iconIdFromRaw(28));
    EXPECT_FALSE(iconIdFromRaw(64));
}

TEST(CommonConstTest, LocationNoneIsOneSharedZeroLocation)
{
    const Location &none = Location::None();
    EXPECT_EQ(&none, &Location::None());
    EXPECT_EQ(none.latitude, 0);
    EXPECT_EQ(none.longitude, 0);
    EXPECT_EQ(none.X, 0);
    EXPECT_EQ(none.Y, 0);
}

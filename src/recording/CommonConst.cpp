#include "recording/CommonConst.h"
#include "recording/EnumCases.h"

#include "platform/UserTempFolder.h"
#include "recording/FileUtil.h"

#include <QCoreApplication>

namespace {

const CommonConst::TempPaths &tempPaths()
{
    static const CommonConst::TempPaths paths = CommonConst::tempPathsBelow(UserTempFolder::runPath());
    return paths;
}

} // namespace

CommonConst::TempPaths CommonConst::tempPathsBelow(const QString &userTempFolder)
{
    TempPaths paths;
    paths.dirPathTmp = FileUtil::appendPath(userTempFolder, QStringLiteral("TMP/"));
    paths.archivePathTmp = FileUtil::appendPath(userTempFolder, QStringLiteral("ArchiveTmp/"));
    paths.dirPathThumb = FileUtil::appendPath(paths.dirPathTmp, QStringLiteral("THUMB/"));
    paths.dirPathMap = FileUtil::appendPath(paths.dirPathTmp, QStringLiteral("MAP/"));
    return paths;
}

const QString &CommonConst::DIR_PATH_TMP()
{
    return tempPaths().dirPathTmp;
}
const QString &CommonConst::ARCHIVE_PATH_TMP()
{
    return tempPaths().archivePathTmp;
}
const QString &CommonConst::DIR_PATH_THUMB()
{
    return tempPaths().dirPathThumb;
}
const QString &CommonConst::DIR_PATH_MAP()
{
    return tempPaths().dirPathMap;
}

const QString &CommonConst::FMT_FORM_TITLE_MOVIE()
{
    static const QString title = QCoreApplication::translate("CommonConst", "Recording always on");
    return title;
}

const QString &CommonConst::FMT_FORM_TITLE_EVENT()
{
    static const QString title = QCoreApplication::translate("CommonConst", "Event recording");
    return title;
}

QString CommonConst::caseName(RecMode mode)
{
    static constexpr auto cases = std::to_array<EnumCase<RecMode>>({
        {RecMode::HighQuality, "HighQuality"},
        {RecMode::Nomal, "Nomal"},
        {RecMode::LongRec, "LongRec"},
    });
    return enumCaseName(cases, mode);
}

#include "videotools/OverlayChoices.h"

#include "recording/UserDefaultUtil.h"

#include <QFileInfo>
#include <utility>

namespace {

using Member = bool UserDefaultUtil::*;
constexpr std::pair<const char *, Member> KEYS[] = {
    {UserDefaultUtil::KEY_EXP_DLG_DATE_TIME, &UserDefaultUtil::expDlgDateTime},
    {UserDefaultUtil::KEY_EXP_DLG_SPEED, &UserDefaultUtil::expDlgSpeed},
    {UserDefaultUtil::KEY_EXP_DLG_ACCELERATION, &UserDefaultUtil::expDlgAcceleration},
    {UserDefaultUtil::KEY_EXP_DLG_POINT, &UserDefaultUtil::expDlgPoint}};

} // namespace

OverlayFlags OverlayChoices::load(const UserDefaultUtil &settings)
{
    return {settings.expDlgDateTime, settings.expDlgSpeed, settings.expDlgAcceleration, settings.expDlgPoint};
}

void OverlayChoices::store(UserDefaultUtil &settings, OverlayFlags flags)
{
    const bool values[] = {flags.isDatetime, flags.isSpeed, flags.isAcceleration, flags.isPoint};
    for (size_t i = 0; i < std::size(KEYS); ++i) {
        settings.*KEYS[i].second = values[i];
        settings.setValue(QString::fromLatin1(KEYS[i].first), values[i]);
    }
}

void OverlayChoices::storeCutFolder(UserDefaultUtil &settings, const QString &folder)
{
    settings.pathDirCut = folder;
    settings.setValue(QString::fromLatin1(UserDefaultUtil::KEY_PATH_DIR_CUT), folder);
}

void OverlayChoices::storeCaptureFolder(UserDefaultUtil &settings, const QString &folder)
{
    settings.pathDirCap = folder;
    settings.setValue(QString::fromLatin1(UserDefaultUtil::KEY_PATH_DIR_CAP), folder);
}

QString OverlayChoices::startFolder(const QString &stored, const QString &fallback)
{
    return !stored.isEmpty() && QFileInfo(stored).isDir() ? stored : fallback;
}

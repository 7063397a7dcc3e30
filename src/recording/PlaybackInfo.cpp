#include "recording/PlaybackInfo.h"

#include "recording/IniFile.h"
#include "recording/VideoFrame.h"

#include "platform/PlatformError.h"

namespace {
const QString UNKNOWN = QStringLiteral("不明");
}

PlaybackInfo::PlaybackInfo()
    : userCarCode(UNKNOWN), userDriverCode(UNKNOWN), _m_NumberPlate(UNKNOWN), _m_DriverName(UNKNOWN),
      organizeCode(DATANOTHING_ZERO_8), _m_OrganizeName(UNKNOWN), recordTime(VideoFrame::makeInvalidTime()),
      endTime(recordTime), detectTime(recordTime), title(QStringLiteral("なし"))
{
}

void PlaybackInfo::load(const QString &path)
{
    IniFile ini;
    ini.load(path);
    const auto valueOr = [&ini](const QString &key, const QString &fallback) {
        try {
            return ini.value(QStringLiteral("INFO"), key);
        } catch (const PlatformError &) {
            return fallback;
        }
    };
    userCarCode = valueOr(QStringLiteral("USER_CAR_CODE"), QString());
    userDriverCode = valueOr(QStringLiteral("USER_DRIVER_CODE"), QString());
    title = valueOr(QStringLiteral("TITLE"), QStringLiteral("なし"));
}

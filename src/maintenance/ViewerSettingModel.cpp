#include "maintenance/ViewerSettingModel.h"

#include "maintenance/ApplicationRestarter.h"
#include "recording/UserDefaultUtil.h"

namespace {

int inList(int index, int count, int fallback)
{
    return index >= 0 && index < count ? index : fallback;
}

} // namespace

ViewerSettingModel::ViewerSettingModel(UserDefaultUtil &settings, ApplicationRestarter *restarter)
    : _settings(settings), _restarter(restarter)
{
}

void ViewerSettingModel::load()
{
    language = _settings.getLanguage();
    dateFormat = int(_settings.getDateFormat());
    timeZone = _settings.getTimeZone();
    summerTime = _settings.getSummerTime();
    speedKmh = _settings.getSpeedMeter();
}

bool ViewerSettingModel::store()
{
    const int storedLanguage = inList(language, LANGUAGE_COUNT, 0);
    const int storedDateFormat = inList(dateFormat, DATE_FORMAT_COUNT, 1);
    const int storedTimeZone = inList(timeZone, TIME_ZONE_COUNT, 5);
    _settings.setLanguage(storedLanguage);
    _settings.setValue(UserDefaultUtil::KEY_DATE_FORMAT, storedDateFormat);
    _settings.setValue(UserDefaultUtil::KEY_TIME_ZONE, storedTimeZone);
    _settings.setValue(UserDefaultUtil::KEY_SUMMER_TIME, summerTime);
    _settings.setValue(UserDefaultUtil::KEY_SPEED_METER, speedKmh);

    // Compared with the values in use, so that choices stored by an earlier "not now" still ask.
    const bool unchanged = storedLanguage == _settings.language &&
                           storedDateFormat == int(_settings.dateFormat) &&
                           storedTimeZone == _settings.timeZone && summerTime == _settings.summerTime &&
                           speedKmh == _settings.speedMeter;
    if (unchanged) {
        _settings.setFlag(UserDefaultUtil::KEY_VIEWER_SETTING_FLG, false);
    }
    return !unchanged;
}

void ViewerSettingModel::answerRestart(bool restartNow)
{
    if (restartNow) {
        _settings.load();
    }
    _settings.restartFlg = restartNow;
    _settings.setFlag(UserDefaultUtil::KEY_VIEWER_SETTING_FLG, false);
    if (restartNow && _restarter) {
        _restarter->terminateForRestart();
    }
}

void ViewerSettingModel::cancel()
{
    _settings.setFlag(UserDefaultUtil::KEY_VIEWER_SETTING_FLG, false);
}

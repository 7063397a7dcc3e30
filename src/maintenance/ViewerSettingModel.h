// The viewer settings dialog without its widgets: the five choices (language, date format, time zone,
// summer time, speed unit) read from the settings store, stored on OK, and the restart they need.
#pragma once

class ApplicationRestarter;
class UserDefaultUtil;

class ViewerSettingModel
{
public:
    static constexpr int LANGUAGE_COUNT = 3;
    static constexpr int DATE_FORMAT_COUNT = 4;
    static constexpr int TIME_ZONE_COUNT = 8;

    // Both outlive the model; restarter may be null (no main window: nothing to quit).
    ViewerSettingModel(UserDefaultUtil &settings, ApplicationRestarter *restarter);

    // Selects what the store holds (out-of-range values give the defaults).
    void load();

    // Stores the choices (an index out of its list stores the default). True when they differ from the
    // settings the running program uses, so the restart question is due; otherwise the dialog's work is
    // done and its in-use flag is cleared.
    bool store();
    // The answer to the restart question: yes reloads the settings, sets the restart flag and asks the
    // application to quit; no clears the restart flag. Either way the in-use flag is cleared.
    void answerRestart(bool restartNow);
    // Cancel and the window's close button: nothing is stored.
    void cancel();

    // Selected list indices (-1: none) and radio choices.
    int language = -1;
    int dateFormat = -1;
    int timeZone = -1;
    bool summerTime = false;
    bool speedKmh = true;

private:
    UserDefaultUtil &_settings;
    ApplicationRestarter *_restarter;
};

// The viewer's own settings: read from the per-user settings store into plain values, with defaults and
// the rules by which stored values are accepted.
#pragma once

#include "recording/DateFormatType.h"

#include <QSizeF>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <cstdint>
#include <memory>

// One object per process, owned by the application and passed to the views that read or write settings.
// The store is shared by every running copy of the viewer. load() refreshes the values; the views that own
// a setting write its key with setValue() and change the value themselves.
class UserDefaultUtil
{
public:
    // Keys, exactly as stored.
    static constexpr const char *KEY_LANGUAGE = "Language";
    static constexpr const char *KEY_DATE_FORMAT = "DateFormat";
    static constexpr const char *KEY_TIME_ZONE = "TimeZone";
    static constexpr const char *KEY_SUMMER_TIME = "SummerTime";
    static constexpr const char *KEY_SPEED_METER = "SpeedMeter";
    static constexpr const char *KEY_PATH_BACKUP = "pathBackup";
    static constexpr const char *KEY_CARD_DRIVE_SELECT = "cardDriveSelect";
    static constexpr const char *KEY_PATH_SELECT_FILE = "pathSelectFile";
    static constexpr const char *KEY_MAP_ZOOM = "mapZoom";
    static constexpr const char *KEY_MAP_DISP_BALOON = "mapDispBaloon";
    static constexpr const char *KEY_MAP_TYPE_ID = "mapTypeId";
    static constexpr const char *KEY_VIEWER_VOLUME = "viewerVolume";
    static constexpr const char *KEY_VIEWER_IS_MUTE = "viewerIsMute";
    static constexpr const char *KEY_VIEWER_GAMMA = "viewerGamma";
    static constexpr const char *KEY_DISP_SPEED_METER = "dispSpeedMeter";
    static constexpr const char *KEY_DISP_CIRCLE_CHART = "dispCircleChart";
    static constexpr const char *KEY_DISP_CIRCLE_CHART_MAX_G = "dispCircleChartMaxG";
    static constexpr const char *KEY_PATH_DIR_CUT = "pathDirCut";
    static constexpr const char *KEY_EXP_DLG_DATE_TIME = "expDlgDateTime";
    static constexpr const char *KEY_EXP_DLG_SPEED = "expDlgSpeed";
    static constexpr const char *KEY_EXP_DLG_ACCELERATION = "expDlgAcceleration";
    static constexpr const char *KEY_EXP_DLG_POINT = "expDlgPoint";
    static constexpr const char *KEY_PATH_DIR_CAP = "pathDirCap";
    static constexpr const char *KEY_PATH_DIR_GOOGLE_EARTH = "pathDirGoogleEarth";
    static constexpr const char *KEY_VIEWER_FIRST_LAUNCH = "TQ-MW58_ViewerFirstLaunch";
    static constexpr const char *KEY_APPLE_LANGUAGES = "AppleLanguages";
    // Set while a dialog of that kind is open in some running copy of the viewer.
    static constexpr const char *KEY_VIEWER_SETTING_FLG = "viewerSettingFlg";
    static constexpr const char *KEY_CAMERA_SETTING_FLG = "cameraSettingFlg";
    static constexpr const char *KEY_BACKUP_SETTING_FLG = "backupSettingFlg";
    static constexpr const char *KEY_BACKUP_DELETE_FLG = "backupDeleteFlg";
    static constexpr const char *KEY_BACKUP_DIRECTORY_SETTING_FLG = "backupDirectorySettingFlg";

    // Full-scale values of the G circle chart; dispCircleChartMaxG is an index into this list.
    static constexpr double CIRCLE_CHART_MAX_G[] = {0.5, 1.0, 1.5, 2.0, 2.5, 3.0};
    // Language codes of the Language values 0 (English), 1 (French), 2 (Spanish).
    static constexpr const char *LANGUAGE_CODES[] = {"en", "fr", "es"};

    // The user's store: userSettingsFile().
    UserDefaultUtil();
    // A store kept in the given INI file (tests use a temporary one). Something there that is no
    // regular file (a FIFO, a folder, a device, a link to one) is not opened, with a warning on stderr:
    // the store's values are kept in memory instead, starting from the defaults. Every store of the
    // session over that same path shares them, as stores over one file do, until the session ends;
    // nothing is saved, and stores over any other path never see them.
    explicit UserDefaultUtil(const QString &settingsFile);
    // "Orvalind/Orvalind.ini" in the user's config folder.
    static QString userSettingsFile();
    ~UserDefaultUtil();
    UserDefaultUtil(const UserDefaultUtil &) = delete;
    UserDefaultUtil &operator=(const UserDefaultUtil &) = delete;

    // Refreshes the values from the store, key by key in a fixed order. An absent key keeps its value,
    // except DateFormat and TimeZone, which go back to their defaults first. A mapTypeId that is not text
    // ends the load there: viewerVolume and the keys after it keep their values.
    void load();

    // Read the store directly, leaving the values alone (for the settings dialog).
    std::uint8_t getLanguage() const;
    DateFormatType getDateFormat() const;
    std::uint8_t getTimeZone() const;
    bool getSummerTime() const;
    bool getSpeedMeter() const;

    // Stores AppleLanguages = [code] and Language = value; takes effect at the next start. Values outside
    // 0...2 are stored as 0 (English).
    void setLanguage(int value);
    void setPathDirGoogleEarth(const QUrl &url);

    // Raw access to the store for the views that own a key. setValue writes through at once so other
    // running copies see it.
    void setValue(const QString &key, const QVariant &value);
    QVariant value(const QString &key) const;
    bool contains(const QString &key) const;
    void remove(const QString &key);
    bool flag(const QString &key) const;
    void setFlag(const QString &key, bool value);
    QString fileName() const;

    // The user's Documents folder (the home folder when the system names none), as a path and as a
    // directory URL.
    static QString documentsPath();
    static QUrl documentsUrl();
    // Where a save panel opens: the remembered folder when it exists, else Documents when it exists,
    // else the home folder. A missing folder is never handed on, as a panel would take it for a name.
    static QString saveStartFolder(const QString &remembered);

    std::uint8_t language = 0; // 0 English, 1 French, 2 Spanish
    DateFormatType dateFormat = DateFormatType::MDY24H;
    std::uint8_t timeZone = 5; // 0...7, DateFormatTypeUtil::timeZoneIdentifier
    bool summerTime = false;
    bool speedMeter = true; // true km/h, false mph
    QString pathBackup;     // starts as the Documents folder
    QString cardDriveSelect;
    QString pathSelectFile;
    int mapZoom = 15;
    bool mapDispBaloon = true;
    QString mapTypeId = QStringLiteral("roadmap");
    float viewerVolume = 1.0f;
    bool viewerIsMute = false;
    double viewerGamma = 1.0;
    bool dispSpeedMeter = true;
    bool dispCircleChart = true;
    std::uint8_t dispCircleChartMaxG = 0; // index into CIRCLE_CHART_MAX_G
    QString pathDirCut;
    bool expDlgDateTime = false;
    bool expDlgSpeed = false;
    bool expDlgAcceleration = false;
    bool expDlgPoint = false;
    QString pathDirCap;
    QUrl pathDirGoogleEarth;        // starts as the Documents folder
    bool viewerFirstLaunch = false; // "TQ-MW58_ViewerFirstLaunch": true once the viewer has run before

    // Kept in memory only.
    QSizeF newWindowSize{480.0, 294.0};
    bool restartFlg = false;

    class Store;

private:
    std::unique_ptr<Store> _store;
    QString _fileName; // the store's file, also when it was not opened
};

#include "recording/UserDefaultUtil.h"

#include "recording/FileUtil.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>

#include <cmath>
#include <mutex>

namespace {

// The store's "text" accessor: texts and numbers give text, anything else (dates, lists, data) none.
std::optional<QString> asText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool:
        return value.toString();
    default:
        return std::nullopt;
    }
}

std::optional<QUrl> asUrl(const QVariant &value)
{
    if (value.typeId() == QMetaType::QUrl)
        return value.toUrl();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        if (text.isEmpty())
            return std::nullopt;
        if (text.startsWith(QLatin1String("file:")))
            return QUrl(text);
        return QUrl::fromLocalFile(text);
    }
    return std::nullopt;
}

bool isExistingFolder(const QString &path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && info.isDir();
}

std::uint8_t languageOf(const QVariant &value)
{
    const int raw = value.toInt();
    return raw == 1 || raw == 2 ? std::uint8_t(raw) : 0;
}

// A number the player can use: nan and the infinities are refused.
std::optional<double> finiteNumber(const QVariant &value)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok && std::isfinite(number) ? std::optional(number) : std::nullopt;
}

} // namespace

// What the values are kept in: the settings file, or memory where the file is unusable.
class UserDefaultUtil::Store
{
public:
    virtual ~Store() = default;
    virtual QVariant value(const QString &key) const = 0;
    virtual bool contains(const QString &key) const = 0;
    virtual void setValue(const QString &key, const QVariant &value) = 0;
    virtual void remove(const QString &key) = 0;
    // Takes what other stores over the same place wrote, and writes this one's out.
    virtual void sync() = 0;
};

namespace {

class FileStore final : public UserDefaultUtil::Store
{
public:
    explicit FileStore(const QString &path) : _settings(path, QSettings::IniFormat) {}
    QVariant value(const QString &key) const override { return _settings.value(key); }
    bool contains(const QString &key) const override { return _settings.contains(key); }
    void setValue(const QString &key, const QVariant &value) override { _settings.setValue(key, value); }
    void remove(const QString &key) override { _settings.remove(key); }
    void sync() override { _settings.sync(); }

private:
    QSettings _settings;
};

// The values of every store of the session over one unusable path.
struct SharedValues
{
    mutable std::mutex mutex;
    QVariantMap values;
};

class MemoryStore final : public UserDefaultUtil::Store
{
public:
    explicit MemoryStore(std::shared_ptr<SharedValues> shared) : _shared(std::move(shared)) {}
    QVariant value(const QString &key) const override
    {
        std::lock_guard lock(_shared->mutex);
        return _shared->values.value(key);
    }
    bool contains(const QString &key) const override
    {
        std::lock_guard lock(_shared->mutex);
        return _shared->values.contains(key);
    }
    void setValue(const QString &key, const QVariant &value) override
    {
        std::lock_guard lock(_shared->mutex);
        _shared->values.insert(key, value);
    }
    void remove(const QString &key) override
    {
        std::lock_guard lock(_shared->mutex);
        _shared->values.remove(key);
    }
    void sync() override {}

private:
    std::shared_ptr<SharedValues> _shared;
};

// The store in the file. QSettings reads its file as it is made, and a FIFO there would block the start
// for good; anything there that is no regular file is left alone, and the session keeps that path's
// values in memory (see the header).
std::unique_ptr<UserDefaultUtil::Store> openStore(const QString &path)
{
    const QFileInfo info(path);
    if (!(info.exists() || info.isSymLink()) || info.isFile())
        return std::make_unique<FileStore>(path);
    static std::mutex mutex;
    static QHash<QString, std::shared_ptr<SharedValues>> unusable;
    std::lock_guard lock(mutex);
    const QString key = info.absoluteFilePath();
    auto &shared = unusable[key];
    if (!shared) {
        // Said once: the program opens its store in several places.
        shared = std::make_shared<SharedValues>();
        qWarning().noquote() << QStringLiteral("Orvalind: %1 is not a regular file: starting with the "
                                               "default settings, which are not saved.")
                                    .arg(path);
    }
    return std::make_unique<MemoryStore>(shared);
}

} // namespace

UserDefaultUtil::UserDefaultUtil() : UserDefaultUtil(userSettingsFile()) {}

UserDefaultUtil::UserDefaultUtil(const QString &settingsFile)
    : pathBackup(documentsPath()), pathDirGoogleEarth(documentsUrl()), _store(openStore(settingsFile)),
      _fileName(settingsFile)
{
}

QString UserDefaultUtil::userSettingsFile()
{
    // Where QSettings keeps the user scope's INI file of the organisation and application "Orvalind".
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Orvalind/Orvalind.ini");
}

UserDefaultUtil::~UserDefaultUtil() = default;

QString UserDefaultUtil::documentsPath()
{
    QString path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (path.isEmpty())
        path = QDir::homePath();
    return path;
}

QString UserDefaultUtil::saveStartFolder(const QString &remembered)
{
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    const QString documents = documentsPath();
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QUrl UserDefaultUtil::documentsUrl()
{
    return FileUtil::fileUrl(documentsPath());
}

void UserDefaultUtil::load()
{
    Store &s = *_store;
    s.sync();
    auto present = [&s](const char *key) { return s.contains(QLatin1String(key)); };
    auto get = [&s](const char *key) { return s.value(QLatin1String(key)); };

    if (present(KEY_LANGUAGE))
        language = languageOf(get(KEY_LANGUAGE));

    dateFormat = DateFormatType::MDY24H;
    if (present(KEY_DATE_FORMAT))
        dateFormat = dateFormatTypeFromRaw(get(KEY_DATE_FORMAT).toInt()).value_or(DateFormatType::MDY24H);

    timeZone = 5;
    if (present(KEY_TIME_ZONE)) {
        const int raw = get(KEY_TIME_ZONE).toInt();
        timeZone = raw >= 0 && raw <= 7 ? std::uint8_t(raw) : 5;
    }

    if (present(KEY_SUMMER_TIME))
        summerTime = get(KEY_SUMMER_TIME).toBool();
    if (present(KEY_SPEED_METER))
        speedMeter = get(KEY_SPEED_METER).toBool();

    if (present(KEY_PATH_BACKUP)) {
        const std::optional<QString> text = asText(get(KEY_PATH_BACKUP));
        pathBackup = text && isExistingFolder(*text) ? *text : documentsPath();
    }
    if (present(KEY_CARD_DRIVE_SELECT))
        cardDriveSelect = asText(get(KEY_CARD_DRIVE_SELECT)).value_or(QString());
    if (present(KEY_PATH_SELECT_FILE))
        pathSelectFile = asText(get(KEY_PATH_SELECT_FILE)).value_or(documentsPath());
    if (present(KEY_MAP_ZOOM))
        mapZoom = get(KEY_MAP_ZOOM).toInt();
    if (present(KEY_MAP_DISP_BALOON))
        mapDispBaloon = get(KEY_MAP_DISP_BALOON).toBool();
    if (present(KEY_MAP_TYPE_ID)) {
        const std::optional<QString> text = asText(get(KEY_MAP_TYPE_ID));
        if (!text)
            return;
        mapTypeId = *text;
    }
    // Values that are no finite number are refused: they would reach the player and be stored again.
    if (present(KEY_VIEWER_VOLUME)) {
        if (const auto volume = finiteNumber(get(KEY_VIEWER_VOLUME)); volume && std::isfinite(float(*volume)))
            viewerVolume = float(*volume);
    }
    if (present(KEY_VIEWER_IS_MUTE))
        viewerIsMute = get(KEY_VIEWER_IS_MUTE).toBool();
    if (present(KEY_VIEWER_GAMMA)) {
        if (const auto gamma = finiteNumber(get(KEY_VIEWER_GAMMA)))
            viewerGamma = *gamma;
    }
    if (present(KEY_DISP_SPEED_METER))
        dispSpeedMeter = get(KEY_DISP_SPEED_METER).toBool();
    if (present(KEY_DISP_CIRCLE_CHART))
        dispCircleChart = get(KEY_DISP_CIRCLE_CHART).toBool();
    if (present(KEY_DISP_CIRCLE_CHART_MAX_G)) {
        const double maxG = get(KEY_DISP_CIRCLE_CHART_MAX_G).toDouble();
        dispCircleChartMaxG = 0;
        for (std::uint8_t i = 0; i < std::size(CIRCLE_CHART_MAX_G); ++i) {
            if (maxG == CIRCLE_CHART_MAX_G[i])
                dispCircleChartMaxG = i;
        }
    }
    // The trim and capture tools check their folder themselves and each has its own fallback, so a
    // folder that has gone is kept as stored here.
    if (present(KEY_PATH_DIR_CUT))
        pathDirCut = asText(get(KEY_PATH_DIR_CUT)).value_or(documentsPath());
    if (present(KEY_EXP_DLG_DATE_TIME))
        expDlgDateTime = get(KEY_EXP_DLG_DATE_TIME).toBool();
    if (present(KEY_EXP_DLG_SPEED))
        expDlgSpeed = get(KEY_EXP_DLG_SPEED).toBool();
    if (present(KEY_EXP_DLG_ACCELERATION))
        expDlgAcceleration = get(KEY_EXP_DLG_ACCELERATION).toBool();
    if (present(KEY_EXP_DLG_POINT))
        expDlgPoint = get(KEY_EXP_DLG_POINT).toBool();
    if (present(KEY_PATH_DIR_CAP))
        pathDirCap = asText(get(KEY_PATH_DIR_CAP)).value_or(documentsPath());
    if (present(KEY_PATH_DIR_GOOGLE_EARTH))
        pathDirGoogleEarth = asUrl(get(KEY_PATH_DIR_GOOGLE_EARTH)).value_or(documentsUrl());
    if (present(KEY_VIEWER_FIRST_LAUNCH))
        viewerFirstLaunch = get(KEY_VIEWER_FIRST_LAUNCH).toBool();
}

std::uint8_t UserDefaultUtil::getLanguage() const
{
    const QString key = QLatin1String(KEY_LANGUAGE);
    return _store->contains(key) ? languageOf(_store->value(key)) : 0;
}

DateFormatType UserDefaultUtil::getDateFormat() const
{
    const QString key = QLatin1String(KEY_DATE_FORMAT);
    if (!_store->contains(key))
        return DateFormatType::MDY24H;
    return dateFormatTypeFromRaw(_store->value(key).toInt()).value_or(DateFormatType::MDY24H);
}

std::uint8_t UserDefaultUtil::getTimeZone() const
{
    const QString key = QLatin1String(KEY_TIME_ZONE);
    if (!_store->contains(key))
        return 5;
    const int raw = _store->value(key).toInt();
    return raw >= 0 && raw <= 7 ? std::uint8_t(raw) : 5;
}

bool UserDefaultUtil::getSummerTime() const
{
    const QString key = QLatin1String(KEY_SUMMER_TIME);
    return _store->contains(key) ? _store->value(key).toBool() : summerTime;
}

bool UserDefaultUtil::getSpeedMeter() const
{
    const QString key = QLatin1String(KEY_SPEED_METER);
    return _store->contains(key) ? _store->value(key).toBool() : speedMeter;
}

void UserDefaultUtil::setLanguage(int value)
{
    const int index = value >= 0 && value <= 2 ? value : 0;
    _store->setValue(QLatin1String(KEY_APPLE_LANGUAGES),
                     QStringList{QString::fromLatin1(LANGUAGE_CODES[index])});
    _store->sync();
    setValue(QLatin1String(KEY_LANGUAGE), index);
}

void UserDefaultUtil::setPathDirGoogleEarth(const QUrl &url)
{
    pathDirGoogleEarth = url;
    setValue(QLatin1String(KEY_PATH_DIR_GOOGLE_EARTH), url);
}

void UserDefaultUtil::setValue(const QString &key, const QVariant &value)
{
    _store->setValue(key, value);
    _store->sync();
}

QVariant UserDefaultUtil::value(const QString &key) const
{
    return _store->value(key);
}

bool UserDefaultUtil::contains(const QString &key) const
{
    return _store->contains(key);
}

void UserDefaultUtil::remove(const QString &key)
{
    _store->remove(key);
    _store->sync();
}

bool UserDefaultUtil::flag(const QString &key) const
{
    _store->sync();
    return _store->value(key).toBool();
}

void UserDefaultUtil::setFlag(const QString &key, bool value)
{
    setValue(key, value);
}

QString UserDefaultUtil::fileName() const
{
    return _fileName;
}

#include "recording/SettingInfo.h"

#include "recording/CommonConst.h"

#include "platform/BoundedFileReader.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cstdlib>

namespace {

struct ItemRow
{
    SettingInfo::GroupCode code;
    SettingInfo::Bytes SettingInfo::*field;
    int dataCount; // data bytes a reader takes out of the item
    int dataType;  // SettingInfo::DataType as int; -1 for the read-only device type
    // For the plain accessors (readValue / writeValue): how the value reads, and the BCD bytes
    // written (and read, for Bcd).
    SettingInfo::Encoding read = SettingInfo::Encoding::None;
    int digits = 0;
};

// In the order the codes are matched when reading; the write order is DataType's.
const std::array<ItemRow, 34> &itemRows()
{
    using S = SettingInfo;
    using T = SettingInfo::DataType;
    using E = SettingInfo::Encoding;
    static const std::array<ItemRow, 34> rows{{
        {S::GRP_CD_FILE_INFO, &S::_fileInfo, 2, int(T::FileInfo)},
        {S::GRP_CD_DATETIME, &S::_datetime, 5, int(T::DateTime)},
        {S::GRP_CD_DEVICETYPE, &S::_deviceType, 1, -1},
        {S::GRP_CD_SECURITY1, &S::_security1, 5, int(T::Security1)},
        {S::GRP_CD_SECURITY2, &S::_security2, 5, int(T::Security2)},
        {S::GRP_CD_WIFI_PASS1, &S::_wifiPass1, 5, int(T::WiFiPass1)},
        {S::GRP_CD_WIFI_PASS2, &S::_wifiPass2, 5, int(T::WiFiPass2)},
        {S::GRP_CD_WIFI_PASS3, &S::_wifiPass3, 5, int(T::WiFiPass3)},
        {S::GRP_CD_WIFI_PASS4, &S::_wifiPass4, 5, int(T::WiFiPass4)},
        {S::GRP_CD_RESET_WIFI_PASS, &S::_resetWifiPass, 1, int(T::ResetWifiPass)},
        {S::GRP_CD_RESET_ALL_SETTING, &S::_resetAllSetting, 1, int(T::ResetAllSetting)},
        {S::GRP_CD_BUZZ_ACTION, &S::_buzzAction, 1, int(T::BuzzAction), E::Byte, 1},
        {S::GRP_CD_GDC_VOLUME, &S::_guidanceVolume, 1, int(T::GuidanceVolume), E::Bcd, 1},
        {S::GRP_CD_BUZZ_OPERATION, &S::_buzzOperation, 1, int(T::BuzzOperation), E::Byte, 1},
        {S::GRP_CD_BUZZ_NOCARD, &S::_buzzNoCard, 1, int(T::BuzzNoCard), E::Byte, 1},
        {S::GRP_CD_BUZZ_SURV, &S::_buzzSurv, 1, int(T::BuzzSurv), E::None, 1},
        {S::GRP_CD_GGDC_LEVEL, &S::_gGdcLevel, 2, int(T::GGdcLelvel), E::Bcd, 2},
        {S::GRP_CD_GGDC_TIME, &S::_gGdcTime, 1, int(T::GGdcTime), E::None, 1},
        {S::GRP_CD_GTRG_LEVEL, &S::_gTrgLevel, 2, int(T::GTrgLevel), E::Bcd, 2},
        {S::GRP_CD_GTRG_TIME, &S::_gTrgTime, 1, int(T::GTrgTime), E::None, 1},
        {S::GRP_CD_PTRG_LEVEL, &S::_pTrgLevel, 1, int(T::PTrgLevel), E::None, 1},
        {S::GRP_CD_PTRG_TIME, &S::_pTrgTime, 2, int(T::PTrgTime), E::None, 1},
        {S::GRP_CD_GTRG_CROSS, &S::_gTrgCross, 2, int(T::GtrgCross)},
        {S::GRP_CD_MOD_ANGL, &S::_modAngle, 2, int(T::ModAngle)},
        {S::GRP_CD_QLT_MODE, &S::_qualityMode, 1, int(T::QualityMode), E::Bcd, 1},
        {S::GRP_CD_REC_SOUND, &S::_recSound, 1, int(T::RecSound), E::Bcd, 1},
        {S::GRP_CD_SURV_REC, &S::_survRec, 1, int(T::SurvRec)},
        {S::GRP_CD_OPE_TIME, &S::_opeTime, 2, int(T::OpeTime), E::Bcd, 2},
        {S::GRP_CD_SURV_G_SENSOR_X, &S::_survGSensorX, 2, int(T::SurvGSensorX), E::Bcd, 2},
        {S::GRP_CD_SURV_G_SENSOR_Y, &S::_survGSensorY, 2, int(T::SurvGSensorY), E::Bcd, 2},
        {S::GRP_CD_SURV_ACC_OFF_TIME, &S::_survAccOffTime, 1, int(T::SurvAccOffTime), E::Byte, 1},
        {S::GRP_CD_SURV_ACC_ON_TIME, &S::_survAccOnTime, 1, int(T::SurvAccOnTime), E::Byte, 1},
        {S::GRP_CD_ADV_MODE, &S::_advMode, 1, int(T::AdvMode)},
        {S::GRP_CD_REC_FILE, &S::_recFileCnt, 2, int(T::RecFileCnt), E::Bcd, 2},
    }};
    return rows;
}

const ItemRow &rowOf(SettingInfo::DataType type)
{
    for (const ItemRow &row : itemRows()) {
        if (row.dataType == int(type)) {
            return row;
        }
    }
    Q_UNREACHABLE();
}

bool hasValidCheckByte(std::span<const uint8_t> item)
{
    if (item.size() != size_t(SettingInfo::ITEM_BYTE_COUNT)) {
        return false;
    }
    uint8_t check = 0;
    for (size_t i = 0; i < 7; ++i) {
        check ^= item[i];
    }
    return check == item[7];
}

// The FileInfo data come from the text "0714", two hexadecimal pairs.
const SettingInfo::Bytes &fileInfoData()
{
    static const SettingInfo::Bytes data = [] {
        const QString text = QStringLiteral("0714");
        return SettingInfo::Bytes{uint8_t(text.left(2).toUInt(nullptr, 16)),
                                  uint8_t(text.mid(2).toUInt(nullptr, 16))};
    }();
    return data;
}

// The file's first maxSize bytes: the settings files have a fixed size, nothing past it is looked at.
QByteArray readWholeFile(const QString &path, qint64 maxSize)
{
    return BoundedFileReader::readFile(path, maxSize, BoundedFileReader::Oversize::TakePrefix).bytes;
}

} // namespace

// The maker's factory value is not part of any document this viewer was built from. Until it is
// supplied, the pieces hold the item filler 0xFF ("no data"), so a reset never writes a guessed
// password that would lock the user out of the camera's Wi-Fi.
const std::array<std::array<uint8_t, 5>, 4> SettingInfo::FACTORY_WIFI_PASS{{
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
}};

SettingInfo::SettingInfo() : _fileInfo(fileInfoData()) {}

SettingInfo::Bytes SettingInfo::createItem(std::span<const uint8_t> code, std::span<const uint8_t> data)
{
    Bytes item(ITEM_BYTE_COUNT, NODATA);
    for (size_t i = 0; i < 2 && i < code.size(); ++i) {
        item[i] = code[i];
    }
    // At most five data bytes fit between the code and the check byte.
    const size_t dataCount = std::min<size_t>(data.size(), 5);
    std::copy_n(data.begin(), dataCount, item.begin() + 2);
    uint8_t check = 0;
    for (size_t i = 0; i < 7; ++i) {
        check ^= item[i];
    }
    item[7] = check;
    return item;
}

SettingInfo::Bytes SettingInfo::getItem(DataType type) const
{
    const ItemRow &row = rowOf(type);
    const Bytes &field = this->*row.field;
    if (field.empty()) {
        // The camera expects both security items in every file.
        if (type == DataType::Security1 || type == DataType::Security2) {
            const Bytes none(5, NODATA);
            return createItem(row.code, none);
        }
        return {};
    }
    return createItem(row.code, field);
}

bool SettingInfo::setItem(std::span<const uint8_t> data)
{
    if (!hasValidCheckByte(data)) {
        return false;
    }
    for (const ItemRow &row : itemRows()) {
        if (data[0] == row.code[0] && data[1] == row.code[1]) {
            this->*row.field = Bytes(data.begin() + 2, data.begin() + 2 + row.dataCount);
            return true;
        }
    }
    return false;
}

SettingInfo::Bytes SettingInfo::toBytes() const
{
    Bytes bytes;
    bytes.reserve(ITEM_BYTE_COUNT * (DATA_TYPE_COUNT + _unknownData.size()));
    for (int type = 0; type < DATA_TYPE_COUNT; ++type) {
        const Bytes item = getItem(DataType(type));
        bytes.insert(bytes.end(), item.begin(), item.end());
    }
    for (const Bytes &item : _unknownData) {
        if (item.size() >= size_t(ITEM_BYTE_COUNT)) {
            bytes.insert(bytes.end(), item.begin(), item.begin() + ITEM_BYTE_COUNT);
        }
    }
    return bytes;
}

void SettingInfo::clearItems()
{
    for (const ItemRow &row : itemRows()) {
        if (row.field != &SettingInfo::_deviceType) {
            (this->*row.field).clear();
        }
    }
    _unknownData.clear();
}

// Takes up to count items from offset on, never past the end of the data: a truncated file
// gives its whole items only.
void SettingInfo::takeItems(std::span<const uint8_t> file, qsizetype offset, qsizetype count)
{
    for (qsizetype k = 0; k < count; ++k) {
        const qsizetype at = offset + k * ITEM_BYTE_COUNT;
        if (at + ITEM_BYTE_COUNT > qsizetype(file.size())) {
            break;
        }
        const auto item = file.subspan(at, ITEM_BYTE_COUNT);
        if (setItem(item)) {
            continue;
        }
        // Keep valid items of codes we do not know; FF FF is the padding of GROUP.DAT.
        if (hasValidCheckByte(item) && !(item[0] == NODATA && item[1] == NODATA)) {
            auto same = std::find_if(_unknownData.begin(), _unknownData.end(), [&](const Bytes &known) {
                return known[0] == item[0] && known[1] == item[1];
            });
            if (same != _unknownData.end()) {
                *same = Bytes(item.begin(), item.end());
            } else {
                _unknownData.emplace_back(item.begin(), item.end());
            }
        }
    }
}

void SettingInfo::Load_SETINF(const QString &path)
{
    clearItems();
    // The count is one byte: nothing past 255 items is ever read, whatever the file's size.
    const QByteArray file = readWholeFile(path, SETINF_HEADER_SIZE + 255 * ITEM_BYTE_COUNT);
    if (file.size() <= SETINF_COUNT_OFFSET) {
        return;
    }
    const auto bytes = std::span(reinterpret_cast<const uint8_t *>(file.constData()), size_t(file.size()));
    takeItems(bytes, SETINF_HEADER_SIZE, bytes[SETINF_COUNT_OFFSET]);
}

void SettingInfo::Load(const QString &path)
{
    clearItems();
    const QByteArray file = readWholeFile(path, CommonConst::FILE_SIZE_SETTING_WRITE);
    const auto bytes = std::span(reinterpret_cast<const uint8_t *>(file.constData()), size_t(file.size()));
    takeItems(bytes, 0, file.size() / ITEM_BYTE_COUNT);
}

bool SettingInfo::Save(const QString &path, QString *error) const
{
    Bytes bytes = toBytes();
    const auto fileSize = size_t(CommonConst::FILE_SIZE_SETTING_WRITE);
    QString why;
    bool saved = bytes.size() <= fileSize;
    if (!saved)
        why = QStringLiteral("the settings do not fit in the file");
    if (saved) {
        bytes.resize(fileSize, NODATA);
        QSaveFile file(path);
        saved = file.open(QIODevice::WriteOnly) &&
                file.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size())) ==
                    qint64(bytes.size()) &&
                file.commit();
        if (!saved)
            why = file.errorString();
    }
    if (saved) {
        const QByteArray written = readWholeFile(path, qint64(bytes.size()) + 1);
        saved =
            written.size() == qsizetype(bytes.size()) &&
            std::equal(bytes.begin(), bytes.end(), reinterpret_cast<const uint8_t *>(written.constData()));
        if (!saved)
            why = QStringLiteral("the file read back differs from what was written");
    }
    if (!saved && error)
        *error = QStringLiteral("%1: %2").arg(path, why);
    if (!saved) {
        QFile::remove(path);
    }
    return saved;
}

void SettingInfo::marge(const SettingInfo &info)
{
    static constexpr Bytes SettingInfo::*fields[] = {
        &SettingInfo::_datetime,       &SettingInfo::_security1,       &SettingInfo::_security2,
        &SettingInfo::_resetWifiPass,  &SettingInfo::_resetAllSetting, &SettingInfo::_buzzAction,
        &SettingInfo::_guidanceVolume, &SettingInfo::_buzzOperation,   &SettingInfo::_buzzNoCard,
        &SettingInfo::_buzzSurv,       &SettingInfo::_gGdcLevel,       &SettingInfo::_gGdcTime,
        &SettingInfo::_gTrgLevel,      &SettingInfo::_gTrgTime,        &SettingInfo::_pTrgLevel,
        &SettingInfo::_pTrgTime,       &SettingInfo::_gTrgCross,       &SettingInfo::_modAngle,
        &SettingInfo::_qualityMode,    &SettingInfo::_recSound,        &SettingInfo::_survRec,
        &SettingInfo::_opeTime,        &SettingInfo::_survGSensorX,    &SettingInfo::_survGSensorY,
        &SettingInfo::_survAccOffTime, &SettingInfo::_survAccOnTime,   &SettingInfo::_advMode,
        &SettingInfo::_recFileCnt,
    };
    for (Bytes SettingInfo::*field : fields) {
        if ((this->*field).empty()) {
            this->*field = info.*field;
        }
    }
    if (_unknownData.empty()) {
        _unknownData = info._unknownData;
    }
}

SettingInfo::Bytes SettingInfo::toBcd(int64_t value, int count)
{
    // Negative values are written by magnitude; the angle keeps its sign in a byte of its own.
    uint64_t rest = value < 0 ? uint64_t(0) - uint64_t(value) : uint64_t(value);
    Bytes bytes(size_t(std::max(count, 0)), 0);
    for (int i = count - 1; i >= 0; --i) {
        const uint8_t low = rest % 10;
        rest /= 10;
        const uint8_t high = rest % 10;
        rest /= 10;
        bytes[size_t(i)] = uint8_t(high << 4 | low);
    }
    return bytes;
}

QString SettingInfo::toHexString(std::span<const uint8_t> data, int count)
{
    QString text;
    const size_t n = std::min(data.size(), size_t(std::max(count, 0)));
    for (size_t i = 0; i < n; ++i) {
        text += QStringLiteral("%1").arg(data[i], 2, 16, QLatin1Char('0')).toUpper();
    }
    return text;
}

int32_t SettingInfo::getByteValue(const Bytes &field)
{
    return field.empty() ? -1 : int32_t(field[0]);
}

int32_t SettingInfo::getBcdValue(const Bytes &field, int count)
{
    if (field.empty() || field.size() < size_t(count)) {
        return -1;
    }
    const QString text = toHexString(field, count);
    for (QChar c : text) {
        if (!c.isDigit()) {
            return -1;
        }
    }
    bool ok = false;
    const int32_t value = text.toInt(&ok, 10);
    return ok ? value : -1;
}

void SettingInfo::setBcdValue(int64_t value, int count, Bytes &field)
{
    field = toBcd(value, count);
}

void SettingInfo::setDateTime(const QDateTime &value)
{
    if (!value.isValid()) {
        return;
    }
    const QDateTime local = value.toLocalTime();
    const QDate date = local.date();
    const QTime time = local.time();
    if (!date.isValid() || !time.isValid()) {
        return;
    }
    Bytes data;
    for (int part : {date.year() % 100, date.month(), date.day(), time.hour(), time.minute()}) {
        data.push_back(toBcd(part, 1)[0]);
    }
    _datetime = data;
}

void SettingInfo::setDateTimeNone()
{
    _datetime = Bytes(5, NODATA);
}

int32_t SettingInfo::readValue(DataType type) const
{
    const ItemRow &row = rowOf(type);
    switch (row.read) {
    case Encoding::Byte:
        return getByteValue(this->*row.field);
    case Encoding::Bcd:
        return getBcdValue(this->*row.field, row.digits);
    case Encoding::None:
        break;
    }
    return -1;
}

void SettingInfo::writeValue(DataType type, int64_t value)
{
    const ItemRow &row = rowOf(type);
    setBcdValue(value, row.digits, this->*row.field);
}

int32_t SettingInfo::getDeviceType() const
{
    return getByteValue(_deviceType);
}
int32_t SettingInfo::getGTrgCross() const
{
    switch (getBcdValue(_gTrgCross, 2)) {
    case -1:
        return -1;
    case GTRG_CROSS_2:
        return 2;
    case GTRG_CROSS_3:
        return 3;
    case GTRG_CROSS_4:
        return 4;
    case GTRG_CROSS_5:
        return 5;
    default:
        return 1;
    }
}

void SettingInfo::setGTrgCross(int64_t value)
{
    int32_t stored = GTRG_CROSS_1;
    switch (value) {
    case 2:
        stored = GTRG_CROSS_2;
        break;
    case 3:
        stored = GTRG_CROSS_3;
        break;
    case 4:
        stored = GTRG_CROSS_4;
        break;
    case 5:
        stored = GTRG_CROSS_5;
        break;
    default:
        break;
    }
    setBcdValue(stored, 2, _gTrgCross);
}

void SettingInfo::getModAngle(int32_t &isAuto, int32_t &value) const
{
    isAuto = -1;
    value = -2;
    if (_modAngle.empty()) {
        return;
    }
    const uint8_t mode = _modAngle[0];
    if (mode == 0x80) {
        isAuto = 1;
        value = 0;
        return;
    }
    if (mode != 0x00 && mode != 0x01) {
        return;
    }
    isAuto = 0;
    const int32_t magnitude = _modAngle.size() < 2 ? -1 : getBcdValue(Bytes{_modAngle[1]}, 1);
    if (magnitude < 0) {
        value = -2;
        return;
    }
    value = mode == 0x01 ? -magnitude : magnitude;
}

void SettingInfo::setModAngle(bool isAuto, int32_t value)
{
    if (isAuto) {
        _modAngle = {0x80, 0x00};
        return;
    }
    _modAngle = {uint8_t(value < 0 ? 0x01 : 0x00), toBcd(value, 1)[0]};
}

void SettingInfo::resetWifiPass()
{
    Bytes *fields[] = {&_wifiPass1, &_wifiPass2, &_wifiPass3, &_wifiPass4};
    for (size_t k = 0; k < FACTORY_WIFI_PASS.size(); ++k) {
        *fields[k] = Bytes(FACTORY_WIFI_PASS[k].begin(), FACTORY_WIFI_PASS[k].end());
    }
}

void SettingInfo::setSurvRec(bool valueOn, bool valueOff, int32_t valueMode)
{
    int32_t stored = 0;
    if (valueOn && !valueOff) {
        stored = valueMode == 0 ? 1 : valueMode == 1 ? 2 : 0;
    }
    setBcdValue(stored, 1, _survRec);
}

void SettingInfo::getSurvRec(int32_t &valueOn, int32_t &valueOff, int32_t &valueMode) const
{
    valueOn = valueOff = valueMode = -1;
    if (_survRec.empty()) {
        return;
    }
    switch (_survRec[0]) {
    case 0:
        valueOn = 0, valueOff = 1, valueMode = 0;
        break;
    case 1:
        valueOn = 1, valueOff = 0, valueMode = 0;
        break;
    case 2:
        valueOn = 1, valueOff = 0, valueMode = 1;
        break;
    default:
        break;
    }
}

void SettingInfo::setAdvMode(bool valueOn, bool valueOff)
{
    setBcdValue(valueOn && !valueOff ? 1 : 0, 1, _advMode);
}

void SettingInfo::getAdvMode(int32_t &valueOn, int32_t &valueOff) const
{
    valueOn = valueOff = -1;
    if (_advMode.empty()) {
        return;
    }
    if (_advMode[0] == 0) {
        valueOn = 0, valueOff = 1;
    } else if (_advMode[0] == 1) {
        valueOn = 1, valueOff = 0;
    }
}

namespace {
template <typename T> bool inRange(T target, T low, T high, bool isPermission)
{
    if (low < target && target < high) {
        return true;
    }
    if ((target == low && !(target > high)) || (target == high && !(target < low))) {
        return isPermission;
    }
    return false;
}
} // namespace

bool SettingInfo::checkRange(double doTarget, double doLow, double doHigh, bool isPermission)
{
    return inRange(doTarget, doLow, doHigh, isPermission);
}

bool SettingInfo::checkRange(const Decimal &deTarget, const Decimal &deLow, const Decimal &deHigh,
                             bool isPermission)
{
    return inRange(deTarget, deLow, deHigh, isPermission);
}

bool SettingInfo::checkRange(int64_t tTarget, int64_t tLow, int64_t tHigh, bool isPermission)
{
    return inRange(tTarget, tLow, tHigh, isPermission);
}

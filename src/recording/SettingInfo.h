// The camera's settings files: SETINF.DAT (read) and GROUP.DAT (written), a table of 8-byte items.
#pragma once

#include "recording/Decimal.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

class SettingInfo
{
public:
    using Bytes = std::vector<uint8_t>;
    using GroupCode = std::array<uint8_t, 2>;

    // Write order of the items. The device-type item has no case: it is read, never written.
    enum class DataType
    {
        FileInfo,
        DateTime,
        Security1,
        Security2,
        WiFiPass1,
        WiFiPass2,
        WiFiPass3,
        WiFiPass4,
        ResetWifiPass,
        ResetAllSetting,
        BuzzAction,
        GuidanceVolume,
        BuzzOperation,
        BuzzNoCard,
        BuzzSurv,
        GGdcLelvel,
        GGdcTime,
        GTrgLevel,
        GTrgTime,
        PTrgLevel,
        PTrgTime,
        GtrgCross,
        ModAngle,
        QualityMode,
        RecSound,
        SurvRec,
        OpeTime,
        SurvGSensorX,
        SurvGSensorY,
        SurvAccOffTime,
        SurvAccOnTime,
        AdvMode,
        RecFileCnt,
    };
    static constexpr int DATA_TYPE_COUNT = 33;

    static constexpr qsizetype ITEM_BYTE_COUNT = 8;
    static constexpr uint8_t NODATA = 0xFF;
    // Offset of the first item in SETINF.DAT and of its item count.
    static constexpr qsizetype SETINF_HEADER_SIZE = 24;
    static constexpr qsizetype SETINF_COUNT_OFFSET = 8;

    static constexpr int32_t GTRG_CROSS_1 = 10;
    static constexpr int32_t GTRG_CROSS_2 = 20;
    static constexpr int32_t GTRG_CROSS_3 = 30;
    static constexpr int32_t GTRG_CROSS_4 = 40;
    static constexpr int32_t GTRG_CROSS_5 = 50;

    static constexpr GroupCode GRP_CD_FILE_INFO{0x00, 0x01};
    static constexpr GroupCode GRP_CD_DATETIME{0x01, 0x01};
    static constexpr GroupCode GRP_CD_DEVICETYPE{0x01, 0x09};
    static constexpr GroupCode GRP_CD_SECURITY1{0x01, 0x21};
    static constexpr GroupCode GRP_CD_SECURITY2{0x01, 0x22};
    static constexpr GroupCode GRP_CD_WIFI_PASS1{0x01, 0x55};
    static constexpr GroupCode GRP_CD_WIFI_PASS2{0x01, 0x56};
    static constexpr GroupCode GRP_CD_WIFI_PASS3{0x01, 0x57};
    static constexpr GroupCode GRP_CD_WIFI_PASS4{0x01, 0x58};
    static constexpr GroupCode GRP_CD_RESET_WIFI_PASS{0x01, 0x59};
    static constexpr GroupCode GRP_CD_RESET_ALL_SETTING{0x01, 0x60};
    static constexpr GroupCode GRP_CD_BUZZ_ACTION{0x03, 0x01};
    static constexpr GroupCode GRP_CD_GDC_VOLUME{0x03, 0x03};
    static constexpr GroupCode GRP_CD_BUZZ_OPERATION{0x03, 0x06};
    static constexpr GroupCode GRP_CD_BUZZ_NOCARD{0x03, 0x07};
    static constexpr GroupCode GRP_CD_BUZZ_SURV{0x03, 0x08};
    static constexpr GroupCode GRP_CD_GGDC_LEVEL{0x07, 0x24};
    static constexpr GroupCode GRP_CD_GGDC_TIME{0x07, 0x25};
    static constexpr GroupCode GRP_CD_GTRG_LEVEL{0x08, 0x01};
    static constexpr GroupCode GRP_CD_GTRG_TIME{0x08, 0x02};
    static constexpr GroupCode GRP_CD_PTRG_LEVEL{0x08, 0x03};
    static constexpr GroupCode GRP_CD_PTRG_TIME{0x08, 0x04};
    static constexpr GroupCode GRP_CD_GTRG_CROSS{0x08, 0x11};
    static constexpr GroupCode GRP_CD_MOD_ANGL{0x08, 0x12};
    static constexpr GroupCode GRP_CD_QLT_MODE{0x10, 0x03};
    static constexpr GroupCode GRP_CD_REC_SOUND{0x10, 0x06};
    static constexpr GroupCode GRP_CD_SURV_REC{0x20, 0x00};
    static constexpr GroupCode GRP_CD_OPE_TIME{0x20, 0x01};
    static constexpr GroupCode GRP_CD_SURV_G_SENSOR_X{0x20, 0x02};
    static constexpr GroupCode GRP_CD_SURV_G_SENSOR_Y{0x20, 0x03};
    static constexpr GroupCode GRP_CD_SURV_ACC_OFF_TIME{0x20, 0x04};
    static constexpr GroupCode GRP_CD_SURV_ACC_ON_TIME{0x20, 0x05};
    static constexpr GroupCode GRP_CD_ADV_MODE{0x30, 0x00};
    static constexpr GroupCode GRP_CD_REC_FILE{0x30, 0x01};

    // The camera's factory Wi-Fi password as the four 5-byte pieces of the items 01 55 .. 01 58.
    static const std::array<std::array<uint8_t, 5>, 4> FACTORY_WIFI_PASS;

    SettingInfo();

    // Item data bytes (bytes 2 .. 2+n-1 of the item); empty means the item is absent.
    Bytes _fileInfo;
    Bytes _datetime;
    Bytes _deviceType;
    Bytes _security1;
    Bytes _security2;
    Bytes _wifiPass1;
    Bytes _wifiPass2;
    Bytes _wifiPass3;
    Bytes _wifiPass4;
    Bytes _resetWifiPass;
    Bytes _resetAllSetting;
    Bytes _buzzAction;
    Bytes _guidanceVolume;
    Bytes _buzzOperation;
    Bytes _buzzNoCard;
    Bytes _buzzSurv;
    Bytes _gGdcLevel;
    Bytes _gGdcTime;
    Bytes _gTrgLevel;
    Bytes _gTrgTime;
    Bytes _pTrgLevel;
    Bytes _pTrgTime;
    Bytes _gTrgCross;
    Bytes _modAngle;
    Bytes _qualityMode;
    Bytes _recSound;
    Bytes _survRec;
    Bytes _opeTime;
    Bytes _survGSensorX;
    Bytes _survGSensorY;
    Bytes _survAccOffTime;
    Bytes _survAccOnTime;
    Bytes _advMode;
    Bytes _recFileCnt;
    // Whole 8-byte items with a valid check byte but a code this model does not know, in file
    // order (one per code), so that settings of newer cameras survive a rewrite of GROUP.DAT.
    std::vector<Bytes> _unknownData;

    // Items and files.
    static Bytes createItem(std::span<const uint8_t> code, std::span<const uint8_t> data);
    Bytes getItem(DataType type) const;
    bool setItem(std::span<const uint8_t> data);
    Bytes toBytes() const;
    void Load_SETINF(const QString &path);
    void Load(const QString &path);
    // Writes GROUP.DAT under a temporary name, renames it into place and reads it back. On any
    // failure the file at path is removed (the camera must never apply a partial or stale file)
    // and false is returned.
    // error, when given, gets the path and the system's reason of a failure.
    bool Save(const QString &path, QString *error = nullptr) const;
    void marge(const SettingInfo &info);

    // How a plain item's value reads: the byte as it is, or its BCD digits; None for items that
    // are only written or have their own accessors.
    enum class Encoding
    {
        None,
        Byte,
        Bcd,
    };
    // The plain accessors, by the item's row of the table: -1 for an absent or unreadable value.
    int32_t readValue(DataType type) const;
    void writeValue(DataType type, int64_t value);

    // Value helpers shared by the accessors.
    static Bytes toBcd(int64_t value, int count);
    static QString toHexString(std::span<const uint8_t> data, int count);
    static int32_t getByteValue(const Bytes &field);
    static int32_t getBcdValue(const Bytes &field, int count);
    static void setBcdValue(int64_t value, int count, Bytes &field);

    // Accessors (getters give -1 for an absent or unreadable item).
    void setDateTime(const QDateTime &value);
    void setDateTimeNone();
    int32_t getDeviceType() const;
    int32_t getBuzzAction() const { return readValue(DataType::BuzzAction); }
    void setBuzzAction(int32_t value) { writeValue(DataType::BuzzAction, value); }
    int32_t getGuidanceVolume() const { return readValue(DataType::GuidanceVolume); }
    void setGuidanceVolume(int32_t value) { writeValue(DataType::GuidanceVolume, value); }
    int32_t getBuzzOperation() const { return readValue(DataType::BuzzOperation); }
    void setBuzzOperation(int32_t value) { writeValue(DataType::BuzzOperation, value); }
    int32_t getBuzzNoCard() const { return readValue(DataType::BuzzNoCard); }
    void setBuzzNoCard(int32_t value) { writeValue(DataType::BuzzNoCard, value); }
    int32_t getGGdcLevel() const { return readValue(DataType::GGdcLelvel); }
    void setGGdcLevel(int32_t value) { writeValue(DataType::GGdcLelvel, value); }
    void setGGdcTime(int32_t value) { writeValue(DataType::GGdcTime, value); }
    int32_t getGTrgLevel() const { return readValue(DataType::GTrgLevel); }
    void setGTrgLevel(int32_t value) { writeValue(DataType::GTrgLevel, value); }
    void setGTrgTime(int32_t value) { writeValue(DataType::GTrgTime, value); }
    void setPTrgLevel(int32_t value) { writeValue(DataType::PTrgLevel, value); }
    void setPTrgTime(int32_t value) { writeValue(DataType::PTrgTime, value); }
    int32_t getGTrgCross() const;
    void setGTrgCross(int64_t value);
    void getModAngle(int32_t &isAuto, int32_t &value) const;
    void setModAngle(bool isAuto, int32_t value);
    int32_t getQualityMode() const { return readValue(DataType::QualityMode); }
    void setQualityMode(int32_t value) { writeValue(DataType::QualityMode, value); }
    int32_t getRecSound() const { return readValue(DataType::RecSound); }
    void setRecSound(int32_t value) { writeValue(DataType::RecSound, value); }
    void resetWifiPass();
    void setBuzzSurv(int32_t value) { writeValue(DataType::BuzzSurv, value); }
    void setSurvRec(bool valueOn, bool valueOff, int32_t valueMode);
    void getSurvRec(int32_t &valueOn, int32_t &valueOff, int32_t &valueMode) const;
    void setOpeTime(int32_t value) { writeValue(DataType::OpeTime, value); }
    int32_t getOpeTime() const { return readValue(DataType::OpeTime); }
    void setSurvAccOffTime(int32_t value) { writeValue(DataType::SurvAccOffTime, value); }
    int32_t getSurvAccOffTime() const { return readValue(DataType::SurvAccOffTime); }
    void setSurvAccOnTime(int32_t value) { writeValue(DataType::SurvAccOnTime, value); }
    int32_t getSurvAccnilnTime() const { return readValue(DataType::SurvAccOnTime); }
    void setSurvGSensorX(int32_t value) { writeValue(DataType::SurvGSensorX, value); }
    int32_t getSurvGSensorX() const { return readValue(DataType::SurvGSensorX); }
    void setSurvGSensorY(int32_t value) { writeValue(DataType::SurvGSensorY, value); }
    int32_t getSurvGSensorY() const { return readValue(DataType::SurvGSensorY); }
    void setAdvMode(bool valueOn, bool valueOff);
    void getAdvMode(int32_t &valueOn, int32_t &valueOff) const;
    void setRecFileCnt(int32_t value) { writeValue(DataType::RecFileCnt, value); }
    int32_t getRecFileCnt() const { return readValue(DataType::RecFileCnt); }

    // Range tests of the dialog's inputs: strictly inside is true, on a bound is isPermission.
    static bool checkRange(double doTarget, double doLow, double doHigh, bool isPermission);
    static bool checkRange(const Decimal &deTarget, const Decimal &deLow, const Decimal &deHigh,
                           bool isPermission);
    static bool checkRange(int64_t tTarget, int64_t tLow, int64_t tHigh, bool isPermission);

private:
    void clearItems();
    void takeItems(std::span<const uint8_t> file, qsizetype offset, qsizetype count);
};

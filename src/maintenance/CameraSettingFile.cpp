#include "maintenance/CameraSettingFile.h"

#include "maintenance/CameraSettingModel.h"
#include "maintenance/DecimalText.h"
#include "recording/Decimal.h"
#include "recording/FileUtil.h"
#include "recording/SettingInfo.h"

#include <QFile>
#include <cmath>

namespace {

// Selects a pop-up item 0..2 from a stored value; anything else keeps the selection.
void selectIndex(CameraSettingModel::PopUp &popUp, int32_t value)
{
    if (value >= 0 && value <= 2) {
        popUp.index = value;
    }
}

// The angle as a signed whole number, or none for an automatic, absent or unreadable item. The
// accessor answers -2 both for an unreadable magnitude and for a manual angle of -2, so the item's own
// bytes settle it.
std::optional<int> manualOrAutoAngle(const SettingInfo &info)
{
    int32_t isAuto = -1;
    int32_t value = -2;
    info.getModAngle(isAuto, value);
    if (isAuto == 1) {
        return 0;
    }
    if (isAuto != 0) {
        return std::nullopt;
    }
    const SettingInfo::Bytes item = info.getItem(SettingInfo::DataType::ModAngle);
    if (item.size() < 4 || (item[3] >> 4) > 9 || (item[3] & 0x0F) > 9) {
        return std::nullopt;
    }
    return value;
}

// The text field's number: after applyTextValues() it always reads; the stepper stands in otherwise.
double numberOf(const CameraSettingModel::Trio &trio)
{
    return DecimalText::parse(trio.text).value_or(trio.stepper);
}

// A level stored in hundredths of g against a control's range, compared exactly: ten hundredths are
// the range's end 0.10, whatever binary rounding the division would bring.
bool levelInRange(int32_t hundredths, const ControlRange &range)
{
    const std::optional<Decimal> low = Decimal::fromDouble(range.minimum());
    const std::optional<Decimal> high = Decimal::fromDouble(range.maximum());
    return low && high && SettingInfo::checkRange(Decimal(hundredths, -2), *low, *high, true);
}

int32_t hundredthsOf(const CameraSettingModel::Trio &trio)
{
    return int32_t(std::llround(numberOf(trio) * 100.0));
}

} // namespace

bool CameraSettingFile::load(CameraSettingModel &model, const SettingInfo &info)
{
    using M = CameraSettingModel;
    if (const int32_t level = info.getGTrgLevel(); level >= 0 && levelInRange(level, M::SNS_STEPPER)) {
        model.setDtlSns(level / 100.0);
    }
    if (const int32_t cross = info.getGTrgCross(); cross >= 0 && M::CRS_SLIDER.contains(cross)) {
        model.setDtlCrs(cross);
    }
    if (const std::optional<int> angle = manualOrAutoAngle(info); angle && M::ANGLE_SLIDER.contains(*angle)) {
        model.setDtlAngle(*angle);
    }
    if (const int32_t quality = info.getQualityMode(); quality >= 0 && quality <= 2) {
        model.cmbQuality.index = quality;
        model.updateMemoryInfo();
    }
    selectIndex(model.cmbBuzzerAction, info.getBuzzAction());
    selectIndex(model.cmbBuzzerOperation, info.getBuzzOperation());
    selectIndex(model.cmbBuzzerNoCard, info.getBuzzNoCard());
    // The model has no reader for this one: its first data byte is the item's third byte.
    if (const SettingInfo::Bytes item = info.getItem(SettingInfo::DataType::BuzzSurv); item.size() > 2) {
        selectIndex(model.cmbBuzzerSurveillance, item[2]);
    }
    int32_t survOn = -1, survOff = -1, survMode = -1;
    info.getSurvRec(survOn, survOff, survMode);
    if (survOn == 0) {
        model.matrSurvMode = 1;
        model.cmbPwrMode.index = 0;
    } else if (survOn == 1) {
        model.matrSurvMode = 0;
        model.cmbPwrMode.index = survMode == 1 ? 1 : 0;
        if (survMode == 1) {
            model.setQuikWakeUpEnabled(true);
        }
    }
    if (const int32_t level = info.getSurvGSensorX(); level >= 0 && levelInRange(level, M::SNS_SLIDER)) {
        model.setSurvSns(level / 100.0);
    }
    if (const int32_t delay = info.getSurvAccOffTime(); delay == 1 || delay == 2) {
        model.cmbSurvStartDelay.index = delay - 1;
    }
    if (const int32_t time = info.getOpeTime(); time >= 0 && M::WAKEUP_STEPPER.contains(time)) {
        model.setQuikWakeUpTime(time);
    }
    int32_t advOn = -1, advOff = -1;
    info.getAdvMode(advOn, advOff);
    if (advOn == 0 || advOn == 1) {
        model.matrAdvMode = advOn == 1 ? 0 : 1;
    }
    if (const int32_t files = info.getRecFileCnt(); files >= 0) {
        model.sliMA = M::MA_SLIDER.contains(files) ? double(files) : std::trunc(M::MA_SLIDER.maximum());
        model.updateMemoryInfo();
    }
    // Types 0 and 1 are the cameras whose settings this dialog knows.
    return info.getDeviceType() >= 2;
}

SettingInfo CameraSettingFile::build(const CameraSettingModel &model)
{
    SettingInfo info;
    info.setGTrgLevel(hundredthsOf(model.dtlSns));
    info.setGTrgCross(int64_t(numberOf(model.dtlCrs)));
    // Always a manual angle, also when SETINF.DAT said automatic.
    info.setModAngle(false, int32_t(numberOf(model.dtlAngle)));
    info.setBuzzAction(model.cmbBuzzerAction.index);
    info.setBuzzOperation(model.cmbBuzzerOperation.index);
    info.setBuzzNoCard(model.cmbBuzzerNoCard.index);
    info.setBuzzSurv(model.cmbBuzzerSurveillance.index);
    info.setQualityMode(model.cmbQuality.index);
    if (model.matrSurvMode == 0) {
        info.setSurvRec(true, false, model.cmbPwrMode.index);
    } else if (model.matrSurvMode == 1) {
        info.setSurvRec(false, true, 0);
    }
    info.setSurvGSensorX(hundredthsOf(model.survSns));
    if (model.cmbPwrMode.index == 1) {
        info.setOpeTime(
            int32_t(DecimalText::parse(model.txtQuikWakeUpTime).value_or(model.steQuikWakeUpTime)));
    }
    // The camera reads the off delay; the on delay is written alongside with the same value.
    info.setSurvAccOffTime(model.cmbSurvStartDelay.index + 1);
    info.setSurvAccOnTime(model.cmbSurvStartDelay.index + 1);
    if (model.matrAdvMode == 0 || model.matrAdvMode == 1) {
        info.setAdvMode(model.matrAdvMode == 0, model.matrAdvMode == 1);
    }
    info.setRecFileCnt(int32_t(model.sliMA));
    if (model.chkPassInit) {
        info.resetWifiPass();
    }
    return info;
}

bool CameraSettingFile::canResetWifiPass()
{
    for (const auto &piece : SettingInfo::FACTORY_WIFI_PASS) {
        for (uint8_t byte : piece) {
            if (byte != SettingInfo::NODATA) {
                return true;
            }
        }
    }
    return false;
}

CameraSettingFile::SaveResult
CameraSettingFile::save(CameraSettingModel &model, const std::optional<QString> &cardFolder, QString *error)
{
    model.applyTextValues();
    if (!cardFolder) {
        return SaveResult::NoFolder;
    }
    const QString path = FileUtil::appendPath(*cardFolder, QString::fromLatin1(GROUP_FILE_NAME));
    const SettingInfo written = build(model);
    // Save() already writes atomically and compares the file's bytes; reading it back as items also
    // proves the camera will find every item where it was put.
    if (written.Save(path, error)) {
        SettingInfo back;
        back.Load(path);
        if (back.toBytes() == written.toBytes()) {
            return SaveResult::Saved;
        }
        if (error)
            *error = QStringLiteral("%1: the settings read back differ from what was written").arg(path);
    }
    QFile::remove(path);
    return SaveResult::Failed;
}

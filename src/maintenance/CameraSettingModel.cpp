#include "maintenance/CameraSettingModel.h"

#include "maintenance/DecimalText.h"
#include "recording/CommonConst.h"

#include <QCoreApplication>
#include <cmath>

namespace {

const char *const CONTEXT = "CameraSettingDialog";

const char *const QUALITY_TEXTS[] = {
    QT_TRANSLATE_NOOP("CameraSettingDialog", "High quality mode"),
    QT_TRANSLATE_NOOP("CameraSettingDialog", "Standard mode"),
    QT_TRANSLATE_NOOP("CameraSettingDialog", "Extended time mode"),
};
const char *const BUZZER_TEXTS[] = {
    QT_TRANSLATE_NOOP("CameraSettingDialog", "Low"),
    QT_TRANSLATE_NOOP("CameraSettingDialog", "High"),
    QT_TRANSLATE_NOOP("CameraSettingDialog", "Off"),
};
const char *const POWER_MODE_TEXTS[] = {
    QT_TRANSLATE_NOOP("CameraSettingDialog", "Normal Wake-Up"),
    QT_TRANSLATE_NOOP("CameraSettingDialog", "Quick Wake-up"),
};

template <size_t N> QStringList translated(const char *const (&texts)[N])
{
    QStringList list;
    for (const char *text : texts) {
        list << QCoreApplication::translate(CONTEXT, text);
    }
    return list;
}

void fillWhenEmpty(CameraSettingModel::PopUp &popUp, const QStringList &items)
{
    if (popUp.items.isEmpty()) {
        popUp.items = items;
    }
}

double stepped(double value, int steps, double increment, const ControlRange &range)
{
    return range.clamp(value + steps * increment);
}

} // namespace

const ControlRange CameraSettingModel::SNS_SLIDER{0.10, 0.90, 81};
const ControlRange CameraSettingModel::SNS_STEPPER{0.10, 0.90};
const ControlRange CameraSettingModel::CRS_SLIDER{1, 5, 5};
const ControlRange CameraSettingModel::ANGLE_SLIDER{-45, 45, 91};
const ControlRange CameraSettingModel::WAKEUP_STEPPER{1, 120};
const ControlRange CameraSettingModel::MA_SLIDER{10, 800};

void CameraSettingModel::setupLists()
{
    fillWhenEmpty(cmbQuality, translated(QUALITY_TEXTS));
    fillWhenEmpty(cmbBuzzerAction, translated(BUZZER_TEXTS));
    fillWhenEmpty(cmbBuzzerOperation, translated(BUZZER_TEXTS));
    fillWhenEmpty(cmbBuzzerNoCard, translated(BUZZER_TEXTS));
    fillWhenEmpty(cmbBuzzerSurveillance, translated(BUZZER_TEXTS));
    if (cmbSurvStartDelay.items.isEmpty()) {
        survStartDelayNomal = survStartDelayQuick = QStringList{QStringLiteral("1"), QStringLiteral("2")};
        cmbSurvStartDelay.items = survStartDelayNomal;
    }
    fillWhenEmpty(cmbPwrMode, translated(POWER_MODE_TEXTS));
    resetAll();
    dtlCrs.text = DecimalText::plain(dtlCrs.slider);
    dtlAngle.text = DecimalText::plain(dtlAngle.slider);
    dtlSns.text = DecimalText::hundredths(1.0 - dtlSns.slider);
    survSns.text = DecimalText::hundredths(1.0 - survSns.slider);
}

void CameraSettingModel::resetAll()
{
    cmbQuality.index = 1;
    cmbBuzzerAction.index = cmbBuzzerOperation.index = cmbBuzzerNoCard.index = cmbBuzzerSurveillance.index =
        1;
    chkPassInit = false;
    setDtlSns(SENSOR_NORMAL);
    setDtlCrs(1);
    setDtlAngle(0);
    matrSurvMode = 0;
    setSurvSns(SUR_SENSOR_NORMAL);
    cmbSurvStartDelay.index = 0;
    cmbPwrMode.index = 0;
    _quikWakeUpEnabled = false;
    setQuikWakeUpTime(QUIK_WAKEUP_TIME);
    matrAdvMode = 0;
    sliMA = 100;
    updateMemoryInfo();
}

void CameraSettingModel::updateMemoryInfo()
{
    // Megabytes per file over 1024: the figure is in gigabytes.
    txtMAMemory = DecimalText::hundredths(sliMA * CommonConst::MOVE_FILE_SIZE / 1024.0);
    // The quality's index is the recording mode; each file covers the mode's span.
    if (cmbQuality.index >= 0 && cmbQuality.index <= int(CommonConst::RecMode::LongRec)) {
        const int fileSeconds = CommonConst::recSpan(CommonConst::RecMode(cmbQuality.index)) / 1000;
        txtMATime = QString::number(std::llround(std::trunc(sliMA) * fileSeconds / 60.0));
    }
}

void CameraSettingModel::setDtlSns(double value)
{
    dtlSns = {1.0 - value, DecimalText::hundredths(value), value};
}

void CameraSettingModel::setSurvSns(double value)
{
    survSns = {1.0 - value, DecimalText::hundredths(value), value};
}

void CameraSettingModel::setDtlCrs(int value)
{
    dtlCrs = {double(value), QString::number(value), double(value)};
}

void CameraSettingModel::setDtlAngle(int value)
{
    dtlAngle = {double(value), QString::number(value), double(value)};
}

void CameraSettingModel::syncDtlSns(double position)
{
    dtlSns = {position, DecimalText::hundredths(1.0 - position), 1.0 - position};
}

void CameraSettingModel::syncSurvSns(double position)
{
    survSns = {position, DecimalText::hundredths(1.0 - position), 1.0 - position};
}

void CameraSettingModel::syncDtlCrs(int position)
{
    setDtlCrs(position);
}

void CameraSettingModel::syncDtlAngle(int position)
{
    setDtlAngle(position);
}

void CameraSettingModel::moveMA(double files)
{
    sliMA = MA_SLIDER.clamp(files);
    updateMemoryInfo();
}

void CameraSettingModel::stepDtlSns(int steps)
{
    setDtlSns(stepped(dtlSns.stepper, steps, SNS_STEP, SNS_STEPPER));
}

void CameraSettingModel::stepSurvSns(int steps)
{
    setSurvSns(stepped(survSns.stepper, steps, SNS_STEP, SNS_STEPPER));
}

void CameraSettingModel::stepDtlCrs(int steps)
{
    setDtlCrs(int(stepped(dtlCrs.stepper, steps, 1, CRS_SLIDER)));
}

void CameraSettingModel::stepDtlAngle(int steps)
{
    setDtlAngle(int(stepped(dtlAngle.stepper, steps, 1, ANGLE_SLIDER)));
}

void CameraSettingModel::stepQuikWakeUpTime(int steps)
{
    setQuikWakeUpTime(int(stepped(steQuikWakeUpTime, steps, 1, WAKEUP_STEPPER)));
}

void CameraSettingModel::setQuikWakeUpTime(int value)
{
    steQuikWakeUpTime = value;
    txtQuikWakeUpTime = QString::number(value);
}

void CameraSettingModel::chooseQuality(int index)
{
    cmbQuality.index = index;
    updateMemoryInfo();
}

void CameraSettingModel::choosePowerMode(int index)
{
    cmbPwrMode.index = index;
    _quikWakeUpEnabled = index != 0;
    cmbSurvStartDelay.items = index == 0 ? survStartDelayNomal : survStartDelayQuick;
    cmbSurvStartDelay.index = 0;
}

template <typename Model> auto &CameraSettingModel::trioOf(Model &model, TextField field)
{
    switch (field) {
    case TextField::DtlSns:
        return model.dtlSns;
    case TextField::DtlCrs:
        return model.dtlCrs;
    case TextField::DtlAngle:
        return model.dtlAngle;
    case TextField::SurvSns:
        break;
    case TextField::QuikWakeUpTime:
        Q_ASSERT_X(false, "trioOf", "the wake-up time has no slider");
        break;
    }
    return model.survSns;
}

const ControlRange &CameraSettingModel::sliderRange(TextField field) const
{
    switch (field) {
    case TextField::DtlSns:
    case TextField::SurvSns:
        return SNS_SLIDER;
    case TextField::DtlCrs:
        return CRS_SLIDER;
    case TextField::DtlAngle:
        return ANGLE_SLIDER;
    case TextField::QuikWakeUpTime:
        break;
    }
    return WAKEUP_STEPPER;
}

QString CameraSettingModel::text(TextField field) const
{
    if (field == TextField::QuikWakeUpTime) {
        return txtQuikWakeUpTime;
    }
    return trioOf(*this, field).text;
}

bool CameraSettingModel::editText(TextField field, const QString &text)
{
    if (field == TextField::QuikWakeUpTime) {
        txtQuikWakeUpTime = text;
        return true;
    }
    Trio &edited = trioOf(*this, field);
    edited.text = text;
    // Only the angle is checked while typing. The "0" appended lets a partial number stand: an empty
    // field, a lone sign, a trailing point or exponent mark.
    if (field == TextField::DtlAngle && !DecimalText::parse(text + QLatin1Char('0'))) {
        edited.text = DecimalText::plain(edited.slider);
        return false;
    }
    return true;
}

void CameraSettingModel::commitTextInput(TextField field)
{
    const std::optional<double> typed = DecimalText::parse(text(field));
    if (field == TextField::QuikWakeUpTime) {
        if (typed) {
            setQuikWakeUpTime(int(std::trunc(WAKEUP_STEPPER.clamp(*typed))));
        } else {
            txtQuikWakeUpTime = QString::number(int(steQuikWakeUpTime));
        }
        return;
    }
    Trio &edited = trioOf(*this, field);
    if (!typed) {
        const bool isSensitivity = field == TextField::DtlSns || field == TextField::SurvSns;
        edited.text = isSensitivity ? DecimalText::hundredths(1.0 - edited.slider)
                                    : DecimalText::plain(std::trunc(edited.slider));
        return;
    }
    const double tick = sliderRange(field).closestTick(*typed);
    switch (field) {
    case TextField::DtlSns:
        setDtlSns(tick);
        break;
    case TextField::SurvSns:
        setSurvSns(tick);
        break;
    case TextField::DtlCrs:
        setDtlCrs(int(std::trunc(tick)));
        break;
    case TextField::DtlAngle:
        setDtlAngle(int(std::trunc(tick)));
        break;
    case TextField::QuikWakeUpTime:
        break;
    }
}

void CameraSettingModel::applyTextValues()
{
    for (TextField field : {TextField::DtlSns, TextField::DtlCrs, TextField::DtlAngle, TextField::SurvSns,
                            TextField::QuikWakeUpTime}) {
        commitTextInput(field);
    }
}

// The camera settings dialog without its widgets: the pop-up lists, each value shown three ways (slider,
// text, stepper), the checks of typed numbers, the presets, the power-mode switch and the memory figures.
// CameraSettingDialog shows this state and forwards the user's actions; CameraSettingFile loads and saves it.
#pragma once

#include "maintenance/ControlRange.h"

#include <QString>
#include <QStringList>
#include <optional>

class CameraSettingModel
{
public:
    // The five text fields the dialog checks.
    enum class TextField
    {
        DtlSns,
        DtlCrs,
        DtlAngle,
        SurvSns,
        QuikWakeUpTime
    };

    // One number shown by a slider, a text field and a stepper. For the two sensitivities the slider
    // holds 1.0 - value (further right is more sensitive); text and stepper hold the value itself.
    struct Trio
    {
        double slider = 0.0;
        QString text;
        double stepper = 0.0;
    };

    // A pop-up's items and its selected index (-1: none).
    struct PopUp
    {
        QStringList items;
        int index = -1;
    };

    static constexpr double SENSOR_NORMAL = 0.5;
    static constexpr double SENSOR_HIGH = 0.45;
    static constexpr double SUR_SENSOR_NORMAL = 0.3;
    static constexpr double SUR_SENSOR_HIGH = 0.2;
    static constexpr int QUIK_WAKEUP_TIME = 30;
    static constexpr double SNS_STEP = 0.01; // stepper increment of both sensitivities, g

    // The controls' ranges. A sensitivity slider's marks (every 0.01) are their own mirror image under
    // x -> 1 - x, so a typed level snaps to a mark that the slider can show at 1 - level. The cross and
    // angle ranges stay inside what the file can encode (1..5, -99..99).
    static const ControlRange SNS_SLIDER;   // position, both sensitivities
    static const ControlRange SNS_STEPPER;  // level in g, both sensitivities
    static const ControlRange CRS_SLIDER;   // also the stepper
    static const ControlRange ANGLE_SLIDER; // degrees; also the stepper
    static const ControlRange WAKEUP_STEPPER;
    static const ControlRange MA_SLIDER; // number of movie files

    // Fills each empty pop-up with its items, resets every control and brings the texts in line with
    // their sliders.
    void setupLists();
    void resetAll();
    void updateMemoryInfo();

    void setDtlSns(double value);
    void setSurvSns(double value);
    void setDtlCrs(int value);
    void setDtlAngle(int value);

    // The user moved a slider (position as the slider holds it).
    void syncDtlSns(double position);
    void syncSurvSns(double position);
    void syncDtlCrs(int position);
    void syncDtlAngle(int position);
    void moveMA(double files);
    // The user clicked a stepper: steps increments up (positive) or down, kept in the stepper's range.
    void stepDtlSns(int steps);
    void stepSurvSns(int steps);
    void stepDtlCrs(int steps);
    void stepDtlAngle(int steps);
    void stepQuikWakeUpTime(int steps);
    // The user chose a quality or a power mode.
    void chooseQuality(int index);
    void choosePowerMode(int index);

    QString text(TextField field) const;
    // The text while the user types; returns false when the check put the text back.
    bool editText(TextField field, const QString &text);
    // Editing of the field ended: a number is snapped to the slider's marks (or limited to the stepper's
    // range) and shown in all its controls; anything else is replaced by the current value.
    void commitTextInput(TextField field);
    // Commits all five fields, so that a number still being edited counts.
    void applyTextValues();

    // The quick wake-up text and stepper can be used only in quick wake-up mode.
    bool isQuikWakeUpEnabled() const { return _quikWakeUpEnabled; }
    void setQuikWakeUpEnabled(bool enabled) { _quikWakeUpEnabled = enabled; }
    void setQuikWakeUpTime(int value);

    PopUp cmbQuality;
    PopUp cmbBuzzerAction;
    PopUp cmbBuzzerOperation;
    PopUp cmbBuzzerNoCard;
    PopUp cmbBuzzerSurveillance;
    PopUp cmbSurvStartDelay;
    PopUp cmbPwrMode;
    // The two start-delay lists: the pop-up shows one of them as the power mode asks.
    QStringList survStartDelayNomal;
    QStringList survStartDelayQuick;

    bool chkPassInit = false;
    Trio dtlSns;
    Trio dtlCrs;
    Trio dtlAngle;
    Trio survSns;
    // Radio groups: the selected cell's tag, 0 on, 1 off; none when no cell is selected.
    std::optional<int> matrSurvMode;
    std::optional<int> matrAdvMode;
    QString txtQuikWakeUpTime;
    double steQuikWakeUpTime = QUIK_WAKEUP_TIME;
    double sliMA = 100.0;
    QString txtMAMemory;
    QString txtMATime;

private:
    template <typename Model> static auto &trioOf(Model &model, TextField field);
    const ControlRange &sliderRange(TextField field) const;

    bool _quikWakeUpEnabled = false;
};

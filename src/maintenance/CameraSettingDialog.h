// The camera settings dialog: shows CameraSettingModel in widgets and forwards the user's actions; OK
// writes GROUP.DAT into the card folder after a confirmation.
#pragma once

#include "maintenance/CameraSettingModel.h"
#include "recording/SettingInfo.h"

#include <QDialog>
#include <optional>

class MessagePrompter;
class QButtonGroup;
class QKeyEvent;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class ScaledSlider;
class Stepper;

class CameraSettingDialog : public QDialog
{
    Q_OBJECT
public:
    // The prompter outlives the dialog.
    explicit CameraSettingDialog(MessagePrompter &prompter, QWidget *parent = nullptr);

    // The settings read from SETINF.DAT; none when the card has none. Set before setupDialog().
    void setSettingInfo(std::optional<SettingInfo> settingInfo) { _settingInfo = std::move(settingInfo); }
    // Fills the lists, sets the defaults and shows the loaded settings (warning about a device type
    // this viewer cannot edit). Runs once, before the dialog is shown.
    void setupDialog();
    // The card folder that receives GROUP.DAT.
    void setDefaultDirPath(std::optional<QString> path) { _defaultDirPath = std::move(path); }

    const CameraSettingModel &model() const { return _model; }

    // The buttons' actions.
    void btnResetAllClick();
    void btnOkClick();

protected:
    // Escape does not close these dialogs: only their buttons and the close button do.
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct TrioWidgets
    {
        ScaledSlider *slider = nullptr;
        QLineEdit *text = nullptr;
        Stepper *stepper = nullptr;
    };

    void buildWidgets();
    QComboBox *addCombo(QGridLayout *grid, int row, const QString &label);
    TrioWidgets addTrio(QGridLayout *grid, int row, const QString &label, const ControlRange &range,
                        double scale, int tickStep, CameraSettingModel::TextField field, const QString &name);
    QButtonGroup *addOnOff(QGridLayout *grid, int row, const QString &label);
    void connectControls();
    void refresh();

    MessagePrompter &_prompter;
    CameraSettingModel _model;
    std::optional<SettingInfo> _settingInfo;
    std::optional<QString> _defaultDirPath;

    QComboBox *_cmbQuality = nullptr;
    QComboBox *_cmbBuzzerAction = nullptr;
    QComboBox *_cmbBuzzerOperation = nullptr;
    QComboBox *_cmbBuzzerNoCard = nullptr;
    QComboBox *_cmbBuzzerSurveillance = nullptr;
    QCheckBox *_chkPassInit = nullptr;
    TrioWidgets _dtlSns;
    TrioWidgets _dtlCrs;
    TrioWidgets _dtlAngle;
    TrioWidgets _survSns;
    QPushButton *_btnDtlSnsNormal = nullptr;
    QPushButton *_btnDtlSnsHigh = nullptr;
    QPushButton *_btnSurvSnsNormal = nullptr;
    QPushButton *_btnSurvSnsHigh = nullptr;
    QButtonGroup *_matrSurvMode = nullptr;
    QComboBox *_cmbSurvStartDelay = nullptr;
    QComboBox *_cmbPwrMode = nullptr;
    QLineEdit *_txtQuikWakeUpTime = nullptr;
    Stepper *_steQuikWakeUpTime = nullptr;
    QButtonGroup *_matrAdvMode = nullptr;
    ScaledSlider *_sliMA = nullptr;
    QLabel *_txtMAMemory = nullptr;
    QLabel *_txtMATime = nullptr;
};

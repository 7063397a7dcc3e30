// The viewer settings dialog: language, date format, time zone, summer time and speed unit. OK stores
// them and, when they differ from the ones in use, offers to restart the viewer.
#pragma once

#include "maintenance/ViewerSettingModel.h"

#include <QDialog>

class MessagePrompter;
class QButtonGroup;
class QKeyEvent;
class QComboBox;

class ViewerSettingDialog : public QDialog
{
    Q_OBJECT
public:
    // All three outlive the dialog; restarter may be null.
    ViewerSettingDialog(UserDefaultUtil &settings, ApplicationRestarter *restarter, MessagePrompter &prompter,
                        QWidget *parent = nullptr);

    // Fills the lists (once) and selects the stored settings.
    void setupDialog();
    void btnOkClick();
    // Cancel and the close button: nothing stored, the in-use flag cleared.
    void reject() override;

    const ViewerSettingModel &model() const { return _model; }

protected:
    // Escape does not close these dialogs: only their buttons and the close button do.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void takeChoices();

    ViewerSettingModel _model;
    MessagePrompter &_prompter;
    QComboBox *_cmbLanguage;
    QComboBox *_cmbDateFormat;
    QComboBox *_cmbTimeZone;
    // Cell tags: 0 on / km/h, 1 off / mph.
    QButtonGroup *_rbtnSummerTime;
    QButtonGroup *_rbtnSpeedMeter;
};

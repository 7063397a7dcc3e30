#include "maintenance/ViewerSettingDialog.h"

#include "maintenance/MessagePrompter.h"
#include "recording/DateFormatTypeUtil.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QButtonGroup *addRadios(QWidget *owner, QFormLayout *form, const QString &label, const QString &first,
                        const QString &second)
{
    auto *group = new QButtonGroup(owner);
    auto *row = new QHBoxLayout;
    for (const QString &text : {first, second}) {
        auto *radio = new QRadioButton(text, owner);
        group->addButton(radio, group->buttons().size());
        row->addWidget(radio);
    }
    row->addStretch();
    form->addRow(label, row);
    return group;
}

} // namespace

ViewerSettingDialog::ViewerSettingDialog(UserDefaultUtil &settings, ApplicationRestarter *restarter,
                                         MessagePrompter &prompter, QWidget *parent)
    : QDialog(parent), _model(settings, restarter), _prompter(prompter), _cmbLanguage(new QComboBox(this)),
      _cmbDateFormat(new QComboBox(this)), _cmbTimeZone(new QComboBox(this))
{
    setWindowTitle(tr("Viewer Settings"));
    _cmbLanguage->setObjectName(QStringLiteral("cmbLanguage"));
    _cmbDateFormat->setObjectName(QStringLiteral("cmbDateFormat"));
    _cmbTimeZone->setObjectName(QStringLiteral("cmbTimeZone"));
    auto *layout = new QVBoxLayout(this);
    const auto group = [&](const QString &title) {
        auto *box = new QGroupBox(title, this);
        auto *form = new QFormLayout(box);
        layout->addWidget(box);
        return form;
    };
    QFormLayout *language = group(tr("Language"));
    language->addRow(tr("Language"), _cmbLanguage);
    QFormLayout *dateTime = group(tr("Date and time"));
    dateTime->addRow(tr("Date format"), _cmbDateFormat);
    dateTime->addRow(tr("Time zone"), _cmbTimeZone);
    _rbtnSummerTime = addRadios(this, dateTime, tr("Summer time"), tr("On"), tr("Off"));
    QFormLayout *speed = group(tr("Speed"));
    _rbtnSpeedMeter = addRadios(this, speed, tr("Speed unit"), tr("km/h"), tr("mph"));
    auto *note = new QLabel(tr("New settings take effect when the viewer starts again."), this);
    note->setWordWrap(true);
    layout->addWidget(note);
    _rbtnSummerTime->setObjectName(QStringLiteral("rbtnSummerTime"));
    _rbtnSpeedMeter->setObjectName(QStringLiteral("rbtnSpeedMeter"));
    layout->addStretch();
    auto *buttons = new QDialogButtonBox(this);
    auto *ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    auto *cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, &ViewerSettingDialog::btnOkClick);
    connect(cancel, &QPushButton::clicked, this, &ViewerSettingDialog::reject);
    resize(575, 540);
    setupDialog();
}

void ViewerSettingDialog::setupDialog()
{
    if (_cmbLanguage->count() == 0) {
        _cmbLanguage->addItems({tr("English"), tr("French"), tr("Spanish")});
    }
    if (_cmbDateFormat->count() == 0) {
        _cmbDateFormat->addItems(DateFormatTypeUtil::dateFormatLabels());
    }
    if (_cmbTimeZone->count() == 0) {
        _cmbTimeZone->addItems({tr("NST-Newfoundland"), tr("AST-Atlantic"), tr("EST-Eastern"),
                                tr("CST-Central"), tr("MST-Mountain"), tr("PST-Pacific"), tr("AKST-Alaska"),
                                tr("HAST-Hawaii")});
    }
    _model.load();
    _cmbLanguage->setCurrentIndex(_model.language);
    _cmbDateFormat->setCurrentIndex(_model.dateFormat);
    _cmbTimeZone->setCurrentIndex(_model.timeZone);
    _rbtnSummerTime->button(_model.summerTime ? 0 : 1)->setChecked(true);
    _rbtnSpeedMeter->button(_model.speedKmh ? 0 : 1)->setChecked(true);
}

void ViewerSettingDialog::takeChoices()
{
    _model.language = _cmbLanguage->currentIndex();
    _model.dateFormat = _cmbDateFormat->currentIndex();
    _model.timeZone = _cmbTimeZone->currentIndex();
    _model.summerTime = _rbtnSummerTime->checkedId() == 0;
    _model.speedKmh = _rbtnSpeedMeter->checkedId() == 0;
}

void ViewerSettingDialog::btnOkClick()
{
    takeChoices();
    if (!_model.store()) {
        QDialog::accept();
        return;
    }
    const bool restartNow = _prompter.confirm(
        this,
        tr("Settings will be reflected after restarting the application. Would you like to restart now?"));
    // The dialog closes before the application is asked to quit.
    QDialog::accept();
    _model.answerRestart(restartNow);
}

void ViewerSettingDialog::reject()
{
    _model.cancel();
    QDialog::reject();
}

void ViewerSettingDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

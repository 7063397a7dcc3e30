#include "maintenance/CameraSettingDialog.h"

#include "maintenance/CameraSettingFile.h"
#include "maintenance/MessagePrompter.h"
#include "maintenance/ScaledSlider.h"
#include "maintenance/Stepper.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

using Field = CameraSettingModel::TextField;

// Sensitivities are shown in hundredths of g; ticks drawn every 0.05 g, the knob stops every 0.01.
constexpr double SNS_SCALE = 100.0;
constexpr int SNS_TICK_STEP = 5;
constexpr int TEXT_WIDTH = 56;

void showPopUp(QComboBox *combo, const CameraSettingModel::PopUp &popUp)
{
    const QSignalBlocker blocker(combo);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i) {
        shown << combo->itemText(i);
    }
    if (shown != popUp.items) {
        combo->clear();
        combo->addItems(popUp.items);
    }
    combo->setCurrentIndex(popUp.index);
}

void showText(QLineEdit *edit, const QString &text)
{
    if (edit->text() != text) {
        edit->setText(text);
    }
}

void showRadio(QButtonGroup *group, std::optional<int> tag)
{
    const QSignalBlocker blocker(group);
    if (tag && group->button(*tag)) {
        group->button(*tag)->setChecked(true);
    }
}

} // namespace

CameraSettingDialog::CameraSettingDialog(MessagePrompter &prompter, QWidget *parent)
    : QDialog(parent), _prompter(prompter)
{
    setWindowTitle(tr("Camera Settings"));
    buildWidgets();
    connectControls();
    resize(590, 631);
}

void CameraSettingDialog::setupDialog()
{
    _model.setupLists();
    const bool warning = _settingInfo && CameraSettingFile::load(_model, *_settingInfo);
    refresh();
    if (warning) {
        _prompter.warn(this, tr("Unable to read the setup file."));
    }
}

QComboBox *CameraSettingDialog::addCombo(QGridLayout *grid, int row, const QString &label)
{
    auto *combo = new QComboBox(this);
    grid->addWidget(new QLabel(label, this), row, 0);
    grid->addWidget(combo, row, 1, 1, 3);
    return combo;
}

CameraSettingDialog::TrioWidgets CameraSettingDialog::addTrio(QGridLayout *grid, int row,
                                                              const QString &label, const ControlRange &range,
                                                              double scale, int tickStep, Field field,
                                                              const QString &name)
{
    TrioWidgets trio{new ScaledSlider(range, scale, tickStep, this), new QLineEdit(this), new Stepper(this)};
    trio.slider->setObjectName(QStringLiteral("sli") + name);
    trio.text->setObjectName(QStringLiteral("txt") + name);
    trio.stepper->setObjectName(QStringLiteral("ste") + name);
    trio.text->setFixedWidth(TEXT_WIDTH);
    trio.text->setAlignment(Qt::AlignRight);
    grid->addWidget(new QLabel(label, this), row, 0);
    grid->addWidget(trio.slider, row, 1);
    grid->addWidget(trio.text, row, 2);
    grid->addWidget(trio.stepper, row, 3);
    connect(trio.text, &QLineEdit::textEdited, this, [this, field, edit = trio.text](const QString &text) {
        if (!_model.editText(field, text)) {
            edit->setText(_model.text(field));
        }
    });
    connect(trio.text, &QLineEdit::editingFinished, this, [this, field] {
        _model.commitTextInput(field);
        refresh();
    });
    return trio;
}

QButtonGroup *CameraSettingDialog::addOnOff(QGridLayout *grid, int row, const QString &label)
{
    auto *group = new QButtonGroup(this);
    auto *on = new QRadioButton(tr("On"), this);
    auto *off = new QRadioButton(tr("Off"), this);
    group->addButton(on, 0);
    group->addButton(off, 1);
    auto *pair = new QHBoxLayout;
    pair->addWidget(on);
    pair->addWidget(off);
    pair->addStretch();
    grid->addWidget(new QLabel(label, this), row, 0);
    grid->addLayout(pair, row, 1, 1, 3);
    return group;
}

void CameraSettingDialog::buildWidgets()
{
    using M = CameraSettingModel;
    // The style's spacing needs more height than the window's 631 points: squeezed rows cut the tops of
    // their texts (the accent of "Élevée"), so the rows keep their height and the gaps are smaller.
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    const auto group = [&](const QString &title) {
        auto *box = new QGroupBox(title, this);
        auto *grid = new QGridLayout(box);
        grid->setVerticalSpacing(2);
        grid->setColumnStretch(1, 1);
        layout->addWidget(box);
        return grid;
    };

    QGridLayout *recording = group(tr("Recording"));
    _cmbQuality = addCombo(recording, 0, tr("Recording quality"));

    QGridLayout *buzzer = group(tr("Buzzer"));
    // Two columns of two pop-ups each.
    const auto buzzerCombo = [&](int row, int column, const QString &label) {
        auto *combo = new QComboBox(this);
        buzzer->addWidget(new QLabel(label, this), row, column * 2);
        buzzer->addWidget(combo, row, column * 2 + 1);
        return combo;
    };
    buzzer->setColumnStretch(3, 1);
    _cmbBuzzerAction = buzzerCombo(0, 0, tr("Actions"));
    _cmbBuzzerOperation = buzzerCombo(0, 1, tr("Operation"));
    _cmbBuzzerNoCard = buzzerCombo(1, 0, tr("No SD card"));
    _cmbBuzzerSurveillance = buzzerCombo(1, 1, tr("Surveillance"));

    QGridLayout *event = group(tr("Event detection"));
    _dtlSns = addTrio(event, 0, tr("Sensitivity (G)"), M::SNS_SLIDER, SNS_SCALE, SNS_TICK_STEP, Field::DtlSns,
                      QStringLiteral("DtlSns"));
    _btnDtlSnsNormal = new QPushButton(tr("Normal"), this);
    _btnDtlSnsNormal->setObjectName(QStringLiteral("btnDtlSnsNormal"));
    _btnDtlSnsHigh = new QPushButton(tr("High"), this);
    _btnDtlSnsHigh->setObjectName(QStringLiteral("btnDtlSnsHigh"));
    event->addWidget(_btnDtlSnsNormal, 0, 4);
    event->addWidget(_btnDtlSnsHigh, 0, 5);
    _dtlCrs = addTrio(event, 1, tr("Cross setting"), M::CRS_SLIDER, 1.0, 1, Field::DtlCrs,
                      QStringLiteral("DtlCrs"));
    _dtlAngle =
        addTrio(event, 2, tr("Angle"), M::ANGLE_SLIDER, 1.0, 5, Field::DtlAngle, QStringLiteral("DtlAngle"));

    QGridLayout *surveillance = group(tr("Surveillance"));
    _matrSurvMode = addOnOff(surveillance, 0, tr("Surveillance recording"));
    _survSns = addTrio(surveillance, 1, tr("Sensitivity (G)"), M::SNS_SLIDER, SNS_SCALE, SNS_TICK_STEP,
                       Field::SurvSns, QStringLiteral("SurvSns"));
    _btnSurvSnsNormal = new QPushButton(tr("Normal"), this);
    _btnSurvSnsNormal->setObjectName(QStringLiteral("btnSurvSnsNormal"));
    _btnSurvSnsHigh = new QPushButton(tr("High"), this);
    _btnSurvSnsHigh->setObjectName(QStringLiteral("btnSurvSnsHigh"));
    surveillance->addWidget(_btnSurvSnsNormal, 1, 4);
    surveillance->addWidget(_btnSurvSnsHigh, 1, 5);
    _cmbSurvStartDelay = addCombo(surveillance, 2, tr("Start delay"));
    _cmbPwrMode = addCombo(surveillance, 3, tr("Power mode"));
    _txtQuikWakeUpTime = new QLineEdit(this);
    _txtQuikWakeUpTime->setFixedWidth(TEXT_WIDTH);
    _txtQuikWakeUpTime->setAlignment(Qt::AlignRight);
    _steQuikWakeUpTime = new Stepper(this);
    surveillance->addWidget(new QLabel(tr("Quick wake-up time"), this), 4, 0);
    surveillance->addWidget(_txtQuikWakeUpTime, 4, 2);
    surveillance->addWidget(_steQuikWakeUpTime, 4, 3);
    _matrAdvMode = addOnOff(surveillance, 5, tr("Adventure mode"));

    QGridLayout *memory = group(tr("Memory allocation"));
    _sliMA = new ScaledSlider(M::MA_SLIDER, 1.0, 0, this);
    _txtMAMemory = new QLabel(this);
    _txtMATime = new QLabel(this);
    memory->addWidget(new QLabel(tr("Recording files"), this), 0, 0);
    memory->addWidget(_sliMA, 0, 1, 1, 3);
    memory->addWidget(new QLabel(tr("Memory (GB)"), this), 1, 0);
    memory->addWidget(_txtMAMemory, 1, 1);
    memory->addWidget(new QLabel(tr("Recording time (min)"), this), 2, 0);
    memory->addWidget(_txtMATime, 2, 1);

    _chkPassInit = new QCheckBox(tr("Reset the Wi-Fi password to the factory setting"), this);
    _chkPassInit->setObjectName(QStringLiteral("chkPassInit"));
    layout->addWidget(_chkPassInit);
    if (!CameraSettingFile::canResetWifiPass()) {
        // The factory password is the camera maker's; writing a guessed one would lock the user out.
        _chkPassInit->setEnabled(false);
        _chkPassInit->setToolTip(tr("The camera's factory Wi-Fi password is not known to this program, "
                                    "so it cannot be reset from here."));
    }

    auto *buttons = new QDialogButtonBox(this);
    auto *resetAll = buttons->addButton(tr("Reset all"), QDialogButtonBox::ResetRole);
    auto *ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    auto *cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    layout->addWidget(buttons);
    connect(resetAll, &QPushButton::clicked, this, &CameraSettingDialog::btnResetAllClick);
    connect(ok, &QPushButton::clicked, this, &CameraSettingDialog::btnOkClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CameraSettingDialog::connectControls()
{
    const auto act = [this](auto *sender, auto signal, auto change) {
        connect(sender, signal, this, [this, change](auto... args) {
            change(args...);
            refresh();
        });
    };
    act(_dtlSns.slider, &ScaledSlider::scaledValueMoved, [this](double v) { _model.syncDtlSns(v); });
    act(_dtlCrs.slider, &ScaledSlider::scaledValueMoved, [this](double v) { _model.syncDtlCrs(int(v)); });
    act(_dtlAngle.slider, &ScaledSlider::scaledValueMoved, [this](double v) { _model.syncDtlAngle(int(v)); });
    act(_survSns.slider, &ScaledSlider::scaledValueMoved, [this](double v) { _model.syncSurvSns(v); });
    act(_sliMA, &ScaledSlider::scaledValueMoved, [this](double v) { _model.moveMA(v); });
    act(_dtlSns.stepper, &Stepper::stepped, [this](int steps) { _model.stepDtlSns(steps); });
    act(_dtlCrs.stepper, &Stepper::stepped, [this](int steps) { _model.stepDtlCrs(steps); });
    act(_dtlAngle.stepper, &Stepper::stepped, [this](int steps) { _model.stepDtlAngle(steps); });
    act(_survSns.stepper, &Stepper::stepped, [this](int steps) { _model.stepSurvSns(steps); });
    act(_steQuikWakeUpTime, &Stepper::stepped, [this](int steps) { _model.stepQuikWakeUpTime(steps); });
    using M = CameraSettingModel;
    act(_btnDtlSnsNormal, &QPushButton::clicked, [this](bool) { _model.setDtlSns(M::SENSOR_NORMAL); });
    act(_btnDtlSnsHigh, &QPushButton::clicked, [this](bool) { _model.setDtlSns(M::SENSOR_HIGH); });
    act(_btnSurvSnsNormal, &QPushButton::clicked, [this](bool) { _model.setSurvSns(M::SUR_SENSOR_NORMAL); });
    act(_btnSurvSnsHigh, &QPushButton::clicked, [this](bool) { _model.setSurvSns(M::SUR_SENSOR_HIGH); });
    act(_cmbQuality, &QComboBox::activated, [this](int i) { _model.chooseQuality(i); });
    act(_cmbPwrMode, &QComboBox::activated, [this](int i) { _model.choosePowerMode(i); });
    act(_cmbBuzzerAction, &QComboBox::activated, [this](int i) { _model.cmbBuzzerAction.index = i; });
    act(_cmbBuzzerOperation, &QComboBox::activated, [this](int i) { _model.cmbBuzzerOperation.index = i; });
    act(_cmbBuzzerNoCard, &QComboBox::activated, [this](int i) { _model.cmbBuzzerNoCard.index = i; });
    act(_cmbBuzzerSurveillance, &QComboBox::activated,
        [this](int i) { _model.cmbBuzzerSurveillance.index = i; });
    act(_cmbSurvStartDelay, &QComboBox::activated, [this](int i) { _model.cmbSurvStartDelay.index = i; });
    act(_matrSurvMode, &QButtonGroup::idClicked, [this](int tag) { _model.matrSurvMode = tag; });
    act(_matrAdvMode, &QButtonGroup::idClicked, [this](int tag) { _model.matrAdvMode = tag; });
    act(_chkPassInit, &QCheckBox::toggled, [this](bool on) { _model.chkPassInit = on; });
    // The wake-up text is committed like the trio texts; typing is not checked.
    connect(_txtQuikWakeUpTime, &QLineEdit::textEdited, this,
            [this](const QString &text) { _model.editText(Field::QuikWakeUpTime, text); });
    act(_txtQuikWakeUpTime, &QLineEdit::editingFinished,
        [this] { _model.commitTextInput(Field::QuikWakeUpTime); });
}

void CameraSettingDialog::refresh()
{
    showPopUp(_cmbQuality, _model.cmbQuality);
    showPopUp(_cmbBuzzerAction, _model.cmbBuzzerAction);
    showPopUp(_cmbBuzzerOperation, _model.cmbBuzzerOperation);
    showPopUp(_cmbBuzzerNoCard, _model.cmbBuzzerNoCard);
    showPopUp(_cmbBuzzerSurveillance, _model.cmbBuzzerSurveillance);
    showPopUp(_cmbSurvStartDelay, _model.cmbSurvStartDelay);
    showPopUp(_cmbPwrMode, _model.cmbPwrMode);
    {
        const QSignalBlocker blocker(_chkPassInit);
        _chkPassInit->setChecked(_model.chkPassInit);
    }
    const std::pair<TrioWidgets *, const CameraSettingModel::Trio *> trios[] = {
        {&_dtlSns, &_model.dtlSns},
        {&_dtlCrs, &_model.dtlCrs},
        {&_dtlAngle, &_model.dtlAngle},
        {&_survSns, &_model.survSns}};
    for (const auto &[widgets, trio] : trios) {
        widgets->slider->setScaledValue(trio->slider);
        showText(widgets->text, trio->text);
    }
    showRadio(_matrSurvMode, _model.matrSurvMode);
    showRadio(_matrAdvMode, _model.matrAdvMode);
    showText(_txtQuikWakeUpTime, _model.txtQuikWakeUpTime);
    _txtQuikWakeUpTime->setEnabled(_model.isQuikWakeUpEnabled());
    _steQuikWakeUpTime->setEnabled(_model.isQuikWakeUpEnabled());
    _sliMA->setScaledValue(_model.sliMA);
    _txtMAMemory->setText(_model.txtMAMemory);
    _txtMATime->setText(_model.txtMATime);
}

void CameraSettingDialog::btnResetAllClick()
{
    _model.resetAll();
    refresh();
}

void CameraSettingDialog::btnOkClick()
{
    _model.applyTextValues();
    refresh();
    if (!_prompter.confirm(this, tr("This will overwrite the setup file. Are you sure?"))) {
        return;
    }
    QString error;
    const CameraSettingFile::SaveResult result = CameraSettingFile::save(_model, _defaultDirPath, &error);
    refresh();
    if (result == CameraSettingFile::SaveResult::Saved) {
        _prompter.inform(this,
                         tr("The camera settings have been saved. Updates will be applied after inserting "
                            "the SD card into the camera."));
        accept();
        return;
    }
    _prompter.warn(this, tr("Unable to overwrite the setup file."), error);
}

void CameraSettingDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

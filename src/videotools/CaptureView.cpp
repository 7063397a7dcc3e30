#include "videotools/CaptureView.h"

#include "card/ChapterData.h"
#include "recording/PictureData.h"
#include "recording/UserDefaultUtil.h"
#include "recording/VideoInfo.h"
#include "videotools/OverlayChoices.h"
#include "videotools/StillCapture.h"
#include "videotools/ToolViewDelegate.h"
#include "videotools/TrimDialogs.h"
#include "videotools/TrimRules.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLoggingCategory>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
Q_LOGGING_CATEGORY(lcTool, "orv.videotools.tool", QtInfoMsg)
}

CaptureView::CaptureView(UserDefaultUtil &settings, QWidget *parent)
    : QWidget(parent), overview1(tr("Insert data.")), txtChkAccelCap(tr("Acceleration")),
      txtChkCoordiCap(tr("Coordinates")), txtChkDate(tr("Time/Date")), txtChkSpeed(tr("Speed")),
      txtSave(tr("Save")), txtCancel(tr("Cancel")), al_errorMSgCap(tr("Unable to save the image.")),
      al_infoTitle(tr("Information")), al_infoMsg(tr("Saved")),
      notAddMsg(tr("* Additional information cannot be added after cut screen.")),
      al_warningTitle(tr("Warning")), _settings(settings), _prompts(std::make_unique<TrimDialogs>(this))
{
    lblInsert = new QLabel(this);
    lblNotAdd = new QLabel(this);
    chkDate = new QCheckBox(this);
    chkSpeed = new QCheckBox(this);
    chkAccel = new QCheckBox(this);
    chkPoint = new QCheckBox(this);
    btnSave = new QPushButton(this);
    btnCancel = new QPushButton(this);
    indicator = new QProgressBar(this);
    indicator->setRange(0, 0); // busy: runs without a value
    indicator->setTextVisible(false);
    indicator->setFixedWidth(80);
    indicator->hide();
    btnSave->setDefault(true);

    auto *boxes = new QHBoxLayout;
    for (QCheckBox *box : {chkDate, chkSpeed, chkAccel, chkPoint})
        boxes->addWidget(box);
    boxes->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(indicator);
    buttons->addStretch();
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnSave);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblInsert);
    layout->addLayout(boxes);
    layout->addWidget(lblNotAdd);
    layout->addStretch();
    layout->addLayout(buttons);
    setMinimumSize(500, 110);

    connect(btnSave, &QPushButton::clicked, this, &CaptureView::saveAction);
    connect(btnCancel, &QPushButton::clicked, this, &CaptureView::cancelAction);
}

CaptureView::~CaptureView() = default;

void CaptureView::setPrompts(std::unique_ptr<TrimPrompts> prompts)
{
    _prompts = std::move(prompts);
}

void CaptureView::setupControls()
{
    const std::shared_ptr<PictureData> picture =
        toolinfo && toolinfo->chapter ? toolinfo->chapter->getPicture(true) : nullptr;
    _cutFlg = picture && picture->video && picture->video->_isCutVideo;
    lblInsert->setText(overview1);
    lblNotAdd->setText(notAddMsg);
    lblNotAdd->setVisible(_cutFlg);
    const OverlayFlags stored = OverlayChoices::load(_settings);
    const std::pair<QCheckBox *, bool> boxes[] = {{chkDate, stored.isDatetime},
                                                  {chkSpeed, stored.isSpeed},
                                                  {chkAccel, stored.isAcceleration},
                                                  {chkPoint, stored.isPoint}};
    for (const auto &[box, on] : boxes) {
        // A trimmed clip carries its data burned in already: nothing more is written.
        box->setChecked(!_cutFlg && on);
        box->setEnabled(!_cutFlg);
    }
    chkDate->setText(txtChkDate);
    chkSpeed->setText(txtChkSpeed);
    chkAccel->setText(txtChkAccelCap);
    chkPoint->setText(txtChkCoordiCap);
    btnSave->setText(txtSave);
    btnCancel->setText(txtCancel);
    indicator->hide();
}

OverlayFlags CaptureView::checkedFlags() const
{
    const auto on = [](const QCheckBox *box) { return box->checkState() != Qt::Unchecked; };
    return {on(chkDate), on(chkSpeed), on(chkAccel), on(chkPoint)};
}

void CaptureView::setControlsEnabled(bool enabled)
{
    for (QWidget *control : std::initializer_list<QWidget *>{btnSave, btnCancel})
        control->setEnabled(enabled);
    // The boxes of a trimmed clip stay disabled.
    for (QCheckBox *box : {chkDate, chkSpeed, chkAccel, chkPoint})
        box->setEnabled(enabled && !_cutFlg);
    indicator->setVisible(!enabled);
}

void CaptureView::saveAction()
{
    if (!toolinfo) {
        qCDebug(lcTool) << "No selected Movie.";
        return;
    }
    if (_isBusy)
        return;
    const QString folder = UserDefaultUtil::saveStartFolder(_settings.pathDirCap);
    if (const auto destination = _prompts->chooseDestination(folder, EX_IMAGE))
        startCapture(*destination);
}

void CaptureView::startCapture(const QString &destination)
{
    // The save panel offers the card's own files; replacing one would destroy it.
    if (const auto refusal =
            TrimRules::refusedDestinationText(destination, toolinfo->openSourcePath, toolinfo->chapterList)) {
        _prompts->showAlert(TrimPrompts::Style::Critical, al_warningTitle, *refusal);
        return;
    }
    QString error;
    const auto request = StillCapture::prepareSave(*toolinfo, checkedFlags(), _settings, destination, &error);
    if (!request) {
        _prompts->showAlert(TrimPrompts::Style::Critical, al_warningTitle, al_errorMSgCap, error);
        return;
    }
    _isBusy = true;
    setControlsEnabled(false);
    StillCapture::start(*request, this,
                        [this](bool saved, const QString &error) { onCaptureFinished(saved, error); });
}

void CaptureView::onCaptureFinished(bool saved, const QString &error)
{
    _isBusy = false;
    setControlsEnabled(true);
    if (saved) {
        _prompts->showAlert(TrimPrompts::Style::Informational, al_infoTitle, al_infoMsg);
        emit captureFinished(true);
        if (delegate)
            delegate->closeToolWindow();
        return;
    }
    _prompts->showAlert(TrimPrompts::Style::Critical, al_warningTitle, al_errorMSgCap, error);
    emit captureFinished(false);
}

void CaptureView::cancelAction()
{
    if (delegate)
        delegate->closeToolWindow();
}

#include "videotools/TrimView.h"

#include "card/ChapterData.h"
#include "recording/PictureData.h"
#include "recording/UserDefaultUtil.h"
#include "recording/VideoInfo.h"
#include "videotools/OverlayChoices.h"
#include "videotools/ToolViewDelegate.h"
#include "videotools/TrimDialogs.h"
#include "videotools/TrimEndReport.h"
#include "videotools/TrimRules.h"
#include "videotools/TrimRunner.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
Q_LOGGING_CATEGORY(lcTool, "orv.videotools.tool", QtInfoMsg)
}

TrimView::TrimView(UserDefaultUtil &settings, QWidget *parent)
    : QWidget(parent), txtTitleTrim(tr("Trim Tool")), overview1(tr("Insert data.")),
      overview2(tr("Warning: Adding data to video will increase processing time.")), txtBack(tr("Back")),
      al_warningTitle(tr("Warning")),
      al_warningMsg(
          tr("Unable to save because the selected time range is less than 2 seconds. Please increase "
             "the selected time range for trim operation.")),
      txtChkAccel(tr("Acceleration")), txtChkCoordi(tr("Coordinates")), strHour(tr("Hour")),
      strMinute(tr("Minutes")),
      bigDataMsgFormat(
          tr("It will take more than %1 to complete video trimming. Would you like to continue?")),
      warnDiskMsg(tr("There is not enough disk space or memory available.")),
      notAddMsg(tr("* Additional information cannot be added after cut screen.")),
      txtChkDate(tr("Time/Date")), txtChkSpeed(tr("Speed")), txtSave(tr("Save")), txtCancel(tr("Cancel")),
      al_errorMsg(tr("Cut was unsuccessful.")), al_infoTitle(tr("Information")), al_infoMsg(tr("Saved")),
      txtConfirmation(tr("confirmation")), _settings(settings), _prompts(std::make_unique<TrimDialogs>(this)),
      _workFolderBase(CommonConst::DIR_PATH_TMP()), _runner(new TrimRunner(this))
{
    lblInsert = new QLabel(this);
    lblWarning = new QLabel(this);
    lblNotAdd = new QLabel(this);
    chkDate = new QCheckBox(this);
    chkSpeed = new QCheckBox(this);
    chkAccel = new QCheckBox(this);
    chkPoint = new QCheckBox(this);
    btnSave = new QPushButton(this);
    btnBack = new QPushButton(this);
    btnCancel = new QPushButton(this);
    btnSave->setDefault(true);

    auto *boxes = new QHBoxLayout;
    for (QCheckBox *box : {chkDate, chkSpeed, chkAccel, chkPoint})
        boxes->addWidget(box);
    boxes->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {btnBack, btnCancel, btnSave})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblInsert);
    layout->addLayout(boxes);
    layout->addWidget(lblNotAdd);
    layout->addWidget(lblWarning);
    layout->addStretch();
    layout->addLayout(buttons);
    setMinimumSize(500, 135);

    connect(btnSave, &QPushButton::clicked, this, &TrimView::saveAction);
    connect(btnBack, &QPushButton::clicked, this, &TrimView::backAction);
    connect(btnCancel, &QPushButton::clicked, this, &TrimView::cancelAction);
    connect(_runner, &TrimRunner::progress, this,
            [this](int step, int total) { updateProgress(100.0 * step / total, false); });
    connect(_runner, &TrimRunner::finished, this, &TrimView::onTrimFinished);
}

bool TrimView::isRunning() const
{
    return _runner->isRunning();
}

TrimView::~TrimView() = default;

void TrimView::setPrompts(std::unique_ptr<TrimPrompts> prompts)
{
    _prompts = std::move(prompts);
}

void TrimView::setupControls()
{
    if (!toolinfo || !toolinfo->chapter)
        return;
    const std::shared_ptr<PictureData> picture = toolinfo->chapter->getPicture(true);
    _cutFlg = picture && picture->video && picture->video->_isCutVideo;
    if (window() != this)
        window()->setWindowTitle(txtTitleTrim);
    lblInsert->setText(overview1);
    lblWarning->setText(overview2);
    const OverlayFlags choices = OverlayChoices::load(_settings);
    const std::pair<QCheckBox *, bool> boxes[] = {{chkDate, choices.isDatetime},
                                                  {chkSpeed, choices.isSpeed},
                                                  {chkAccel, choices.isAcceleration},
                                                  {chkPoint, choices.isPoint}};
    for (const auto &[box, stored] : boxes) {
        // A trimmed clip keeps the data it was cut with: nothing more is burned in.
        box->setChecked(!_cutFlg && stored);
        box->setEnabled(!_cutFlg);
    }
    lblNotAdd->setText(notAddMsg);
    lblNotAdd->setVisible(_cutFlg);
    chkDate->setText(txtChkDate);
    chkSpeed->setText(txtChkSpeed);
    chkAccel->setText(txtChkAccel);
    chkPoint->setText(txtChkCoordi);
    btnSave->setText(txtSave);
    btnBack->setText(txtBack);
    btnCancel->setText(txtCancel);
}

OverlayFlags TrimView::checkedFlags() const
{
    const auto on = [](const QCheckBox *box) { return box->checkState() != Qt::Unchecked; };
    return {on(chkDate), on(chkSpeed), on(chkAccel), on(chkPoint)};
}

void TrimView::saveAction()
{
    if (!toolinfo || !toolinfo->selectStartSumFrameTS || !toolinfo->selectEndSumFrameTS) {
        qCDebug(lcTool) << "No selected Movie.";
        return;
    }
    if (isRunning())
        return; // one job at a time
    _isCancelled = false;
    const int64_t range = *toolinfo->selectEndSumFrameTS - *toolinfo->selectStartSumFrameTS;
    if (TrimRules::isRangeTooShort(range)) {
        _prompts->showAlert(TrimPrompts::Style::Critical, al_warningTitle, al_warningMsg);
        return;
    }
    if (TrimRules::needsLongJobConfirmation(checkedFlags(), range) &&
        !_prompts->confirm(txtConfirmation,
                           bigDataMsgFormat.arg(TrimRules::makeDurationText(range, strHour, strMinute))))
        return;
    const QString folder = UserDefaultUtil::saveStartFolder(_settings.pathDirCut);
    const auto destination = _prompts->chooseDestination(folder, EX_MOV);
    if (destination)
        startTrim(*destination);
}

void TrimView::startTrim(const QString &destination)
{
    OverlayChoices::store(_settings, checkedFlags());
    // The save panel offers the card's own files; replacing one would destroy it. A refused folder is
    // not remembered for the next panel.
    if (const auto refusal =
            TrimRules::refusedDestinationText(destination, toolinfo->openSourcePath, toolinfo->chapterList)) {
        _prompts->showAlert(TrimPrompts::Style::Critical, al_warningTitle, *refusal);
        return;
    }
    OverlayChoices::storeCutFolder(_settings, QFileInfo(destination).absolutePath());
    if (!checkDiskSpace(QFileInfo(destination).absolutePath()))
        return;

    // Every choice is taken here, on the main thread: the job reads no widget and no setting.
    TrimRequest request;
    request.chapters = toolinfo->chapterList;
    request.select(toolinfo->positionsTimeline(), *toolinfo->selectStartSumFrameTS,
                   *toolinfo->selectEndSumFrameTS);
    request.flags = checkedFlags();
    request.overlaySettings = OverlaySettings::from(_settings);
    request.destination = destination;
    request.openSourcePath = toolinfo->openSourcePath;
    request.workFolderBase = _workFolderBase;
    request.ffmpegProgram = _ffmpegProgram;
    _prompts->openProgress(txtTitleTrim, [this] { taskProgressDialogOnClose(); });
    updateProgress(0.0, false);
    _runner->start(std::move(request));
}

bool TrimView::checkDiskSpace(const QString &destinationFolder)
{
    const int64_t range = *toolinfo->selectEndSumFrameTS - *toolinfo->selectStartSumFrameTS;
    if (TrimRules::checkDiskSpace(toolinfo->recMode, range, _workFolderBase, destinationFolder))
        return true;
    _prompts->showAlert(TrimPrompts::Style::Critical, al_warningTitle, warnDiskMsg);
    return false;
}

void TrimView::updateProgress(double percent, bool force)
{
    const double value = TrimRules::progressValue(percent, force);
    _prompts->setProgress(value, TrimRules::progressLabel(value));
}

void TrimView::onTrimFinished(TrimWorker::Result result, const QString &error)
{
    TrimEndReport{al_infoTitle, al_infoMsg, al_warningTitle, al_errorMsg}.finish(
        *_prompts, delegate, _isCancelled, result, error, [this] { updateProgress(100.0, true); });
}

void TrimView::taskProgressDialogOnClose()
{
    qCDebug(lcTool) << "taskProgressDialogOnClose";
    // Too late once the clip is replacing the destination: the job then reports "Saved" itself.
    if (!_runner->cancel())
        return;
    _isCancelled = true;
    _prompts->closeProgress();
    if (delegate)
        delegate->toolWindowClosed(ToolViewDelegate::CancelledWhileRunning);
}

void TrimView::backAction()
{
    qCDebug(lcTool) << "[ToolView]Back";
    if (delegate)
        delegate->toolWindowClosed(ToolViewDelegate::Back);
}

void TrimView::cancelAction()
{
    qCDebug(lcTool) << "[TrimTool]:Cancel";
    if (delegate)
        delegate->toolWindowClosed(ToolViewDelegate::Cancel);
}

void TrimView::windowClosing()
{
    if (delegate)
        delegate->toolWindowClosed(ToolViewDelegate::Back);
}

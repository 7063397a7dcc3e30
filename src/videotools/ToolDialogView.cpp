#include "videotools/ToolDialogView.h"

#include "card/ChapterData.h"
#include "recording/PictureData.h"
#include "recording/UserDefaultUtil.h"
#include "recording/VideoInfo.h"
#include "videotools/OverlayChoices.h"
#include "videotools/StillCapture.h"
#include "videotools/ToolViewDelegate.h"
#include "videotools/TrimDialogs.h"
#include "videotools/TrimEndReport.h"
#include "videotools/TrimRules.h"
#include "videotools/TrimRunner.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLoggingCategory>
#include <QProgressBar>
#include <QPushButton>

namespace {
Q_LOGGING_CATEGORY(lcTool, "orv.videotools.tool", QtInfoMsg)
}

namespace {

QLabel *makeLabel(QWidget *parent, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->adjustSize();
    return label;
}

// Places a control at its own size with its top-left corner at (x, y).
void place(QWidget *control, int x, int y)
{
    control->setGeometry(x, y, control->sizeHint().width(), control->sizeHint().height());
}

// The check box row: below lblInsert, each box 5 points right of the one before, centred on the first.
void placeBoxes(QLabel *insert, const std::initializer_list<QCheckBox *> &boxes)
{
    int x = insert->x() + 5;
    const QCheckBox *first = *boxes.begin();
    const int top = insert->geometry().bottom() + 1 + 10;
    const int centreY = top + first->sizeHint().height() / 2;
    for (QCheckBox *box : boxes) {
        place(box, x, centreY - box->sizeHint().height() / 2);
        x = box->geometry().right() + 1 + 5;
    }
}

// A button stretched between two x positions at its own height.
void placeButton(QPushButton *button, int left, int right, int top)
{
    button->setGeometry(left, top, right - left, button->sizeHint().height());
}

int bottomOf(const QWidget *control)
{
    return control->geometry().bottom() + 1;
}

} // namespace

ToolDialogView::ToolDialogView(UserDefaultUtil &settings, QWidget *parent)
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
      txtTitleCap(tr("Capture Image")), overviewCap(tr("Insert data.")), txtChkAccelCap(tr("Acceleration")),
      txtChkCoordiCap(tr("Coordinates")), txtChkDate(tr("Time/Date")), txtChkSpeed(tr("Speed")),
      txtSave(tr("Save")), txtCancel(tr("Cancel")), al_errorMsg(tr("Cut was unsuccessful.")),
      al_errorMSgCap(tr("Unable to save the image.")), al_infoTitle(tr("Information")),
      al_infoMsg(tr("Saved")), txtConfirmation(tr("confirmation")), _settings(settings),
      _prompts(std::make_unique<TrimDialogs>(this)), _runner(new TrimRunner(this)),
      _workFolderBase(CommonConst::DIR_PATH_TMP())
{
    connect(_runner, &TrimRunner::progress, this,
            [this](int step, int total) { updateProgress(false, 100.0 * step / total); });
    connect(_runner, &TrimRunner::finished, this, &ToolDialogView::onTrimFinished);
}

ToolDialogView::~ToolDialogView() = default;

void ToolDialogView::setPrompts(std::unique_ptr<TrimPrompts> prompts)
{
    _prompts = std::move(prompts);
}

bool ToolDialogView::isBusy() const
{
    return _isCapturing || _runner->isRunning();
}

void ToolDialogView::viewDidAppear()
{
    if (!toolinfo || lblInsert)
        return; // nothing to show, or shown already: the layout is made once
    const std::shared_ptr<PictureData> picture =
        toolinfo->chapter ? toolinfo->chapter->getPicture(true) : nullptr;
    _cutFlg = picture && picture->video && picture->video->_isCutVideo;
    const int height = isCapture() ? (_cutFlg ? 110 : 85) : (_cutFlg ? 135 : 110);
    setFixedSize(VIEW_WIDTH, height);
    _sEx = isCapture() ? EX_IMAGE : EX_MOV;
    if (window() != this) {
        window()->setWindowTitle(isCapture() ? txtTitleCap : txtTitleTrim);
        // Closable (the host's own title bar) and not resizable.
        window()->setFixedSize(window()->sizeHint().expandedTo(size()));
    }
    buildControls();
    layoutTrimControls();
    if (isCapture())
        layoutCaptureControls();
    if (locatePoint)
        window()->move(*locatePoint);
    const OverlayFlags stored = OverlayChoices::load(_settings);
    const std::pair<QCheckBox *, bool> boxes[] = {{chkDate, stored.isDatetime},
                                                  {chkSpeed, stored.isSpeed},
                                                  {chkAccel, stored.isAcceleration},
                                                  {chkPoint, stored.isPoint}};
    for (const auto &[box, on] : boxes) {
        box->setChecked(on && !_cutFlg);
        box->setEnabled(!_cutFlg);
    }
}

void ToolDialogView::buildControls()
{
    lblInsert = makeLabel(this, overview1);
    lblWarning = makeLabel(this, overview2);
    lblNotAdd = makeLabel(this, notAddMsg);
    lblNotAdd->setStyleSheet(QStringLiteral("color: red"));
    lblNotAdd->hide();
    chkDate = new QCheckBox(txtChkDate, this);
    chkSpeed = new QCheckBox(txtChkSpeed, this);
    chkAccel = new QCheckBox(txtChkAccel, this);
    chkPoint = new QCheckBox(txtChkCoordi, this);
    btnSave = new QPushButton(txtSave, this);
    btnBack = new QPushButton(txtBack, this);
    btnCancel = new QPushButton(txtCancel, this);
    connect(btnSave, &QPushButton::clicked, this, &ToolDialogView::saveAction);
    connect(btnBack, &QPushButton::clicked, this, &ToolDialogView::backAction);
    connect(btnCancel, &QPushButton::clicked, this, &ToolDialogView::cancelAction);
    indicator = new QProgressBar(this);
    indicator->setRange(0, 0);
    indicator->setTextVisible(false);
    indicator->resize(60, 12);
    indicator->hide();
    for (QWidget *control : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        control->setVisible(control != lblNotAdd && control != indicator);
}

void ToolDialogView::layoutTrimControls()
{
    lblNotAdd->setVisible(_cutFlg);
    place(lblInsert, 10, 10);
    placeBoxes(lblInsert, {chkDate, chkSpeed, chkAccel, chkPoint});
    place(lblWarning, chkDate->x() + 5, bottomOf(chkDate) + 5);
    if (_cutFlg)
        place(lblNotAdd, lblWarning->x() + 5, bottomOf(lblWarning) + 10);
    // Save, Back (100 wide, centred) and Cancel in one row, 5 apart and 50 from the edges.
    const int top = bottomOf(_cutFlg ? lblNotAdd : lblWarning) + 5;
    const int centreX = width() / 2;
    placeButton(btnSave, 50, centreX - 55, top);
    placeButton(btnBack, centreX - 50, centreX + 50, top);
    placeButton(btnCancel, centreX + 55, width() - 50, top);
    indicator->move(centreX - indicator->width() / 2, height() / 2 - indicator->height() / 2);
}

void ToolDialogView::layoutCaptureControls()
{
    lblInsert->setText(overviewCap);
    chkAccel->setText(txtChkAccelCap);
    chkPoint->setText(txtChkCoordiCap);
    btnBack->hide();
    lblWarning->hide();
    place(lblInsert, 10, 10);
    placeBoxes(lblInsert, {chkDate, chkSpeed, chkAccel, chkPoint});
    if (_cutFlg)
        place(lblNotAdd, chkDate->x() + 5, bottomOf(chkDate) + 10);
    // Save and Cancel 10 apart around the centre, 70 from the edges.
    const int top = bottomOf(_cutFlg ? static_cast<QWidget *>(lblNotAdd) : chkDate) + 5;
    const int centreX = width() / 2;
    placeButton(btnSave, 70, centreX - 5, top);
    placeButton(btnCancel, centreX + 5, width() - 70, top);
}

OverlayFlags ToolDialogView::checkedFlags() const
{
    if (!chkDate)
        return {};
    const auto on = [](const QCheckBox *box) { return box->checkState() != Qt::Unchecked; };
    return {on(chkDate), on(chkSpeed), on(chkAccel), on(chkPoint)};
}

void ToolDialogView::setControlsEnabled(bool enabled)
{
    if (!chkDate)
        return;
    for (QCheckBox *box : {chkDate, chkSpeed, chkAccel, chkPoint})
        box->setEnabled(enabled && !_cutFlg);
    for (QPushButton *button : {btnSave, btnBack, btnCancel})
        button->setEnabled(enabled);
    indicator->setVisible(!enabled);
}

QString ToolDialogView::makeDurationText(int64_t ms) const
{
    return TrimRules::makeDurationText(ms, strHour, strMinute);
}

void ToolDialogView::updateProgress(bool isFinal, double percent)
{
    const double value = TrimRules::progressValue(percent, isFinal);
    _prompts->setProgress(value, TrimRules::progressLabel(value));
}

void ToolDialogView::saveAction()
{
    if (!toolinfo) {
        qCDebug(lcTool) << "No selected Movie.";
        return;
    }
    if (isBusy())
        return;
    _cancelFlg = false;
    QString folder;
    if (isCapture()) {
        folder = _settings.pathDirCap;
    } else {
        if (!toolinfo->selectStartSumFrameTS || !toolinfo->selectEndSumFrameTS) {
            qCDebug(lcTool) << "No selected Movie.";
            return;
        }
        const int64_t range = *toolinfo->selectEndSumFrameTS - *toolinfo->selectStartSumFrameTS;
        if (TrimRules::isRangeTooShort(range)) {
            _prompts->showAlert(TrimPrompts::Style::Critical, al_warningTitle, al_warningMsg);
            return;
        }
        if (TrimRules::needsLongJobConfirmation(checkedFlags(), range) &&
            !_prompts->confirm(txtConfirmation, bigDataMsgFormat.arg(makeDurationText(range))))
            return;
        folder = _settings.pathDirCut;
    }
    // This panel falls back to the Desktop (the home folder when there is none).
    const QString desktop = QDir::homePath() + QStringLiteral("/Desktop");
    const QString start =
        OverlayChoices::startFolder(folder, QFileInfo(desktop).isDir() ? desktop : QDir::homePath());
    if (const auto destination = _prompts->chooseDestination(start, _sEx.isEmpty() ? EX_MOV : _sEx))
        startTool(*destination);
}

void ToolDialogView::startTool(const QString &destination)
{
    if (isCapture())
        startCapture(destination);
    else
        startTrim(destination);
}

bool ToolDialogView::refuseDestination(const QString &destination)
{
    // The save panel offers the card's own files; replacing one would destroy it. A refused folder is
    // not remembered for the next panel.
    const auto refusal =
        TrimRules::refusedDestinationText(destination, toolinfo->openSourcePath, toolinfo->chapterList);
    if (refusal)
        _prompts->showAlert(TrimPrompts::Style::Critical, al_warningTitle, *refusal);
    return refusal.has_value();
}

void ToolDialogView::startCapture(const QString &destination)
{
    if (refuseDestination(destination))
        return;
    QString error;
    auto request = StillCapture::prepareSave(*toolinfo, checkedFlags(), _settings, destination, &error);
    if (!request) {
        _prompts->showAlert(TrimPrompts::Style::Critical, al_warningTitle, al_errorMSgCap, error);
        return;
    }
    request->brightness = StillCapture::panelBrightnessOffset(toolinfo->brightBarVal);
    _isCapturing = true;
    setControlsEnabled(false);
    StillCapture::start(*request, this,
                        [this](bool saved, const QString &error) { onCaptureFinished(saved, error); });
}

void ToolDialogView::onCaptureFinished(bool saved, const QString &error)
{
    _isCapturing = false;
    setControlsEnabled(true);
    if (!saved) {
        _prompts->showAlert(TrimPrompts::Style::Critical, al_warningTitle, al_errorMSgCap, error);
        return;
    }
    _prompts->showAlert(TrimPrompts::Style::Informational, al_infoTitle, al_infoMsg);
    if (delegate)
        delegate->closeToolWindow();
}

void ToolDialogView::startTrim(const QString &destination)
{
    OverlayChoices::store(_settings, checkedFlags());
    if (refuseDestination(destination))
        return;
    OverlayChoices::storeCutFolder(_settings, QFileInfo(destination).absolutePath());
    const int64_t range = *toolinfo->selectEndSumFrameTS - *toolinfo->selectStartSumFrameTS;
    if (!TrimRules::checkDiskSpace(toolinfo->recMode, range, _workFolderBase,
                                   QFileInfo(destination).absolutePath())) {
        _prompts->showAlert(TrimPrompts::Style::Critical, al_warningTitle, warnDiskMsg);
        return;
    }
    TrimRequest request;
    request.chapters = toolinfo->chapterList;
    request.select(toolinfo->positionsTimeline(), *toolinfo->selectStartSumFrameTS,
                   *toolinfo->selectEndSumFrameTS);
    request.flags = _cutFlg ? OverlayFlags{} : checkedFlags();
    request.overlaySettings = OverlaySettings::from(_settings);
    request.destination = destination;
    request.openSourcePath = toolinfo->openSourcePath;
    request.workFolderBase = _workFolderBase;
    request.ffmpegProgram = _ffmpegProgram;
    _runner->start(std::move(request));
    // The progress dialog comes up once the run has started.
    _prompts->openProgress(txtTitleTrim, [this] { taskProgressDialogOnClose(); });
}

void ToolDialogView::onTrimFinished(TrimWorker::Result result, const QString &error)
{
    TrimEndReport{al_infoTitle, al_infoMsg, al_warningTitle, al_errorMsg}.finish(
        *_prompts, delegate, _cancelFlg, result, error, [this] { updateProgress(true, 100.0); });
}

void ToolDialogView::taskProgressDialogOnClose()
{
    qCDebug(lcTool) << "taskProgressDialogOnClose";
    // Too late once the clip is replacing the destination: the run then reports "Saved" itself.
    if (!_runner->cancel())
        return;
    _cancelFlg = true;
    _prompts->closeProgress();
    if (delegate)
        delegate->toolWindowClosed(ToolViewDelegate::CancelledWhileRunning);
}

void ToolDialogView::backAction()
{
    qCDebug(lcTool) << "[ToolView]Back";
    if (delegate)
        delegate->toolWindowClosed(ToolViewDelegate::Back);
}

void ToolDialogView::cancelAction()
{
    qCDebug(lcTool) << "[TrimTool]:Cancel";
    if (!delegate)
        return;
    // Without a tool type only the window's run is ended.
    if (toolinfo && toolinfo->type == ToolType::Trim)
        delegate->toolWindowClosed(ToolViewDelegate::Cancel);
    else
        delegate->closeToolWindow();
}

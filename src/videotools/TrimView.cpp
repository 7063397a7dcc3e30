#include "videotools/TrimView.h"

#include "card/ChapterData.h"
#include "recording/IOUtil.h"
#include "recording/PictureData.h"
#include "recording/UserDefaultUtil.h"
#include "recording/VideoInfo.h"
#include "videotools/ToolViewDelegate.h"
#include "videotools/TrimDialogs.h"
#include "videotools/TrimRules.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

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
      _workFolderBase(CommonConst::DIR_PATH_TMP())
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
}

TrimView::~TrimView()
{
    // A tool dropped while its job runs: stop the job and wait, the job's calls come back to us.
    if (_thread) {
        _worker->cancel();
        _thread->wait();
    }
}

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
    const std::pair<QCheckBox *, bool> boxes[] = {{chkDate, _settings.expDlgDateTime},
                                                  {chkSpeed, _settings.expDlgSpeed},
                                                  {chkAccel, _settings.expDlgAcceleration},
                                                  {chkPoint, _settings.expDlgPoint}};
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
        qInfo("No selected Movie.");
        return;
    }
    if (_thread)
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
    const auto destination = _prompts->chooseDestination(saveFolder(), EX_MOV);
    if (destination)
        startTrim(*destination);
}

QString TrimView::saveFolder() const
{
    if (!_settings.pathDirCut.isEmpty() && QFileInfo(_settings.pathDirCut).isDir())
        return _settings.pathDirCut;
    const QString documents = UserDefaultUtil::documentsPath();
    // A home without a Documents folder: the panel would otherwise open wherever the program started.
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void TrimView::storeChoices(const QString &destination)
{
    const OverlayFlags flags = checkedFlags();
    const std::pair<const char *, bool UserDefaultUtil::*> keys[] = {
        {UserDefaultUtil::KEY_EXP_DLG_DATE_TIME, &UserDefaultUtil::expDlgDateTime},
        {UserDefaultUtil::KEY_EXP_DLG_SPEED, &UserDefaultUtil::expDlgSpeed},
        {UserDefaultUtil::KEY_EXP_DLG_ACCELERATION, &UserDefaultUtil::expDlgAcceleration},
        {UserDefaultUtil::KEY_EXP_DLG_POINT, &UserDefaultUtil::expDlgPoint}};
    const bool values[] = {flags.isDatetime, flags.isSpeed, flags.isAcceleration, flags.isPoint};
    for (size_t i = 0; i < 4; ++i) {
        _settings.*keys[i].second = values[i];
        _settings.setValue(QString::fromLatin1(keys[i].first), values[i]);
    }
    _settings.pathDirCut = QFileInfo(destination).absolutePath();
    _settings.setValue(QString::fromLatin1(UserDefaultUtil::KEY_PATH_DIR_CUT), _settings.pathDirCut);
}

void TrimView::startTrim(const QString &destination)
{
    storeChoices(destination);
    // The save panel offers the card's own recordings; replacing one would destroy it.
    if (TrimWorker::isSourceRecording(destination, toolinfo->chapterList)) {
        _prompts->showAlert(TrimPrompts::Style::Critical, al_warningTitle, al_errorMsg);
        return;
    }
    if (!checkDiskSpace(QFileInfo(destination).absolutePath()))
        return;

    // Every choice is taken here, on the main thread: the job reads no widget and no setting.
    TrimRequest request;
    request.chapters = toolinfo->chapterList;
    request.startMs = *toolinfo->selectStartSumFrameTS;
    request.endMs = *toolinfo->selectEndSumFrameTS;
    request.flags = checkedFlags();
    request.overlaySettings = OverlaySettings::from(_settings);
    request.destination = destination;
    request.workFolderBase = _workFolderBase;
    request.ffmpegProgram = _ffmpegProgram;
    _worker = std::make_shared<TrimWorker>(std::move(request));
    _worker->setLogHandler([](const QString &line) { qInfo("%s", qPrintable(line)); });
    // The job's calls reach the panel on the main thread; the panel waits for the job before it goes.
    _worker->setProgressHandler([this](int step, int total) {
        QMetaObject::invokeMethod(
            this, [this, step, total] { updateProgress(100.0 * step / total, false); }, Qt::QueuedConnection);
    });
    _thread = QThread::create([this, worker = _worker] {
        const TrimWorker::Result result = worker->run();
        const QString error = worker->errorText();
        QMetaObject::invokeMethod(
            this, [this, result, error] { onTrimFinished(result, error); }, Qt::QueuedConnection);
    });
    _prompts->openProgress(txtTitleTrim, [this] { taskProgressDialogOnClose(); });
    updateProgress(0.0, false);
    _thread->start();
}

bool TrimView::checkDiskSpace(const QString &destinationFolder)
{
    const int64_t range = *toolinfo->selectEndSumFrameTS - *toolinfo->selectStartSumFrameTS;
    // The work folder is made here: the free space of a folder that does not exist reads as none.
    QDir().mkpath(_workFolderBase);
    if (TrimRules::hasDiskSpace(toolinfo->recMode, range, IOUtil::getFreeSpace(_workFolderBase),
                                IOUtil::getFreeSpace(destinationFolder)))
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
    _thread->wait();
    _thread->deleteLater();
    _thread = nullptr;
    _worker.reset();
    if (_isCancelled || result == TrimWorker::Result::Cancelled) {
        qInfo("cancel");
        _prompts->closeProgress();
        return;
    }
    if (result == TrimWorker::Result::Saved) {
        updateProgress(100.0, true);
        _prompts->showAlert(TrimPrompts::Style::Informational, al_infoTitle, al_infoMsg);
        _prompts->closeProgress();
        if (delegate)
            delegate->toolWindowClosed(ToolViewDelegate::Saved);
        return;
    }
    qWarning("Trim failed: %s", qPrintable(error));
    _prompts->showAlert(TrimPrompts::Style::Critical, al_warningTitle, al_errorMsg);
    _prompts->closeProgress();
}

void TrimView::taskProgressDialogOnClose()
{
    qInfo("taskProgressDialogOnClose");
    // Too late once the clip is replacing the destination: the job then reports "Saved" itself.
    if (!_worker || !_worker->cancel())
        return;
    _isCancelled = true;
    _prompts->closeProgress();
    if (delegate)
        delegate->toolWindowClosed(ToolViewDelegate::CancelledWhileRunning);
}

void TrimView::backAction()
{
    qInfo("[ToolView]Back");
    if (delegate)
        delegate->toolWindowClosed(ToolViewDelegate::Back);
}

void TrimView::cancelAction()
{
    qInfo("[TrimTool]:Cancel");
    if (delegate)
        delegate->toolWindowClosed(ToolViewDelegate::Cancel);
}

void TrimView::windowClosing()
{
    if (delegate)
        delegate->toolWindowClosed(ToolViewDelegate::Back);
}

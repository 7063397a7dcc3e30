#include "maintenance/CleanupDialog.h"

#include "card/CardData.h"
#include "maintenance/BackupSizeText.h"
#include "maintenance/BackupTreeModel.h"
#include "maintenance/CleanupRules.h"
#include "maintenance/DeleteRun.h"
#include "maintenance/MaintenanceHost.h"
#include "maintenance/MaintenancePrompter.h"
#include "maintenance/ManagementFiles.h"
#include "maintenance/TaskProgress.h"
#include "recording/DateFormatTypeUtil.h"
#include "recording/FileUtil.h"
#include "recording/IOUtil.h"
#include "recording/UserDefaultUtil.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

CleanupDialog::CleanupDialog(UserDefaultUtil &settings, MaintenanceHost *host, MaintenancePrompter &prompter,
                             QWidget *parent)
    : QWidget(parent), _settings(settings), _host(host), _prompter(prompter),
      _model(new BackupTreeModel(this)), _outLineView(new QTreeView(this)), _txtFolderName(new QLabel(this)),
      _txtCleanupSize(new QLabel(this))
{
    _outLineView->setModel(_model);
    _outLineView->setUniformRowHeights(true);
    _outLineView->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    _txtCleanupSize->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(_model, &BackupTreeModel::checksChanged, this, &CleanupDialog::updateSize);

    auto *checkOn = new QPushButton(tr("Check All"), this);
    auto *checkOff = new QPushButton(tr("Uncheck All"), this);
    auto *ok = new QPushButton(tr("OK"), this);
    auto *cancel = new QPushButton(tr("Cancel"), this);
    connect(checkOn, &QPushButton::clicked, this, &CleanupDialog::btnCheckOn_Click);
    connect(checkOff, &QPushButton::clicked, this, &CleanupDialog::btnCheckOff_Click);
    connect(ok, &QPushButton::clicked, this, &CleanupDialog::btnOk_Click);
    connect(cancel, &QPushButton::clicked, this, &CleanupDialog::btnCancel_Click);

    auto *top = new QGridLayout;
    top->addWidget(new QLabel(tr("Folder"), this), 0, 0);
    top->addWidget(_txtFolderName, 0, 1);
    top->setColumnStretch(1, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(checkOn);
    bottom->addWidget(checkOff);
    bottom->addStretch(1);
    bottom->addWidget(new QLabel(tr("Free space after deletion"), this));
    bottom->addWidget(_txtCleanupSize);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(_outLineView, 1);
    layout->addLayout(bottom);
    layout->addLayout(buttons);
}

CleanupDialog::~CleanupDialog() = default;

void CleanupDialog::setupDialog()
{
    if (!cleanupDirPath)
        return;
    _freeDriveSpace = IOUtil::getFreeSpace(*cleanupDirPath);
    _txtFolderName->setText(*cleanupDirPath);
    _model->setDateDisplay(
        DateFormatTypeUtil::format(DateFormatTypeUtil::dateTimeFormats(), _settings.dateFormat)
            .value_or(QString()),
        DateFormatTypeUtil::timeZoneIdentifier(_settings.timeZone), _settings.summerTime);
    _cardData = std::make_unique<CardData>();
    if (QFileInfo(*cleanupDirPath).isDir())
        _cardData->loadCardFolder(FileUtil::fileUrl(*cleanupDirPath));
    _model->setTree(BackupTree::build(*_cardData, nullptr));
    _managementSize = 0;
    if (_cardData->_openSourcePath) {
        if (const auto folder = FileUtil::splitPath(*_cardData->_openSourcePath).first)
            _managementSize = ManagementFiles::totalIn(folder->toLocalFile());
    }
    updateSize();
}

void CleanupDialog::updateSize()
{
    _txtCleanupSize->setText(BackupSizeText::cleanupText(
        CleanupRules::freeAfterDelete(_model->tree(), _freeDriveSpace, _managementSize)));
}

QString CleanupDialog::sizeText() const
{
    return _txtCleanupSize->text();
}

void CleanupDialog::btnCheckOn_Click()
{
    _model->setAll(1);
}

void CleanupDialog::btnCheckOff_Click()
{
    _model->setAll(0);
}

void CleanupDialog::btnCancel_Click()
{
    if (!_run)
        emit closeRequested();
}

void CleanupDialog::btnOk_Click()
{
    if (_run)
        return;
    _isReload = false;
    const BackupTree &tree = _model->tree();
    if (tree.checkedCount() == 0) {
        _prompter.warn(tr("Chapter was not selected."));
        return;
    }
    const bool wholeFolder = CleanupRules::isWholeFolder(tree);
    if (!_prompter.confirm(wholeFolder
                               ? tr("This will delete the backup folder and all its contents. Are you sure?")
                               : tr("The selected chapter(s) will be deleted. Are you sure?"),
                           true))
        return;
    _isFolderDelete = wholeFolder;
    if (openSourcePath && cleanupDirPath && CleanupRules::isInUse(openSourcePath, *cleanupDirPath)) {
        if (!_prompter.confirm(tr("A file in the backup folder is currently in use. Proceed with delete?"),
                               true))
            return;
        if (_host && !_host->confirmStopWatchReset())
            return;
        // The main window lets go of the folder's files before any of them is removed.
        if (_host)
            _host->resetDisplay();
        _isReload = true;
    }
    if (!_host)
        return;

    _taskProgress = _host->createTaskProgress();
    _taskProgress->start(TaskProgress::Mode::Cleanup, tr("Delete"));
    _run = new DeleteRun(std::make_unique<GuardedRemover>(backupRoot), cleanupDirPath.value_or(QString()),
                         _isFolderDelete, tree.checkedPaths(), _prompter, *_taskProgress, {paceMs, 10}, this);
    connect(_run, &DeleteRun::finished, this, &CleanupDialog::finishDelete);
    _run->start();
}

void CleanupDialog::finishDelete(bool cancelled)
{
    _run->deleteLater();
    _run = nullptr;
    _taskProgress->finish(cancelled);
    _taskProgress.reset();
    emit runEnded(cancelled);
    // A source that no longer exists is not opened again; the main window stays with no card open.
    if (_host && openSourcePath && _isReload && QFileInfo::exists(openSourcePath->toLocalFile()))
        _host->reopenVideoData(*openSourcePath);
    if (_isFolderDelete && !cancelled) {
        emit closeRequested();
        return;
    }
    setupDialog();
}

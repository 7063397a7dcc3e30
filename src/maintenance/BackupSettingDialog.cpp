#include "maintenance/BackupSettingDialog.h"

#include "card/CardData.h"
#include "card/ChapterData.h"
#include "maintenance/BackupFolderName.h"
#include "maintenance/BackupSizeText.h"
#include "maintenance/BackupSpace.h"
#include "maintenance/BackupTreeModel.h"
#include "maintenance/MaintenanceHost.h"
#include "maintenance/MaintenancePrompter.h"
#include "maintenance/ManagementFiles.h"
#include "maintenance/TaskProgress.h"
#include "maintenance/VerifiedFileCopier.h"
#include "recording/DateFormatTypeUtil.h"
#include "recording/FileUtil.h"
#include "recording/IOUtil.h"
#include "recording/UserDefaultUtil.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QThread>
#include <QTreeView>
#include <QVBoxLayout>
#include <QtDebug>
#include <numeric>

BackupSettingDialog::BackupSettingDialog(UserDefaultUtil &settings, MaintenanceHost &host,
                                         MaintenancePrompter &prompter, QWidget *parent)
    : QWidget(parent), _settings(settings), _host(host), _prompter(prompter),
      _model(new BackupTreeModel(this)), _outLineView(new QTreeView(this)),
      _txtFolderName(new QLineEdit(this)), _txtFreeDriveSize(new QLabel(this)),
      _txtFileSize(new QLabel(this)), _copier(std::make_shared<VerifiedFileCopier>())
{
    _outLineView->setModel(_model);
    _outLineView->setUniformRowHeights(true);
    _outLineView->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    _outLineView->header()->setStretchLastSection(false);
    _txtFileSize->setAutoFillBackground(true);
    _txtFileSize->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    _txtFreeDriveSize->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(_model, &BackupTreeModel::checksChanged, this, &BackupSettingDialog::updateBackupSize);

    auto *checkOn = new QPushButton(tr("Check All"), this);
    auto *checkOff = new QPushButton(tr("Uncheck All"), this);
    auto *ok = new QPushButton(tr("OK"), this);
    auto *cancel = new QPushButton(tr("Cancel"), this);
    connect(checkOn, &QPushButton::clicked, this, &BackupSettingDialog::btnCheckOn_Click);
    connect(checkOff, &QPushButton::clicked, this, &BackupSettingDialog::btnCheckOff_Click);
    connect(ok, &QPushButton::clicked, this, &BackupSettingDialog::btnOk_Click);
    connect(cancel, &QPushButton::clicked, this, &BackupSettingDialog::btnCancel_Click);

    auto *name = new QHBoxLayout;
    name->addWidget(new QLabel(tr("Folder name"), this));
    name->addWidget(_txtFolderName, 1);
    auto *checks = new QHBoxLayout;
    checks->addWidget(checkOn);
    checks->addWidget(checkOff);
    checks->addStretch(1);
    auto *sizes = new QGridLayout;
    sizes->addWidget(new QLabel(tr("Free space"), this), 0, 0);
    sizes->addWidget(_txtFreeDriveSize, 0, 1);
    sizes->addWidget(new QLabel(tr("Backup size"), this), 1, 0);
    sizes->addWidget(_txtFileSize, 1, 1);
    sizes->setColumnStretch(2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(name);
    layout->addWidget(_outLineView, 1);
    layout->addLayout(checks);
    layout->addLayout(sizes);
    layout->addLayout(buttons);
    ok->setDefault(true);
}

BackupSettingDialog::~BackupSettingDialog()
{
    if (_thread) {
        _taskProgress->cancel();
        _thread->wait();
        delete _thread;
    }
}

void BackupSettingDialog::setCopier(std::shared_ptr<FileCopier> copier)
{
    _copier = std::move(copier);
}

void BackupSettingDialog::setupDialog()
{
    // Western digits whatever the user's locale.
    _txtFolderName->setText(
        QLocale::c().toString(QDateTime::currentDateTime(), QStringLiteral("yyyyMMddHHmmss")));
    _model->setDateDisplay(
        DateFormatTypeUtil::format(DateFormatTypeUtil::dateTimeFormats(), _settings.dateFormat)
            .value_or(QString()),
        DateFormatTypeUtil::timeZoneIdentifier(_settings.timeZone), _settings.summerTime);
    if (!cardData)
        return;
    _model->setTree(BackupTree::build(*cardData, playChapter.get()));
    if (playChapter) {
        for (const auto &trip : _model->tree().backups()) {
            for (const auto &item : trip.children) {
                if (item.filePath == playChapter->_pathMove)
                    _outLineView->expand(_model->tripIndex(trip.idx));
            }
        }
    }
    fitColumns();
    if (!cardData->_openSourcePath)
        return;
    const auto folder = FileUtil::splitPath(*cardData->_openSourcePath).first;
    _managementSizes =
        folder ? ManagementFiles::sizesIn(folder->toLocalFile()) : decltype(_managementSizes){};
    _managementSize = std::accumulate(_managementSizes.begin(), _managementSizes.end(), std::int64_t(0));
    if (pathBackup) {
        _freeDriveSize = IOUtil::getFreeSpace(*pathBackup);
        _blockSize = BackupSpace::blockSizeOf(*pathBackup);
        _txtFreeDriveSize->setText(BackupSizeText::backupText(_freeDriveSize));
    }
    updateBackupSize();
}

void BackupSettingDialog::fitColumns()
{
    // The outline is as wide as its columns, so the window opens wide enough to show each whole.
    for (int column = 0; column < _model->columnCount(); ++column)
        _outLineView->resizeColumnToContents(column);
    _outLineView->setMinimumWidth(_outLineView->header()->length() + 2 * _outLineView->frameWidth() +
                                  _outLineView->verticalScrollBar()->sizeHint().width());
}

void BackupSettingDialog::updateBackupSize()
{
    const BackupTree &tree = _model->tree();
    _backupFileSize = std::int64_t(tree.checkedSize()) + (tree.checkedCount() > 0 ? _managementSize : 0);
    // What the files take on the backup drive, in its whole blocks, decides whether they fit.
    _backupNeedBytes = BackupSpace::neededBytes(BackupSpace::fileSizes(tree, _managementSizes), _blockSize);
    _isSizeRed = !(_backupNeedBytes < _freeDriveSize);
    QPalette palette = _txtFileSize->palette();
    palette.setColor(QPalette::Window,
                     _isSizeRed ? QColor(Qt::red) : this->palette().color(QPalette::Window));
    _txtFileSize->setPalette(palette);
    _txtFileSize->setText(BackupSizeText::backupText(_backupFileSize));
}

QString BackupSettingDialog::sizeText() const
{
    return _txtFileSize->text();
}

QString BackupSettingDialog::freeText() const
{
    return _txtFreeDriveSize->text();
}

void BackupSettingDialog::btnCheckOn_Click()
{
    _model->setAll(1);
}

void BackupSettingDialog::btnCheckOff_Click()
{
    _model->setAll(0);
}

void BackupSettingDialog::btnCancel_Click()
{
    if (_thread)
        return;
    _settings.setFlag(UserDefaultUtil::KEY_BACKUP_SETTING_FLG, false);
    emit closeRequested();
}

void BackupSettingDialog::btnOk_Click()
{
    if (_thread || !cardData)
        return;
    const QString name = _txtFolderName->text();
    const BackupTree &tree = _model->tree();
    if (const auto problem =
            BackupFolderName::check(name, tree.checkedCount(), _freeDriveSize, _backupNeedBytes)) {
        _prompter.warn(BackupFolderName::message(*problem));
        return;
    }
    const QString dest = FileUtil::appendPath(pathBackup.value_or(QString()), name);
    if (QFileInfo::exists(dest) || QFileInfo(dest).isSymLink()) {
        if (!_prompter.confirm(
                tr("The folder already exists at the selected destination. Would you like to overwrite?"),
                false))
            return;
    }
    QString error;
    auto plan = BackupCopyPlan::make(cardData->_openSourcePath, tree.checkedPaths(), dest, &error);
    if (!plan) {
        qWarning().noquote() << "[Backup] refused:" << error;
        _prompter.warn(tr("Unable to copy the file."), error);
        return;
    }
    startBackup(std::move(*plan));
}

void BackupSettingDialog::startBackup(BackupCopyPlan plan)
{
    _taskProgress = _host.createTaskProgress();
    _taskProgress->start(TaskProgress::Mode::Backup, tr("Back up"));

    // The worker touches only its own copies, the copier and the progress's flag; everything shown goes
    // through queued calls on this dialog, which keeps the progress and waits for the thread before it goes.
    _thread = QThread::create([this, plan = std::move(plan), copier = _copier,
                               cancel = &_taskProgress->cancelFlag(), pause = _finishPauseMs]() mutable {
        BackupCopyJob job(std::move(plan), *copier);
        const auto outcome = job.run(*cancel, [this](int copied, int total) {
            const double value = double(copied) / double(total) * 100.0;
            QMetaObject::invokeMethod(
                this, [this, value] { _taskProgress->setProgress(value, BackupCopyJob::percentText(value)); },
                Qt::QueuedConnection);
        });
        QThread::msleep(static_cast<unsigned long>(pause));
        QMetaObject::invokeMethod(
            this, [this, outcome] { finishBackup(outcome); }, Qt::QueuedConnection);
    });
    _thread->start();
}

void BackupSettingDialog::finishBackup(const BackupCopyJob::Outcome &outcome)
{
    _thread->wait();
    delete _thread;
    _thread = nullptr;
    _taskProgress->stopTimer();
    if (outcome.alert) {
        qWarning().noquote() << "[Backup]" << outcome.detail;
        _prompter.warn(*outcome.alert, outcome.detail);
    }
    _taskProgress->finish(outcome.cancelled);
    backupFinished();
    emit backupEnded(outcome.cancelled);
}

void BackupSettingDialog::backupFinished()
{
    _settings.setFlag(UserDefaultUtil::KEY_BACKUP_SETTING_FLG, false);
    _taskProgress.reset();
}

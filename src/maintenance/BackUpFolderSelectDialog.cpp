#include "maintenance/BackUpFolderSelectDialog.h"

#include "maintenance/BackupFolderList.h"
#include "maintenance/CleanupDialog.h"
#include "maintenance/MaintenanceHost.h"
#include "maintenance/MaintenancePrompter.h"
#include "maintenance/PanelWindow.h"
#include "recording/FileUtil.h"
#include "recording/UserDefaultUtil.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

BackUpFolderSelectDialog::BackUpFolderSelectDialog(UserDefaultUtil &settings, MaintenanceHost *host,
                                                   MaintenancePrompter &prompter, QWidget *parent)
    : QWidget(parent), _settings(settings), _host(host), _prompter(prompter), _txtMessage(new QLabel(this)),
      _cmbBackupFolder(new QComboBox(this)), _backupFolderPath(UserDefaultUtil::documentsPath())
{
    runCleanupWindow = [this](CleanupDialog &dialog) { runCleanupInWindow(dialog); };
    auto *ok = new QPushButton(tr("OK"), this);
    auto *cancel = new QPushButton(tr("Cancel"), this);
    connect(ok, &QPushButton::clicked, this, &BackUpFolderSelectDialog::btnOk_Click);
    connect(cancel, &QPushButton::clicked, this, &BackUpFolderSelectDialog::btnCancel_Click);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(_txtMessage);
    layout->addWidget(_cmbBackupFolder);
    layout->addStretch(1);
    layout->addLayout(buttons);
    ok->setDefault(true);
}

QString BackUpFolderSelectDialog::messageText() const
{
    return _txtMessage->text();
}

void BackUpFolderSelectDialog::setupDialog()
{
    _txtMessage->setText(mode == Mode::Cleanup ? tr("Select Folder to delete") : tr("Select backup folder"));
    _settings.load();
    _backupFolderPath = _settings.pathBackup;
    QString error;
    _backupFolders = BackupFolderList::list(_backupFolderPath, &error);
    if (!error.isEmpty())
        _prompter.warn(error);
    _cmbBackupFolder->clear();
    _cmbBackupFolder->addItems(_backupFolders);
    if (!_backupFolders.isEmpty())
        _cmbBackupFolder->setCurrentIndex(0);
}

void BackUpFolderSelectDialog::reloadBackupFolders()
{
    setupDialog();
}

void BackUpFolderSelectDialog::btnOk_Click()
{
    const int row = _cmbBackupFolder->currentIndex();
    const QString name = row >= 0 && row < _backupFolders.size() ? _backupFolders[row] : QString();
    if (mode == Mode::Normal) {
        // Nothing chosen or no main window: nothing is opened.
        if (!_host || name.isEmpty() || !_host->confirmStopWatchReset())
            return;
        _host->openBackupFolderPath(FileUtil::appendPath(_backupFolderPath, name));
        return;
    }
    if (name.isEmpty()) {
        _prompter.warn(tr("Select folder"));
        return;
    }
    CleanupDialog dialog(_settings, _host, _prompter);
    dialog.backupRoot = _backupFolderPath;
    dialog.cleanupDirPath = FileUtil::appendPath(_backupFolderPath, name);
    dialog.openSourcePath = openSourcePath;
    connect(&dialog, &CleanupDialog::runEnded, this, &BackUpFolderSelectDialog::reloadBackupFolders);
    dialog.setupDialog();
    runCleanupWindow(dialog);
}

void BackUpFolderSelectDialog::btnCancel_Click()
{
    // The delete flag belongs to the delete flow; in Normal mode it may be held by another copy's delete.
    if (mode == Mode::Cleanup)
        _settings.setFlag(UserDefaultUtil::KEY_BACKUP_DELETE_FLG, false);
    emit closeRequested();
}

void BackUpFolderSelectDialog::runCleanupInWindow(CleanupDialog &dialog)
{
    PanelWindow window(&dialog, this);
    window.setWindowTitle(tr("Select delete data"));
    window.resize(763, 436);
    window.exec();
}

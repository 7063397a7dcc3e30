// The backup dialog: the user checks trips and chapters of the opened source, names the backup folder, sees
// the free space and the selection's size, and starts the copy, which runs on a worker thread under the
// main window's progress window.
#pragma once

#include "maintenance/BackupCopyJob.h"

#include <QString>
#include <QWidget>
#include <array>
#include <atomic>
#include <memory>
#include <optional>

class BackupTreeModel;
class CardData;
class ChapterData;
class FileCopier;
class MaintenanceHost;
class MaintenancePrompter;
class QLabel;
class QLineEdit;
class QThread;
class QTreeView;
class TaskProgress;
class UserDefaultUtil;

class BackupSettingDialog : public QWidget
{
    Q_OBJECT

public:
    BackupSettingDialog(UserDefaultUtil &settings, MaintenanceHost &host, MaintenancePrompter &prompter,
                        QWidget *parent = nullptr);
    ~BackupSettingDialog() override;

    // Set by the opener before setupDialog(); the card outlives the dialog.
    CardData *cardData = nullptr;
    std::optional<QString> pathBackup;
    std::shared_ptr<ChapterData> playChapter;
    // The copier of the next backups (tests inject failures); the real one by default.
    void setCopier(std::shared_ptr<FileCopier> copier);
    // The pause between the last file and the closing message (ms).
    void setFinishPause(int ms) { _finishPauseMs = ms; }

    void setupDialog();
    void updateBackupSize();

    BackupTreeModel *model() const { return _model; }
    QLineEdit *folderNameField() const { return _txtFolderName; }
    QString sizeText() const;
    QString freeText() const;
    bool isSizeRed() const { return _isSizeRed; }
    bool isRunning() const { return _thread != nullptr; }

public slots:
    void btnCheckOn_Click();
    void btnCheckOff_Click();
    void btnOk_Click();
    void btnCancel_Click();

signals:
    // The dialog is done and its window should close (Cancel or the window's close button).
    void closeRequested();
    // A backup ended and its closing message was shown.
    void backupEnded(bool cancelled);

private:
    void fitColumns();
    void startBackup(BackupCopyPlan plan);
    void finishBackup(const BackupCopyJob::Outcome &outcome);
    void backupFinished();

    UserDefaultUtil &_settings;
    MaintenanceHost &_host;
    MaintenancePrompter &_prompter;
    BackupTreeModel *_model;
    QTreeView *_outLineView;
    QLineEdit *_txtFolderName;
    QLabel *_txtFreeDriveSize;
    QLabel *_txtFileSize;
    std::shared_ptr<FileCopier> _copier;
    std::int64_t _managementSize = 0;
    std::array<std::int64_t, 3> _managementSizes{};
    std::int64_t _freeDriveSize = 0;
    std::int64_t _blockSize = -1; // of the backup drive
    std::int64_t _backupFileSize = 0;
    std::int64_t _backupNeedBytes = 0; // the selection in whole blocks of the backup drive
    bool _isSizeRed = false;
    int _finishPauseMs = 400;

    std::unique_ptr<TaskProgress> _taskProgress;
    QThread *_thread = nullptr;
};

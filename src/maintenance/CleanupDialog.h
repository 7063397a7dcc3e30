// The delete dialog: shows one backup folder's trips and chapters with check boxes and the free space after
// the deletion, asks for confirmation (and, when the folder is the source open in the main window, whether
// to close it), then deletes the chosen chapters or, when all are chosen, the whole folder.
#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>
#include <atomic>
#include <memory>
#include <optional>

class BackupTreeModel;
class CardData;
class DeleteRun;
class GuardedRemover;
class MaintenanceHost;
class MaintenancePrompter;
class QLabel;
class QTreeView;
class TaskProgress;
class UserDefaultUtil;

class CleanupDialog : public QWidget
{
    Q_OBJECT

public:
    CleanupDialog(UserDefaultUtil &settings, MaintenanceHost *host, MaintenancePrompter &prompter,
                  QWidget *parent = nullptr);
    ~CleanupDialog() override;

    // Set by the folder selection dialog before setupDialog().
    QString backupRoot;
    std::optional<QString> cleanupDirPath;
    std::optional<QUrl> openSourcePath;
    // Pause between removals (ms); tests use 0.
    int paceMs = 400;

    void setupDialog();
    BackupTreeModel *model() const { return _model; }
    QString sizeText() const;
    bool isRunning() const { return _run != nullptr; }

public slots:
    void btnCheckOn_Click();
    void btnCheckOff_Click();
    void btnOk_Click();
    void btnCancel_Click();

signals:
    void closeRequested();
    // A delete run has ended (the folder list may have changed).
    void runEnded(bool cancelled);

private:
    void updateSize();
    void finishDelete(bool cancelled);

    UserDefaultUtil &_settings;
    MaintenanceHost *_host;
    MaintenancePrompter &_prompter;
    BackupTreeModel *_model;
    QTreeView *_outLineView;
    QLabel *_txtFolderName;
    QLabel *_txtCleanupSize;
    std::unique_ptr<CardData> _cardData;
    std::int64_t _freeDriveSpace = 0;
    std::int64_t _managementSize = 0;
    bool _isFolderDelete = false;
    bool _isReload = false;
    std::unique_ptr<TaskProgress> _taskProgress;
    DeleteRun *_run = nullptr;
};

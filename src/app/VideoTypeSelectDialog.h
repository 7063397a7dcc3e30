// The "Open From" dialog: a card drive, a backup folder or one movie file. Each button runs a nested
// selection; a chosen source is handed to the main window and both windows close.
#pragma once

#include "app/CardDriveSelectDialogDelegate.h"
#include "app/VideoTypeSelectDialogDelegate.h"
#include "maintenance/MaintenanceHost.h"

#include <QDialog>
#include <functional>
#include <memory>

class BackUpFolderSelectDialog;
class CardDriveSelectDialog;
class MaintenancePrompter;
class MessagePrompter;
class ModalRunner;
class UserDefaultUtil;
class VolumeLister;

class VideoTypeSelectDialog : public QDialog, public CardDriveSelectDialogDelegate, private MaintenanceHost
{
    Q_OBJECT
public:
    struct Services
    {
        UserDefaultUtil &settings;
        MessagePrompter &prompter;                // the two "Warning" alerts
        MaintenancePrompter &maintenancePrompter; // the backup folder dialog's alerts
        const VolumeLister &volumes;
        ModalRunner &runner; // runs the nested selection windows
        // The system's file panel: the chosen file's path, empty when cancelled. Given the start folder.
        std::function<QString(QWidget *parent, const QString &startFolder)> chooseFile;
    };

    explicit VideoTypeSelectDialog(Services services, QWidget *parent = nullptr);
    ~VideoTypeSelectDialog() override;

    VideoTypeSelectDialogDelegate *delegate = nullptr;

    MovieType selectMovieType() const { return _selectMovieType; }
    const QString &dirPathPC() const { return _dirPathPC; }
    CardDriveSelectDialog *cardDriveSelectDialog() const { return _cardDriveSelectDialog.get(); }
    BackUpFolderSelectDialog *backUpFolderSelectDialog() const { return _backUpFolderSelectDialog.get(); }
    // Where the file panel starts: the stored file's folder, or Documents when that file is gone.
    QString fileStartFolder() const;

    // CardDriveSelectDialogDelegate
    void openCardDrivePath(const QString &path) override;
    bool confirmStopWatchReset() override;

public slots:
    void cardDataOnClick();
    void backupFolderOnClick();
    void fileSelectOnClick();

private:
    // MaintenanceHost: what the backup folder dialog calls in its Normal mode.
    void openBackupFolderPath(const QString &path) override;
    std::unique_ptr<TaskProgress> createTaskProgress() override;
    void resetDisplay() override {}
    void reopenVideoData(const QUrl &) override {}

    void openSourcePath(const QString &path, MovieType type);

    Services _s;
    std::unique_ptr<CardDriveSelectDialog> _cardDriveSelectDialog;
    std::unique_ptr<BackUpFolderSelectDialog> _backUpFolderSelectDialog;
    QDialog *_nestedWindow = nullptr; // the nested selection's window while it runs
    QString _dirPathPC;
    MovieType _selectMovieType = MovieType::PC;
};

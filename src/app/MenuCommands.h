// The file-changing menu commands: Save as / Back up, Delete, Backup Directory Settings and Camera
// Settings. Each pauses a ready player, takes its dialog's in-use flag (released when the run returns, on
// every path) and runs its dialog in a modal window.
#pragma once

#include "app/DialogInUseLock.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class CardData;
class ChapterData;
class MaintenanceHost;
class MaintenancePrompter;
class MessagePrompter;
class ModalRunner;
class PlaybackControl;
class QWidget;
class UserDefaultUtil;
class VolumeLister;

class MenuCommands : public QObject
{
    Q_OBJECT
public:
    struct Services
    {
        UserDefaultUtil &settings;
        MessagePrompter &prompter;                // the in-use and "not found" warnings
        MaintenancePrompter &maintenancePrompter; // the dialogs' own questions
        MaintenanceHost &host;
        ModalRunner &runner;
        PlaybackControl &player;
        DialogInUseLock &lock;
        QWidget *window;                                           // the main window
        std::function<CardData *()> cardData;                      // the opened source
        std::function<std::shared_ptr<ChapterData>()> playChapter; // the chapter being played, if any
        // The folder chooser: start folder, message; the chosen folder or none.
        std::function<std::optional<QString>(const QString &start, const QString &message)> chooseDirectory;
        std::function<void(bool topMost)> setChildWindowsTopMost;
        const VolumeLister *volumes = nullptr; // the card drives offered for the camera settings
        // May a stopwatch measurement be dropped (asked by the card drive selection's OK)?
        std::function<bool()> confirmStopWatchReset;
    };

    explicit MenuCommands(Services services, QObject *parent = nullptr);

    void showBackupSettingDialog();
    void showCleanupDialog();
    void selectBackupDirectory();
    // Camera Settings, first stage: the card drive selection, whose OK leads to openCameraSetting.
    void showCameraSettingDialog();
    // The card drive selection's OK (camera settings, second stage): the camera settings dialog on the
    // drive's SETINF.DAT, or without settings after a warning when that file is missing or foreign.
    void openCameraSetting(const QString &cardRoot);

    // Where the backup chooser opens: the stored backup folder when it exists, else Documents.
    static QString backupChooserStart(const QString &storedPath);

private:
    // The pause step, then the flag: an empty holder after the warning of its refusal.
    DialogInUseLock::Hold pauseAndAcquire(const char *key);
    void warn(const QString &text, const QString &cause = {});

    Services _s;
};

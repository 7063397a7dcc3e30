// What the backup, folder selection and delete dialogs need of the main window.
#pragma once

#include <QString>
#include <QUrl>
#include <memory>

class TaskProgress;

class MaintenanceHost
{
public:
    virtual ~MaintenanceHost() = default;
    // A fresh progress window for one job.
    virtual std::unique_ptr<TaskProgress> createTaskProgress() = 0;
    // May the stopwatch's measurement be dropped (asks when one is running)?
    virtual bool confirmStopWatchReset() = 0;
    // Back to "no card open", so no file of the current source stays open.
    virtual void resetDisplay() = 0;
    // Opens the source again after a delete run, without starting playback.
    virtual void reopenVideoData(const QUrl &url) = 0;
    // Opens a chosen backup folder like a card, with playback starting.
    virtual void openBackupFolderPath(const QString &path) = 0;
};

// One delete run of the cleanup dialog: removes the whole backup folder or the chosen chapter files, one
// removal per turn of the main thread's event loop with a pause between files, asking what to do when a
// removal fails and saying why when one is refused. Every removal goes through the guarded remover.
#pragma once

#include "maintenance/GuardedRemover.h"

#include <QObject>
#include <QStringList>
#include <memory>

class MaintenancePrompter;
class TaskProgress;

class DeleteRun : public QObject
{
    Q_OBJECT

public:
    struct Settings
    {
        int paceMs = 400;     // pause after each file and before the end, so the progress can be followed
        int maxAttempts = 10; // removals of one item before it is given up as if "ignore" was answered
    };

    DeleteRun(std::unique_ptr<GuardedRemover> remover, QString folder, bool wholeFolder, QStringList files,
              MaintenancePrompter &prompter, TaskProgress &progress, Settings settings,
              QObject *parent = nullptr);

    // Main thread; returns at once, finished() follows.
    void start();
    bool isCancelled() const;

signals:
    void finished(bool cancelled);

private:
    void removeFolder();
    void removeNextFile();
    void removeFile(const QString &file);
    void refuse(const QString &reason);
    void end();
    void later(void (DeleteRun::*step)());

    std::unique_ptr<GuardedRemover> _remover;
    QString _folder;
    bool _wholeFolder;
    QStringList _files;
    MaintenancePrompter &_prompter;
    TaskProgress &_progress;
    Settings _settings;
    qsizetype _next = 0;
};

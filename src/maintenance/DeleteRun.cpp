#include "maintenance/DeleteRun.h"

#include "maintenance/BackupCopyJob.h"
#include "maintenance/MaintenancePrompter.h"
#include "maintenance/TaskProgress.h"

#include <QFileInfo>
#include <QTimer>
#include <QtDebug>

DeleteRun::DeleteRun(std::unique_ptr<GuardedRemover> remover, QString folder, bool wholeFolder,
                     QStringList files, MaintenancePrompter &prompter, TaskProgress &progress,
                     Settings settings, QObject *parent)
    : QObject(parent), _remover(std::move(remover)), _folder(std::move(folder)), _wholeFolder(wholeFolder),
      _files(std::move(files)), _prompter(prompter), _progress(progress), _settings(settings)
{
}

bool DeleteRun::isCancelled() const
{
    return _progress.cancelFlag().load();
}

void DeleteRun::later(void (DeleteRun::*step)())
{
    QTimer::singleShot(_settings.paceMs, this, step);
}

void DeleteRun::start()
{
    if (_folder.isEmpty())
        _progress.cancel();
    if (_wholeFolder && !isCancelled()) {
        QTimer::singleShot(0, this, &DeleteRun::removeFolder);
        return;
    }
    QTimer::singleShot(0, this, &DeleteRun::removeNextFile);
}

void DeleteRun::removeFolder()
{
    for (int attempt = 0; attempt < _settings.maxAttempts && !isCancelled(); ++attempt) {
        if (const auto refusal = _remover->refuseFolder(_folder)) {
            refuse(*refusal);
            break;
        }
        const auto error = _remover->removeFolder(_folder);
        if (!error && !QFileInfo::exists(_folder))
            break;
        if (error) {
            _progress.stopTimer();
            if (_prompter.askRemoveFailure(true, *error) != MaintenancePrompter::RemoveAnswer::Retry)
                break;
        }
    }
    if (!isCancelled())
        _progress.setProgress(100.0, QStringLiteral("100%"));
    later(&DeleteRun::end);
}

void DeleteRun::removeNextFile()
{
    if (isCancelled() || _next >= _files.size()) {
        later(&DeleteRun::end);
        return;
    }
    removeFile(_files[_next++]);
    const double value = double(_next) / double(_files.size()) * 100.0;
    _progress.setProgress(value, BackupCopyJob::percentText(value));
    later(&DeleteRun::removeNextFile);
}

void DeleteRun::removeFile(const QString &file)
{
    for (int attempt = 0; attempt < _settings.maxAttempts && !isCancelled(); ++attempt) {
        if (const auto refusal = _remover->refuseFile(file, _folder)) {
            refuse(*refusal);
            return;
        }
        const auto error = _remover->removeFile(file, _folder);
        if (!error)
            return;
        _progress.stopTimer();
        switch (_prompter.askRemoveFailure(false, QStringLiteral("%1: %2").arg(file, *error))) {
        case MaintenancePrompter::RemoveAnswer::Retry:
            break;
        case MaintenancePrompter::RemoveAnswer::Ignore:
            return;
        case MaintenancePrompter::RemoveAnswer::Cancel:
            _progress.cancel();
            return;
        }
    }
}

void DeleteRun::refuse(const QString &reason)
{
    qWarning().noquote() << "[Cleanup] refused:" << reason;
    // A refusal would come again at every try, so there is nothing to retry or ignore: the user is told
    // why, and the run ends cancelled as after "Cancel" to a failed removal.
    _progress.stopTimer();
    _prompter.warn(tr("The action can't be completed because the backup folder or a file in it is a link or "
                      "lies outside the backup directory. Nothing outside the backup directory is deleted."),
                   reason);
    _progress.cancel();
}

void DeleteRun::end()
{
    _progress.stopTimer();
    emit finished(isCancelled());
}

#include "app/MaintenanceHostImpl.h"

#include "app/TaskProgressWindow.h"

MaintenanceHostImpl::MaintenanceHostImpl(UserDefaultUtil &settings, QWidget *window, Calls calls)
    : _settings(settings), _window(window), _calls(std::move(calls))
{
}

std::unique_ptr<TaskProgress> MaintenanceHostImpl::createTaskProgress()
{
    return std::make_unique<TaskProgressWindow>(&_settings, _window, _calls.setChildWindowsTopMost);
}

bool MaintenanceHostImpl::confirmStopWatchReset()
{
    // Without a stopwatch there is no measurement to lose.
    return !_calls.confirmStopWatchReset || _calls.confirmStopWatchReset();
}

void MaintenanceHostImpl::resetDisplay()
{
    if (_calls.resetDisplay)
        _calls.resetDisplay();
}

void MaintenanceHostImpl::reopenVideoData(const QUrl &url)
{
    if (_calls.reopenVideoData)
        _calls.reopenVideoData(url);
}

void MaintenanceHostImpl::openBackupFolderPath(const QString &path)
{
    if (_calls.openBackupFolderPath)
        _calls.openBackupFolderPath(path);
}

// The main window's side of the backup, folder selection and delete dialogs: progress windows over the
// task progress dialog, and the window's own operations passed in as calls.
#pragma once

#include "maintenance/MaintenanceHost.h"

#include <functional>

class QWidget;
class UserDefaultUtil;

class MaintenanceHostImpl : public MaintenanceHost
{
public:
    struct Calls
    {
        std::function<bool()> confirmStopWatchReset;
        std::function<void()> resetDisplay;
        std::function<void(const QUrl &url)> reopenVideoData;
        std::function<void(const QString &path)> openBackupFolderPath;
        std::function<void(bool topMost)> setChildWindowsTopMost;
    };

    MaintenanceHostImpl(UserDefaultUtil &settings, QWidget *window, Calls calls);

    std::unique_ptr<TaskProgress> createTaskProgress() override;
    bool confirmStopWatchReset() override;
    void resetDisplay() override;
    void reopenVideoData(const QUrl &url) override;
    void openBackupFolderPath(const QString &path) override;

private:
    UserDefaultUtil &_settings;
    QWidget *_window;
    Calls _calls;
};

// A maintenance host for the demo programs: no progress window, no stopwatch to reset, nothing to reopen.
#pragma once

#include "maintenance/MaintenanceHost.h"
#include "maintenance/TaskProgress.h"

#include <atomic>
#include <memory>

class QuietMaintenanceHost : public MaintenanceHost
{
    class Progress : public TaskProgress
    {
        void start(Mode, const QString &) override {}
        const std::atomic<bool> &cancelFlag() const override { return _cancel; }
        void cancel() override { _cancel = true; }
        void setProgress(double, const QString &) override {}
        void stopTimer() override {}
        void finish(bool) override {}
        std::atomic<bool> _cancel = false;
    };

public:
    std::unique_ptr<TaskProgress> createTaskProgress() override { return std::make_unique<Progress>(); }
    bool confirmStopWatchReset() override { return false; }
    void resetDisplay() override {}
    void reopenVideoData(const QUrl &) override {}
    void openBackupFolderPath(const QString &) override {}
};

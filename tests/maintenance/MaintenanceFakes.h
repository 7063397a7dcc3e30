// Test helpers: a prompter with scripted answers, a progress window and a main window that record calls.
#pragma once

#include "maintenance/MaintenanceHost.h"
#include "maintenance/MaintenancePrompter.h"
#include "maintenance/TaskProgress.h"

#include <QStringList>
#include <deque>

class FakeMaintenancePrompter : public MaintenancePrompter
{
public:
    void warn(const QString &text, const QString &cause = {}) override
    {
        log << "warn:" + text;
        causes << cause;
    }
    bool confirm(const QString &text, bool) override
    {
        log << "confirm:" + text;
        if (confirmAnswers.empty())
            return true;
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    RemoveAnswer askRemoveFailure(bool folder, const QString &cause = {}) override
    {
        log << (folder ? "removeFailure:folder" : "removeFailure:file");
        causes << cause;
        return removeAnswer;
    }

    QStringList log;
    QStringList causes; // the cause each warning and removal failure gave, in order
    std::deque<bool> confirmAnswers;
    RemoveAnswer removeAnswer = RemoveAnswer::Ignore;
};

// Shared by the host and the test, so calls survive the progress object the dialog drops.
struct ProgressLog
{
    QStringList labels;
    QStringList finished; // the closing messages the window would show
    int starts = 0;
};

class FakeMaintenanceProgress : public TaskProgress
{
public:
    explicit FakeMaintenanceProgress(ProgressLog &log) : _log(log) {}
    void start(Mode mode, const QString &) override
    {
        ++_log.starts;
        _mode = mode;
    }
    const std::atomic<bool> &cancelFlag() const override { return _cancel; }
    void cancel() override { _cancel = true; }
    void setProgress(double, const QString &label) override { _log.labels << label; }
    void stopTimer() override {}
    void finish(bool cancelled) override
    {
        const bool backup = _mode == Mode::Backup;
        _log.finished << (cancelled ? (backup ? "Backup cancelled." : "Delete cancelled.")
                                    : (backup ? "Save completed." : "Delete completed."));
    }

private:
    ProgressLog &_log;
    Mode _mode = Mode::Cleanup;
    std::atomic<bool> _cancel = false;
};

class FakeMaintenanceHost : public MaintenanceHost
{
public:
    std::unique_ptr<TaskProgress> createTaskProgress() override
    {
        return std::make_unique<FakeMaintenanceProgress>(progress);
    }
    bool confirmStopWatchReset() override
    {
        calls << "confirmStopWatchReset";
        return stopWatchAnswer;
    }
    void resetDisplay() override { calls << "resetDisplay"; }
    void reopenVideoData(const QUrl &url) override { calls << "reopen:" + url.toLocalFile(); }
    void openBackupFolderPath(const QString &path) override { calls << "open:" + path; }

    ProgressLog progress;
    QStringList calls;
    bool stopWatchAnswer = true;
};

// Test helpers: a prompter with scripted answers, a progress window and a main window that record calls.
#pragma once

#include "maintenance/MaintenanceHost.h"
#include "maintenance/MaintenancePrompter.h"
#include "maintenance/TaskProgress.h"

#include <QStringList>
#include <deque>

class FakePrompter : public MaintenancePrompter
{
public:
    void warn(const QString &text) override { log << "warn:" + text; }
    bool confirm(const QString &text, bool) override
    {
        log << "confirm:" + text;
        if (confirmAnswers.empty())
            return true;
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    RemoveAnswer askRemoveFailure(bool folder) override
    {
        log << (folder ? "removeFailure:folder" : "removeFailure:file");
        return removeAnswer;
    }

    QStringList log;
    std::deque<bool> confirmAnswers;
    RemoveAnswer removeAnswer = RemoveAnswer::Ignore;
};

// Shared by the host and the test, so calls survive the progress object the dialog drops.
struct ProgressLog
{
    QStringList labels;
    QStringList finished;
    std::shared_ptr<std::atomic<bool>> cancel;
    int starts = 0;
};

class FakeTaskProgress : public TaskProgress
{
public:
    explicit FakeTaskProgress(ProgressLog &log) : _log(log) {}
    void start(TaskMode, const QString &, std::shared_ptr<std::atomic<bool>> cancelFlag) override
    {
        ++_log.starts;
        _log.cancel = std::move(cancelFlag);
    }
    void setProgress(double, const QString &label) override { _log.labels << label; }
    void stopTimer() override {}
    void finish(const QString &text) override { _log.finished << text; }

private:
    ProgressLog &_log;
};

class FakeHost : public MaintenanceHost
{
public:
    std::unique_ptr<TaskProgress> createTaskProgress() override
    {
        return std::make_unique<FakeTaskProgress>(progress);
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

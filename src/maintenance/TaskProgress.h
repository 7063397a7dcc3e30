// The progress window of a long job as the maintenance dialogs drive it; the main window supplies it.
#pragma once

#include <QString>
#include <atomic>
#include <memory>

enum class TaskMode
{
    Backup = 0,
    Cleanup = 1,
    Trim = 2
};

class TaskProgress
{
public:
    virtual ~TaskProgress() = default;
    // Shows the window (titled e.g. "Back up") with the mode's comment and starts its elapsed-time display.
    // Its Cancel button and its close button set the flag; the job polls it.
    virtual void start(TaskMode mode, const QString &title,
                       std::shared_ptr<std::atomic<bool>> cancelFlag) = 0;
    // Percent 0...100 for the bar and the label's text.
    virtual void setProgress(double percent, const QString &label) = 0;
    // Stops the elapsed-time display (at a failure, and when the job ends).
    virtual void stopTimer() = 0;
    // Shows the closing "Information" alert with the text, waits for it and closes the window.
    virtual void finish(const QString &text) = 0;
};

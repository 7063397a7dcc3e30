// The progress window of a backup or delete run as the maintenance dialogs drive it. The main window
// implements it over its task progress dialog; tests use a fake.
#pragma once

#include <QString>
#include <atomic>

class TaskProgress
{
public:
    // The job: selects the window's comment and its closing messages.
    enum class Mode
    {
        Backup = 0,
        Cleanup = 1
    };

    virtual ~TaskProgress() = default;
    // Shows the window (titled e.g. "Back up") application-modal without waiting, so the job can start,
    // and starts its elapsed-time display.
    virtual void start(Mode mode, const QString &title) = 0;
    // Set by the window's Cancel and close buttons and by cancel(); jobs poll it from any thread. Valid
    // as long as this object.
    virtual const std::atomic<bool> &cancelFlag() const = 0;
    // The job stops itself ("Cancel" to a failed removal): as the Cancel button does.
    virtual void cancel() = 0;
    // Percent 0...100 for the bar and the label's text.
    virtual void setProgress(double percent, const QString &label) = 0;
    // Stops the elapsed-time display (at a failure, and when the job ends).
    virtual void stopTimer() = 0;
    // The closing "Information" alert ("Save completed." / "Backup cancelled.", "Delete completed." /
    // "Delete cancelled."), waited for; then the window closes.
    virtual void finish(bool cancelled) = 0;
};

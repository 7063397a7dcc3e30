// The progress window of a backup or delete run, or of a task of its owner's own (the export): the task
// progress dialog in a TaskProgress window, shown application-modal while the job runs on its own thread,
// its close button acting as Cancel.
#pragma once

#include "maintenance/TaskProgress.h"

#include <cstdint>
#include <functional>
#include <memory>

class ModalWindow;
class QWidget;
class TaskProgressDialog;
class UserDefaultUtil;
enum class TaskMode : std::uint8_t;

class TaskProgressWindow : public TaskProgress
{
public:
    // setChildWindowsTopMost lowers the floating windows while the window is up.
    TaskProgressWindow(UserDefaultUtil *settings, QWidget *parent,
                       std::function<void(bool topMost)> setChildWindowsTopMost);
    ~TaskProgressWindow() override;

    void start(Mode mode, const QString &title) override;
    const std::atomic<bool> &cancelFlag() const override;
    void cancel() override;
    void setProgress(double percent, const QString &label) override;
    void stopTimer() override;
    void finish(bool cancelled) override;
    // Shows the window for a task named by title, its window's title and its task text.
    void startTask(const QString &title);
    // Closes the window without a closing message.
    void close();

    TaskProgressDialog &dialog() const { return *_dialog; }
    ModalWindow &window() const { return *_window; }

private:
    void show(TaskMode mode, const QString &title);

    std::unique_ptr<TaskProgressDialog> _dialog;
    std::unique_ptr<ModalWindow> _window;
    std::function<void(bool)> _setChildWindowsTopMost;
    bool _shown = false;
};

// The progress window of a backup or delete run: the task progress dialog in a TaskProgress window,
// shown application-modal while the job runs on its own thread, its close button acting as Cancel.
#pragma once

#include "maintenance/TaskProgress.h"

#include <functional>
#include <memory>

class ModalWindow;
class QWidget;
class TaskProgressDialog;
class UserDefaultUtil;

class TaskProgressWindow : public TaskProgress
{
public:
    // setChildWindowsTopMost lowers the floating windows while the window is up.
    TaskProgressWindow(UserDefaultUtil &settings, QWidget *parent,
                       std::function<void(bool topMost)> setChildWindowsTopMost);
    ~TaskProgressWindow() override;

    void start(Mode mode, const QString &title) override;
    const std::atomic<bool> &cancelFlag() const override;
    void cancel() override;
    void setProgress(double percent, const QString &label) override;
    void stopTimer() override;
    void finish(bool cancelled) override;

    TaskProgressDialog &dialog() const { return *_dialog; }
    ModalWindow &window() const { return *_window; }

private:
    void close();

    std::unique_ptr<TaskProgressDialog> _dialog;
    std::unique_ptr<ModalWindow> _window;
    std::function<void(bool)> _setChildWindowsTopMost;
    bool _shown = false;
};

// The trim tool's prompts with the application's own progress window: the task progress dialog in
// Trim mode, whose Cancel and close button stop the job.
#pragma once

#include "app/TaskProgressDialogDelegate.h"
#include "videotools/TrimDialogs.h"

#include <functional>
#include <memory>

class ModalWindow;
class TaskProgressDialog;
class UserDefaultUtil;

class TrimProgressPrompts : public TrimDialogs, private TaskProgressDialogDelegate
{
public:
    TrimProgressPrompts(UserDefaultUtil &settings, QWidget *parent);
    ~TrimProgressPrompts() override;

    // An alert while the progress is up ends the run ("Saved" or the failure): the elapsed time stops there.
    void showAlert(Style style, const QString &title, const QString &text,
                   const QString &cause = {}) override;
    void openProgress(const QString &title, std::function<void()> onCancel) override;
    void setProgress(double value, const QString &label) override;
    void closeProgress() override;

private:
    void taskProgressDialogOnClose() override;

    UserDefaultUtil &_settings;
    QWidget *_parentWidget;
    std::unique_ptr<TaskProgressDialog> _dialog;
    std::unique_ptr<ModalWindow> _window;
    std::function<void()> _onCancel;
};

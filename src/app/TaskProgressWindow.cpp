#include "app/TaskProgressWindow.h"

#include "app/ModalWindow.h"
#include "app/TaskProgressDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <cmath>

TaskProgressWindow::TaskProgressWindow(UserDefaultUtil *settings, QWidget *parent,
                                       std::function<void(bool)> setChildWindowsTopMost)
    : _dialog(std::make_unique<TaskProgressDialog>()),
      _window(std::make_unique<ModalWindow>(settings, parent)),
      _setChildWindowsTopMost(std::move(setChildWindowsTopMost))
{
    _window->setType(ModalWindow::Type::TaskProgress);
    _window->setMwDelegate(_dialog.get());
}

TaskProgressWindow::~TaskProgressWindow()
{
    close();
    // The dialog's view goes with the dialog, not with the window.
    _window->setContentView(nullptr);
}

void TaskProgressWindow::start(Mode mode, const QString &title)
{
    show(mode == Mode::Backup ? TaskMode::Backup : TaskMode::Cleanup, title);
}

void TaskProgressWindow::startTask(const QString &title)
{
    _dialog->setTaskText(title);
    show(TaskMode::Export, title);
}

void TaskProgressWindow::show(TaskMode mode, const QString &title)
{
    _dialog->setTaskMode(mode);
    _window->setContentView(_dialog->view());
    _window->setWindowTitle(title);
    _window->adjustSize();
    _window->center();
    _window->setWindowModality(Qt::ApplicationModal);
    if (_setChildWindowsTopMost)
        _setChildWindowsTopMost(false);
    _shown = true;
    _dialog->startProgress();
    _window->show();
}

const std::atomic<bool> &TaskProgressWindow::cancelFlag() const
{
    return _dialog->cancelFlag();
}

void TaskProgressWindow::cancel()
{
    _dialog->cancelTask();
}

void TaskProgressWindow::setProgress(double percent, const QString &label)
{
    const double bounded = std::isfinite(percent) ? std::clamp(percent, 0.0, 100.0) : 0.0;
    _dialog->progressBar()->setValue(static_cast<int>(bounded));
    _dialog->progressLabel()->setText(label);
}

void TaskProgressWindow::stopTimer()
{
    _dialog->stopTimer();
}

void TaskProgressWindow::finish(bool cancelled)
{
    _dialog->stopTimer();
    if (_dialog->taskMode() == TaskMode::Backup)
        cancelled ? _dialog->showBackupCancelled() : _dialog->showSaveCompleted();
    else
        cancelled ? _dialog->showDeleteCancelled() : _dialog->showDeleteCompleted();
    close();
}

void TaskProgressWindow::close()
{
    if (!_shown)
        return;
    _shown = false;
    _window->hide();
    if (_setChildWindowsTopMost)
        _setChildWindowsTopMost(true);
}

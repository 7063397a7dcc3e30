#include "app/TrimProgressPrompts.h"

#include "app/ModalWindow.h"
#include "app/TaskProgressDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <cmath>

TrimProgressPrompts::TrimProgressPrompts(UserDefaultUtil &settings, QWidget *parent)
    : TrimDialogs(parent), _settings(settings), _parentWidget(parent)
{
}

TrimProgressPrompts::~TrimProgressPrompts()
{
    closeProgress();
}

void TrimProgressPrompts::showAlert(Style style, const QString &title, const QString &text,
                                    const QString &cause)
{
    if (_dialog)
        _dialog->stopTimer();
    TrimDialogs::showAlert(style, title, text, cause);
}

void TrimProgressPrompts::openProgress(const QString &title, std::function<void()> onCancel)
{
    closeProgress();
    _onCancel = std::move(onCancel);
    _dialog = std::make_unique<TaskProgressDialog>();
    _dialog->setTaskMode(TaskMode::Trim);
    _dialog->setDelegate(this);
    _window = std::make_unique<ModalWindow>(&_settings, _parentWidget);
    _window->setType(ModalWindow::Type::TaskProgress);
    _window->setMwDelegate(_dialog.get());
    _window->setContentView(_dialog->view());
    _window->setWindowTitle(title);
    _window->adjustSize();
    _window->center();
    // Shown without a nested loop: the job reports through the tool's event loop.
    _window->setWindowModality(Qt::ApplicationModal);
    _dialog->startProgress();
    _window->show();
}

void TrimProgressPrompts::setProgress(double value, const QString &label)
{
    if (!_dialog)
        return;
    const double bounded = std::isfinite(value) ? std::clamp(value, 0.0, 100.0) : 0.0;
    _dialog->progressBar()->setValue(static_cast<int>(bounded));
    _dialog->progressLabel()->setText(label);
}

void TrimProgressPrompts::closeProgress()
{
    if (!_window)
        return;
    _dialog->stopTimer();
    _window->hide();
    _window->setContentView(nullptr);
    // Deferred: this may run inside the dialog's own Cancel click.
    _window.release()->deleteLater();
    _dialog->setDelegate(nullptr);
    _dialog.release()->deleteLater();
}

void TrimProgressPrompts::taskProgressDialogOnClose()
{
    // Cancel and the close button; the tool closes the window when its job has stopped.
    if (_onCancel)
        _onCancel();
}

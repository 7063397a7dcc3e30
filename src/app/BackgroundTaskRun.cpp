#include "app/BackgroundTaskRun.h"

#include "app/ModalWindow.h"
#include "app/TaskProgressDialog.h"
#include "platform/WorkerWait.h"

#include <QLabel>
#include <QProgressBar>

BackgroundTaskRun::BackgroundTaskRun(QWidget *parent, std::function<void(bool)> setChildWindowsTopMost)
    : _parent(parent), _setChildWindowsTopMost(std::move(setChildWindowsTopMost))
{
}

void BackgroundTaskRun::run(const QString &title, const Work &work)
{
    TaskProgressDialog dialog;
    dialog.setTaskMode(TaskMode::Export);
    dialog.setTaskText(title);
    ModalWindow window(nullptr, _parent);
    window.setType(ModalWindow::Type::TaskProgress);
    window.setMwDelegate(&dialog);
    window.setContentView(dialog.view());
    window.setWindowTitle(title);
    window.adjustSize();
    window.center();
    if (_setChildWindowsTopMost)
        _setChildWindowsTopMost(false);
    dialog.startProgress();
    // Shown before the work starts: a stop asked for at once is seen by its first step.
    window.show();

    const auto showSteps = [&dialog](int done, int total) {
        const int percent = total > 0 ? int(qint64(done) * 100 / total) : 0;
        dialog.progressBar()->setValue(percent);
        dialog.progressLabel()->setText(QString::number(percent) + QLatin1Char('%'));
    };
    // Steps still queued when the dialog goes are dropped with it.
    const WorkControl control{&dialog.cancelFlag(), [&dialog, showSteps](int done, int total) {
                                  QMetaObject::invokeMethod(
                                      &dialog, [showSteps, done, total] { showSteps(done, total); },
                                      Qt::QueuedConnection);
                              }};
    WorkerWait::run([&work, &control] { work(control); }, [&dialog] { dialog.cancelTask(); });

    dialog.stopTimer();
    window.hide();
    // The dialog's view goes with the dialog, not with the window.
    window.setContentView(nullptr);
    if (_setChildWindowsTopMost)
        _setChildWindowsTopMost(true);
}

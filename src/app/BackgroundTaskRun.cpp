#include "app/BackgroundTaskRun.h"

#include "app/TaskProgressDialog.h"
#include "app/TaskProgressWindow.h"
#include "platform/WorkerWait.h"

BackgroundTaskRun::BackgroundTaskRun(QWidget *parent, std::function<void(bool)> setChildWindowsTopMost)
    : _parent(parent), _setChildWindowsTopMost(std::move(setChildWindowsTopMost))
{
}

void BackgroundTaskRun::run(const QString &title, const Work &work)
{
    TaskProgressWindow progress(nullptr, _parent, _setChildWindowsTopMost);
    // Shown before the work starts: a stop asked for at once is seen by its first step.
    progress.startTask(title);
    // Steps still queued when the window goes are dropped with its dialog.
    const WorkControl control{&progress.cancelFlag(), [&progress](int done, int total) {
                                  QMetaObject::invokeMethod(
                                      &progress.dialog(),
                                      [&progress, done, total] {
                                          const int percent = total > 0 ? int(qint64(done) * 100 / total) : 0;
                                          progress.setProgress(percent,
                                                               QString::number(percent) + QLatin1Char('%'));
                                      },
                                      Qt::QueuedConnection);
                              }};
    WorkerWait::run([&work, &control] { work(control); }, [&progress] { progress.cancel(); });
    progress.stopTimer();
    progress.close();
}

#include "platform/WorkerWait.h"

#include <QEventLoop>
#include <QThread>

#include <memory>

void WorkerWait::run(const std::function<void()> &job, const std::function<void()> &stop)
{
    QEventLoop loop;
    const std::unique_ptr<QThread> thread(QThread::create([&job] { job(); }));
    // Queued: the signal comes from the job's thread, and a job that ends at once must still find the
    // loop running.
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    loop.exec();
    if (!thread->isFinished() && stop)
        stop();
    thread->wait();
}

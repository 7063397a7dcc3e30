#include "videotools/TrimRunner.h"

#include <QLoggingCategory>
#include <QThread>

namespace {
Q_LOGGING_CATEGORY(lcTrim, "orv.videotools.trim", QtInfoMsg)
}

TrimRunner::TrimRunner(QObject *parent) : QObject(parent) {}

TrimRunner::~TrimRunner()
{
    // The job's queued calls come back to this object: stop the job and wait before it goes.
    if (_thread) {
        _worker->cancel();
        _thread->wait();
        delete _thread;
    }
}

bool TrimRunner::start(TrimRequest request)
{
    if (_thread)
        return false;
    _worker = std::make_shared<TrimWorker>(std::move(request));
    _worker->setLogHandler([](const QString &line) { qCDebug(lcTrim).noquote() << line; });
    _worker->setProgressHandler([this](int step, int total) {
        QMetaObject::invokeMethod(
            this, [this, step, total] { emit progress(step, total); }, Qt::QueuedConnection);
    });
    _thread = QThread::create([this, worker = _worker] {
        const TrimWorker::Result result = worker->run();
        if (result == TrimWorker::Result::Failed)
            qWarning("Trim failed: %s", qPrintable(worker->errorText()));
        const QString reason = worker->failureReason();
        QMetaObject::invokeMethod(
            this, [this, result, reason] { onEnded(result, reason); }, Qt::QueuedConnection);
    });
    _thread->start();
    return true;
}

bool TrimRunner::cancel()
{
    return _worker && _worker->cancel();
}

void TrimRunner::onEnded(TrimWorker::Result result, const QString &error)
{
    _thread->wait();
    delete _thread;
    _thread = nullptr;
    _worker.reset();
    emit finished(result, error);
}

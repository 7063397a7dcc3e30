// One trim job on a thread of its own, for the tools that show it: progress and the end come back as
// signals on the runner's thread.
#pragma once

#include "videotools/TrimRequest.h"
#include "videotools/TrimWorker.h"

#include <QObject>
#include <QString>
#include <memory>

class QThread;

class TrimRunner : public QObject
{
    Q_OBJECT

public:
    explicit TrimRunner(QObject *parent = nullptr);
    // A runner dropped while its job runs cancels the job and waits for it.
    ~TrimRunner() override;

    // Starts the job unless one is running (then false).
    bool start(TrimRequest request);
    // True when the job will end as cancelled; false when it is past replacing the destination or none
    // runs, so its own result stands.
    bool cancel();
    bool isRunning() const { return _thread != nullptr; }

signals:
    void progress(int step, int total);
    // After the thread has ended; the runner may start the next job from here.
    // reason: why a failed run failed, for the user (TrimWorker::failureReason).
    void finished(TrimWorker::Result result, const QString &reason);

private:
    void onEnded(TrimWorker::Result result, const QString &error);

    std::shared_ptr<TrimWorker> _worker;
    QThread *_thread = nullptr;
};

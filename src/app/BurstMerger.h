// Runs a task once for any number of requests within a short wait: the card's workers may finish a
// chapter every few milliseconds, and what each one gives the map is sent ten times a second.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class BurstMerger : public QObject
{
public:
    static constexpr int MERGE_MSEC = 100;

    explicit BurstMerger(std::function<void()> task, QObject *parent = nullptr);

    // Main thread. The wait is not restarted: a steady stream of requests still runs the task every wait.
    void request();
    bool isPending() const { return _timer.isActive(); }

private:
    std::function<void()> _task;
    QTimer _timer;
};

// Runs a task once for any number of requests within a short wait: the card's workers may finish a
// chapter every few milliseconds, and what each one gives the map is sent a few times a second.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <vector>

class BurstMerger;

// One wait shared by several mergers: those asked for within it run at its end, on one turn and
// inside one wrapper, so that what they send the map reaches it as one call. Each call costs the
// map's page a few milliseconds whatever it holds, and a long card's read makes hundreds.
class BurstBeat : public QObject
{
public:
    static constexpr int WAIT_MSEC = 500;

    explicit BurstBeat(QObject *parent = nullptr);

    // around runs the beat's due tasks (the function it is handed) once per beat.
    void setAround(std::function<void(const std::function<void()> &)> around) { _around = std::move(around); }

private:
    friend class BurstMerger;
    void due(BurstMerger *merger);
    bool isDue(const BurstMerger *merger) const;
    void forget(const BurstMerger *merger);
    void run();

    QTimer _timer;
    std::vector<BurstMerger *> _due; // in the order asked for
    std::vector<BurstMerger *> _running;
    std::function<void(const std::function<void()> &)> _around;
};

class BurstMerger : public QObject
{
public:
    static constexpr int MERGE_MSEC = 100;

    // With a beat, runs on the beat's wait rather than a wait of its own; the beat may end first.
    explicit BurstMerger(std::function<void()> task, BurstBeat *beat = nullptr, QObject *parent = nullptr);
    ~BurstMerger() override;

    // Main thread. The wait is not restarted: a steady stream of requests still runs the task every wait.
    void request();
    bool isPending() const;

private:
    friend class BurstBeat;

    std::function<void()> _task;
    QTimer _timer;
    QPointer<BurstBeat> _beat;
    bool _onBeat = false;
};

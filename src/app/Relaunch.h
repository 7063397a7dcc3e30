// Starting the viewer again after a settings change: the running copy quits normally (saving what it
// saves), then starts a detached copy of itself with an argument list; the new copy waits until the old
// process has gone, so the dialogs' other-copy check sees one copy.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class Relaunch
{
public:
    static constexpr const char *WAIT_OPTION = "--relaunch-after";
    // How long the new copy waits for the old one at most: a copy that hangs on quitting must not keep
    // the viewer from coming back.
    static constexpr int WAIT_LIMIT_MS = 30000;

    struct Plan
    {
        QString program;
        QStringList arguments;
    };

    // The program and arguments that start this program again after process oldPid has ended.
    static Plan plan(const QString &program, qint64 oldPid);
    // Starts the plan in a session of its own with only the standard descriptors; its process id, none when
    // it could not be started.
    static std::optional<qint64> start(const Plan &plan);

    // The process the new copy must wait for, from its arguments (argv[1], argv[2]); none when the
    // arguments do not ask for a wait or the number is not a process id.
    static std::optional<qint64> waitTarget(const QStringList &arguments);
    // Waits (polling) until process pid has ended or runs another program than exePath (its number was
    // reused), at most limitMs. True when it ended in time.
    static bool waitForExit(qint64 pid, const QString &exePath, int limitMs = WAIT_LIMIT_MS);
};

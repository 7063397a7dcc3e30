#include "app/Relaunch.h"

#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <cerrno>
#include <signal.h>

namespace {
constexpr int POLL_MS = 20;

bool isRunning(qint64 pid, const QString &exePath)
{
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
        return false;
    const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).canonicalFilePath();
    // A zombie has no executable left: it has quit, only its parent has not reaped it.
    return !exe.isEmpty() && exe == QFileInfo(exePath).canonicalFilePath();
}
} // namespace

Relaunch::Plan Relaunch::plan(const QString &program, qint64 oldPid)
{
    return {program, {QString::fromLatin1(WAIT_OPTION), QString::number(oldPid)}};
}

bool Relaunch::start(const Plan &plan)
{
    return QProcess::startDetached(plan.program, plan.arguments);
}

std::optional<qint64> Relaunch::waitTarget(const QStringList &arguments)
{
    if (arguments.size() < 3 || arguments.at(1) != QLatin1String(WAIT_OPTION))
        return std::nullopt;
    bool ok = false;
    const qint64 pid = arguments.at(2).toLongLong(&ok);
    if (!ok || pid <= 0)
        return std::nullopt;
    return pid;
}

bool Relaunch::waitForExit(qint64 pid, const QString &exePath, int limitMs)
{
    for (int waited = 0; isRunning(pid, exePath); waited += POLL_MS) {
        if (waited >= limitMs)
            return false;
        QThread::msleep(POLL_MS);
    }
    return true;
}

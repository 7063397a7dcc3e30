#include "app/Relaunch.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <vector>

extern char **environ;

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

std::optional<qint64> Relaunch::start(const Plan &plan)
{
    // Not QProcess::startDetached: it hands every descriptor without close-on-exec to the new copy, the web
    // engine's zygote socket among them, which keeps the old copy's zygotes running as long as the new copy.
    // The new copy gets the standard three only, in a session of its own, with the signals as a new program
    // has them.
    std::vector<QByteArray> encoded{QFile::encodeName(plan.program)};
    for (const QString &argument : plan.arguments)
        encoded.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &each : encoded)
        argv.push_back(each.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&files);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addclosefrom_np(&files, 3);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, argv.front(), &files, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    if (failed != 0)
        return std::nullopt;
    return pid;
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

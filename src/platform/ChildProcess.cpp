#include "platform/ChildProcess.h"

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

void ChildProcess::endWithParent(QProcess &process)
{
    const pid_t parent = ::getpid();
    // Runs in the child between fork and exec: async-signal-safe calls only.
    process.setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        // The parent may have died before the request took hold: then nobody will send the signal.
        if (::getppid() != parent)
            ::_exit(127);
    });
}

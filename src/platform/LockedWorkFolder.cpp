#include "platform/LockedWorkFolder.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The folder itself carries the lock: nothing to make inside it, and systemd-tmpfiles passes over a
// folder locked so when it cleans the temp folder of a program that runs for weeks.
int openFolder(const QByteArray &folder)
{
    return ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool isRemoved(int fd)
{
    struct stat info = {};
    return ::fstat(fd, &info) == 0 && info.st_nlink == 0;
}

int lockRetrying(int fd, int operation)
{
    int result = 0;
    while ((result = ::flock(fd, operation)) != 0 && errno == EINTR) {
    }
    return result;
}

} // namespace

LockedWorkFolder::LockedWorkFolder(const QString &pathTemplate)
{
    // A sweeper may take a fresh folder for a dead run's between its making and its locking and
    // remove it: then a few tries with new names.
    for (int attempt = 0; attempt < 4; ++attempt) {
        QByteArray folder = QFile::encodeName(pathTemplate);
        if (::mkdtemp(folder.data()) == nullptr)
            return;
        const int fd = openFolder(folder);
        if (fd < 0) {
            if (errno == ENOENT)
                continue;
            ::rmdir(folder.constData());
            return;
        }
        if (lockRetrying(fd, LOCK_EX) == 0 && isRemoved(fd)) {
            ::close(fd);
            continue;
        }
        // Without lock support the folder still serves; it is then never taken for a dead run's.
        _path = QFile::decodeName(folder);
        _lockFd = fd;
        return;
    }
}

LockedWorkFolder::~LockedWorkFolder()
{
    if (_path.isEmpty())
        return;
    // Removed while still locked, so that no sweeper takes it for a dead run's in the middle.
    QDir(_path).removeRecursively();
    ::close(_lockFd);
}

int LockedWorkFolder::removeDead(const QString &parent, const QString &prefix)
{
    int removed = 0;
    const QDir dir(parent);
    const QStringList names = dir.entryList(
        {prefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        const int fd = openFolder(QFile::encodeName(path));
        if (fd < 0)
            continue;
        struct stat info = {};
        if (::fstat(fd, &info) == 0 && info.st_uid == ::getuid() &&
            lockRetrying(fd, LOCK_EX | LOCK_NB) == 0 && !isRemoved(fd) && QDir(path).removeRecursively())
            ++removed;
        ::close(fd);
    }
    return removed;
}

#include "platform/LockedWorkFolder.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Opens (making it when missing) the lock file of folder. A sweeper makes it too: a folder whose maker
// has not yet made its lock is then taken by the sweeper, and the maker sees its lock unlinked.
int openLock(const QByteArray &folder)
{
    const QByteArray lock = folder + '/' + LockedWorkFolder::LOCK_NAME;
    return ::open(lock.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
}

bool isUnlinked(int fd)
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
    // A sweeper may remove a fresh folder between its making and its locking; a few tries with new names.
    for (int attempt = 0; attempt < 4; ++attempt) {
        QByteArray folder = QFile::encodeName(pathTemplate);
        if (::mkdtemp(folder.data()) == nullptr)
            return;
        const int fd = openLock(folder);
        if (fd < 0) {
            if (errno == ENOENT)
                continue;
            ::rmdir(folder.constData());
            return;
        }
        // Blocks only while a sweeper holds it, which then removes the folder: made again.
        if (lockRetrying(fd, LOCK_EX) == 0 && isUnlinked(fd)) {
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
        const QByteArray encoded = QFile::encodeName(path);
        struct stat info = {};
        if (::lstat(encoded.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
            continue;
        const int fd = openLock(encoded);
        if (fd < 0)
            continue;
        if (lockRetrying(fd, LOCK_EX | LOCK_NB) == 0 && !isUnlinked(fd) && QDir(path).removeRecursively())
            ++removed;
        ::close(fd);
    }
    return removed;
}

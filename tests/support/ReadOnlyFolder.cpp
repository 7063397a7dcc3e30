#include "support/ReadOnlyFolder.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

ReadOnlyFolder::ReadOnlyFolder(QString path) : _path(std::move(path))
{
    QDir().mkpath(_path);
    ::chmod(QFile::encodeName(_path).constData(), 0555);
    if (!active())
        _immutable = setImmutable(true);
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (_immutable)
        setImmutable(false);
    ::chmod(QFile::encodeName(_path).constData(), 0755);
}

bool ReadOnlyFolder::active() const
{
    const QByteArray probe = QFile::encodeName(QDir(_path).filePath(".probe"));
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return true;
    ::close(fd);
    ::unlink(probe.constData());
    return false;
}

bool ReadOnlyFolder::setImmutable(bool on) const
{
    const int fd = ::open(QFile::encodeName(_path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

#include "support/SmallVolume.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

SmallVolume::SmallVolume(QString path, int sizeMiB) : _path(std::move(path))
{
    if (::geteuid() != 0) {
        _whyNot = QStringLiteral("mounting a small volume needs root");
        return;
    }
    QDir().mkpath(_path);
    const QByteArray options = QStringLiteral("size=%1m").arg(sizeMiB).toUtf8();
    if (::mount("tmpfs", QFile::encodeName(_path).constData(), "tmpfs", 0, options.constData()) != 0) {
        _whyNot = QStringLiteral("cannot mount a tmpfs on %1: %2")
                      .arg(_path, QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    _isMounted = true;
}

SmallVolume::~SmallVolume()
{
    // Detached, so a file a failed test left open does not keep the mount.
    if (_isMounted)
        ::umount2(QFile::encodeName(_path).constData(), MNT_DETACH);
}

bool SmallVolume::leaveFree(int64_t freeBytes)
{
    const QString fillerPath = QDir(_path).filePath(QStringLiteral("filler"));
    QFile::remove(fillerPath);
    const int64_t size = QStorageInfo(_path).bytesAvailable() - freeBytes;
    QFile filler(fillerPath);
    if (size < 0 || !filler.open(QIODevice::WriteOnly))
        return false;
    // Real bytes: a sparse file would take no room.
    const QByteArray block(1 << 20, '\0');
    for (int64_t written = 0; written < size;) {
        const qint64 n = filler.write(block.constData(), std::min<int64_t>(block.size(), size - written));
        if (n <= 0)
            return false;
        written += n;
    }
    return filler.flush();
}

#include "recording/IOUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

void IOUtil::remove(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

std::int64_t IOUtil::getFreeSpace(const QString &path)
{
    if (!QFileInfo::exists(path))
        return -1;
    const QStorageInfo storage(path);
    if (!storage.isValid())
        return -1;
    return storage.bytesAvailable();
}

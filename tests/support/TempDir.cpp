#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempDir::TempDir() : _path(_dir.path()) {}

QString TempDir::filePath(const QString &name) const
{
    return QDir(_path).filePath(name);
}

QString TempDir::write(const QString &relativePath, const QByteArray &bytes) const
{
    const QString full = filePath(relativePath);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return full;
}

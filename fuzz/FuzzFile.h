// The file a management-file fuzz target hands the reader: the readers take paths, so each input is
// written to one file in a private folder (in memory where /dev/shm exists) and read back from there.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <cstddef>
#include <cstdint>

class FuzzFile
{
public:
    explicit FuzzFile(const QString &name)
        : _dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/orvfuzz-XXXXXX") : QString()),
          _path(_dir.filePath(name))
    {
    }

    const QString &write(const uint8_t *data, size_t size) const
    {
        QFile file(_path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(reinterpret_cast<const char *>(data), qint64(size));
        return _path;
    }
    QUrl url() const { return QUrl::fromLocalFile(_path); }

private:
    QTemporaryDir _dir;
    QString _path;
};

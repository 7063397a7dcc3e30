// A private temporary folder for one test, removed with its contents afterwards.
#pragma once

#include <QString>
#include <QTemporaryDir>

class TempDir
{
public:
    TempDir();
    const QString &path() const { return _path; }
    QString filePath(const QString &name) const;
    // Writes bytes to a file below the folder, creating parent folders.
    QString write(const QString &relativePath, const QByteArray &bytes) const;

private:
    QTemporaryDir _dir;
    QString _path;
};

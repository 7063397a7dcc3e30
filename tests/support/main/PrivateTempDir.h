// Each test process gets a temporary folder of its own: ctest runs every test as its own process, in
// parallel, and the program keeps fixed-name files in its per-user temporary folder.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

inline QTemporaryDir &usePrivateTempDir()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/orv-test-XXXXXX"));
    if (dir.isValid())
        qputenv("TMPDIR", QFile::encodeName(dir.path()));
    return dir;
}

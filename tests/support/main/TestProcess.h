// Set-up shared by the test entry points. Each test process gets a temporary folder of its own: ctest
// runs every test as its own process, in parallel, and the program keeps fixed-name files in its
// per-user temporary folder.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

inline void prepareTestProcess()
{
    // Where the suites find the developer programs (build/devtools/samplecard...).
    if (qEnvironmentVariableIsEmpty("ORV_BUILD_DIR"))
        qputenv("ORV_BUILD_DIR", ORV_DEFAULT_BUILD_DIR);
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/orv-test-XXXXXX"));
    if (dir.isValid())
        qputenv("TMPDIR", QFile::encodeName(dir.path()));
}

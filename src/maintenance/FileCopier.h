// Copies one file to its backup target; a seam so tests can inject failures and count calls.
#pragma once

#include <QString>

class FileCopier
{
public:
    struct Result
    {
        bool ok = false;
        QString error; // what went wrong, for the log and the command-line tool
    };

    virtual ~FileCopier() = default;
    // Copies source to target. On failure whatever stood at the target before is left as it was.
    virtual Result copy(const QString &source, const QString &target) = 0;
};

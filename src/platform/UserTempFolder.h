// The program's private temporary folder: one per user under the system temp folder, mode 0700.
#pragma once

#include <QString>

class UserTempFolder
{
public:
    UserTempFolder() = delete;

    // Path (no trailing "/") of "<system temp>/orvalind-<uid>", created with mode 0700 when missing. When
    // that name is taken by something we cannot trust (a link, another user's folder, a file), a fresh
    // folder with a random suffix is made instead. Empty when nothing could be created.
    static QString path();
    // The same below another base folder; used by tests.
    static QString pathBelow(const QString &base);
};

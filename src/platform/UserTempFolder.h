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

    // This running copy's own folder below path() ("run-XXXXXX"): two copies never share a working
    // file. Made at first use, when the folders of copies no longer running are removed; removed when
    // the program ends normally. Empty when nothing could be created.
    static QString runPath();

    // Makes folder and its missing parents. Inside a user temporary folder of the system temp folder,
    // that folder is checked again first (ours, mode 0700, no link) and made again when a cleaner
    // removed it, and every folder made below it gets mode 0700 and must not be a link: what was
    // trusted at start may have been replaced since. False when a check or a creation fails.
    static bool makeFolder(const QString &folder);
    // The same with another system temp folder; used by tests.
    static bool makeFolderBelow(const QString &base, const QString &folder);
};

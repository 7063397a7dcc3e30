// A work folder that says whether the run that made it still lives: its maker holds a lock (flock) on the
// folder for as long as it is in use, and the kernel drops that lock however the process ends. A folder
// whose lock anyone can take was left by a run that died; the next run that looks at its parent folder
// removes it.
#pragma once

#include <QString>

class LockedWorkFolder
{
public:
    // pathTemplate ends in "XXXXXX", replaced by random characters (as for mkdtemp); the folder gets
    // mode 0700 and keeps its lock until this object goes, which removes it.
    explicit LockedWorkFolder(const QString &pathTemplate);
    ~LockedWorkFolder();
    LockedWorkFolder(const LockedWorkFolder &) = delete;
    LockedWorkFolder &operator=(const LockedWorkFolder &) = delete;

    bool isValid() const { return !_path.isEmpty(); }
    // No trailing "/"; empty when the folder could not be made.
    const QString &path() const { return _path; }

    // Removes the folders of parent whose name starts with prefix, that are ours (not links, owned by
    // this user) and whose lock is free; a folder whose lock cannot be tried (a file system without
    // locks) stays. Returns how many went.
    static int removeDead(const QString &parent, const QString &prefix);

private:
    QString _path;
    int _lockFd = -1;
};

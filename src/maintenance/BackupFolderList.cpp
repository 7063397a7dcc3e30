#include "maintenance/BackupFolderList.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>

QStringList BackupFolderList::list(const QString &backupRoot, QString *error)
{
    QStringList names;
    // opendir rather than QDir: QDir cannot tell an unreadable folder from an empty one.
    DIR *dir = ::opendir(QFile::encodeName(backupRoot).constData());
    if (!dir) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return names;
    }
    while (const dirent *entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name.startsWith(u'.'))
            continue;
        if (QFileInfo(QDir(backupRoot).filePath(name)).isDir())
            names << name;
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.compare(b) < 0; });
    return names;
}

// The backup folders under the backup root: visible sub-folders (links to folders count), by name.
#pragma once

#include <QString>
#include <QStringList>

class BackupFolderList
{
public:
    BackupFolderList() = delete;

    // Names sorted by code point (digits, then upper case, then lower case). error gets the system's
    // reason when the root cannot be listed (the result is then empty).
    static QStringList list(const QString &backupRoot, QString *error = nullptr);
};

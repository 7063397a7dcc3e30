// Every file below a folder, hidden ones too, with its bytes: what a run left, to compare with before.
#pragma once

#include <QByteArray>
#include <QString>
#include <map>

using FolderSnapshot = std::map<QString, QByteArray>;

// Keys are the paths below root, starting with "/".
FolderSnapshot snapshotFolder(const QString &root);

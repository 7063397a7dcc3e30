#include "support/FolderSnapshot.h"

#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>

FolderSnapshot snapshotFolder(const QString &root)
{
    FolderSnapshot files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        files[path.mid(root.size())] = file.readAll();
    }
    return files;
}

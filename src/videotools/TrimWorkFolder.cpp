#include "videotools/TrimWorkFolder.h"

#include "recording/FileUtil.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

bool TrimWorkFolder::isSameFileSystem(const QString &first, const QString &second)
{
    struct stat a
    {
    };
    struct stat b
    {
    };
    return ::stat(QFile::encodeName(first).constData(), &a) == 0 &&
           ::stat(QFile::encodeName(second).constData(), &b) == 0 && a.st_dev == b.st_dev;
}

QString TrimWorkFolder::pathTemplate(const QString &configuredBase, const QString &destination)
{
    const QString destinationFolder = QFileInfo(destination).absolutePath();
    const bool isDestinationFolder = QFileInfo(destinationFolder).isDir();
    if (!isDestinationFolder || isSameFileSystem(configuredBase, destinationFolder))
        return FileUtil::appendPath(configuredBase, QStringLiteral("trim-XXXXXX"));
    return FileUtil::appendPath(destinationFolder, QStringLiteral(".trim-XXXXXX"));
}

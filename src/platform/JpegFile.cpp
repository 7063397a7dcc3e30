#include "platform/JpegFile.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

bool JpegFile::write(const QImage &image, const QString &targetPath, int quality, bool sync, QString *error)
{
    auto failed = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (image.isNull())
        return failed(QStringLiteral("no picture"));
    // A temporary file beside the target, renamed over it once complete. Thumbnails are caches made
    // again when lost and skip the sync; a user's still is on disk before it replaces the old file.
    QTemporaryFile file(QFileInfo(targetPath).absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!file.open())
        return failed(file.errorString());
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(quality);
    if (!writer.write(image))
        return failed(writer.errorString());
    if (!file.flush())
        return failed(file.errorString());
    if (sync && ::fsync(file.handle()) != 0)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    file.close();
    // rename(2) replaces an existing target in one step; QFile::rename would refuse.
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(targetPath).constData()) != 0)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    file.setAutoRemove(false);
    return true;
}

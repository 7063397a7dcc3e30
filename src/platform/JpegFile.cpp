#include "platform/JpegFile.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryFile>
#include <cstdio>
#include <unistd.h>

bool JpegFile::write(const QImage &image, const QString &targetPath, int quality, bool sync)
{
    if (image.isNull())
        return false;
    // A temporary file beside the target, renamed over it once complete. Thumbnails are caches made
    // again when lost and skip the sync; a user's still is on disk before it replaces the old file.
    QTemporaryFile file(QFileInfo(targetPath).absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!file.open())
        return false;
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(quality);
    if (!writer.write(image) || !file.flush() || (sync && ::fsync(file.handle()) != 0))
        return false;
    file.close();
    // rename(2) replaces an existing target in one step; QFile::rename would refuse.
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(targetPath).constData()) != 0)
        return false;
    file.setAutoRemove(false);
    return true;
}

#include "platform/JpegFile.h"

#include <QImageWriter>
#include <QSaveFile>

bool JpegFile::write(const QImage &image, const QString &targetPath)
{
    if (image.isNull())
        return false;
    // QSaveFile writes to a temporary name in the target's folder and renames on commit.
    QSaveFile file(targetPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "jpeg");
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// Writes a picture as a JPEG file without ever leaving a half-written file under the target name.
#pragma once

#include <QImage>
#include <QString>

class JpegFile
{
public:
    // Encodes image (quality 0-100, -1 the encoder's default) into a temporary file beside target,
    // synced to disk when asked, then renames it over target. False (and no file at target changed)
    // on any failure; error, when given, then gets the system's reason.
    static bool write(const QImage &image, const QString &targetPath, int quality = -1, bool sync = false,
                      QString *error = nullptr);
};

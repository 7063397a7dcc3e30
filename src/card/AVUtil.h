// Writes a still of a movie as a small JPEG file, for the thumbnails of the chapter and event lists.
#pragma once

#include <QString>
#include <QUrl>
#include <atomic>
#include <optional>

class AVUtil
{
public:
    AVUtil() = delete;

    // Takes the frame at positionMs of the movie (at most 320 x 180) and writes it as a JPEG into
    // the folder, which is made when missing. The movie must be a file URL and the folder a URL
    // that denotes a directory (ends in "/"). The still's URL, or none when the folder, the frame
    // or the file cannot be made (a negative position has no frame). cancel (may be null) ends the
    // work early; problem (may be null) gets the reason when the movie itself could not be read.
    static std::optional<QUrl> saveThumbnail(const QUrl &movie, qint64 positionMs, const QUrl &folder,
                                             const std::atomic<bool> *cancel = nullptr,
                                             QString *problem = nullptr);

    // The still's file name: the movie's name without its extension, "_", the position's whole
    // seconds as a UTC time of day "hhmmss" (hours wrap at 24), ".jpeg".
    static QString thumbnailFileName(const QUrl &movie, qint64 positionMs);
};

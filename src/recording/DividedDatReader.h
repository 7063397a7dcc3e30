// Reads the header values, thumbnail frame and first and last times of a divided recording (a file
// header with setting items, then frames of a 64-byte header and a JPEG picture).
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstdint>
#include <memory>
#include <span>

class VideoInfo;

class DividedDatReader
{
public:
    static constexpr uint64_t FRAME_HEADER_SIZE = 64;
    // The last frame is looked for in this many bytes at the end of the file.
    static constexpr uint64_t LAST_FRAME_WINDOW = 20000;

    DividedDatReader() = delete;

    // Never null. A URL that is not a local file adds "画像データがありません。"; a file whose name is not
    // "Video.dat" or "M<12 digits>-<4 digits>.DAT" gives an empty recording.
    static std::shared_ptr<VideoInfo> fromDivisionFile(const QUrl &path, QStringList &errors);
    static std::shared_ptr<VideoInfo> readDivisionFile(const QString &path);
    // One frame from its 64-byte header (the picture bytes may follow): a kind-0x55 frame becomes the
    // thumbnail with its position.
    static void readDivisionFrame(VideoInfo &info, std::span<const uint8_t> frame);
};

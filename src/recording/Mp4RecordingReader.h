// Reads the driving data of a camera MP4 chapter (the udat entry table, header record and blocks of
// 64-byte frame records) into a VideoInfo.
#pragma once

#include "recording/Date.h"
#include "recording/VideoFrame.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <span>

class VideoInfo;

class Mp4RecordingReader
{
public:
    static constexpr size_t RECORD_SIZE = 64;
    // The header record holds its setting items from this offset, 8 bytes each.
    static constexpr size_t HEADER_ITEMS_OFFSET = 80;

    Mp4RecordingReader() = delete;

    // Null when the file has no udat box, an empty payload, or no usable header record. isError is set
    // (never cleared) for a bad violation code, a header whose items run past its end, and when no frame
    // is kept. Frames of data blocks wholly outside [left, right] are dropped.
    static std::shared_ptr<VideoInfo> read(const QString &path, const Date &left, const Date &right,
                                           bool &isError, const QByteArray &fileData);
    // The same over bytes the caller keeps alive (fuzzing, tests).
    static std::shared_ptr<VideoInfo> read(std::span<const uint8_t> file, const Date &left, const Date &right,
                                           bool &isError, const QByteArray &fileData);

    // Header record: detection code, time and position, switch byte and the setting items. False when the
    // record is too short to hold its item count (it is at least 65 bytes).
    static bool decodeHeader(std::span<const uint8_t> header, VideoInfo &info, bool &isError);
    // One 64-byte frame record; the caller has checked the length.
    static VideoFrame decodeRecord(std::span<const uint8_t> record, int32_t blockNo, bool &isError);
};

// Reads a continuous recording in the camera's DAT block layout (an 8 KiB file header with setting
// items, then blocks of picture and sound payload followed by 64-byte frame records) into a VideoInfo.
#pragma once

#include "recording/Date.h"
#include "recording/PictureData.h"

#include <QString>

#include <cstdint>
#include <memory>

class FullTimeDataInfo;
class VideoInfo;

class MovieDatReader
{
public:
    static constexpr uint64_t HEADER_SIZE = 0x2000;
    static constexpr uint64_t BLOCK_HEADER_SIZE = 48;
    // One picture or sound chunk copied to a temporary file; the camera's are a few hundred KiB.
    static constexpr uint64_t MAX_CHUNK_SIZE = 16 * 1024 * 1024;

    MovieDatReader() = delete;

    // Never null. isError is only ever set: bad BCD in an item, a code, the camera count or a frame's
    // violation fields, a file shorter than its header, no picture frame in [left, right], more records
    // or frames than DatFileReader's bounds (the walk stops there, keeping the blocks before). For All the
    // last camera-1 picture and the last sound chunk go to "channel1.dat" and "sound.dat" in the
    // temporary folder. fullTimeDataInfo, when given, supplies the user codes the header file lacks.
    static std::shared_ptr<VideoInfo> read(const QString &path, const Date &left, const Date &right,
                                           PictureData::PictureDataType pictureDataType,
                                           const FullTimeDataInfo *fullTimeDataInfo, bool &isError);
    // Milliseconds between movie frames for the header's frame-rate text.
    static double frameInterval(const QString &movieFps);
};

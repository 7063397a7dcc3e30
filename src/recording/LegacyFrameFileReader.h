// Reads a recording of the older frame-file layout (a short header with setting items, then frame
// records of packed-BCD driving data and a JPEG picture each) into a VideoInfo.
#pragma once

#include "recording/Date.h"
#include "recording/PictureData.h"

#include <QString>

#include <cstdint>
#include <memory>

class DatFileReader;
class FullTimeDataInfo;
class VideoInfo;

class LegacyFrameFileReader
{
public:
    static constexpr uint64_t HEADER_SIZE = 48;
    static constexpr uint64_t RECORD_FIXED_SIZE = 60;
    static constexpr uint64_t MAX_IMAGE_SIZE = 8 * 1024 * 1024;

    LegacyFrameFileReader() = delete;

    // Never null. isError is only ever set (bad BCD in an item or a frame, more records, frames or picture
    // bytes than DatFileReader's bounds, where the walk stops). A record with a bad date or
    // violation code is dropped and reading resumes at the next picture marker.
    static std::shared_ptr<VideoInfo> readFileOther(const QString &path, const Date &left, const Date &right,
                                                    PictureData::PictureDataType pictureDataType,
                                                    const FullTimeDataInfo *fullTimeDataInfo, bool &isError);
    // The frame records from offset on.
    static void readJpegFrames(const DatFileReader &file, uint64_t offset, VideoInfo &info, const Date &left,
                               const Date &right, PictureData::PictureDataType pictureDataType,
                               bool &isError);
};

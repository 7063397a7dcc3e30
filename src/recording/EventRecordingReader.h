// Reads an event recording (an 8 KiB file header with setting items, then blocks of a 96-byte fixed
// part and the frame's JPEG picture) into a VideoInfo.
#pragma once

#include "recording/Date.h"
#include "recording/PictureData.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <span>

class DatFileReader;
class FullTimeDataInfo;
class VideoInfo;

class EventRecordingReader
{
public:
    static constexpr uint64_t HEADER_SIZE = 0x2000;
    static constexpr uint64_t FIXED_SIZE = 96;
    // The camera's event pictures are small JPEGs; anything larger is not one of its blocks.
    static constexpr uint64_t MAX_IMAGE_SIZE = 8 * 1024 * 1024;

    EventRecordingReader() = delete;

    // Never null. isError is only ever set: a file shorter than its header, bad BCD in an item, a code or
    // a frame's violation fields, no frame in [left, right], more blocks or picture bytes than
    // DatFileReader's bounds (the walk stops there). The first kind-0x55 frame becomes the
    // thumbnail; the later ones fill cameras 0, 1 and 2.
    static std::shared_ptr<VideoInfo> readFileEvent(const QString &path, const Date &left, const Date &right,
                                                    PictureData::PictureDataType pictureDataType,
                                                    const FullTimeDataInfo *fullTimeDataInfo, bool &isError);
    // The block walk from the end of the header over file.
    static void readEventFrames(const DatFileReader &file, std::span<const uint8_t> identifier,
                                VideoInfo &info, const Date &left, const Date &right,
                                PictureData::PictureDataType pictureDataType, bool &isError);
};

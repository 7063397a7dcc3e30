// One frame's driving data in a trimmed clip's metadata archive.
#pragma once

#include "platform/KeyedArchiver.h"
#include "recording/Date.h"
#include "recording/VideoFrame.h"

#include <QString>
#include <cstdint>
#include <optional>

class ArchivedValue;

class CutVideoFooterInfo
{
public:
    static inline const QString CLASS_NAME = QStringLiteral("CutVideoFooterInfo");

    // A footer carrying the frame's driving data; every optional field gets a value.
    static CutVideoFooterInfo initFromVideoFrame(const VideoFrame &frame);

    // A new frame of a cut clip from this footer (violation type All); the fields it needs must be set.
    VideoFrame makeVideoFrame() const;
    // Whether every optional field the clip reader needs has a value.
    bool isComplete() const;

    KeyedArchiver::Ref encodeWithCoder(KeyedArchiver &archiver) const;
    // Archived dates are seconds since 1970 (as read back); out-of-range values are kept inside the
    // distant past and future, and a value that is not a number gives none.
    static std::optional<Date> dateFromSeconds(double unixSeconds);
    static double secondsFromDate(const Date &date);
    // None when "cvfi_zqa_posWest" or "cvfi_zqa_posSouth" is missing or not an unsigned 16-bit number.
    static std::optional<CutVideoFooterInfo> initWithCoder(const ArchivedValue &coder);

    std::optional<int32_t> _blockNo;
    std::optional<Date> _time;
    int32_t _longitude = 0; // 1/36000 degree, negative west
    int32_t _latitude = 0;  // 1/36000 degree, negative south
    uint16_t _posWest = 0;
    uint16_t _posSouth = 0;
    int32_t _speed = 0; // km/h
    double _gX = 0.0;   // g
    double _gY = 0.0;
    double _gZ = 0.0;
    int32_t _iSwitch = 0;
    bool _gps = true;
    bool _gps2 = true;
    bool _powerDown = false;
    std::optional<int32_t> _pictureChannel;
    std::optional<uint32_t> _frameSize;
    std::optional<uint32_t> _timeStamp;      // the camera's millisecond counter
    std::optional<uint8_t> _id;              // 0x55 picture frame, 0xAA sound
    std::optional<uint32_t> _movieTimeStamp; // ms in the clip's movie

    bool operator==(const CutVideoFooterInfo &) const = default;

private:
    CutVideoFooterInfo() = default;
};

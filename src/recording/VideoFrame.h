// The driving data of one sample of a recording: time, counters, position, speed, G values and flags.
#pragma once

#include "recording/Date.h"
#include "recording/ILocation.h"
#include "recording/VideoFrameExtendedInfo.h"

#include <QByteArray>
#include <cstdint>

// A frame is a plain value: recordings keep theirs in a compact pool (FramePool) and hand out copies, so
// a change to a returned frame stays with the caller. The fields are public because every reader fills
// them directly.
class VideoFrame : public ILocation
{
public:
    VideoFrame();
    VideoFrame(const VideoFrame &) = default;
    VideoFrame &operator=(const VideoFrame &) = default;
    VideoFrame(VideoFrame &&) = default;
    VideoFrame &operator=(VideoFrame &&) = default;

    // The frame the readers' gap filling puts in place of a missing sample: it takes camera, frame,
    // gDetected, time, the G values, _engineSpeed, speed, _longitude, _latitude, status, sw, gps, ex,
    // lacked, _imageData, _id, _timeStamp and blockNo, and leaves powerDown, _posWest, _posSouth, _gps2,
    // _movieTimeStamp, addrs, frameSize, pictureChannel and the inherited latitude/longitude at their
    // defaults.
    VideoFrame repeated() const;
    // Every field, the doubles compared bit for bit.
    bool sameAs(const VideoFrame &other) const;

    // 2000-01-01 00:00:00 local time: the clock value of a camera whose clock was never set.
    static Date makeInvalidTime();

    std::int32_t camera = 1;
    std::int32_t frame = 0; // frame number within its recording, for readers that number frames
    bool gDetected = false; // the detection point of the recording
    Date time = Date::distantPast();
    double gX = 0.0; // acceleration in g
    double gY = 0.0;
    double gZ = 0.0;        // gravity removed
    std::int32_t speed = 0; // whole km/h
    // Position in 1/36000 degree (value / 36000.0 = degrees), negative west and south; 0 means none.
    // The BCD position readers store their own unit here.
    std::int32_t _longitude = 0;
    std::int32_t _latitude = 0;
    std::int32_t status = 0;
    std::int32_t sw = 0; // switch byte
    bool gps = true;     // GPS fix
    bool powerDown = false;
    VideoFrameExtendedInfo ex;
    bool lacked = false;         // stands in for a missing sample
    std::uint16_t _posWest = 0;  // 1 when the longitude is west
    std::uint16_t _posSouth = 0; // 1 when the latitude is south
    bool _gps2 = true;
    Date invalidTime;
    QByteArray _imageData;        // JPEG bytes for formats that carry pictures; implicitly shared by copies
    std::uint8_t _id = 0;         // record identifier byte (VideoId)
    std::uint32_t _timeStamp = 0; // the camera's millisecond counter
    std::uint32_t _movieTimeStamp = 0; // position in the movie, ms
    std::int32_t _engineSpeed = 0;
    std::uint32_t addrs = 0;     // address of the sample's data in its file
    std::uint32_t frameSize = 0; // bytes of the frame's picture data
    std::int32_t pictureChannel = 0;
    std::int32_t blockNo = 0;
};

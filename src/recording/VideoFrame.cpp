#include "recording/VideoFrame.h"

#include <QTimeZone>

#include <bit>

Date VideoFrame::makeInvalidTime()
{
    // Built once: the local zone of the process does not change under us, and readers make frames by the
    // hundred thousand.
    static const Date invalid =
        Date::fromDateTime(QDateTime(QDate(2000, 1, 1), QTime(0, 0, 0), QTimeZone::systemTimeZone()));
    return invalid;
}

VideoFrame::VideoFrame() : invalidTime(makeInvalidTime()) {}

VideoFrame VideoFrame::repeated() const
{
    VideoFrame copy;
    copy.camera = camera;
    copy.frame = frame;
    copy.gDetected = gDetected;
    copy.time = time;
    copy.gX = gX;
    copy.gY = gY;
    copy.gZ = gZ;
    copy._engineSpeed = _engineSpeed;
    copy.speed = speed;
    copy._longitude = _longitude;
    copy._latitude = _latitude;
    copy.status = status;
    copy.sw = sw;
    copy.gps = gps;
    copy.ex = ex;
    copy.lacked = lacked;
    copy._imageData = _imageData;
    copy._id = _id;
    copy._timeStamp = _timeStamp;
    copy.blockNo = blockNo;
    return copy;
}

bool VideoFrame::sameAs(const VideoFrame &o) const
{
    const auto bits = [](double v) { return std::bit_cast<uint64_t>(v); };
    return latitude == o.latitude && longitude == o.longitude && camera == o.camera && frame == o.frame &&
           gDetected == o.gDetected && time == o.time && bits(gX) == bits(o.gX) && bits(gY) == bits(o.gY) &&
           bits(gZ) == bits(o.gZ) && speed == o.speed && _longitude == o._longitude &&
           _latitude == o._latitude && status == o.status && sw == o.sw && gps == o.gps &&
           powerDown == o.powerDown && ex.detectionType == o.ex.detectionType &&
           ex.violationType == o.ex.violationType && ex.speedOver == o.ex.speedOver &&
           ex.direction == o.ex.direction && bits(ex.distance) == bits(o.ex.distance) &&
           ex.isFrameEnable == o.ex.isFrameEnable && lacked == o.lacked && _posWest == o._posWest &&
           _posSouth == o._posSouth && _gps2 == o._gps2 && invalidTime == o.invalidTime &&
           _imageData == o._imageData && _id == o._id && _timeStamp == o._timeStamp &&
           _movieTimeStamp == o._movieTimeStamp && _engineSpeed == o._engineSpeed && addrs == o.addrs &&
           frameSize == o.frameSize && pictureChannel == o.pictureChannel && blockNo == o.blockNo;
}

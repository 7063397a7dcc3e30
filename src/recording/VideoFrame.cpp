#include "recording/VideoFrame.h"

#include <QTimeZone>

Date VideoFrame::makeInvalidTime()
{
    // Built once: the local zone of the process does not change under us, and readers make frames by the
    // hundred thousand.
    static const Date invalid =
        Date::fromDateTime(QDateTime(QDate(2000, 1, 1), QTime(0, 0, 0), QTimeZone::systemTimeZone()));
    return invalid;
}

VideoFrame::VideoFrame() : invalidTime(makeInvalidTime()) {}

VideoFrame::VideoFrame(const VideoFrame &copy) : ILocation(), invalidTime(makeInvalidTime())
{
    camera = copy.camera;
    frame = copy.frame;
    gDetected = copy.gDetected;
    time = copy.time;
    gX = copy.gX;
    gY = copy.gY;
    gZ = copy.gZ;
    _engineSpeed = copy._engineSpeed;
    speed = copy.speed;
    _longitude = copy._longitude;
    _latitude = copy._latitude;
    status = copy.status;
    sw = copy.sw;
    gps = copy.gps;
    ex = copy.ex;
    lacked = copy.lacked;
    _imageData = copy._imageData;
    _id = copy._id;
    _timeStamp = copy._timeStamp;
    blockNo = copy.blockNo;
}

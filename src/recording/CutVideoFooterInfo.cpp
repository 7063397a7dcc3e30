#include "recording/CutVideoFooterInfo.h"

#include "platform/ArchivedValue.h"
#include "recording/ViolationType.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr const char *KEY_BLOCK_NO = "cvfi_zqa_blockNo";
constexpr const char *KEY_TIME = "cvfi_zqa_time";
constexpr const char *KEY_LONGITUDE = "cvfi_zqa_longitude";
constexpr const char *KEY_LATITUDE = "cvfi_zqa_latitude";
constexpr const char *KEY_POS_WEST = "cvfi_zqa_posWest";
constexpr const char *KEY_POS_SOUTH = "cvfi_zqa_posSouth";
constexpr const char *KEY_SPEED = "cvfi_zqa_speed";
constexpr const char *KEY_G_X = "cvfi_zqa_gX";
constexpr const char *KEY_G_Y = "cvfi_zqa_gY";
constexpr const char *KEY_G_Z = "cvfi_zqa_gZ";
constexpr const char *KEY_I_SWITCH = "cvfi_zqa_iSwitch";
constexpr const char *KEY_GPS = "cvfi_zqa_gps";
constexpr const char *KEY_GPS2 = "cvfi_zqa_gps2";
constexpr const char *KEY_POWER_DOWN = "cvfi_zqa_powerDown";
constexpr const char *KEY_PICTURE_CHANNEL = "cvfi_zqa_pictureChannel";
constexpr const char *KEY_FRAME_SIZE = "cvfi_zqa_frameSize";
constexpr const char *KEY_TIME_STAMP = "cvfi_zqa_timeStamp";
constexpr const char *KEY_ID = "cvfi_zqa_id";
constexpr const char *KEY_MOVIE_TIME_STAMP = "cvfi_zqa_movieTimeStamp";

template <typename T> std::optional<T> optionalNumber(const ArchivedValue &coder, const char *key)
{
    const auto value = coder.decodeInteger(key, std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
    return value.isPresent() ? std::optional<T>(T(value.value)) : std::nullopt;
}

// An Int32-coded key: 0 when absent or not a 32-bit integer.
int32_t int32Value(const ArchivedValue &coder, const char *key)
{
    return optionalNumber<int32_t>(coder, key).value_or(0);
}

template <typename T> KeyedArchiver::Ref numberRef(KeyedArchiver &archiver, const std::optional<T> &value)
{
    return value ? archiver.encodeNumber(int64_t(*value)) : KeyedArchiver::NullRef;
}

} // namespace

std::optional<Date> CutVideoFooterInfo::dateFromSeconds(double unixSeconds)
{
    if (std::isnan(unixSeconds)) {
        return std::nullopt;
    }
    const double ms = std::clamp(std::round(unixSeconds * 1000.0), double(Date::DISTANT_PAST_MS),
                                 double(Date::DISTANT_FUTURE_MS));
    return Date::fromUnixMilliseconds(int64_t(ms));
}

double CutVideoFooterInfo::secondsFromDate(const Date &date)
{
    return double(date.toUnixMilliseconds()) / 1000.0;
}

CutVideoFooterInfo CutVideoFooterInfo::initFromVideoFrame(const VideoFrame &frame)
{
    CutVideoFooterInfo footer;
    footer._blockNo = frame.blockNo;
    footer._time = frame.time;
    footer._longitude = frame._longitude;
    footer._latitude = frame._latitude;
    footer._posWest = frame._posWest;
    footer._posSouth = frame._posSouth;
    footer._speed = frame.speed;
    footer._gX = frame.gX;
    footer._gY = frame.gY;
    footer._gZ = frame.gZ;
    footer._iSwitch = frame.sw;
    footer._gps = frame.gps;
    footer._gps2 = frame._gps2;
    footer._powerDown = frame.powerDown;
    footer._pictureChannel = frame.pictureChannel;
    footer._frameSize = frame.frameSize;
    footer._timeStamp = frame._timeStamp;
    footer._id = frame._id;
    footer._movieTimeStamp = frame._movieTimeStamp;
    return footer;
}

bool CutVideoFooterInfo::isComplete() const
{
    return _blockNo && _time && _pictureChannel && _frameSize && _timeStamp && _id && _movieTimeStamp;
}

VideoFrame CutVideoFooterInfo::makeVideoFrame() const
{
    VideoFrame frame;
    frame.blockNo = _blockNo.value_or(0);
    frame.time = _time.value_or(Date::distantPast());
    frame._longitude = _longitude;
    frame._latitude = _latitude;
    frame._posWest = _posWest;
    frame._posSouth = _posSouth;
    frame.speed = _speed;
    frame.gX = _gX;
    frame.gY = _gY;
    frame.gZ = _gZ;
    frame.sw = _iSwitch;
    frame.gps = _gps;
    frame._gps2 = _gps2;
    frame.powerDown = _powerDown;
    frame.pictureChannel = _pictureChannel.value_or(0);
    frame.frameSize = _frameSize.value_or(0);
    frame._timeStamp = _timeStamp.value_or(0);
    frame._id = _id.value_or(0);
    frame._movieTimeStamp = _movieTimeStamp.value_or(0);
    frame.ex.violationType = ViolationType::All;
    return frame;
}

KeyedArchiver::Ref CutVideoFooterInfo::encodeWithCoder(KeyedArchiver &archiver) const
{
    const auto self = archiver.encodeObject(CLASS_NAME);
    archiver.setObject(self, KEY_BLOCK_NO, numberRef(archiver, _blockNo));
    archiver.setObject(self, KEY_TIME,
                       _time ? archiver.encodeDate(secondsFromDate(*_time)) : KeyedArchiver::NullRef);
    archiver.setInteger(self, KEY_LONGITUDE, _longitude);
    archiver.setInteger(self, KEY_LATITUDE, _latitude);
    archiver.setObject(self, KEY_POS_WEST, archiver.encodeNumber(int64_t(_posWest)));
    archiver.setObject(self, KEY_POS_SOUTH, archiver.encodeNumber(int64_t(_posSouth)));
    archiver.setInteger(self, KEY_SPEED, _speed);
    archiver.setDouble(self, KEY_G_X, _gX);
    archiver.setDouble(self, KEY_G_Y, _gY);
    archiver.setDouble(self, KEY_G_Z, _gZ);
    archiver.setInteger(self, KEY_I_SWITCH, _iSwitch);
    archiver.setBool(self, KEY_GPS, _gps);
    archiver.setBool(self, KEY_GPS2, _gps2);
    archiver.setBool(self, KEY_POWER_DOWN, _powerDown);
    archiver.setObject(self, KEY_PICTURE_CHANNEL, numberRef(archiver, _pictureChannel));
    archiver.setObject(self, KEY_FRAME_SIZE, numberRef(archiver, _frameSize));
    archiver.setObject(self, KEY_TIME_STAMP, numberRef(archiver, _timeStamp));
    archiver.setObject(self, KEY_ID, numberRef(archiver, _id));
    archiver.setObject(self, KEY_MOVIE_TIME_STAMP, numberRef(archiver, _movieTimeStamp));
    return self;
}

std::optional<CutVideoFooterInfo> CutVideoFooterInfo::initWithCoder(const ArchivedValue &coder)
{
    const auto posWest = optionalNumber<uint16_t>(coder, KEY_POS_WEST);
    const auto posSouth = optionalNumber<uint16_t>(coder, KEY_POS_SOUTH);
    if (!posWest || !posSouth) {
        return std::nullopt;
    }
    CutVideoFooterInfo footer;
    footer._posWest = *posWest;
    footer._posSouth = *posSouth;
    footer._blockNo = optionalNumber<int32_t>(coder, KEY_BLOCK_NO);
    if (const auto time = coder.decodeDate(KEY_TIME); time.isPresent()) {
        footer._time = dateFromSeconds(time.value);
    }
    footer._longitude = int32Value(coder, KEY_LONGITUDE);
    footer._latitude = int32Value(coder, KEY_LATITUDE);
    footer._speed = int32Value(coder, KEY_SPEED);
    footer._gX = coder.decodeDouble(KEY_G_X).value;
    footer._gY = coder.decodeDouble(KEY_G_Y).value;
    footer._gZ = coder.decodeDouble(KEY_G_Z).value;
    footer._iSwitch = int32Value(coder, KEY_I_SWITCH);
    // Bool keys read false when absent, although a new footer's GPS flags are true.
    footer._gps = coder.decodeBool(KEY_GPS).value;
    footer._gps2 = coder.decodeBool(KEY_GPS2).value;
    footer._powerDown = coder.decodeBool(KEY_POWER_DOWN).value;
    footer._pictureChannel = optionalNumber<int32_t>(coder, KEY_PICTURE_CHANNEL);
    footer._frameSize = optionalNumber<uint32_t>(coder, KEY_FRAME_SIZE);
    footer._timeStamp = optionalNumber<uint32_t>(coder, KEY_TIME_STAMP);
    footer._id = optionalNumber<uint8_t>(coder, KEY_ID);
    footer._movieTimeStamp = optionalNumber<uint32_t>(coder, KEY_MOVIE_TIME_STAMP);
    return footer;
}

#include "recording/PictureData.h"

#include "recording/FullTimeDataInfo.h"
#include "recording/VideoInfo.h"

#include "platform/PlatformError.h"

#include <algorithm>
#include <cmath>
#include <utility>

PictureData::PictureData(const QUrl &path, PictureDataType pictureDataType, const Date &left,
                         const Date &right, std::shared_ptr<FullTimeDataInfo> fullTimeDataInfo,
                         std::optional<RecType> recType, const QByteArray &fileData)
    : _mLeft(left), _mRight(right), _mPdtType(pictureDataType),
      _mFullTimeDataInfo(fullTimeDataInfo ? std::move(fullTimeDataInfo)
                                          : std::make_shared<FullTimeDataInfo>()),
      _fullPath(path)
{
    if (recType == RecType::Yohin14Rec) {
        // MP4 chapters carry their settings themselves; the folder's version file is not looked at.
        _ver = VersionInfo::fallback();
    } else {
        try {
            _ver = VersionInfo::check(dataPath());
        } catch (const PlatformError &) {
            _ver = VersionInfo::fallback();
        }
    }

    // The divided layout: its header values and thumbnail only, without distances or directions.
    if (pictureDataType == PictureDataType::Thumbnail) {
        video = VideoInfo::fromDivisionFile(path, errors);
        return;
    }
    if (!recType)
        return;

    video = VideoInfo::fromFile(path, _ver, errors, left, right, pictureDataType, *_mFullTimeDataInfo,
                                *recType, fileData, &problem);
    if (video) {
        d2us = video->_playback.d2US;
        eventFPS = video->_playback.eventFPS;
        movieFPS = video->_playback.movieFPS;
        soundmute = video->bMoveSoundMute;
    }
    setDistance();
    setDirection();
}

PictureData::~PictureData() = default;

std::optional<QUrl> PictureData::dataPath() const
{
    if (!_fullPath)
        return std::nullopt;
    return _fullPath->adjusted(QUrl::RemoveFilename | QUrl::StripTrailingSlash);
}

std::optional<uint32_t> PictureData::GetFrameTimeSpan() const
{
    if (!video)
        return std::nullopt;
    return video->_timeSpan;
}

std::optional<Date> PictureData::startTime() const
{
    if (!video)
        return std::nullopt;
    return video->firstTime;
}

void PictureData::setDistance()
{
    if (!video)
        return;
    const int64_t detect = video->_playback.detectPosition;
    const int64_t span = video->_timeSpan;
    // A detection position of 0 or less refers to the end of the recording.
    const int64_t reference = (detect > 0 && detect < span) ? detect : (detect < span ? span : 0);
    video->getCameraFrames(0); // a missing or empty table becomes its placeholder first
    video->editFrames(0, [&](std::span<const int32_t> keys, std::vector<VideoFrame> &table) {
        const auto at = std::find(keys.begin(), keys.end(), int32_t(reference));
        size_t count = table.size();
        if (at != keys.end()) {
            count = size_t(at - keys.begin()) + 1;
            table[count - 1].ex.distance = 0;
        }
        if (count <= 1)
            return;
        // Metres driven from each frame's predecessor up to the reference, from speed and time alone;
        // the float steps keep the camera software's rounding.
        double total = 0.0;
        for (size_t i = count - 1; i >= 1; --i) {
            VideoFrame &a = table[i];
            const VideoFrame &b = table[i - 1];
            const uint32_t dt = a._timeStamp - std::min(a._timeStamp, b._timeStamp);
            const float perHour = float(3600.0 / (double(dt) * 0.001));
            if (perHour != 0.0f)
                total += double(float(a.speed) * 1000.0f / perHour);
            a.ex.distance = total;
        }
    });
}

void PictureData::setDirection()
{
    if (!video)
        return;
    video->getCameraFrames(0);
    video->editFrames(0, [](std::span<const int32_t> keys, std::vector<VideoFrame> &frames) {
        const auto zero = std::find(keys.begin(), keys.end(), 0);
        if (zero == keys.end())
            return;
        const VideoFrame &start = frames[size_t(zero - keys.begin())];
        using Position = std::pair<int32_t, int32_t>;
        Position previous{start._longitude, start._latitude};
        Position p1{0, 0};
        Position p2{0, 0};
        IconId last = IconId::None;
        std::optional<bool> previousGps;
        std::optional<size_t> first;
        for (size_t i = 0; i < frames.size(); ++i) {
            VideoFrame &frame = frames[i];
            const Position p{frame._longitude, frame._latitude};
            IconId d = getDirection(p.first, p.second, previous.first, previous.second);
            if (d == IconId::None)
                d = last; // standing still keeps the last heading
            frame.ex.direction = d;
            last = d;
            if (d != IconId::None && !first)
                first = i;
            if ((previousGps && frame.gps != *previousGps) || (p != p1 && p != p2))
                frame.ex.isFrameEnable = true;
            p2 = p1;
            p1 = p;
            previous = p;
            previousGps = frame.gps;
        }
        if (first && *first > 0) {
            for (size_t i = 0; i < *first; ++i)
                frames[i].ex.direction = frames[*first].ex.direction;
        }
    });
}

IconId PictureData::getDirection(int32_t longitude, int32_t latitude, int32_t prevLongitude,
                                 int32_t prevLatitude)
{
    // 32-bit differences, wrapping as the camera software's do.
    const int32_t dx = int32_t(uint32_t(longitude) - uint32_t(prevLongitude));
    const int32_t dy = int32_t(uint32_t(latitude) - uint32_t(prevLatitude));
    if (dx == 0 && dy == 0)
        return IconId::None;
    const double r = std::sqrt(double(dx) * dx + double(dy) * dy);
    const double a = std::acos(dx / r) * 180.0 / 3.141592653589793;
    // Measured from east towards north in raw position units.
    const double angle = std::asin(dy / r) >= 0 ? a : 360.0 - a;
    if (angle < 11.25 || angle >= 348.75)
        return IconId::East;
    static constexpr std::pair<double, IconId> sectors[] = {
        {33.75, IconId::NorthEE},    {56.25, IconId::NorthEast},  {78.75, IconId::NNEast},
        {101.25, IconId::North},     {123.75, IconId::NNWest},    {146.25, IconId::NorthWest},
        {168.75, IconId::NorthWW},   {191.25, IconId::West},      {213.75, IconId::SouthWW},
        {236.25, IconId::SouthWest}, {258.75, IconId::SSWest},    {281.25, IconId::South},
        {303.75, IconId::SSEast},    {326.25, IconId::SouthEast},
    };
    for (const auto &[upper, icon] : sectors) {
        if (angle < upper)
            return icon;
    }
    return IconId::SouthEE; // also an angle that is not a number
}

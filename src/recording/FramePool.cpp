#include "recording/FramePool.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// The milli-g value that gives back exactly this G value, the way the readers divide.
bool milliG(double g, int16_t &out)
{
    const double scaled = std::round(g * 1000.0);
    if (!(scaled >= -32768.0 && scaled <= 32767.0))
        return false;
    out = int16_t(scaled);
    return std::bit_cast<uint64_t>(out / 1000.0) == std::bit_cast<uint64_t>(g);
}

template <typename T, typename V> bool fits(V value)
{
    return value >= V(std::numeric_limits<T>::min()) && value <= V(std::numeric_limits<T>::max());
}

} // namespace

bool FramePool::pack(const VideoFrame &f, Packed &p)
{
    if (f.camera != 1 || f.frame != 0 || f.status != 0 || f._engineSpeed != 0 || f.addrs != 0 || f.lacked ||
        !f._imageData.isEmpty() || f.ex.speedOver || f.ex.detectionType != DetectionType::All ||
        f.latitude != 0 || f.longitude != 0 || f._posWest > 1 || f._posSouth > 1)
        return false;
    if (!fits<uint16_t>(f.speed) || !fits<uint16_t>(f.blockNo) || !fits<uint8_t>(f.sw) ||
        !fits<uint8_t>(f.pictureChannel) || !fits<uint8_t>(int(f.ex.direction)) ||
        !fits<int8_t>(int(f.ex.violationType)))
        return false;
    if (f.time.isDistantPast()) {
        p.timeSeconds = NO_TIME;
    } else {
        const int64_t ms = f.time.toUnixMilliseconds();
        if (ms % 1000 != 0 || ms < 0 || ms / 1000 >= int64_t(NO_TIME))
            return false;
        p.timeSeconds = uint32_t(ms / 1000);
    }
    if (!milliG(f.gX, p.gXmg) || !milliG(f.gY, p.gYmg) || !milliG(f.gZ, p.gZmg))
        return false;
    p.distance = f.ex.distance;
    p.longitude = f._longitude;
    p.latitude = f._latitude;
    p.timeStamp = f._timeStamp;
    p.movieTimeStamp = f._movieTimeStamp;
    p.frameSize = f.frameSize;
    p.speed = uint16_t(f.speed);
    p.blockNo = uint16_t(f.blockNo);
    p.sw = uint8_t(f.sw);
    p.id = f._id;
    p.pictureChannel = uint8_t(f.pictureChannel);
    p.direction = uint8_t(f.ex.direction);
    p.violation = int8_t(f.ex.violationType);
    p.gps = f.gps;
    p.powerDown = f.powerDown;
    p.gps2 = f._gps2;
    p.gDetected = f.gDetected;
    p.isFrameEnable = f.ex.isFrameEnable;
    p.posWest = f._posWest;
    p.posSouth = f._posSouth;
    p.wide = false;
    return true;
}

VideoFrame FramePool::unpack(const Packed &p)
{
    VideoFrame f;
    f.time = p.timeSeconds == NO_TIME ? Date::distantPast() : Date::fromUnixSeconds(p.timeSeconds);
    f.gX = p.gXmg / 1000.0;
    f.gY = p.gYmg / 1000.0;
    f.gZ = p.gZmg / 1000.0;
    f.ex.distance = p.distance;
    f._longitude = p.longitude;
    f._latitude = p.latitude;
    f._timeStamp = p.timeStamp;
    f._movieTimeStamp = p.movieTimeStamp;
    f.frameSize = p.frameSize;
    f.speed = p.speed;
    f.blockNo = p.blockNo;
    f.sw = p.sw;
    f._id = p.id;
    f.pictureChannel = p.pictureChannel;
    f.ex.direction = IconId(p.direction);
    f.ex.violationType = ViolationType(p.violation);
    f.gps = p.gps;
    f.powerDown = p.powerDown;
    f._gps2 = p.gps2;
    f.gDetected = p.gDetected;
    f.ex.isFrameEnable = p.isFrameEnable;
    f._posWest = p.posWest;
    f._posSouth = p.posSouth;
    return f;
}

FramePool::Packed FramePool::packOrWiden(const VideoFrame &frame, const Packed *previous)
{
    Packed packed;
    // The round trip decides: whatever the compact form would change is kept whole.
    if (pack(frame, packed) && unpack(packed).sameAs(frame))
        return packed;
    packed = Packed{};
    packed.wide = true;
    if (previous && previous->wide) {
        packed.timeStamp = previous->timeStamp;
        _wide[packed.timeStamp] = frame;
    } else {
        packed.timeStamp = uint32_t(_wide.size());
        _wide.push_back(frame);
    }
    return packed;
}

uint32_t FramePool::add(const VideoFrame &frame)
{
    _frames.push_back(packOrWiden(frame, nullptr));
    return uint32_t(_frames.size() - 1);
}

uint32_t FramePool::addRepeat(uint32_t source, uint32_t timeStamp, uint32_t movieTimeStamp)
{
    // A repeat of a repeat repeats the same frame.
    if (source & REPEAT_BIT)
        source = _repeats[source & ~REPEAT_BIT].source;
    const Packed &from = _frames[source];
    const VideoFrame &wide = from.wide ? _wide[from.timeStamp] : VideoFrame();
    _repeats.push_back({source, timeStamp, movieTimeStamp, from.wide ? wide._longitude : from.longitude,
                        from.wide ? wide._latitude : from.latitude});
    return uint32_t(_repeats.size() - 1) | REPEAT_BIT;
}

void FramePool::sortByCounter(std::vector<uint32_t> &order) const
{
    std::vector<std::pair<uint32_t, uint32_t>> byCounter; // (counter, slot)
    byCounter.reserve(order.size());
    for (const uint32_t slot : order)
        byCounter.emplace_back(at(slot)._timeStamp, slot);
    std::stable_sort(byCounter.begin(), byCounter.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = byCounter[i].second;
}

VideoFrame FramePool::at(uint32_t slot) const
{
    if (slot & REPEAT_BIT) {
        const Repeat &r = _repeats[slot & ~REPEAT_BIT];
        VideoFrame frame = at(r.source).repeated();
        frame._timeStamp = r.timeStamp;
        frame._movieTimeStamp = r.movieTimeStamp;
        frame._longitude = r.longitude;
        frame._latitude = r.latitude;
        frame.gDetected = false;
        frame.ex.direction = IconId::None;
        frame.ex.distance = 0.0;
        frame.ex.isFrameEnable = false;
        return frame;
    }
    const Packed &p = _frames[slot];
    return p.wide ? _wide[p.timeStamp] : unpack(p);
}

void FramePool::replace(uint32_t slot, const VideoFrame &frame)
{
    if (slot & REPEAT_BIT)
        return;
    _frames[slot] = packOrWiden(frame, &_frames[slot]);
}

size_t FramePool::heapBytes() const
{
    return _frames.capacity() * sizeof(Packed) + _repeats.capacity() * sizeof(Repeat) +
           _wide.capacity() * sizeof(VideoFrame);
}

void FramePool::shrinkToFit()
{
    _frames.shrink_to_fit();
    _repeats.shrink_to_fit();
    _wide.shrink_to_fit();
}

// A chapter list of given lengths whose driving data is a function of the timeline position.
#pragma once

#include "graph/DrivingDataSource.h"

#include <functional>
#include <vector>

class FakeDrivingData : public DrivingDataSource
{
public:
    using SampleFn = std::function<std::optional<DrivingSample>(int32_t position)>;

    FakeDrivingData(std::vector<int32_t> lengths, SampleFn fn)
        : _lengths(std::move(lengths)), _fn(std::move(fn))
    {
    }

    size_t chapterCount() const override { return _lengths.size(); }
    void chapterPosition(int32_t position, int64_t &index, int32_t &offset) const override
    {
        index = 0;
        offset = 0;
        if (_lengths.empty())
            return;
        offset = std::max(position, 0);
        while (index + 1 < static_cast<int64_t>(_lengths.size()) && offset > _lengths[index]) {
            offset -= _lengths[index] + 1;
            ++index;
        }
        offset = std::min(offset, _lengths[index]);
    }
    int32_t position(int64_t index, int32_t offset) const override
    {
        int32_t p = 0;
        for (int64_t i = 0; i < index; ++i)
            p += _lengths[i] + 1;
        return p + offset;
    }
    int32_t chapterSpan(size_t index) const override { return _lengths[index]; }
    std::optional<DrivingSample> sampleAt(size_t index, int32_t offset) override
    {
        return _fn(position(static_cast<int64_t>(index), offset));
    }

private:
    std::vector<int32_t> _lengths;
    SampleFn _fn;
};

// A frame at every position: speed and G taken from the caller, GPS fixed, time 12:00:00 UTC + position.
inline DrivingSample makeSample(int32_t position, int speedKmh, double gX = 0.0, double gY = 0.0,
                                bool gps = true)
{
    DrivingSample s;
    s.time = Date::fromUnixSeconds(1714564800).addingMilliseconds(position);
    s.speedKmh = speedKmh;
    s.gX = gX;
    s.gY = gY;
    s.gps = gps;
    s.movieTimeStampMs = static_cast<uint32_t>(position);
    return s;
}

// Value models and records for the player suites that need no movie files.
#pragma once

#include "player/PlayMovieValueInfo.h"
#include "player/PlaybackClock.h"

#include "card/MoveProtectInfo.h"

#include <memory>
#include <span>
#include <vector>

// A model over a bare range, optionally an event's.
class RangeModel : public PlayMovieValueInfo
{
public:
    RangeModel(int64_t min, int64_t max, int64_t current = 0)
    {
        _minValue = min;
        _maxValue = max;
        clock()->setRange(min, max);
        clock()->setPosition(current);
    }
    void setEvent(int64_t position, std::shared_ptr<MoveProtectInfo> record)
    {
        _playType = CommonConst::PlayType::Event;
        _eventValue = position;
        _protectInfo = std::move(record);
    }
};

inline std::shared_ptr<MoveProtectInfo> makeRecord(MoveProtectInfo::DetectStatus detect)
{
    const std::vector<uint8_t> zeros(MoveProtectInfo::RECORD_SIZE, 0);
    auto info = std::make_shared<MoveProtectInfo>(std::span<const uint8_t>(zeros), detect);
    info->_detect = detect;
    return info;
}

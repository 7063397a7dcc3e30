// The stretch of an event or surveillance record as the driving-data views show it.
#pragma once

#include "graph/DrivingDataSource.h"
#include "recording/CommonConst.h"

#include <memory>

class CardData;
class MoveProtectInfo;

struct EventStretch
{
    CommonConst::PlayType type = CommonConst::PlayType::Event; // Event or Surveillance
    std::shared_ptr<DrivingDataSource> source;                 // none when the record's chapters are missing
    int accidentValue = 0;
    int minValue = 0;
    int maxValue = 0;

    // Surveillance records take the surveillance clip, the others the event clip.
    static EventStretch fromRecord(CardData &card, MoveProtectInfo &protectInfo);
};

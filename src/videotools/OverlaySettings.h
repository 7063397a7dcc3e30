// The viewer settings the overlay text is written with, copied from the settings store on the main
// thread so a worker never reads the store.
#pragma once

#include "recording/DateFormatType.h"
#include "recording/UserDefaultUtil.h"

#include <cstdint>

struct OverlaySettings
{
    DateFormatType dateFormat = DateFormatType::MDY24H;
    int timeZone = 5; // 0...7, DateFormatTypeUtil::timeZoneIdentifier
    bool summerTime = false;
    bool speedMeter = true; // true km/h, false mph

    static OverlaySettings from(const UserDefaultUtil &store)
    {
        return {store.dateFormat, int(store.timeZone), store.summerTime, store.speedMeter};
    }
};

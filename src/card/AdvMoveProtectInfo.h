// One 512-byte record of the card's adventure protection file "ADV_PRCT.DAT".
#pragma once

#include "card/ProtectRecordFields.h"

#include "card/EventRecordCache.h"
#include "recording/Date.h"

#include <QString>
#include <cstdint>
#include <span>

// The thread-safe caches (eventChapter, pathThumbnail, retryCntThumbnail) come from EventRecordCache.
class AdvMoveProtectInfo : public EventRecordCache, public ProtectRecordFields
{
public:
    static constexpr qsizetype RECORD_SIZE = 512;
    static constexpr qsizetype HEADER_SIZE = 512;

    explicit AdvMoveProtectInfo(std::span<const uint8_t> data);
    AdvMoveProtectInfo(const AdvMoveProtectInfo &) = delete;
    AdvMoveProtectInfo &operator=(const AdvMoveProtectInfo &) = delete;

    bool parse(std::span<const uint8_t> data);
    // The file number of `_fileName`: the last four characters of its base name, 0 when not a number.
    int32_t fileNumber() const;

    // Set by the parser, read-only afterwards.
    bool _infoEnable = false;
    bool _readStopFlag = false; // cleared again by the constructor: this file has no end marker
    Date _endDatetime = Date::distantPast();
    uint8_t advModeStartFlg = 0;
};

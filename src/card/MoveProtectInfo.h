// One 512-byte record of the card's event protection file "MOV_PRCT.DAT" (G, surveillance or switch event).
#pragma once

#include "card/ProtectRecordFields.h"

#include "card/EventRecordCache.h"
#include "recording/Date.h"

#include <QString>
#include <cstdint>
#include <mutex>
#include <span>

// The thread-safe caches (eventChapter, pathThumbnail, retryCntThumbnail) come from EventRecordCache.
class MoveProtectInfo : public EventRecordCache, public ProtectRecordFields
{
public:
    // The section of the file a record comes from; the raw value is the section number.
    enum class DetectStatus
    {
        NON = 0,
        G = 1,
        SURV = 2,
        SW = 3
    };

    static constexpr qsizetype RECORD_SIZE = 512;
    static constexpr qsizetype HEADER_SIZE = 512;

    MoveProtectInfo(std::span<const uint8_t> data, DetectStatus detect);
    MoveProtectInfo(const MoveProtectInfo &) = delete;
    MoveProtectInfo &operator=(const MoveProtectInfo &) = delete;

    bool parse(std::span<const uint8_t> data);

    // Set by the parser, read-only afterwards.
    bool _isInfoEnable = false;
    bool _isReadStopFlag = false; // type byte 0xFF: end marker
    int32_t _protectType = 0;
    int32_t _survRecValidData = 0; // a surveillance record counts only when not 0
    DetectStatus _detect = DetectStatus::NON;
};

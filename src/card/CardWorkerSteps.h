// What the card's two background workers do in one step: which chapter or event record comes next
// (what the user looks at first, then everything), and the attempt at it. The card owns the workers;
// these rules only read its lists.
#pragma once

#include "card/TripScanCursor.h"

#include <cstdint>
#include <memory>
#include <vector>

class CardData;
class ChapterData;
class MoveProtectInfo;

class CardWorkerSteps
{
public:
    // Where one worker's searches resume, list by list; used by one thread at a time.
    struct Scan
    {
        TripScanCursor tab, adv, all;
        const void *records = nullptr; // the event list the count below belongs to
        size_t recordsDone = 0;        // its leading records that are done
        uint64_t givenBack = 0;        // CardData::_thumbnailsGivenBack as last seen
    };

    // The chapter whose driving data, or whose (or whose event's) thumbnail, this step made; none when
    // every candidate failed or none was left (worker threads).
    static std::shared_ptr<ChapterData> nextPictureData(CardData &card, Scan &scan);
    static std::shared_ptr<ChapterData> nextThumbnail(CardData &card, Scan &scan);
    // True when this call gave the record its still.
    static bool eventThumbnail(CardData &card, MoveProtectInfo &record);

    // Candidates tried by the current step on this thread, failed or not: a step that tried none
    // found nothing left to try.
    static void resetAttempts();
    static int64_t attempts();
};

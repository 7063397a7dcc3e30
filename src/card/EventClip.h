// A playable clip around an event, surveillance or adventure record: its chapters and where to play.
#pragma once

#include "card/TripData.h"

#include <cstdint>
#include <optional>

struct EventClip
{
    // The chapters in time order; none when the record's own chapter is not on the card.
    std::optional<ChapterList> chapters;
    int64_t position = 0; // the record's moment on the clip's timeline, ms (adventures: -1)
    int64_t start = 0;    // where playback begins, ms
    int64_t end = 0;      // where it ends, ms
};

// A chapter node of the backup tree: one movie file of a trip, with its check state and size.
#pragma once

#include "recording/Date.h"

#include <QUrl>
#include <array>
#include <cstdint>

struct BackupItem
{
    std::array<int, 2> idx{};   // trip index in the card's full trip list, chapter index in the sorted trip
    int chapterItem = 0;        // check state: 1 on, 0 off
    Date startingTime;          // the chapter's start time
    bool dateEvent = false;     // the chapter lies in the clip of at least one event record
    std::uint64_t fileSize = 0; // bytes of the movie file; 0 when it could not be read
    QUrl filePath;              // the movie file
};

// A trip node of the backup tree: the trip's chapters and the trip's tri-state check box.
#pragma once

#include "maintenance/BackupItem.h"

#include <vector>

struct Backup
{
    std::vector<BackupItem> children; // chapters in start-time order; never empty
    int idx = 0;                      // position of the trip in the card's full trip list
    int trip = 0;                     // 1 every child on, 0 none on, -1 some on
    Date startingTime;                // start of the first chapter
    bool dateEvent = false;           // some child lies in an event clip
};

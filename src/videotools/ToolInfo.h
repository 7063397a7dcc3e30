// What the main window hands a tool when it opens it: the item being played and the marked range.
#pragma once

#include "card/ChapterTimeline.h"
#include "card/TripData.h"
#include "recording/CommonConst.h"

#include <QUrl>
#include <cstdint>
#include <memory>
#include <optional>

enum class ToolType
{
    Trim = 0,
    Capture = 1,
};

// Positions are plain milliseconds on the played item's timeline (the track bar's values), so the tools
// need nothing of the player.
struct ToolInfo
{
    ToolType type = ToolType::Trim;
    std::shared_ptr<ChapterData> chapter; // the chapter being shown; null when the player's index is outside
    ChapterList chapterList;              // the played item's chapters in timeline order
    // The player's timeline when the tool opened, on which the positions lie: its lengths may be the ones
    // known so far, and the positions name its chapters and offsets whatever is learned later. Empty: the
    // chapters' own.
    ChapterTimeline timeline;
    std::optional<int64_t> selectStartSumFrameTS; // the trim selection's start
    std::optional<int64_t> selectEndSumFrameTS;   // the current position, rounded down
    CommonConst::RecMode recMode = CommonConst::RecMode::Nomal;
    int64_t currentCMtimeMs = 0;        // the player's time in its current movie; 0 without one
    double brightBarVal = 1.0;          // the brightness slider, 1.0 neutral
    std::optional<QUrl> openSourcePath; // the opened card or backup, which the tools never write into

    ChapterTimeline positionsTimeline() const
    {
        return timeline.size() == chapterList.size() ? timeline : ChapterTimeline(chapterList);
    }
};

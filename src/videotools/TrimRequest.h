// Everything one trim needs, taken on the main thread before the worker starts: the worker reads no
// widget and no setting.
#pragma once

#include "card/ChapterTimeline.h"
#include "card/TripData.h"
#include "videotools/OverlayFlags.h"
#include "videotools/OverlaySettings.h"

#include <QString>
#include <QUrl>
#include <cstdint>
#include <optional>

struct TrimRequest
{
    ChapterList chapters; // the played item's chapters in timeline order
    int64_t startMs = 0;  // the selection on their timeline
    int64_t endMs = 0;
    // The selection as the chapters and offsets of its ends on the timeline it was made on, whose lengths
    // may be the ones known so far: it names the same pictures once the rest are known. Without them,
    // startMs and endMs lie on the chapters' own lengths.
    std::optional<ChapterTimeline::Place> startPlace;
    std::optional<ChapterTimeline::Place> endPlace;
    OverlayFlags flags; // what to burn in (all off for a trimmed clip as source)
    OverlaySettings overlaySettings;
    QString destination;                // the clip's path
    std::optional<QUrl> openSourcePath; // the opened card or backup: never written into
    QString workFolderBase; // the job makes its private work folder below it (created when missing)
    QString ffmpegProgram;  // empty: "ffmpeg" from the PATH

    void select(const ChapterTimeline &timeline, int64_t start, int64_t end)
    {
        startMs = start;
        endMs = end;
        startPlace = timeline.place(start);
        endPlace = timeline.place(end);
    }
};

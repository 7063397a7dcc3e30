// The overlay text of one frame's driving data, and the ASS subtitle file that burns it into a cut.
#pragma once

#include "videotools/OverlayFlags.h"
#include "videotools/OverlaySettings.h"

#include <QString>
#include <cstdint>

class ChapterData;
class VideoFrame;
class VideoInfo;

class SubtitleWriter
{
public:
    static inline const QString ASS_FILE_NAME = QStringLiteral("movinfo.ass");

    // The labels are translated once here, on the thread that makes the writer.
    explicit SubtitleWriter(OverlaySettings settings);

    // Date, speed, acceleration and position in that order, each only when its flag is set; empty
    // without flags.
    QString makeInfoText(const VideoFrame &frame, OverlayFlags flags) const;

    // ms as "HH:MM:SS.cc", the form of subtitle times.
    static QString assTimeText(int64_t ms);
    // The whole subtitle document for a movie of width x height showing the recording: one event per
    // camera-0 frame (after the first) from the previous frame's movie time to its own. No events
    // without a recording.
    QString assDocument(VideoInfo *recording, int width, int height, OverlayFlags flags) const;

    // Writes the chapter's subtitle file to path (replacing it). The path; empty when no flag is set,
    // the movie has no picture, or the file was not written.
    QString ASSCreate(ChapterData &chapter, OverlayFlags flags, const QString &path) const;

private:
    OverlaySettings _settings;
    QString strDate;
    QString strSpeed;
    QString strAccel;
    QString strLat;
    QString strLon;
};

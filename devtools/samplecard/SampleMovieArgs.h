// ffmpeg's arguments for the base movie of a synthetic chapter: the moving test pattern with sound,
// optionally stamped with its frame number and with the recording time as a camera stamps it.
#pragma once

#include "samplecard/SampleScenario.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

class SampleMovieArgs
{
public:
    SampleMovieArgs() = delete;

    // Everything after "ffmpeg" that writes a movie of durationMs to out. With stampStartMs (ms since
    // the epoch) and the scenario's timeStamp the picture shows that time counting on (UTC).
    static QStringList forMovie(const SampleScenario &scenario, int durationMs,
                                std::optional<int64_t> stampStartMs, const QString &out);

    // The frame stamp is the frame number in 16 blocks of 32x32 pixels along the top left, bit 0
    // first, white for 1 and black for 0, readable from a screenshot of the picture.
    static QString frameStampFilter();
    // drawtext at the bottom left: "yyyy/MM/dd hh:mm:ss UTC" from startMs on, sized for the picture
    // height. fontFile empty: the font fontconfig picks.
    static QString timeStampFilter(int64_t startMs, int height, const QString &fontFile);
    // The first of the fonts the set-up installs that is present here, or empty.
    static QString stampFont();
};

// Takes one still picture out of a movie file with FFmpeg's libraries, for list thumbnails and stills.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>
#include <optional>

class MovieInput;

class MovieStillGrabber
{
public:
    // Largest still the lists show; bigger frames are scaled down to fit, keeping their aspect.
    static constexpr QSize MAX_SIZE{320, 180};
    // No scaling: the movie's own picture size.
    static constexpr QSize NATURAL_SIZE{1 << 16, 1 << 16};

    // The frame on screen at positionMs (milliseconds from the start of the movie's timeline; a frame
    // that starts less than half a millisecond after it counts, as its start rounded to whole ms),
    // scaled down to fit maxSize. None when the movie cannot be opened or decoded, or when the
    // position lies before the start or after the end of the video. Only regular files are read;
    // cancel (may be null) or the input's time limit stops the work. problem (may be null) gets the
    // reason, for the user, when the file itself could not be opened or read.
    static std::optional<QImage> grab(const QString &moviePath, qint64 positionMs, QSize maxSize = MAX_SIZE,
                                      const std::atomic<bool> *cancel = nullptr, QString *problem = nullptr);

private:
    static std::optional<QImage> grabFrom(const MovieInput &input, qint64 positionMs, QSize maxSize);
};

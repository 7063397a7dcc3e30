// Length, picture size and sound codec of a movie file, read from its container with FFmpeg's libraries.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class MovieProbe
{
public:
    MovieProbe() = delete;

    struct Info
    {
        int64_t durationMs = 0; // the container's duration rounded down; 0 when it gives none
        bool hasVideo = false;  // its streams were read and one of them is video
        int width = 0;          // of the first video stream; 0 when there is none
        int height = 0;
        int64_t videoFrames = 0; // pictures of that stream as the container counts them; 0 when unknown
        // Where that stream's last picture ends, in ms of movie time rounded down; 0 when unknown. The
        // sound may run on past it, so the container's duration can be longer.
        int64_t pictureEndMs = 0;
        double frameRate = 0.0; // that stream's average pictures a second; 0 when unknown
        QString soundCodec;     // FFmpeg's name of the first sound stream's codec; empty without one
    };

    // None when the file cannot be opened as a movie.
    static std::optional<Info> probe(const QString &path);
    // The same, answered from the last few files probed this way while their size, time stamp and inode
    // stay the same: a file probed on a worker ahead of its use costs its user no read. Thread-safe.
    static std::optional<Info> probeKept(const QString &path);
};

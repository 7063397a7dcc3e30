// Length and picture size of a movie file, read from its container with FFmpeg's libraries.
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
        int width = 0;          // of the first video stream; 0 when there is none
        int height = 0;
    };

    // None when the file cannot be opened as a movie.
    static std::optional<Info> probe(const QString &path);
};

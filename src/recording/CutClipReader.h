// Rebuilds the driving data of a clip cut by the trim tool from the keyed archive in its udat box.
#pragma once

#include "recording/Date.h"

#include <cstdint>
#include <optional>
#include <span>

class VideoInfo;

class CutClipReader
{
public:
    // The millisecond counters of the clip's kept frames, for the time span and the detection key.
    struct Counters
    {
        uint32_t smallest = 0;
        uint32_t largest = 0;
    };

    CutClipReader() = delete;

    // archive: the udat payload after its 8-byte file-information item. Fills the header values, the
    // recording settings, the overlay flags and the camera 0 and 1 tables of info; sets isError when no
    // frame is kept. None when the archive cannot be read: the MP4 reader then returns no recording.
    // The detection stays as the archive holds it; the MP4 reader finishes the recording (key lists,
    // time span) afterwards.
    static std::optional<Counters> read(VideoInfo &info, std::span<const uint8_t> archive, const Date &left,
                                        const Date &right, bool &isError);
};

#include "recording/CutClipReader.h"

#include "recording/VideoInfo.h"

// The clip archive's classes and their keyed decoding come with the trim tool's clip format; until
// then a clip's archive is not understood and the clip reads as a file without driving data.
std::optional<CutClipReader::Counters> CutClipReader::read(VideoInfo &, std::span<const uint8_t>,
                                                           const Date &, const Date &, bool &)
{
    return std::nullopt;
}

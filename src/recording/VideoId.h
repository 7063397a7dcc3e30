// Identifier byte of a sample in the card's recordings: picture frames and sound blocks.
#pragma once

#include "recording/EnumCases.h"

#include <cstdint>

enum class VideoId : std::uint8_t
{
    Image = 0x55,
    Sound = 0xAA,
};

inline constexpr auto VIDEO_ID_CASES = std::to_array<EnumCase<VideoId>>({
    {VideoId::Image, "Image"},
    {VideoId::Sound, "Sound"},
});

constexpr std::optional<VideoId> videoIdFromRaw(std::uint8_t raw)
{
    return enumFromRaw(VIDEO_ID_CASES, raw);
}

// Identifier byte of a sample in the card's recordings: picture frames and sound blocks.
#pragma once

#include <cstdint>
#include <optional>

enum class VideoId : std::uint8_t
{
    Image = 0x55,
    Sound = 0xAA,
};

// None for any byte other than 0x55 and 0xAA.
constexpr std::optional<VideoId> videoIdFromRaw(std::uint8_t raw)
{
    if (raw == 0x55)
        return VideoId::Image;
    if (raw == 0xAA)
        return VideoId::Sound;
    return std::nullopt;
}

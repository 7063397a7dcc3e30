// What the DAT readers share: the 8-byte setting items of their file headers, the user-code texts, the
// violation fields and the header file beside a recording.
#pragma once

#include "recording/PlaybackInfo.h"
#include "recording/VideoFrame.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <span>

class DatHeader
{
public:
    DatHeader() = delete;

    static constexpr size_t ITEM_SIZE = 8;

    struct Item
    {
        std::optional<uint8_t> type; // decimal; none when the byte is not packed BCD
        std::optional<uint8_t> subtype;
        std::span<const uint8_t> data; // the 5 data bytes

        bool is(uint8_t t, uint8_t s) const { return type == t && subtype == s; }
        bool valid() const { return type && subtype; }
    };

    // bytes holds at least ITEM_SIZE bytes.
    static Item item(std::span<const uint8_t> bytes);
    // Packed BCD byte to 0-99; none for a nibble above 9.
    static std::optional<uint8_t> bcd(uint8_t value);
    // "%08d" of the eight BCD digits of data bytes 0-3; none on a bad digit.
    static std::optional<QString> codeText(std::span<const uint8_t> data);
    // One of data bytes 0-3 is 0xFF: the camera's "no driver" mark.
    static bool hasNoCodeMark(std::span<const uint8_t> data);
    // The items all layouts act on alike (4/6 d2US, 8/1 gValue, 9/1 eventFPS, 10/3 movieFPS); false
    // for any other item.
    static bool applyCommon(const Item &item, PlaybackInfo &playback);

    // Violation code and qualifier bytes by the MP4 reader's mapping (a non-zero qualifier withdraws an
    // overspeed); a bad digit sets isError and leaves the frame's value.
    static void decodeViolation(uint8_t code, uint8_t qualifier, VideoFrame &frame, bool &isError);
    // The 24-bit position words at the two offsets; all three longitude bytes 0xFF mean no position.
    // False when the record carries none.
    static bool decodePosition(std::span<const uint8_t> record, qsizetype longitudeOffset,
                               qsizetype latitudeOffset, VideoFrame &frame);

    // "Playback.inf" in the folder of the recording file.
    static QString playbackPath(const QString &filePath);
};

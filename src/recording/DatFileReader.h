// A recording file opened for bounded positioned reads into the caller's buffers, through the card
// files' BoundedFileReader (regular files only, never mapped), plus the reads the DAT layouts need.
#pragma once

#include "platform/BoundedFileReader.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>

class DatFileReader
{
public:
    // Bounds of one recording file, whatever its records claim: past them the file is corrupt or
    // crafted, and the reader stops there (with isError) instead of filling memory.
    // Frames kept: an hour at 30 frames a second from two cameras, as for a movie without a header.
    static constexpr size_t MAX_FRAMES = 2 * 30 * 3600 + 300;
    // Records looked at, of every kind (pictures, sound and the rest), where they are read in blocks.
    static constexpr size_t MAX_RECORDS = 1 << 19;
    // Steps of a walk that reads each block, record or frame header on its own: the event, legacy and
    // divided layouts, whose files hold pictures of a short recording (thousands of frames).
    static constexpr size_t MAX_STEPS = 1 << 14;
    // Picture bytes kept in memory across a recording's frames.
    static constexpr uint64_t MAX_IMAGE_BYTES = 64ull << 20;

    explicit DatFileReader(const QString &path) : _file(path) {}
    DatFileReader(const DatFileReader &) = delete;
    DatFileReader &operator=(const DatFileReader &) = delete;

    // False when the path is not a regular file that could be opened for reading.
    bool isOpen() const { return _file.isOpen(); }
    // Length at open time.
    uint64_t size() const { return _file.size(); }

    // Fills out with the bytes at offset; false when they are not all inside the file or the read fails.
    bool readAt(uint64_t offset, std::span<uint8_t> out) const;
    // length bytes at offset, refused (nullopt) when length exceeds maxLength, the format's bound.
    std::optional<QByteArray> read(uint64_t offset, uint64_t length, uint64_t maxLength) const;
    // Offset of the first (or, with last, the final) occurrence of needle wholly inside [from, to),
    // searched through a fixed window.
    std::optional<uint64_t> find(uint64_t from, uint64_t to, std::span<const uint8_t> needle,
                                 bool last = false) const;

private:
    // Reads only record why they failed; the readers ask for nothing but success.
    mutable BoundedFileReader _file;
};

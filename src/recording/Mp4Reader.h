// Walks the top-level boxes of an MP4 file and decodes the camera's entry table in its udat box.
#pragma once

#include <QString>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class BoundedFileReader;

class Mp4Reader
{
public:
    static constexpr const char *BOXTYPE_FTYP = "ftyp";
    static constexpr const char *BOXTYPE_MOOV = "moov";
    static constexpr const char *BOXTYPE_UDAT = "udat";
    static constexpr const char *BOXTYPE_MDAT = "mdat";

    // Bytes read from one file at most: the udat box of a real chapter is about 110 KB, so a
    // larger claim is a lie about the file and is not allocated.
    static constexpr uint64_t MAX_READ_BYTES = 64ull << 20;
    // Top-level boxes walked at most: a chapter has four or five, and a file of millions of tiny
    // boxes would take a read each.
    static constexpr int MAX_TOP_LEVEL_BOXES = 1024;

    enum class BoxType
    {
        Ftyp,
        Moov,
        Udat,
        Mdat,
    };

    // One top-level box as found by the walk; it lies wholly inside the file.
    struct MP4Box
    {
        uint64_t _offset = 0; // of the 8-byte header in the file
        uint32_t _boxLen = 0; // header included
    };

    // Opens a regular file and walks its boxes with positioned reads; the udat box is read into a
    // buffer of the reader's own. A file that cannot be read gives no boxes and an error().
    explicit Mp4Reader(const QString &path);
    // Walks bytes the caller keeps alive (fuzzing, tests).
    explicit Mp4Reader(std::span<const uint8_t> bytes);
    // The reader keeps a view of the bytes: a temporary buffer would be gone after the walk.
    explicit Mp4Reader(std::vector<uint8_t> &&) = delete;
    Mp4Reader(const Mp4Reader &) = delete;
    Mp4Reader &operator=(const Mp4Reader &) = delete;
    ~Mp4Reader();

    bool isOpen() const { return _isOpen; }
    // Why a read of the file failed (the open, a box, an entry); empty while none did.
    const QString &error() const { return _error; }
    uint64_t fileSize() const { return _fileSize; }
    const std::map<BoxType, MP4Box> &boxData() const { return _boxData; }
    // The bytes after the 8-byte header of a box; empty when there is no such box or it cannot be read.
    std::span<const uint8_t> readPayload(BoxType type) const;
    // The udat entry table: file offset -> byte count; empty when there is no table.
    std::map<uint32_t, uint32_t> readUdatTable() const;
    // byteCount bytes at offset of the file; empty when they run past the end or cannot be read.
    std::span<const uint8_t> readEntry(uint64_t offset, uint64_t byteCount) const;
    // The movie's length from the moov box's movie header; none without one.
    std::optional<int64_t> movieDurationMs() const;

private:
    void loadBoxes();
    // The bytes at offset, from memory or read into a buffer the reader keeps; empty on failure.
    std::span<const uint8_t> bytesAt(uint64_t offset, uint64_t count) const;

    std::unique_ptr<BoundedFileReader> _file;
    std::span<const uint8_t> _fsMp4; // the whole file when reading from memory
    uint64_t _fileSize = 0;
    std::map<BoxType, MP4Box> _boxData;
    bool _isOpen = false;
    // Reads from a file: kept for the reader's life, since callers hold spans of them.
    mutable std::deque<std::vector<uint8_t>> _buffers;
    mutable std::map<BoxType, std::span<const uint8_t>> _payloads;
    mutable uint64_t _bytesRead = 0;
    mutable QString _error;
};

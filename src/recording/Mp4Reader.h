// Walks the top-level boxes of an MP4 file and decodes the camera's entry table in its udat box.
#pragma once

#include "recording/MappedFile.h"

#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

class Mp4Reader
{
public:
    static constexpr const char *BOXTYPE_FTYP = "ftyp";
    static constexpr const char *BOXTYPE_MOOV = "moov";
    static constexpr const char *BOXTYPE_UDAT = "udat";
    static constexpr const char *BOXTYPE_MDAT = "mdat";

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

    // Maps the file and walks its boxes. A file that cannot be read gives no boxes.
    explicit Mp4Reader(const QString &path);
    // Walks bytes the caller keeps alive (fuzzing, tests).
    explicit Mp4Reader(std::span<const uint8_t> bytes);
    // The reader keeps a view of the bytes: a temporary buffer would be gone after the walk.
    explicit Mp4Reader(std::vector<uint8_t> &&) = delete;
    Mp4Reader(const Mp4Reader &) = delete;
    Mp4Reader &operator=(const Mp4Reader &) = delete;

    bool isOpen() const { return _isOpen; }
    std::span<const uint8_t> fileBytes() const { return _fsMp4; }
    const std::map<BoxType, MP4Box> &boxData() const { return _boxData; }
    // The bytes after the 8-byte header of a box; empty when there is no such box.
    std::span<const uint8_t> readPayload(BoxType type) const;
    // The udat entry table: file offset -> byte count; empty when there is no table.
    std::map<uint32_t, uint32_t> readUdatTable() const;
    // byteCount bytes at offset of the file; empty when they run past the end.
    std::span<const uint8_t> readEntry(uint64_t offset, uint64_t byteCount) const;

private:
    void loadBoxes();

    MappedFile _file;
    std::span<const uint8_t> _fsMp4;
    std::map<BoxType, MP4Box> _boxData;
    bool _isOpen = false;
};

#include "recording/Mp4Reader.h"

#include "platform/BoundedFileReader.h"

#include <QCoreApplication>

#include <array>
#include <cstring>

namespace {

uint32_t readU32(std::span<const uint8_t> b, size_t at)
{
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | uint32_t(b[at + 3]);
}

uint64_t readU64(std::span<const uint8_t> b, size_t at)
{
    return uint64_t(readU32(b, at)) << 32 | readU32(b, at + 4);
}

// A movie header (version 1 is the 64-bit form): time scale and duration.
constexpr size_t MVHD_V0_BYTES = 20;
constexpr size_t MVHD_V1_BYTES = 32;
// Children of moov looked at for the movie header; writers put it first.
constexpr int MAX_MOOV_CHILDREN = 16;

} // namespace

Mp4Reader::Mp4Reader(const QString &path) : _file(std::make_unique<BoundedFileReader>(path))
{
    if (!_file->isOpen()) {
        _error = _file->error();
        return;
    }
    _isOpen = true;
    _fileSize = _file->size();
    loadBoxes();
}

Mp4Reader::Mp4Reader(std::span<const uint8_t> bytes) : _fsMp4(bytes), _fileSize(bytes.size()), _isOpen(true)
{
    loadBoxes();
}

Mp4Reader::~Mp4Reader() = default;

std::span<const uint8_t> Mp4Reader::bytesAt(uint64_t offset, uint64_t count) const
{
    if (offset > _fileSize || count > _fileSize - offset || count == 0)
        return {};
    if (!_file)
        return _fsMp4.subspan(offset, count);
    if (count > MAX_READ_BYTES - std::min(_bytesRead, MAX_READ_BYTES)) {
        _error = QCoreApplication::translate("Mp4Reader", "its driving data claim more than %1 bytes")
                     .arg(MAX_READ_BYTES);
        return {};
    }
    std::vector<uint8_t> buffer(count);
    if (!_file->readInto(offset, buffer)) {
        _error = _file->error();
        return {};
    }
    _bytesRead += count;
    _buffers.push_back(std::move(buffer));
    return _buffers.back();
}

void Mp4Reader::loadBoxes()
{
    const uint64_t size = _fileSize;
    uint64_t offset = 0;
    std::array<uint8_t, 8> header{};
    // Every header read is bounds-checked: a box header in the last 7 bytes ends the walk.
    for (int boxes = 0; offset + 8 <= size; ++boxes) {
        if (boxes == MAX_TOP_LEVEL_BOXES) {
            _error =
                QCoreApplication::translate("Mp4Reader", "holds more than %1 boxes").arg(MAX_TOP_LEVEL_BOXES);
            break;
        }
        if (_file) {
            if (!_file->readInto(offset, header)) {
                _error = _file->error();
                break;
            }
        } else {
            std::memcpy(header.data(), _fsMp4.data() + offset, 8);
        }
        // A length with the top bit set reads as a negative 32-bit number and counts as 0.
        uint32_t length = readU32(header, 0);
        if (length & 0x80000000u)
            length = 0;
        // Lengths 0 (to end of file) and 1 (64-bit form) are not supported: below 8, they end the walk.
        if (length < 8 || offset + length > size)
            break;
        const char *type = reinterpret_cast<const char *>(header.data() + 4);
        std::optional<BoxType> known;
        if (std::memcmp(type, BOXTYPE_FTYP, 4) == 0)
            known = BoxType::Ftyp;
        else if (std::memcmp(type, BOXTYPE_MOOV, 4) == 0)
            known = BoxType::Moov;
        else if (std::memcmp(type, BOXTYPE_UDAT, 4) == 0)
            known = BoxType::Udat;
        else if (std::memcmp(type, BOXTYPE_MDAT, 4) == 0)
            known = BoxType::Mdat;
        if (known)
            _boxData[*known] = MP4Box{offset, length};
        // The movie data can be huge; nothing after udat and mdat is needed.
        if (_boxData.contains(BoxType::Udat) && _boxData.contains(BoxType::Mdat))
            break;
        offset += length;
    }
}

std::span<const uint8_t> Mp4Reader::readPayload(BoxType type) const
{
    const auto it = _boxData.find(type);
    if (it == _boxData.end())
        return {};
    if (const auto cached = _payloads.find(type); cached != _payloads.end())
        return cached->second;
    const auto payload = bytesAt(it->second._offset + 8, it->second._boxLen - 8);
    _payloads[type] = payload;
    return payload;
}

std::map<uint32_t, uint32_t> Mp4Reader::readUdatTable() const
{
    std::map<uint32_t, uint32_t> table;
    const auto payload = readPayload(BoxType::Udat);
    if (payload.size() <= 16)
        return table;
    const uint32_t count = readU32(payload, 4);
    if (count == 0)
        return table;
    // An entry is read only while at least one payload byte follows it; a repeated offset
    // replaces the earlier size and does not count again.
    for (size_t p = 8; p + 8 < payload.size() && table.size() < count; p += 8)
        table[readU32(payload, p)] = readU32(payload, p + 4);
    return table;
}

std::span<const uint8_t> Mp4Reader::readEntry(uint64_t offset, uint64_t byteCount) const
{
    if (offset > _fileSize || byteCount > _fileSize - offset)
        return {};
    // The camera's entries lie inside the udat box, which is already in memory.
    if (const auto udat = _boxData.find(BoxType::Udat); _file && udat != _boxData.end()) {
        const uint64_t start = udat->second._offset + 8;
        if (offset >= start && offset + byteCount <= udat->second._offset + udat->second._boxLen) {
            const auto payload = readPayload(BoxType::Udat);
            if (payload.empty())
                return {};
            return payload.subspan(offset - start, byteCount);
        }
    }
    return bytesAt(offset, byteCount);
}

std::optional<int64_t> Mp4Reader::movieDurationMs() const
{
    const auto moov = _boxData.find(BoxType::Moov);
    if (moov == _boxData.end())
        return std::nullopt;
    const uint64_t end = moov->second._offset + moov->second._boxLen;
    const auto peek = [this](uint64_t at, std::span<uint8_t> out) {
        if (at > _fileSize || out.size() > _fileSize - at)
            return false;
        if (!_file) {
            std::memcpy(out.data(), _fsMp4.data() + at, out.size());
            return true;
        }
        return _file->readInto(at, out);
    };
    uint64_t child = moov->second._offset + 8;
    std::array<uint8_t, 8 + 4 + MVHD_V1_BYTES> head{};
    for (int i = 0; i < MAX_MOOV_CHILDREN && child + 8 <= end; ++i) {
        if (!peek(child, std::span(head).first(8)))
            return std::nullopt;
        const uint32_t length = readU32(head, 0);
        if (length < 8 || child + length > end)
            return std::nullopt;
        if (std::memcmp(head.data() + 4, "mvhd", 4) == 0) {
            if (length < 12 || !peek(child + 8, std::span(head).subspan(8, 4)))
                return std::nullopt;
            const bool wide = head[8] == 1;
            const size_t fields = wide ? MVHD_V1_BYTES : MVHD_V0_BYTES;
            if (length < 12 + fields || !peek(child + 12, std::span(head).subspan(12, fields)))
                return std::nullopt;
            const uint32_t timeScale = wide ? readU32(head, 12 + 16) : readU32(head, 12 + 8);
            const uint64_t duration = wide ? readU64(head, 12 + 20) : readU32(head, 12 + 12);
            // An unknown duration (all ones) or scale says nothing about the movie's length.
            if (timeScale == 0 || duration == UINT64_MAX || (!wide && duration == UINT32_MAX) ||
                duration / timeScale > uint64_t(INT32_MAX))
                return std::nullopt;
            return int64_t(duration / timeScale * 1000 + duration % timeScale * 1000 / timeScale);
        }
        child += length;
    }
    return std::nullopt;
}

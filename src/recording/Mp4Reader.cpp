#include "recording/Mp4Reader.h"

#include <cstring>

namespace {

uint32_t readU32(std::span<const uint8_t> b, size_t at)
{
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | uint32_t(b[at + 3]);
}

} // namespace

Mp4Reader::Mp4Reader(const QString &path)
{
    if (_file.open(path)) {
        _isOpen = true;
        _fsMp4 = _file.bytes();
        loadBoxes();
    }
}

Mp4Reader::Mp4Reader(std::span<const uint8_t> bytes) : _fsMp4(bytes), _isOpen(true)
{
    loadBoxes();
}

void Mp4Reader::loadBoxes()
{
    const uint64_t size = _fsMp4.size();
    uint64_t offset = 0;
    // Every header read is bounds-checked: a box header in the last 7 bytes ends the walk.
    while (offset + 8 <= size) {
        // A length with the top bit set reads as a negative 32-bit number and counts as 0.
        uint32_t length = readU32(_fsMp4, offset);
        if (length & 0x80000000u)
            length = 0;
        // Lengths 0 (to end of file) and 1 (64-bit form) are not supported: below 8, they end the walk.
        if (length < 8 || offset + length > size)
            break;
        const char *type = reinterpret_cast<const char *>(_fsMp4.data() + offset + 4);
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
    return _fsMp4.subspan(it->second._offset + 8, it->second._boxLen - 8);
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
    if (offset > _fsMp4.size() || byteCount > _fsMp4.size() - offset)
        return {};
    return _fsMp4.subspan(offset, byteCount);
}

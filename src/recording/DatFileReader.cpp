#include "recording/DatFileReader.h"

#include <algorithm>
#include <array>

bool DatFileReader::readAt(uint64_t offset, std::span<uint8_t> out) const
{
    return _file.readInto(offset, out);
}

std::optional<QByteArray> DatFileReader::read(uint64_t offset, uint64_t length, uint64_t maxLength) const
{
    if (length > maxLength || offset > size() || length > size() - offset)
        return std::nullopt;
    QByteArray bytes(qsizetype(length), Qt::Uninitialized);
    if (!readAt(offset, std::span(reinterpret_cast<uint8_t *>(bytes.data()), size_t(length))))
        return std::nullopt;
    return bytes;
}

std::optional<uint64_t> DatFileReader::find(uint64_t from, uint64_t to, std::span<const uint8_t> needle,
                                            bool last) const
{
    constexpr size_t WINDOW = 64 * 1024;
    to = std::min(to, size());
    if (needle.empty() || needle.size() > WINDOW || from >= to || to - from < needle.size())
        return std::nullopt;
    std::array<uint8_t, WINDOW> buffer;
    std::optional<uint64_t> found;
    // Windows overlap by needle.size() - 1 bytes so a match across their boundary is seen.
    const uint64_t stride = WINDOW - (needle.size() - 1);
    for (uint64_t at = from; at + needle.size() <= to; at += stride) {
        const size_t length = size_t(std::min<uint64_t>(WINDOW, to - at));
        if (!readAt(at, std::span(buffer.data(), length)))
            return found;
        const auto begin = buffer.begin();
        const auto end = buffer.begin() + ptrdiff_t(length);
        auto hit = std::search(begin, end, needle.begin(), needle.end());
        while (hit != end) {
            found = at + uint64_t(hit - begin);
            if (!last)
                return found;
            hit = std::search(hit + 1, end, needle.begin(), needle.end());
        }
        if (at + length >= to)
            break;
    }
    return found;
}

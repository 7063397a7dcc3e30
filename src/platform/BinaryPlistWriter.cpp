#include "platform/BinaryPlistWriter.h"

#include <QtEndian>
#include <bit>

namespace {

void appendBigEndian(QByteArray &out, std::uint64_t value, int size)
{
    for (int shift = (size - 1) * 8; shift >= 0; shift -= 8) {
        out.append(char((value >> shift) & 0xFF));
    }
}

int bytesFor(std::uint64_t value)
{
    return value <= 0xFF ? 1 : value <= 0xFFFF ? 2 : value <= 0xFFFFFFFFu ? 4 : 8;
}

// An integer object: 0x1n with 2^n bytes; negative numbers always take 8 bytes (signed).
void appendInteger(QByteArray &out, std::int64_t value)
{
    const int size = value < 0 ? 8 : bytesFor(std::uint64_t(value));
    out.append(char(0x10 | std::countr_zero(unsigned(size))));
    appendBigEndian(out, std::uint64_t(value), size);
}

// Marker with a count: counts of 15 and more follow the marker as an integer object.
void appendMarker(QByteArray &out, std::uint8_t type, std::size_t count)
{
    if (count < 15) {
        out.append(char(type | count));
    } else {
        out.append(char(type | 0x0F));
        appendInteger(out, std::int64_t(count));
    }
}

} // namespace

BinaryPlistWriter::Index BinaryPlistWriter::append(Object object)
{
    _objects.push_back(std::move(object));
    return Index(_objects.size() - 1);
}

BinaryPlistWriter::Index BinaryPlistWriter::addInteger(std::int64_t value)
{
    auto [it, inserted] = _integers.try_emplace(value, 0);
    if (inserted) {
        it->second = append(value);
    }
    return it->second;
}

BinaryPlistWriter::Index BinaryPlistWriter::addReal(double value)
{
    auto [it, inserted] = _reals.try_emplace(std::bit_cast<std::uint64_t>(value), 0);
    if (inserted) {
        it->second = append(value);
    }
    return it->second;
}

BinaryPlistWriter::Index BinaryPlistWriter::addBool(bool value)
{
    bool &has = value ? _hasTrue : _hasFalse;
    Index &index = value ? _true : _false;
    if (!has) {
        index = append(value);
        has = true;
    }
    return index;
}

BinaryPlistWriter::Index BinaryPlistWriter::addString(const QString &value)
{
    auto it = _strings.constFind(value);
    if (it != _strings.constEnd()) {
        return *it;
    }
    const Index index = append(value);
    _strings.insert(value, index);
    return index;
}

BinaryPlistWriter::Index BinaryPlistWriter::addUid(std::uint64_t value)
{
    auto [it, inserted] = _uids.try_emplace(value, 0);
    if (inserted) {
        it->second = append(Uid{value});
    }
    return it->second;
}

BinaryPlistWriter::Index BinaryPlistWriter::addArray(std::vector<Index> items)
{
    return append(Array{std::move(items)});
}

BinaryPlistWriter::Index BinaryPlistWriter::addDictionary()
{
    return append(Dictionary{});
}

void BinaryPlistWriter::insert(Index dictionary, const QString &key, Index value)
{
    auto *dict = std::get_if<Dictionary>(&_objects.at(dictionary));
    if (!dict) {
        return;
    }
    const Index keyIndex = addString(key);
    dict = std::get_if<Dictionary>(&_objects[dictionary]); // the vector may have grown
    for (auto &entry : dict->entries) {
        if (entry.first == keyIndex) {
            entry.second = value;
            return;
        }
    }
    dict->entries.emplace_back(keyIndex, value);
}

void BinaryPlistWriter::writeObject(QByteArray &out, const Object &object, int refSize) const
{
    if (const auto *integer = std::get_if<std::int64_t>(&object)) {
        appendInteger(out, *integer);
    } else if (const auto *real = std::get_if<double>(&object)) {
        out.append(char(0x23));
        appendBigEndian(out, std::bit_cast<std::uint64_t>(*real), 8);
    } else if (const auto *boolean = std::get_if<bool>(&object)) {
        out.append(char(*boolean ? 0x09 : 0x08));
    } else if (const auto *text = std::get_if<QString>(&object)) {
        bool ascii = true;
        for (QChar c : *text) {
            ascii = ascii && c.unicode() < 0x80;
        }
        if (ascii) {
            appendMarker(out, 0x50, std::size_t(text->size()));
            out.append(text->toLatin1());
        } else {
            // Counted in UTF-16 code units, big-endian.
            appendMarker(out, 0x60, std::size_t(text->size()));
            for (QChar c : *text) {
                appendBigEndian(out, c.unicode(), 2);
            }
        }
    } else if (const auto *uid = std::get_if<Uid>(&object)) {
        const int size = bytesFor(uid->value);
        out.append(char(0x80 | (size - 1)));
        appendBigEndian(out, uid->value, size);
    } else if (const auto *array = std::get_if<Array>(&object)) {
        appendMarker(out, 0xA0, array->items.size());
        for (Index item : array->items) {
            appendBigEndian(out, item, refSize);
        }
    } else if (const auto *dict = std::get_if<Dictionary>(&object)) {
        appendMarker(out, 0xD0, dict->entries.size());
        for (const auto &entry : dict->entries) {
            appendBigEndian(out, entry.first, refSize);
        }
        for (const auto &entry : dict->entries) {
            appendBigEndian(out, entry.second, refSize);
        }
    }
}

QByteArray BinaryPlistWriter::finish(Index top) const
{
    const int refSize = bytesFor(_objects.empty() ? 0 : _objects.size() - 1);
    QByteArray out("bplist00");
    std::vector<std::uint64_t> offsets;
    offsets.reserve(_objects.size());
    for (const Object &object : _objects) {
        offsets.push_back(std::uint64_t(out.size()));
        writeObject(out, object, refSize);
    }
    const std::uint64_t tableOffset = std::uint64_t(out.size());
    const int offsetSize = bytesFor(offsets.empty() ? 0 : offsets.back());
    for (std::uint64_t offset : offsets) {
        appendBigEndian(out, offset, offsetSize);
    }
    // Trailer: 6 unused bytes, offset size, reference size, object count, top object, table offset.
    out.append(QByteArray(6, '\0'));
    out.append(char(offsetSize));
    out.append(char(refSize));
    appendBigEndian(out, _objects.size(), 8);
    appendBigEndian(out, top, 8);
    appendBigEndian(out, tableOffset, 8);
    return out;
}

#include "platform/ArchivedValue.h"

#include "platform/KeyedUnarchiver.h"

#include <algorithm>
#include <cstdlib>
#include <plist/plist.h>

namespace {
// Seconds from 1970-01-01 to 2001-01-01, the reference date of archived dates.
constexpr double referenceDateOffset = 978307200.0;
} // namespace

std::optional<bool> ArchivedValue::toBool() const
{
    if (_kind != Kind::Boolean) {
        return std::nullopt;
    }
    std::uint8_t value = 0;
    plist_get_bool_val(_node, &value);
    return value != 0;
}

std::optional<std::int64_t> ArchivedValue::toInteger() const
{
    if (_kind != Kind::Integer) {
        return std::nullopt;
    }
    // Stored unsigned by the library; 8-byte integers of a binary property list are signed.
    std::uint64_t value = 0;
    plist_get_uint_val(_node, &value);
    return std::int64_t(value);
}

std::optional<double> ArchivedValue::toReal() const
{
    if (_kind == Kind::Integer) {
        return double(*toInteger());
    }
    if (_kind != Kind::Real) {
        return std::nullopt;
    }
    double value = 0.0;
    plist_get_real_val(_node, &value);
    return value;
}

std::optional<QString> ArchivedValue::toString() const
{
    if (_kind != Kind::String) {
        return std::nullopt;
    }
    plist_t node = _node;
    if (plist_get_node_type(node) == PLIST_DICT) { // NSMutableString instance
        node = plist_dict_get_item(node, "NS.string");
        if (!node || plist_get_node_type(node) != PLIST_STRING) {
            return std::nullopt;
        }
    }
    // The library turns UTF-16 strings of the binary list into UTF-8.
    std::uint64_t length = 0;
    const char *text = plist_get_string_ptr(node, &length);
    return QString::fromUtf8(text, qsizetype(length));
}

std::optional<double> ArchivedValue::toUnixSeconds() const
{
    if (_kind != Kind::Date) {
        return std::nullopt;
    }
    plist_t time = plist_dict_get_item(_node, "NS.time");
    double seconds = 0.0;
    if (plist_get_node_type(time) == PLIST_REAL) {
        plist_get_real_val(time, &seconds);
    } else if (plist_get_node_type(time) == PLIST_UINT) {
        std::uint64_t value = 0;
        plist_get_uint_val(time, &value);
        seconds = double(std::int64_t(value));
    } else {
        return std::nullopt;
    }
    return seconds + referenceDateOffset;
}

QString ArchivedValue::className() const
{
    if (_kind != Kind::Date && _kind != Kind::Dictionary && _kind != Kind::Object &&
        !(_kind == Kind::String && plist_get_node_type(_node) == PLIST_DICT)) {
        return {};
    }
    const QString name = _archive->classNameOf(_node);
    return name.mid(name.lastIndexOf(u'.') + 1);
}

bool ArchivedValue::isInstanceOf(const QString &name) const
{
    return _kind == Kind::Object && className() == name;
}

ArchivedValue ArchivedValue::member(const char *key) const
{
    if (_kind != Kind::Object) {
        return {};
    }
    plist_t node = plist_dict_get_item(_node, key);
    return node ? _archive->resolve(node) : ArchivedValue();
}

template <typename T>
Decoded<T> ArchivedValue::decode(const char *key, std::optional<T> (ArchivedValue::*get)() const) const
{
    const ArchivedValue value = member(key);
    if (value._kind == Kind::Missing) {
        return {ArchiveField::Absent, T{}};
    }
    if (value._kind == Kind::Null) {
        return {ArchiveField::Null, T{}};
    }
    const std::optional<T> got = (value.*get)();
    if (!got) {
        return {ArchiveField::OtherType, T{}};
    }
    return {ArchiveField::Present, *got};
}

Decoded<bool> ArchivedValue::decodeBool(const char *key) const
{
    return decode(key, &ArchivedValue::toBool);
}

Decoded<std::int64_t> ArchivedValue::decodeInteger(const char *key) const
{
    return decode(key, &ArchivedValue::toInteger);
}

Decoded<std::int64_t> ArchivedValue::decodeInteger(const char *key, std::int64_t low, std::int64_t high) const
{
    Decoded<std::int64_t> result = decodeInteger(key);
    if (result.isPresent() && (result.value < low || result.value > high)) {
        return {ArchiveField::OtherType, 0};
    }
    return result;
}

Decoded<double> ArchivedValue::decodeDouble(const char *key) const
{
    return decode(key, &ArchivedValue::toReal);
}

Decoded<QString> ArchivedValue::decodeString(const char *key) const
{
    return decode(key, &ArchivedValue::toString);
}

Decoded<double> ArchivedValue::decodeDate(const char *key) const
{
    return decode(key, &ArchivedValue::toUnixSeconds);
}

Decoded<ArchivedValue> ArchivedValue::decodeDictionary(const char *key) const
{
    const ArchivedValue value = member(key);
    switch (value._kind) {
    case Kind::Missing:
        return {ArchiveField::Absent, {}};
    case Kind::Null:
        return {ArchiveField::Null, {}};
    case Kind::Dictionary:
        return {ArchiveField::Present, value};
    default:
        return {ArchiveField::OtherType, {}};
    }
}

Decoded<ArchivedValue> ArchivedValue::decodeObject(const char *key, const QString &name) const
{
    const ArchivedValue value = member(key);
    switch (value._kind) {
    case Kind::Missing:
        return {ArchiveField::Absent, {}};
    case Kind::Null:
        return {ArchiveField::Null, {}};
    default:
        return value.isInstanceOf(name) ? Decoded<ArchivedValue>{ArchiveField::Present, value}
                                        : Decoded<ArchivedValue>{ArchiveField::OtherType, {}};
    }
}

std::vector<std::pair<ArchivedValue, ArchivedValue>> ArchivedValue::entries() const
{
    std::vector<std::pair<ArchivedValue, ArchivedValue>> result;
    if (_kind != Kind::Dictionary) {
        return result;
    }
    plist_t keys = plist_dict_get_item(_node, "NS.keys");
    plist_t values = plist_dict_get_item(_node, "NS.objects");
    if (plist_get_node_type(keys) != PLIST_ARRAY || plist_get_node_type(values) != PLIST_ARRAY) {
        return result;
    }
    result.reserve(std::min(plist_array_get_size(keys), plist_array_get_size(values)));
    // Walked with iterators: indexing a parsed libplist array walks it from the start each time.
    // Lists of unequal length are cut to their whole pairs.
    plist_array_iter keyIter = nullptr;
    plist_array_iter valueIter = nullptr;
    plist_array_new_iter(keys, &keyIter);
    plist_array_new_iter(values, &valueIter);
    for (;;) {
        plist_t key = nullptr;
        plist_t value = nullptr;
        plist_array_next_item(keys, keyIter, &key);
        plist_array_next_item(values, valueIter, &value);
        if (!key || !value) {
            break;
        }
        result.emplace_back(_archive->resolve(key), _archive->resolve(value));
    }
    free(keyIter);
    free(valueIter);
    return result;
}

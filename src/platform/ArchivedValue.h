// One value of a keyed archive as read back: a null, number, text, date, dictionary or class
// instance, with typed member lookups that tell an absent member from a null or mistyped one.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// The parsed archive a value belongs to (defined with KeyedUnarchiver).
struct KeyedArchiveData;

// What a typed lookup found under a key.
enum class ArchiveField
{
    Absent,    // no such key
    Null,      // the key holds the null object
    OtherType, // the key holds a value of another type (or a number out of the asked range)
    Present,
};

template <typename T> struct Decoded
{
    ArchiveField field = ArchiveField::Absent;
    T value{};
    bool isPresent() const { return field == ArchiveField::Present; }
};

class ArchivedValue
{
public:
    enum class Kind
    {
        Missing,
        Null,
        Boolean,
        Integer,
        Real,
        String,
        Date,
        Dictionary,
        Object,
        Other,
    };

    ArchivedValue() = default; // a missing value

    Kind kind() const { return _kind; }
    std::optional<bool> toBool() const;
    std::optional<std::int64_t> toInteger() const;
    // Integers read as reals too: the platform writes whole doubles either way.
    std::optional<double> toReal() const;
    std::optional<QString> toString() const;
    // Seconds since 1970-01-01 UTC.
    std::optional<double> toUnixSeconds() const;
    // The class of a date, dictionary or instance, without a module prefix ("Module.Name" gives "Name").
    QString className() const;
    bool isInstanceOf(const QString &className) const;

    // Members of an instance.
    ArchivedValue member(const char *key) const;
    Decoded<bool> decodeBool(const char *key) const;
    Decoded<std::int64_t> decodeInteger(const char *key) const;
    // An integer member within [low, high]; a number outside is OtherType.
    Decoded<std::int64_t> decodeInteger(const char *key, std::int64_t low, std::int64_t high) const;
    Decoded<double> decodeDouble(const char *key) const;
    Decoded<QString> decodeString(const char *key) const;
    Decoded<double> decodeDate(const char *key) const;
    Decoded<ArchivedValue> decodeDictionary(const char *key) const;
    Decoded<ArchivedValue> decodeObject(const char *key, const QString &className) const;

    // Entries of a dictionary, (key, value) in stored order; empty for anything else.
    std::vector<std::pair<ArchivedValue, ArchivedValue>> entries() const;

private:
    friend struct KeyedArchiveData;
    ArchivedValue(const KeyedArchiveData *archive, void *node, Kind kind)
        : _archive(archive), _node(node), _kind(kind)
    {
    }
    template <typename T>
    Decoded<T> decode(const char *key, std::optional<T> (ArchivedValue::*get)() const) const;

    const KeyedArchiveData *_archive = nullptr;
    void *_node = nullptr; // the resolved property-list node
    Kind _kind = Kind::Missing;
};

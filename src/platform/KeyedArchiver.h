// Writes a keyed archive: a binary property list whose $objects refer to each other by UID, the
// layout macOS keyed archives use, so that clips archived here and there read the same way.
#pragma once

#include "platform/BinaryPlistWriter.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

class KeyedArchiver
{
public:
    // Index of an object in $objects; 0 is the "$null" entry.
    using Ref = std::uint64_t;
    static constexpr Ref NullRef = 0;

    KeyedArchiver();
    KeyedArchiver(const KeyedArchiver &) = delete;
    KeyedArchiver &operator=(const KeyedArchiver &) = delete;

    // Number, text and date objects (equal numbers and texts are stored once).
    Ref encodeNumber(std::int64_t value);
    Ref encodeNumber(double value);
    Ref encodeBoolNumber(bool value);
    Ref encodeString(const QString &value);
    Ref encodeDate(double unixSeconds);
    // A dictionary object of (key, value) pairs.
    Ref encodeDictionary(std::span<const std::pair<Ref, Ref>> entries);
    // An instance of a class; its members are added with the set calls below.
    Ref encodeObject(const QString &className);

    // Members of an instance made by encodeObject. Scalars are stored inline, as the platform's
    // encodeInteger/encodeInt32/encodeDouble/encodeBool do; setObject stores a UID.
    void setInteger(Ref object, const char *key, std::int64_t value);
    void setDouble(Ref object, const char *key, double value);
    void setBool(Ref object, const char *key, bool value);
    void setObject(Ref object, const char *key, Ref value);

    // The archive with root as its top object; none when root was never encoded.
    std::optional<QByteArray> archive(Ref root);

private:
    Ref append(BinaryPlistWriter::Index object);
    Ref classRef(const QString &className);
    // The dictionary of an instance made by encodeObject, or none.
    std::optional<BinaryPlistWriter::Index> instance(Ref object) const;

    BinaryPlistWriter _writer;
    std::vector<BinaryPlistWriter::Index> _entries; // $objects by Ref
    std::vector<bool> _isInstance;                  // by Ref
    std::unordered_map<std::int64_t, Ref> _integers;
    std::unordered_map<std::uint64_t, Ref> _reals; // by bit pattern
    QHash<QString, Ref> _strings;
    QHash<QString, Ref> _classes;
    Ref _true = NullRef;
    Ref _false = NullRef;
};

// Writes a binary property list ("bplist00") from objects added one by one; equal scalars are stored
// once. Linear in the number of objects, which keyed archives of long clips need (hundreds of
// thousands of objects).
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

class BinaryPlistWriter
{
public:
    // Position of an object in the list's object table.
    using Index = std::uint32_t;

    Index addInteger(std::int64_t value);
    Index addReal(double value);
    Index addBool(bool value);
    Index addString(const QString &value);
    Index addUid(std::uint64_t value);
    Index addArray(std::vector<Index> items);
    // A dictionary; entries are added later with insert (keys must be strings).
    Index addDictionary();
    // Adds or replaces the entry under key.
    void insert(Index dictionary, const QString &key, Index value);

    // The whole list with top as its top object.
    QByteArray finish(Index top) const;

private:
    struct Dictionary
    {
        std::vector<std::pair<Index, Index>> entries; // (key string, value)
    };
    struct Array
    {
        std::vector<Index> items;
    };
    struct Uid
    {
        std::uint64_t value;
    };
    using Object = std::variant<std::int64_t, double, bool, QString, Uid, Array, Dictionary>;

    Index append(Object object);
    void writeObject(QByteArray &out, const Object &object, int refSize) const;

    std::vector<Object> _objects;
    std::unordered_map<std::int64_t, Index> _integers;
    std::unordered_map<std::uint64_t, Index> _reals; // by bit pattern
    std::unordered_map<std::uint64_t, Index> _uids;
    QHash<QString, Index> _strings;
    Index _true = 0;
    Index _false = 0;
    bool _hasTrue = false;
    bool _hasFalse = false;
};

#include "platform/KeyedArchiver.h"

#include <bit>

namespace {
// Seconds from 1970-01-01 to 2001-01-01, the reference date of archived dates.
constexpr double referenceDateOffset = 978307200.0;
} // namespace

KeyedArchiver::KeyedArchiver()
{
    append(_writer.addString(QStringLiteral("$null")));
}

KeyedArchiver::Ref KeyedArchiver::append(BinaryPlistWriter::Index object)
{
    _entries.push_back(object);
    _isInstance.push_back(false);
    return Ref(_entries.size() - 1);
}

KeyedArchiver::Ref KeyedArchiver::encodeNumber(std::int64_t value)
{
    auto [it, inserted] = _integers.try_emplace(value, NullRef);
    if (inserted) {
        it->second = append(_writer.addInteger(value));
    }
    return it->second;
}

KeyedArchiver::Ref KeyedArchiver::encodeNumber(double value)
{
    auto [it, inserted] = _reals.try_emplace(std::bit_cast<std::uint64_t>(value), NullRef);
    if (inserted) {
        it->second = append(_writer.addReal(value));
    }
    return it->second;
}

KeyedArchiver::Ref KeyedArchiver::encodeBoolNumber(bool value)
{
    Ref &ref = value ? _true : _false;
    if (ref == NullRef) {
        ref = append(_writer.addBool(value));
    }
    return ref;
}

KeyedArchiver::Ref KeyedArchiver::encodeString(const QString &value)
{
    auto found = _strings.constFind(value);
    if (found != _strings.constEnd()) {
        return *found;
    }
    const Ref ref = append(_writer.addString(value));
    _strings.insert(value, ref);
    return ref;
}

KeyedArchiver::Ref KeyedArchiver::classRef(const QString &className)
{
    auto found = _classes.constFind(className);
    if (found != _classes.constEnd()) {
        return *found;
    }
    const auto entry = _writer.addDictionary();
    _writer.insert(entry, QStringLiteral("$classname"), _writer.addString(className));
    _writer.insert(
        entry, QStringLiteral("$classes"),
        _writer.addArray({_writer.addString(className), _writer.addString(QStringLiteral("NSObject"))}));
    const Ref ref = append(entry);
    _classes.insert(className, ref);
    return ref;
}

KeyedArchiver::Ref KeyedArchiver::encodeDate(double unixSeconds)
{
    const Ref cls = classRef(QStringLiteral("NSDate"));
    const auto date = _writer.addDictionary();
    _writer.insert(date, QStringLiteral("NS.time"), _writer.addReal(unixSeconds - referenceDateOffset));
    _writer.insert(date, QStringLiteral("$class"), _writer.addUid(cls));
    return append(date);
}

KeyedArchiver::Ref KeyedArchiver::encodeDictionary(std::span<const std::pair<Ref, Ref>> entries)
{
    const Ref cls = classRef(QStringLiteral("NSDictionary"));
    std::vector<BinaryPlistWriter::Index> keys;
    std::vector<BinaryPlistWriter::Index> values;
    keys.reserve(entries.size());
    values.reserve(entries.size());
    for (const auto &[key, value] : entries) {
        keys.push_back(_writer.addUid(key < _entries.size() ? key : NullRef));
        values.push_back(_writer.addUid(value < _entries.size() ? value : NullRef));
    }
    const auto dictionary = _writer.addDictionary();
    _writer.insert(dictionary, QStringLiteral("NS.keys"), _writer.addArray(std::move(keys)));
    _writer.insert(dictionary, QStringLiteral("NS.objects"), _writer.addArray(std::move(values)));
    _writer.insert(dictionary, QStringLiteral("$class"), _writer.addUid(cls));
    return append(dictionary);
}

KeyedArchiver::Ref KeyedArchiver::encodeObject(const QString &className)
{
    const Ref cls = classRef(className);
    const auto object = _writer.addDictionary();
    _writer.insert(object, QStringLiteral("$class"), _writer.addUid(cls));
    const Ref ref = append(object);
    _isInstance[ref] = true;
    return ref;
}

std::optional<BinaryPlistWriter::Index> KeyedArchiver::instance(Ref object) const
{
    if (object >= _entries.size() || !_isInstance[object]) {
        return std::nullopt;
    }
    return _entries[object];
}

void KeyedArchiver::setInteger(Ref object, const char *key, std::int64_t value)
{
    if (const auto node = instance(object)) {
        _writer.insert(*node, QLatin1String(key), _writer.addInteger(value));
    }
}

void KeyedArchiver::setDouble(Ref object, const char *key, double value)
{
    if (const auto node = instance(object)) {
        _writer.insert(*node, QLatin1String(key), _writer.addReal(value));
    }
}

void KeyedArchiver::setBool(Ref object, const char *key, bool value)
{
    if (const auto node = instance(object)) {
        _writer.insert(*node, QLatin1String(key), _writer.addBool(value));
    }
}

void KeyedArchiver::setObject(Ref object, const char *key, Ref value)
{
    if (const auto node = instance(object)) {
        _writer.insert(*node, QLatin1String(key), _writer.addUid(value < _entries.size() ? value : NullRef));
    }
}

std::optional<QByteArray> KeyedArchiver::archive(Ref root)
{
    if (root >= _entries.size()) {
        return std::nullopt;
    }
    const auto top = _writer.addDictionary();
    _writer.insert(top, QStringLiteral("root"), _writer.addUid(root));
    const auto plist = _writer.addDictionary();
    _writer.insert(plist, QStringLiteral("$version"), _writer.addInteger(100000));
    _writer.insert(plist, QStringLiteral("$archiver"), _writer.addString(QStringLiteral("NSKeyedArchiver")));
    _writer.insert(plist, QStringLiteral("$top"), top);
    _writer.insert(plist, QStringLiteral("$objects"), _writer.addArray(_entries));
    return _writer.finish(plist);
}

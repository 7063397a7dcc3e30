#include "platform/KeyedArchiver.h"

#include <bit>
#include <limits>
#include <plist/plist.h>

namespace {
// Seconds from 1970-01-01 to 2001-01-01, the reference date of archived dates.
constexpr double referenceDateOffset = 978307200.0;
} // namespace

KeyedArchiver::KeyedArchiver() : _plist(plist_new_dict()), _objects(plist_new_array())
{
    plist_dict_set_item(_plist, "$archiver", plist_new_string("NSKeyedArchiver"));
    plist_dict_set_item(_plist, "$version", plist_new_uint(100000));
    plist_dict_set_item(_plist, "$objects", _objects);
    append(plist_new_string("$null"));
}

KeyedArchiver::~KeyedArchiver()
{
    plist_free(_plist);
}

KeyedArchiver::Ref KeyedArchiver::append(void *node)
{
    plist_array_append_item(_objects, node);
    _nodes.push_back(node);
    return Ref(_nodes.size() - 1);
}

KeyedArchiver::Ref KeyedArchiver::encodeNumber(std::int64_t value)
{
    auto found = _integers.find(value);
    if (found != _integers.end()) {
        return found->second;
    }
    // Binary property lists keep 8-byte integers signed: a negative value goes out as its
    // two's complement and reads back as the same signed number.
    const Ref ref = append(plist_new_uint(std::uint64_t(value)));
    _integers.emplace(value, ref);
    return ref;
}

KeyedArchiver::Ref KeyedArchiver::encodeNumber(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    auto found = _reals.find(bits);
    if (found != _reals.end()) {
        return found->second;
    }
    const Ref ref = append(plist_new_real(value));
    _reals.emplace(bits, ref);
    return ref;
}

KeyedArchiver::Ref KeyedArchiver::encodeBoolNumber(bool value)
{
    Ref &ref = value ? _true : _false;
    if (ref == NullRef) {
        ref = append(plist_new_bool(value));
    }
    return ref;
}

KeyedArchiver::Ref KeyedArchiver::encodeString(const QString &value)
{
    auto found = _strings.constFind(value);
    if (found != _strings.constEnd()) {
        return *found;
    }
    const Ref ref = append(plist_new_string(value.toUtf8().constData()));
    _strings.insert(value, ref);
    return ref;
}

KeyedArchiver::Ref KeyedArchiver::classRef(const QString &className)
{
    auto found = _classes.constFind(className);
    if (found != _classes.constEnd()) {
        return *found;
    }
    plist_t entry = plist_new_dict();
    const QByteArray name = className.toUtf8();
    plist_dict_set_item(entry, "$classname", plist_new_string(name.constData()));
    plist_t classes = plist_new_array();
    plist_array_append_item(classes, plist_new_string(name.constData()));
    plist_array_append_item(classes, plist_new_string("NSObject"));
    plist_dict_set_item(entry, "$classes", classes);
    const Ref ref = append(entry);
    _classes.insert(className, ref);
    return ref;
}

KeyedArchiver::Ref KeyedArchiver::encodeDate(double unixSeconds)
{
    const Ref cls = classRef(QStringLiteral("NSDate"));
    plist_t date = plist_new_dict();
    plist_dict_set_item(date, "NS.time", plist_new_real(unixSeconds - referenceDateOffset));
    plist_dict_set_item(date, "$class", plist_new_uid(cls));
    return append(date);
}

KeyedArchiver::Ref KeyedArchiver::encodeDictionary(std::span<const std::pair<Ref, Ref>> entries)
{
    const Ref cls = classRef(QStringLiteral("NSDictionary"));
    plist_t keys = plist_new_array();
    plist_t values = plist_new_array();
    for (const auto &[key, value] : entries) {
        plist_array_append_item(keys, plist_new_uid(key));
        plist_array_append_item(values, plist_new_uid(value));
    }
    plist_t dictionary = plist_new_dict();
    plist_dict_set_item(dictionary, "NS.keys", keys);
    plist_dict_set_item(dictionary, "NS.objects", values);
    plist_dict_set_item(dictionary, "$class", plist_new_uid(cls));
    return append(dictionary);
}

KeyedArchiver::Ref KeyedArchiver::encodeObject(const QString &className)
{
    const Ref cls = classRef(className);
    plist_t object = plist_new_dict();
    plist_dict_set_item(object, "$class", plist_new_uid(cls));
    return append(object);
}

void *KeyedArchiver::instance(Ref object) const
{
    if (object == NullRef || object >= _nodes.size() || plist_get_node_type(_nodes[object]) != PLIST_DICT) {
        return nullptr;
    }
    return _nodes[object];
}

void KeyedArchiver::setInteger(Ref object, const char *key, std::int64_t value)
{
    if (plist_t node = instance(object)) {
        plist_dict_set_item(node, key, plist_new_uint(std::uint64_t(value)));
    }
}

void KeyedArchiver::setDouble(Ref object, const char *key, double value)
{
    if (plist_t node = instance(object)) {
        plist_dict_set_item(node, key, plist_new_real(value));
    }
}

void KeyedArchiver::setBool(Ref object, const char *key, bool value)
{
    if (plist_t node = instance(object)) {
        plist_dict_set_item(node, key, plist_new_bool(value));
    }
}

void KeyedArchiver::setObject(Ref object, const char *key, Ref value)
{
    if (plist_t node = instance(object)) {
        plist_dict_set_item(node, key, plist_new_uid(value < _nodes.size() ? value : NullRef));
    }
}

std::optional<QByteArray> KeyedArchiver::archive(Ref root) const
{
    if (root >= _nodes.size()) {
        return std::nullopt;
    }
    plist_t top = plist_new_dict();
    plist_dict_set_item(top, "root", plist_new_uid(root));
    plist_dict_set_item(_plist, "$top", top);

    char *bytes = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(_plist, &bytes, &length);
    plist_dict_remove_item(_plist, "$top");
    if (!bytes || length == 0) {
        if (bytes) {
            plist_to_bin_free(bytes);
        }
        return std::nullopt;
    }
    QByteArray result(bytes, qsizetype(length));
    plist_to_bin_free(bytes);
    return result;
}

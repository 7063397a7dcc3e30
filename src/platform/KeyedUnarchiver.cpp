#include "platform/KeyedUnarchiver.h"

#include <cstdlib>
#include <limits>
#include <plist/plist.h>
#include <string_view>

KeyedArchiveData::~KeyedArchiveData()
{
    if (plist) {
        plist_free(plist);
    }
}

QString KeyedArchiveData::classNameOf(void *instance) const
{
    plist_t cls = plist_dict_get_item(instance, "$class");
    if (!cls || plist_get_node_type(cls) != PLIST_UID) {
        return {};
    }
    std::uint64_t uid = 0;
    plist_get_uid_val(cls, &uid);
    if (uid >= objects.size() || plist_get_node_type(objects[uid]) != PLIST_DICT) {
        return {};
    }
    plist_t name = plist_dict_get_item(objects[uid], "$classname");
    if (!name || plist_get_node_type(name) != PLIST_STRING) {
        return {};
    }
    std::uint64_t length = 0;
    const char *text = plist_get_string_ptr(name, &length);
    return QString::fromUtf8(text, qsizetype(length));
}

ArchivedValue KeyedArchiveData::resolve(void *node) const
{
    using Kind = ArchivedValue::Kind;
    if (!node) {
        return {};
    }
    if (plist_get_node_type(node) == PLIST_UID) {
        std::uint64_t uid = 0;
        plist_get_uid_val(node, &uid);
        if (uid == 0) {
            return ArchivedValue(this, nullptr, Kind::Null);
        }
        if (uid >= objects.size()) {
            return ArchivedValue(this, nullptr, Kind::Other);
        }
        node = objects[uid];
        if (plist_get_node_type(node) == PLIST_STRING) {
            std::uint64_t length = 0;
            const char *text = plist_get_string_ptr(node, &length);
            if (std::string_view(text, length) == "$null") {
                return ArchivedValue(this, nullptr, Kind::Null);
            }
        }
        // An object is never itself a UID; one that is marks a corrupt archive.
        if (plist_get_node_type(node) == PLIST_UID) {
            return ArchivedValue(this, nullptr, Kind::Other);
        }
    }
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN:
        return ArchivedValue(this, node, Kind::Boolean);
    case PLIST_UINT:
        return ArchivedValue(this, node, Kind::Integer);
    case PLIST_REAL:
        return ArchivedValue(this, node, Kind::Real);
    case PLIST_STRING:
        return ArchivedValue(this, node, Kind::String);
    case PLIST_DICT: {
        QString name = classNameOf(node);
        name = name.mid(name.lastIndexOf(u'.') + 1);
        if (name.isEmpty()) {
            return ArchivedValue(this, node, Kind::Other);
        }
        if (name == u"NSDate" && plist_dict_get_item(node, "NS.time")) {
            return ArchivedValue(this, node, Kind::Date);
        }
        if ((name == u"NSDictionary" || name == u"NSMutableDictionary") &&
            plist_dict_get_item(node, "NS.keys") && plist_dict_get_item(node, "NS.objects")) {
            return ArchivedValue(this, node, Kind::Dictionary);
        }
        if ((name == u"NSString" || name == u"NSMutableString") && plist_dict_get_item(node, "NS.string")) {
            return ArchivedValue(this, node, Kind::String);
        }
        return ArchivedValue(this, node, Kind::Object);
    }
    default:
        return ArchivedValue(this, node, Kind::Other);
    }
}

KeyedUnarchiver::KeyedUnarchiver() : _data(std::make_unique<KeyedArchiveData>()) {}
KeyedUnarchiver::KeyedUnarchiver(KeyedUnarchiver &&) noexcept = default;
KeyedUnarchiver &KeyedUnarchiver::operator=(KeyedUnarchiver &&) noexcept = default;
KeyedUnarchiver::~KeyedUnarchiver() = default;

std::optional<KeyedUnarchiver> KeyedUnarchiver::fromData(const QByteArray &data)
{
    // Binary property lists start with "bplist"; anything else is not an archive of ours.
    if (!data.startsWith("bplist") || data.size() > qsizetype(std::numeric_limits<std::uint32_t>::max())) {
        return std::nullopt;
    }
    KeyedUnarchiver archive;
    plist_t plist = nullptr;
    plist_from_bin(data.constData(), std::uint32_t(data.size()), &plist);
    archive._data->plist = plist;
    if (!plist || plist_get_node_type(plist) != PLIST_DICT) {
        return std::nullopt;
    }
    plist_t objects = plist_dict_get_item(plist, "$objects");
    plist_t top = plist_dict_get_item(plist, "$top");
    if (!objects || plist_get_node_type(objects) != PLIST_ARRAY || !top ||
        plist_get_node_type(top) != PLIST_DICT) {
        return std::nullopt;
    }
    const std::uint32_t count = plist_array_get_size(objects);
    archive._data->objects.reserve(count);
    // Walked once in order: indexing a libplist array may itself walk the list.
    plist_array_iter iter = nullptr;
    plist_array_new_iter(objects, &iter);
    for (plist_t item = nullptr;;) {
        plist_array_next_item(objects, iter, &item);
        if (!item) {
            break;
        }
        archive._data->objects.push_back(item);
    }
    free(iter);
    archive._data->top = top;
    return archive;
}

ArchivedValue KeyedUnarchiver::topObject(const char *key) const
{
    return _data->resolve(plist_dict_get_item(_data->top, key));
}

ArchivedValue KeyedUnarchiver::root() const
{
    return topObject("root");
}

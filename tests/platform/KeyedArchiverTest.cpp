#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

#include <gtest/gtest.h>
#include <plist/plist.h>

namespace {

struct PlistHolder
{
    plist_t node = nullptr;
    ~PlistHolder() { plist_free(node); }
};

QString stringOf(plist_t node)
{
    char *text = nullptr;
    plist_get_string_val(node, &text);
    const QString result = QString::fromUtf8(text);
    free(text);
    return result;
}

// An unsigned integer (PLIST_UINT) or a UID (PLIST_UID) node's value; 0 for any other node.
uint64_t valueOf(plist_t node, plist_type type)
{
    uint64_t value = 0;
    if (plist_get_node_type(node) == type)
        (type == PLIST_UID ? plist_get_uid_val : plist_get_uint_val)(node, &value);
    return value;
}

} // namespace

TEST(KeyedArchiverTest, WritesTheKeyedArchiveLayout)
{
    KeyedArchiver archiver;
    const auto root = archiver.encodeObject("Thing");
    archiver.setObject(root, "name", archiver.encodeString("abc"));
    archiver.setInteger(root, "count", 3);
    const auto bytes = archiver.archive(root);
    ASSERT_TRUE(bytes && bytes->startsWith("bplist00"));

    PlistHolder plist;
    plist_from_bin(bytes->constData(), uint32_t(bytes->size()), &plist.node);
    ASSERT_TRUE(plist.node);
    const auto item = [](plist_t dict, const char *key) { return plist_dict_get_item(dict, key); };
    plist_t objects = item(plist.node, "$objects");
    const auto member = [&](plist_t dict, const char *key) { // the object a member's UID names
        return plist_array_get_item(objects, uint32_t(valueOf(item(dict, key), PLIST_UID)));
    };
    EXPECT_EQ(stringOf(item(plist.node, "$archiver")), "NSKeyedArchiver");
    EXPECT_EQ(valueOf(item(plist.node, "$version"), PLIST_UINT), 100000u);
    EXPECT_EQ(stringOf(plist_array_get_item(objects, 0)), "$null");
    plist_t object = member(item(plist.node, "$top"), "root");
    ASSERT_EQ(plist_get_node_type(object), PLIST_DICT);
    EXPECT_EQ(valueOf(item(object, "count"), PLIST_UINT), 3u) << "integers are stored inline";
    EXPECT_EQ(stringOf(member(object, "name")), "abc");
    plist_t cls = member(object, "$class");
    EXPECT_EQ(stringOf(item(cls, "$classname")), "Thing");
    plist_t classes = item(cls, "$classes");
    ASSERT_EQ(plist_array_get_size(classes), 2u);
    EXPECT_EQ(stringOf(plist_array_get_item(classes, 1)), "NSObject");
}

// The recording tests round-trip real archives; here the edges they do not reach.
TEST(KeyedArchiverTest, EveryKindOfValueReadsBackWithItsType)
{
    KeyedArchiver archiver;
    const auto root = archiver.encodeObject("Root");
    const auto child = archiver.encodeObject("Child");
    archiver.setInteger(root, "int", -1234567890123LL);
    archiver.setInteger(root, "u32", 0xFFFFFFFFLL);
    archiver.setObject(root, "number", archiver.encodeNumber(int64_t(200)));
    archiver.setObject(root, "realNumber", archiver.encodeNumber(2.5));
    archiver.setObject(root, "boolNumber", archiver.encodeBoolNumber(false));
    archiver.setObject(root, "text", archiver.encodeString("0714"));
    archiver.setObject(root, "none", KeyedArchiver::NullRef);
    archiver.setObject(root, "child", child);
    const std::pair<KeyedArchiver::Ref, KeyedArchiver::Ref> entries[] = {
        {archiver.encodeNumber(int64_t(0)), child},
        {archiver.encodeNumber(int64_t(-36)), KeyedArchiver::NullRef},
    };
    archiver.setObject(root, "dict", archiver.encodeDictionary(entries));
    const auto bytes = archiver.archive(root);
    ASSERT_TRUE(bytes);

    auto archive = KeyedUnarchiver::fromData(*bytes);
    ASSERT_TRUE(archive);
    // Moving the unarchiver keeps the values it hands out valid.
    KeyedUnarchiver moved = std::move(*archive);
    const ArchivedValue value = moved.root();
    ASSERT_EQ(value.kind(), ArchivedValue::Kind::Object);
    EXPECT_TRUE(value.isInstanceOf("Root"));

    EXPECT_EQ(value.decodeInteger("int").value, -1234567890123LL);
    EXPECT_EQ(value.decodeInteger("u32").value, 0xFFFFFFFFLL);
    EXPECT_EQ(value.decodeInteger("number", 0, 255).value, 200);
    EXPECT_EQ(value.decodeInteger("number", 0, 100).field, ArchiveField::OtherType)
        << "out of the asked range";
    EXPECT_EQ(value.decodeDouble("realNumber").value, 2.5);
    EXPECT_EQ(value.decodeDouble("number").value, 200.0) << "an integer reads as a double";
    EXPECT_EQ(value.decodeBool("boolNumber").field, ArchiveField::Present);
    EXPECT_FALSE(value.decodeBool("boolNumber").value);
    EXPECT_EQ(value.decodeString("text").value, "0714");

    // Absent, null and mistyped members are told apart.
    EXPECT_EQ(value.decodeInteger("missing").field, ArchiveField::Absent);
    EXPECT_EQ(value.decodeInteger("none").field, ArchiveField::Null);
    EXPECT_EQ(value.decodeInteger("text").field, ArchiveField::OtherType);
    EXPECT_EQ(value.decodeString("number").field, ArchiveField::OtherType);
    EXPECT_EQ(value.decodeObject("child", "Root").field, ArchiveField::OtherType);
    EXPECT_EQ(value.decodeDictionary("child").field, ArchiveField::OtherType);

    const auto dict = value.decodeDictionary("dict");
    ASSERT_TRUE(dict.isPresent());
    const auto pairs = dict.value.entries();
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].first.toInteger(), 0);
    EXPECT_TRUE(pairs[0].second.isInstanceOf("Child"));
    EXPECT_EQ(pairs[1].first.toInteger(), -36);
    EXPECT_EQ(pairs[1].second.kind(), ArchivedValue::Kind::Null);
}

TEST(KeyedArchiverTest, EqualNumbersAndTextsAreStoredOnce)
{
    KeyedArchiver archiver;
    EXPECT_EQ(archiver.encodeNumber(int64_t(7)), archiver.encodeNumber(int64_t(7)));
    EXPECT_NE(archiver.encodeNumber(int64_t(7)), archiver.encodeNumber(7.0));
    EXPECT_EQ(archiver.encodeString("a"), archiver.encodeString("a"));
    EXPECT_EQ(archiver.encodeBoolNumber(true), archiver.encodeBoolNumber(true));
    EXPECT_NE(archiver.encodeBoolNumber(true), archiver.encodeBoolNumber(false));
    EXPECT_NE(archiver.encodeObject("A"), archiver.encodeObject("A")) << "instances are never shared";
    EXPECT_FALSE(archiver.archive(1000)) << "a root that was never encoded";
}

#include "platform/KeyedUnarchiver.h"
#include "platform/BinaryPlistWriter.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <plist/plist.h>

namespace {

// Builds an archive by hand, the way macOS lays one out: module-prefixed class names, mutable
// collection classes, texts as NSMutableString instances and numbers as separate objects.
class HandArchive
{
public:
    HandArchive() : _plist(plist_new_dict()), _objects(plist_new_array())
    {
        plist_dict_set_item(_plist, "$version", plist_new_uint(100000));
        plist_dict_set_item(_plist, "$archiver", plist_new_string("NSKeyedArchiver"));
        plist_dict_set_item(_plist, "$objects", _objects);
        add(plist_new_string("$null"));
    }
    ~HandArchive() { plist_free(_plist); }

    uint64_t add(plist_t node)
    {
        plist_array_append_item(_objects, node);
        return _count++;
    }
    uint64_t addClass(const char *name, std::initializer_list<const char *> chain)
    {
        plist_t cls = plist_new_dict();
        plist_dict_set_item(cls, "$classname", plist_new_string(name));
        plist_t classes = plist_new_array();
        for (const char *c : chain)
            plist_array_append_item(classes, plist_new_string(c));
        plist_dict_set_item(cls, "$classes", classes);
        return add(cls);
    }
    plist_t instance(uint64_t cls)
    {
        plist_t object = plist_new_dict();
        plist_dict_set_item(object, "$class", plist_new_uid(cls));
        return object;
    }
    QByteArray bytes(uint64_t root)
    {
        plist_t top = plist_new_dict();
        plist_dict_set_item(top, "root", plist_new_uid(root));
        plist_dict_set_item(_plist, "$top", top);
        char *data = nullptr;
        uint32_t length = 0;
        plist_to_bin(_plist, &data, &length);
        QByteArray result(data, length);
        plist_to_bin_free(data);
        return result;
    }

private:
    plist_t _plist;
    plist_t _objects;
    uint64_t _count = 0;
};

} // namespace

TEST(KeyedUnarchiverTest, ReadsMacStyleArchives)
{
    HandArchive hand;
    const uint64_t rootClass = hand.addClass("Orvalind.Thing", {"Orvalind.Thing", "NSObject"});
    const uint64_t dictClass =
        hand.addClass("NSMutableDictionary", {"NSMutableDictionary", "NSDictionary", "NSObject"});
    const uint64_t stringClass =
        hand.addClass("NSMutableString", {"NSMutableString", "NSString", "NSObject"});
    const uint64_t dateClass = hand.addClass("NSDate", {"NSDate", "NSObject"});

    plist_t mutableText = hand.instance(stringClass);
    plist_dict_set_item(mutableText, "NS.string", plist_new_string("mutable"));
    const uint64_t mutableRef = hand.add(mutableText);
    const uint64_t wideRef = hand.add(plist_new_string("ＶＥＲ０７１４")); // UTF-16 in the binary list
    plist_t date = hand.instance(dateClass);
    plist_dict_set_item(date, "NS.time", plist_new_real(0.5));
    const uint64_t dateRef = hand.add(date);
    const uint64_t key = hand.add(plist_new_uint(uint64_t(int64_t(-100))));
    const uint64_t number = hand.add(plist_new_uint(42));
    plist_t dict = hand.instance(dictClass);
    plist_t keys = plist_new_array();
    plist_array_append_item(keys, plist_new_uid(key));
    plist_t values = plist_new_array();
    plist_array_append_item(values, plist_new_uid(number));
    plist_dict_set_item(dict, "NS.keys", keys);
    plist_dict_set_item(dict, "NS.objects", values);
    const uint64_t dictRef = hand.add(dict);

    plist_t root = hand.instance(rootClass);
    plist_dict_set_item(root, "mutable", plist_new_uid(mutableRef));
    plist_dict_set_item(root, "wide", plist_new_uid(wideRef));
    plist_dict_set_item(root, "date", plist_new_uid(dateRef));
    plist_dict_set_item(root, "dict", plist_new_uid(dictRef));
    plist_dict_set_item(root, "nothing", plist_new_uid(0));
    plist_dict_set_item(root, "dangling", plist_new_uid(9999));
    const uint64_t rootRef = hand.add(root);

    const QByteArray bytes = hand.bytes(rootRef);
    const QByteArray utf16 = QByteArray::fromHex("ff36ff25ff32ff10ff17ff11ff14");
    ASSERT_TRUE(bytes.contains(utf16)) << "the text is stored as UTF-16";

    const auto archive = KeyedUnarchiver::fromData(bytes);
    ASSERT_TRUE(archive);
    const ArchivedValue value = archive->root();
    EXPECT_TRUE(value.isInstanceOf("Thing")) << "the module prefix is dropped";
    EXPECT_EQ(value.className(), "Thing");
    EXPECT_EQ(value.decodeString("mutable").value, "mutable");
    EXPECT_EQ(value.decodeString("wide").value, QString::fromUtf8("ＶＥＲ０７１４"));
    EXPECT_DOUBLE_EQ(value.decodeDate("date").value, 978307200.5);
    const auto entries = value.decodeDictionary("dict").value.entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].first.toInteger(), -100);
    EXPECT_EQ(entries[0].second.toInteger(), 42);
    EXPECT_EQ(value.decodeString("nothing").field, ArchiveField::Null);
    EXPECT_EQ(value.decodeString("dangling").field, ArchiveField::OtherType);
}

TEST(KeyedUnarchiverTest, RejectsWhatIsNotAKeyedArchive)
{
    EXPECT_FALSE(KeyedUnarchiver::fromData(QByteArray()));
    EXPECT_FALSE(KeyedUnarchiver::fromData(QByteArray("<?xml version=\"1.0\"?><plist/>")));
    EXPECT_FALSE(KeyedUnarchiver::fromData(QByteArray("bplist00") + QByteArray(40, '\xff')));

    HandArchive hand;
    const QByteArray whole = hand.bytes(0);
    // Every truncation of a valid list fails cleanly or reads; none crashes.
    for (qsizetype size = 0; size < whole.size(); ++size) {
        const auto archive = KeyedUnarchiver::fromData(whole.left(size));
        if (archive)
            (void)archive->root().kind();
    }
    // A plain property list without $objects and $top.
    BinaryPlistWriter plain;
    const auto root = plain.addDictionary();
    plain.insert(root, "a", plain.addInteger(1));
    EXPECT_FALSE(KeyedUnarchiver::fromData(plain.finish(root)));

    // A root of the null object, and a top without a root.
    const auto nullRoot = KeyedUnarchiver::fromData(whole);
    ASSERT_TRUE(nullRoot);
    EXPECT_EQ(nullRoot->root().kind(), ArchivedValue::Kind::Null);
    EXPECT_EQ(nullRoot->topObject("other").kind(), ArchivedValue::Kind::Missing);
}

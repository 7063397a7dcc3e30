#include "platform/KeyedUnarchiver.h"
#include "platform/BinaryPlistWriter.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <plist/plist.h>

namespace {

// Builds an archive by hand, for what our own writer never makes. Archives written the macOS way are read
// in the recording tests.
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
    // An instance of a class whose chain is the class and NSObject.
    plist_t instance(const char *className)
    {
        plist_t cls = plist_new_dict();
        plist_dict_set_item(cls, "$classname", plist_new_string(className));
        plist_t classes = plist_new_array();
        plist_array_append_item(classes, plist_new_string(className));
        plist_array_append_item(classes, plist_new_string("NSObject"));
        plist_dict_set_item(cls, "$classes", classes);
        plist_t object = plist_new_dict();
        plist_dict_set_item(object, "$class", plist_new_uid(add(cls)));
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

TEST(KeyedUnarchiverTest, NullAndDanglingReferencesAreToldApart)
{
    HandArchive hand;
    plist_t root = hand.instance("Orvalind.Thing");
    plist_dict_set_item(root, "nothing", plist_new_uid(0));
    plist_dict_set_item(root, "dangling", plist_new_uid(9999));
    const auto archive = KeyedUnarchiver::fromData(hand.bytes(hand.add(root)));
    ASSERT_TRUE(archive);
    const ArchivedValue value = archive->root();
    EXPECT_EQ(value.className(), "Thing") << "the module prefix is dropped";
    EXPECT_EQ(value.decodeString("nothing").field, ArchiveField::Null);
    EXPECT_EQ(value.decodeString("dangling").field, ArchiveField::OtherType);
    EXPECT_EQ(value.decodeObject("dangling", "Thing").field, ArchiveField::OtherType);
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

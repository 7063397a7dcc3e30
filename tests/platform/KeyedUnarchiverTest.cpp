#include "platform/KeyedUnarchiver.h"
#include "platform/BinaryPlistWriter.h"

#include <gtest/gtest.h>

namespace {

// A keyed archive our own archiver never makes: its root (UID rootUid) is of a module-prefixed class
// and holds the given UIDs. Archives written the macOS way are read in the recording tests.
QByteArray handArchive(uint64_t rootUid, std::initializer_list<std::pair<const char *, uint64_t>> members)
{
    BinaryPlistWriter w;
    const auto cls = w.addDictionary();
    w.insert(cls, "$classname", w.addString("Orvalind.Thing"));
    w.insert(cls, "$classes", w.addArray({w.addString("Orvalind.Thing"), w.addString("NSObject")}));
    const auto root = w.addDictionary();
    w.insert(root, "$class", w.addUid(2));
    for (const auto &[key, uid] : members)
        w.insert(root, key, w.addUid(uid));
    const auto top = w.addDictionary();
    w.insert(top, "root", w.addUid(rootUid));
    const auto archive = w.addDictionary();
    w.insert(archive, "$version", w.addInteger(100000));
    w.insert(archive, "$archiver", w.addString("NSKeyedArchiver"));
    w.insert(archive, "$objects", w.addArray({w.addString("$null"), root, cls}));
    w.insert(archive, "$top", top);
    return w.finish(archive);
}

} // namespace

TEST(KeyedUnarchiverTest, NullAndDanglingReferencesAreToldApart)
{
    const auto archive = KeyedUnarchiver::fromData(handArchive(1, {{"nothing", 0}, {"dangling", 9999}}));
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

    const QByteArray whole = handArchive(0, {});
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

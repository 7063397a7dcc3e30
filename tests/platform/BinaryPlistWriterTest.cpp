#include "platform/BinaryPlistWriter.h"

#include <gtest/gtest.h>
#include <plist/plist.h>

namespace {

struct Parsed
{
    plist_t node = nullptr;
    explicit Parsed(const QByteArray &bytes)
    {
        plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &node);
    }
    ~Parsed() { plist_free(node); }
};

QString stringOf(plist_t node)
{
    char *text = nullptr;
    plist_get_string_val(node, &text);
    const QString result = QString::fromUtf8(text);
    free(text);
    return result;
}

} // namespace

// libplist, an independent reader, must see exactly what was written.
TEST(BinaryPlistWriterTest, LibplistReadsEveryKindAndSize)
{
    for (int padding : {0, 300, 70000}) { // one-, two- and four-byte object references
        BinaryPlistWriter writer;
        std::vector<BinaryPlistWriter::Index> items;
        for (int i = 0; i < padding; ++i)
            items.push_back(writer.addInteger(1000000 + i));
        const auto list = writer.addArray(items);
        const auto root = writer.addDictionary();
        writer.insert(root, "list", list);
        writer.insert(root, "negative", writer.addInteger(-2));
        writer.insert(root, "big", writer.addInteger(0x123456789ALL));
        writer.insert(root, "real", writer.addReal(-1.5));
        writer.insert(root, "yes", writer.addBool(true));
        writer.insert(root, "no", writer.addBool(false));
        writer.insert(root, "long", writer.addString(QString(40, 'x')));
        writer.insert(root, "wide",
                      writer.addString(QString::fromUtf8("ドライブ記録ドライブ記録ドライブ記録")));
        writer.insert(root, "uid", writer.addUid(70000));
        writer.insert(root, "yes", writer.addBool(true)); // replaces, does not repeat the key

        Parsed parsed(writer.finish(root));
        ASSERT_TRUE(parsed.node) << padding;
        const auto item = [&](const char *key) { return plist_dict_get_item(parsed.node, key); };
        const auto uintOf = [](plist_t node) {
            uint64_t value = 0;
            plist_get_uint_val(node, &value);
            return value;
        };
        EXPECT_EQ(plist_dict_get_size(parsed.node), 9u);
        EXPECT_EQ(plist_array_get_size(item("list")), uint32_t(padding));
        if (padding)
            EXPECT_EQ(uintOf(plist_array_get_item(item("list"), uint32_t(padding - 1))),
                      uint64_t(1000000 + padding - 1));
        EXPECT_EQ(int64_t(uintOf(item("negative"))), -2);
        EXPECT_EQ(uintOf(item("big")), 0x123456789AULL);
        double real = 0;
        plist_get_real_val(item("real"), &real);
        EXPECT_EQ(real, -1.5);
        uint8_t yes = 0, no = 1;
        plist_get_bool_val(item("yes"), &yes);
        plist_get_bool_val(item("no"), &no);
        EXPECT_TRUE(yes && !no);
        EXPECT_EQ(stringOf(item("long")), QString(40, 'x'));
        EXPECT_EQ(stringOf(item("wide")), QString::fromUtf8("ドライブ記録ドライブ記録ドライブ記録"));
        uint64_t uid = 0;
        plist_get_uid_val(item("uid"), &uid);
        EXPECT_EQ(uid, 70000u);
    }
}

TEST(BinaryPlistWriterTest, EqualScalarsAreOneObject)
{
    BinaryPlistWriter writer;
    EXPECT_EQ(writer.addInteger(5), writer.addInteger(5));
    EXPECT_EQ(writer.addString("a"), writer.addString("a"));
    EXPECT_EQ(writer.addUid(3), writer.addUid(3));
    EXPECT_EQ(writer.addReal(0.5), writer.addReal(0.5));
    EXPECT_NE(writer.addReal(0.0), writer.addReal(-0.0));
    EXPECT_NE(writer.addDictionary(), writer.addDictionary());
}

#include "recording/Mp4Reader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void putU32(Bytes &b, uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8)
        b.push_back(uint8_t(v >> s));
}

Bytes box(const char *type, size_t payloadSize, uint8_t fill = 0)
{
    Bytes b;
    putU32(b, uint32_t(8 + payloadSize));
    b.insert(b.end(), type, type + 4);
    b.insert(b.end(), payloadSize, fill);
    return b;
}

Bytes udat(uint32_t count, const std::vector<std::pair<uint32_t, uint32_t>> &entries, size_t trailing)
{
    Bytes payload;
    putU32(payload, 0);
    putU32(payload, count);
    for (auto [offset, size] : entries) {
        putU32(payload, offset);
        putU32(payload, size);
    }
    payload.insert(payload.end(), trailing, 0xEE);
    Bytes b;
    putU32(b, uint32_t(8 + payload.size()));
    b.insert(b.end(), {'u', 'd', 'a', 't'});
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const auto &p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

std::map<uint32_t, uint32_t> tableOf(const Bytes &file)
{
    return Mp4Reader(file).readUdatTable();
}

} // namespace

TEST(Mp4ReaderTest, WalkFindsTheFourBoxesUntilUdatAndMdat)
{
    const Bytes file =
        concat({box("ftyp", 24), box("free", 5), box("moov", 40), udat(1, {{0, 4}}, 4), box("mdat", 100)});
    Mp4Reader reader(file);
    ASSERT_EQ(reader.boxData().size(), 4u);
    EXPECT_EQ(reader.boxData().at(Mp4Reader::BoxType::Ftyp)._boxLen, 32u);
    EXPECT_EQ(reader.boxData().at(Mp4Reader::BoxType::Moov)._offset, 32u + 13u);
    EXPECT_EQ(reader.readPayload(Mp4Reader::BoxType::Moov).size(), 40u);
    EXPECT_EQ(reader.readPayload(Mp4Reader::BoxType::Mdat).size(), 100u);

    // A later box of the same type replaces the first; nothing after udat and mdat is read.
    const Bytes twice =
        concat({box("moov", 4), box("moov", 12), box("mdat", 4), udat(1, {{1, 2}}, 1), box("ftyp", 4)});
    Mp4Reader later(twice);
    EXPECT_EQ(later.boxData().at(Mp4Reader::BoxType::Moov)._boxLen, 20u);
    EXPECT_FALSE(later.boxData().contains(Mp4Reader::BoxType::Ftyp));
}

TEST(Mp4ReaderTest, WalkStopsAtUnsupportedOrBrokenLengths)
{
    // After an 8-byte ftyp: the 64-bit length form (1), a length past the end of the file, a header cut
    // short at the end of the file.
    Bytes large = box("moov", 8);
    large[3] = 1;
    Bytes longer = box("udat", 8);
    longer[2] = 0x10;
    const Bytes tail = {0, 0, 0, 8, 'u', 'd'};
    for (const Bytes &next : {concat({large, box("mdat", 8)}), longer, tail}) {
        const Bytes file = concat({box("ftyp", 8), next});
        EXPECT_EQ(Mp4Reader(file).boxData().size(), 1u) << next.size();
    }

    // A length with the top bit set reads as negative and counts as 0.
    Bytes negative = box("udat", 8);
    negative[0] = 0xFF;
    EXPECT_TRUE(Mp4Reader(negative).boxData().empty());
    const Bytes none;
    EXPECT_TRUE(Mp4Reader(none).readUdatTable().empty());
}

TEST(Mp4ReaderTest, UdatTableReadsOnlyEntriesFollowedByPayload)
{
    using Table = std::map<uint32_t, uint32_t>;
    // Count says 3, two entries present and one more byte: the two entries are read; without that
    // byte the second entry is the end of the payload and is not read.
    EXPECT_EQ(tableOf(udat(3, {{100, 10}, {200, 20}}, 1)), (Table{{100, 10}, {200, 20}}));
    EXPECT_EQ(tableOf(udat(3, {{100, 10}, {200, 20}}, 0)), (Table{{100, 10}}));
    // A repeated offset keeps the second size; the count stops the read even when more entries follow.
    EXPECT_EQ(tableOf(udat(2, {{100, 10}, {100, 30}, {300, 5}}, 1)), (Table{{100, 30}, {300, 5}}));
    EXPECT_EQ(tableOf(udat(1, {{100, 10}, {200, 20}}, 4)).size(), 1u);
    // A payload of exactly 16 bytes, a zero count or no udat box: empty.
    EXPECT_TRUE(tableOf(udat(1, {{100, 10}}, 0)).empty());
    EXPECT_TRUE(tableOf(udat(0, {{100, 10}}, 4)).empty());
    EXPECT_TRUE(tableOf(box("moov", 40)).empty());
}

TEST(Mp4ReaderTest, ReadsAFileToleratesMissingOnesAndEntriesPastTheEndReadEmpty)
{
    TempDir dir;
    const Bytes file = concat({box("ftyp", 24), udat(1, {{0, 8}}, 2)}); // 58 bytes
    Mp4Reader reader(
        dir.write("a.MP4", QByteArray(reinterpret_cast<const char *>(file.data()), file.size())));
    EXPECT_TRUE(reader.isOpen());
    EXPECT_EQ(reader.readUdatTable().size(), 1u);
    EXPECT_EQ(reader.readEntry(0, 8)[7], 0x70); // 'p' of ftyp
    EXPECT_EQ(reader.readEntry(56, 2).size(), 2u);
    EXPECT_TRUE(reader.readEntry(56, 3).empty());
    EXPECT_TRUE(reader.readEntry(0xFFFFFFFFull, 0xFFFFFFFFull).empty());
    EXPECT_TRUE(reader.readEntry(60, 0).empty());

    for (const QString &path : {dir.filePath("none.MP4"), dir.path()})
        EXPECT_FALSE(Mp4Reader(path).isOpen()) << qPrintable(path);
    Mp4Reader emptyFile(dir.write("empty.MP4", QByteArray()));
    EXPECT_TRUE(emptyFile.isOpen());
    EXPECT_TRUE(emptyFile.boxData().empty());
}

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

TEST(Mp4ReaderTest, WalkFindsTheFourBoxesAndSkipsOthers)
{
    const Bytes file =
        concat({box("ftyp", 24), box("free", 5), box("moov", 40), udat(1, {{0, 4}}, 4), box("mdat", 100)});
    Mp4Reader reader(file);
    ASSERT_EQ(reader.boxData().size(), 4u);
    EXPECT_EQ(reader.boxData().at(Mp4Reader::BoxType::Ftyp)._boxLen, 32u);
    EXPECT_EQ(reader.boxData().at(Mp4Reader::BoxType::Moov)._offset, 32u + 13u);
    EXPECT_EQ(reader.readPayload(Mp4Reader::BoxType::Moov).size(), 40u);
    EXPECT_EQ(reader.readPayload(Mp4Reader::BoxType::Mdat).size(), 100u);
}

TEST(Mp4ReaderTest, WalkStopsAtUnsupportedOrBrokenLengths)
{
    // 64-bit length form: length field 1 ends the walk.
    Bytes large = box("moov", 8);
    large[3] = 1;
    const Bytes fa = concat({box("ftyp", 8), large, box("mdat", 8)});
    Mp4Reader a(fa);
    EXPECT_TRUE(a.boxData().contains(Mp4Reader::BoxType::Ftyp));
    EXPECT_FALSE(a.boxData().contains(Mp4Reader::BoxType::Mdat));

    // A length running past the end of the file.
    Bytes longer = box("udat", 8);
    longer[2] = 0x10;
    const Bytes fb = concat({box("ftyp", 8), longer});
    Mp4Reader b(fb);
    EXPECT_FALSE(b.boxData().contains(Mp4Reader::BoxType::Udat));

    // A length with the top bit set reads as negative and counts as 0.
    Bytes negative = box("udat", 8);
    negative[0] = 0xFF;
    Mp4Reader c(negative);
    EXPECT_TRUE(c.boxData().empty());

    // A box header in the last bytes of the file is not read past the end.
    Bytes tail = concat({box("ftyp", 8)});
    tail.insert(tail.end(), {0, 0, 0, 8, 'u', 'd'});
    Mp4Reader d(tail);
    EXPECT_EQ(d.boxData().size(), 1u);

    const Bytes none;
    Mp4Reader empty(none);
    EXPECT_TRUE(empty.boxData().empty());
    EXPECT_TRUE(empty.readUdatTable().empty());
}

TEST(Mp4ReaderTest, LaterBoxOfSameTypeReplacesAndWalkStopsAfterUdatAndMdat)
{
    const Bytes file =
        concat({box("moov", 4), box("moov", 12), box("mdat", 4), udat(1, {{1, 2}}, 1), box("ftyp", 4)});
    Mp4Reader reader(file);
    EXPECT_EQ(reader.boxData().at(Mp4Reader::BoxType::Moov)._boxLen, 20u);
    EXPECT_FALSE(reader.boxData().contains(Mp4Reader::BoxType::Ftyp));
}

TEST(Mp4ReaderTest, UdatTableReadsOnlyEntriesFollowedByPayload)
{
    // Count says 3, two entries present and one more byte: the two entries are read.
    EXPECT_EQ(tableOf(udat(3, {{100, 10}, {200, 20}}, 1)),
              (std::map<uint32_t, uint32_t>{{100, 10}, {200, 20}}));

    // The second entry is the end of the payload: it is not read.
    EXPECT_EQ(tableOf(udat(3, {{100, 10}, {200, 20}}, 0)), (std::map<uint32_t, uint32_t>{{100, 10}}));

    // A repeated offset keeps the second size.
    EXPECT_EQ(tableOf(udat(2, {{100, 10}, {100, 30}, {300, 5}}, 1)),
              (std::map<uint32_t, uint32_t>{{100, 30}, {300, 5}}));

    // A payload of exactly 16 bytes, a zero count or no udat box: empty.
    EXPECT_TRUE(tableOf(udat(1, {{100, 10}}, 0)).empty());
    EXPECT_TRUE(tableOf(udat(0, {{100, 10}}, 4)).empty());
    EXPECT_TRUE(tableOf(box("moov", 40)).empty());

    // The count stops the read even when more entries follow.
    EXPECT_EQ(tableOf(udat(1, {{100, 10}, {200, 20}}, 4)).size(), 1u);
}

TEST(Mp4ReaderTest, EntriesPastTheEndReadEmpty)
{
    const Bytes file = concat({box("ftyp", 24)});
    Mp4Reader reader(file);
    EXPECT_EQ(reader.readEntry(0, 32).size(), 32u);
    EXPECT_EQ(reader.readEntry(30, 2).size(), 2u);
    EXPECT_TRUE(reader.readEntry(30, 3).empty());
    EXPECT_TRUE(reader.readEntry(0xFFFFFFFFull, 0xFFFFFFFFull).empty());
    EXPECT_TRUE(reader.readEntry(40, 0).empty());
}

TEST(Mp4ReaderTest, ReadsAMappedFileAndToleratesMissingOnes)
{
    TempDir dir;
    const Bytes file = concat({box("ftyp", 24), udat(1, {{0, 8}}, 2)});
    const QString path =
        dir.write("a.MP4", QByteArray(reinterpret_cast<const char *>(file.data()), file.size()));
    Mp4Reader reader(path);
    EXPECT_TRUE(reader.isOpen());
    EXPECT_EQ(reader.readUdatTable().size(), 1u);
    EXPECT_EQ(reader.readEntry(0, 8)[7], 0x70); // 'p' of ftyp

    Mp4Reader missing(dir.filePath("none.MP4"));
    EXPECT_FALSE(missing.isOpen());
    EXPECT_TRUE(missing.boxData().empty());
    Mp4Reader folder(dir.path());
    EXPECT_FALSE(folder.isOpen());
    const QString empty = dir.write("empty.MP4", QByteArray());
    Mp4Reader emptyFile(empty);
    EXPECT_TRUE(emptyFile.isOpen());
    EXPECT_TRUE(emptyFile.boxData().empty());
}

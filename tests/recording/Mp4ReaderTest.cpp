#include "recording/Mp4Reader.h"
#include "recording/RecordingRead.h"
#include "support/HostileFiles.h"
#include "support/TempDir.h"

namespace {

const auto u32 = HostileFiles::u32;

QByteArray box(const char *type, qsizetype payloadSize)
{
    return HostileFiles::box(type, QByteArray(payloadSize, '\0'));
}

QByteArray udat(uint32_t count, const std::vector<std::pair<uint32_t, uint32_t>> &entries, qsizetype trailing)
{
    QByteArray payload = u32(0) + u32(count);
    for (auto [offset, size] : entries)
        payload += u32(offset) + u32(size);
    return HostileFiles::box("udat", payload + QByteArray(trailing, '\xEE'));
}

std::map<uint32_t, uint32_t> tableOf(const QByteArray &file)
{
    return Mp4Reader(bytesOf(file)).readUdatTable();
}

} // namespace

TEST(Mp4ReaderTest, WalkFindsTheFourBoxesUntilUdatAndMdatAndStopsAtBrokenLengths)
{
    const QByteArray file =
        box("ftyp", 24) + box("free", 5) + box("moov", 40) + udat(1, {{0, 4}}, 4) + box("mdat", 100);
    Mp4Reader reader(bytesOf(file));
    ASSERT_EQ(reader.boxData().size(), 4u);
    EXPECT_EQ(reader.boxData().at(Mp4Reader::BoxType::Ftyp)._boxLen, 32u);
    EXPECT_EQ(reader.boxData().at(Mp4Reader::BoxType::Moov)._offset, 32u + 13u);
    EXPECT_EQ(reader.readPayload(Mp4Reader::BoxType::Moov).size(), 40u);
    EXPECT_EQ(reader.readPayload(Mp4Reader::BoxType::Mdat).size(), 100u);

    // A later box of the same type replaces the first; nothing after udat and mdat is read.
    const QByteArray twice =
        box("moov", 4) + box("moov", 12) + box("mdat", 4) + udat(1, {{1, 2}}, 1) + box("ftyp", 4);
    Mp4Reader later(bytesOf(twice));
    EXPECT_EQ(later.boxData().at(Mp4Reader::BoxType::Moov)._boxLen, 20u);
    EXPECT_FALSE(later.boxData().contains(Mp4Reader::BoxType::Ftyp));

    // After an 8-byte ftyp: the 64-bit length form (1), a length past the end of the file, a header cut
    // short at the end of the file.
    const QByteArray large = u32(1) + "moov" + QByteArray(8, '\0') + box("mdat", 8);
    const QByteArray longer = u32(0x1010) + "udat" + QByteArray(8, '\0');
    for (const QByteArray &next : {large, longer, u32(8) + "ud"}) {
        const QByteArray file = box("ftyp", 8) + next;
        EXPECT_EQ(Mp4Reader(bytesOf(file)).boxData().size(), 1u) << next.size();
    }

    // A length with the top bit set reads as negative and counts as 0.
    const QByteArray negative = u32(0xFF000010) + "udat" + QByteArray(8, '\0');
    EXPECT_TRUE(Mp4Reader(bytesOf(negative)).boxData().empty());
    EXPECT_TRUE(tableOf({}).empty());
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
    Mp4Reader reader(dir.write("a.MP4", box("ftyp", 24) + udat(1, {{0, 8}}, 2))); // 58 bytes
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

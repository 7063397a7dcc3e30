#include "card/VrecMoveManagerInfo.h"
#include "card/CardData.h"
#include "samplecard/ManagementFileWriter.h"
#include "support/TempDir.h"

#include <QUrl>
#include <gtest/gtest.h>

namespace {
ManagementRecordValues movie(int number, uint32_t timeStamp = 1000)
{
    ManagementRecordValues v;
    v.fileName = QString("202405011200%1").arg(number, 4, 10, QChar('0'));
    v.unixSeconds = 1714564800 + static_cast<uint32_t>(number) * 60;
    v.timeStamp = timeStamp;
    return v;
}

ManagementRecordValues endMarker()
{
    ManagementRecordValues v;
    v.type = 0xFF;
    return v;
}

std::span<const uint8_t> bytes(const QByteArray &data)
{
    return {reinterpret_cast<const uint8_t *>(data.constData()), static_cast<size_t>(data.size())};
}

std::vector<QString> readNames(const QByteArray &file)
{
    TempDir dir;
    const auto path = dir.write("VREC_MOV_MNG.DAT", file);
    CardData card;
    EXPECT_TRUE(card.readVrecMoveManagerFile(QUrl::fromLocalFile(path)));
    std::vector<QString> names;
    for (const auto &r : card._vrecList)
        names.push_back(r->_fileName);
    return names;
}
} // namespace

TEST(VrecMoveManagerInfoTest, DecodesEveryFieldOfAMovieRecord)
{
    auto v = movie(7, 0x01020304);
    v.unixSeconds = 1714564800;
    v.longitude = -0x1234;
    v.latitude = 0x2345;
    v.speedTenths = 57;
    v.gXmg = 250;
    v.gYmg = -100;
    v.gZmg = 1500;
    v.sw = 3;
    v.status = 9;
    const auto data = ManagementFileWriter::vrecRecord(v);
    const VrecMoveManagerInfo info(bytes(data));
    EXPECT_TRUE(info._infoEnable);
    EXPECT_FALSE(info._readStopFlag);
    EXPECT_EQ(info._detectType, 17);
    EXPECT_EQ(info._datetime, Date::fromUnixSeconds(1714564800));
    EXPECT_EQ(info._posWest, 1);
    EXPECT_EQ(info._longitude, -4660);
    EXPECT_EQ(info._posSouth, 0);
    EXPECT_EQ(info._latitude, 0x2345);
    EXPECT_DOUBLE_EQ(info._speed, 5.0); // whole units only in this file
    EXPECT_DOUBLE_EQ(info._gX, 0.25);
    EXPECT_DOUBLE_EQ(info._gY, -0.1);
    EXPECT_DOUBLE_EQ(info._gZ, 0.5);
    EXPECT_EQ(info._sw, 3);
    EXPECT_EQ(info._status, 9);
    EXPECT_EQ(info._timeStamp, 0x01020304u);
    EXPECT_EQ(info._fileName, "2024050112000007");
}

TEST(VrecMoveManagerInfoTest, NoPositionLeavesBothCoordinatesZero)
{
    auto v = movie(1);
    v.hasPosition = false;
    const auto data = ManagementFileWriter::vrecRecord(v);
    const VrecMoveManagerInfo info(bytes(data));
    EXPECT_EQ(info._longitude, 0);
    EXPECT_EQ(info._latitude, 0);
    EXPECT_EQ(info._posWest, 0);
    EXPECT_EQ(info._posSouth, 0);
}

TEST(VrecMoveManagerInfoTest, RejectsOtherTypesNamesWithoutNumberAndShortData)
{
    auto v = movie(1);
    v.fileName = "2024050112000000"; // 16 digits: trip key, file number 0000
    EXPECT_FALSE(VrecMoveManagerInfo(bytes(ManagementFileWriter::vrecRecord(v)))._infoEnable);
    v = movie(1);
    v.type = 0x10;
    EXPECT_FALSE(VrecMoveManagerInfo(bytes(ManagementFileWriter::vrecRecord(v)))._infoEnable);
    const auto marker = VrecMoveManagerInfo(bytes(ManagementFileWriter::vrecRecord(endMarker())));
    EXPECT_FALSE(marker._infoEnable);
    EXPECT_TRUE(marker._readStopFlag);
    const auto whole = ManagementFileWriter::vrecRecord(movie(1));
    EXPECT_FALSE(VrecMoveManagerInfo(bytes(whole.left(79)))._infoEnable);
    EXPECT_FALSE(VrecMoveManagerInfo({})._infoEnable);
}

TEST(VrecMoveManagerInfoTest, HeaderModeDecidesWhetherAnEndMarkerStopsTheList)
{
    using W = ManagementFileWriter;
    const std::vector<QByteArray> records = {W::vrecRecord(movie(1)), W::vrecRecord(endMarker()),
                                             W::vrecRecord(movie(3))};
    EXPECT_EQ(readNames(W::vrecFile(1, records)).size(), 1u);
    EXPECT_EQ(readNames(W::vrecFile(0, records)).size(), 2u);
    EXPECT_TRUE(readNames(W::vrecFile(2, records)).empty());
}

TEST(VrecMoveManagerInfoTest, ReaderTakesOnlyWholeRecordsOfATruncatedFile)
{
    using W = ManagementFileWriter;
    const auto file = W::vrecFile(0, {W::vrecRecord(movie(1)), W::vrecRecord(movie(2))});
    EXPECT_EQ(readNames(file).size(), 2u);
    EXPECT_EQ(readNames(file.left(file.size() - 1)).size(), 1u);
    EXPECT_EQ(readNames(file.left(64 + 80)).size(), 1u);
    EXPECT_TRUE(readNames(file.left(64)).empty());
}

TEST(VrecMoveManagerInfoTest, ReaderFailsWithoutFileOrHeaderAndAppendsOtherwise)
{
    TempDir dir;
    CardData card;
    EXPECT_FALSE(card.readVrecMoveManagerFile(QUrl::fromLocalFile(dir.filePath("missing.DAT"))));
    EXPECT_FALSE(card.readVrecMoveManagerFile(QUrl("http://example.invalid/VREC_MOV_MNG.DAT")));
    EXPECT_FALSE(
        card.readVrecMoveManagerFile(QUrl::fromLocalFile(dir.write("short.DAT", QByteArray(63, '\0')))));
    const auto path = dir.write(
        "VREC_MOV_MNG.DAT", ManagementFileWriter::vrecFile(0, {ManagementFileWriter::vrecRecord(movie(1))}));
    EXPECT_TRUE(card.readVrecMoveManagerFile(QUrl::fromLocalFile(path)));
    EXPECT_TRUE(card.readVrecMoveManagerFile(QUrl::fromLocalFile(path)));
    EXPECT_EQ(card._vrecList.size(), 2u); // the reader appends; the loader empties the list first
}

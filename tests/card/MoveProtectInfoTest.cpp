#include "card/MoveProtectInfo.h"
#include "card/CardData.h"
#include "samplecard/ManagementFileWriter.h"
#include "support/TempDir.h"

#include <QUrl>
#include <gtest/gtest.h>

namespace {
using W = ManagementFileWriter;
using Detect = MoveProtectInfo::DetectStatus;

ManagementRecordValues event(int number, uint8_t type = 0x10)
{
    ManagementRecordValues v;
    v.type = type;
    v.fileName = QString("202405011200%1").arg(number, 4, 10, QChar('0'));
    v.unixSeconds = 1714564800 + static_cast<uint32_t>(number);
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

struct Read
{
    bool ok = false;
    std::vector<std::pair<Detect, QString>> records;
};

Read readSection(const QByteArray &file, int section)
{
    TempDir dir;
    CardData card;
    Read result;
    result.ok = card.readMoveProtectFile(QUrl::fromLocalFile(dir.write("MOV_PRCT.DAT", file)), section);
    for (const auto &r : card._moveProtectList)
        result.records.emplace_back(r->_detect, r->_fileName);
    return result;
}
} // namespace

TEST(MoveProtectInfoTest, DecodesEveryFieldOfAnEventRecord)
{
    auto v = event(12, 0x20);
    v.longitude = 0x1234;
    v.latitude = -0x42;
    v.speedTenths = 57;
    v.gXmg = -2;
    v.gZmg = 1000;
    v.sw = 1;
    v.status = 2;
    v.channel = 3;
    v.frameSize = 0xA0B0C0D0;
    v.timeStamp = 0x11223344;
    v.id = 0x55;
    v.timeStamp2 = 77;
    v.protectType = 4;
    v.survRecValidData = 5;
    const MoveProtectInfo info(bytes(W::prctRecord(v)), Detect::SW);
    EXPECT_TRUE(info._isInfoEnable);
    EXPECT_EQ(info._detectType, 20);
    EXPECT_EQ(info._detect, Detect::SW);
    EXPECT_EQ(info._datetime, Date::fromUnixSeconds(1714564812));
    EXPECT_EQ(info._longitude, 0x1234);
    EXPECT_EQ(info._posWest, 0);
    EXPECT_EQ(info._latitude, -0x42);
    EXPECT_EQ(info._posSouth, 1);
    EXPECT_DOUBLE_EQ(info._speed, 5.7); // the tenth is kept here
    EXPECT_DOUBLE_EQ(info._gX, -0.002);
    EXPECT_DOUBLE_EQ(info._gZ, 0.0);
    EXPECT_EQ(info._sw, 1);
    EXPECT_EQ(info._status, 2);
    EXPECT_EQ(info._pictureChannel, 3);
    EXPECT_EQ(info._frameSize, 0xA0B0C0D0u);
    EXPECT_EQ(info._timeStamp, 0x11223344u);
    EXPECT_EQ(info._id, 0x55);
    EXPECT_EQ(info._timeStamp2, 77u);
    EXPECT_EQ(info._fileName, "2024050112000012");
    EXPECT_EQ(info._protectType, 4);
    EXPECT_EQ(info._survRecValidData, 5);
}

TEST(MoveProtectInfoTest, TypeBytesAndSurveillanceValidity)
{
    for (uint8_t type : {0x10, 0x12, 0x17, 0x20}) {
        const MoveProtectInfo info(bytes(W::prctRecord(event(1, type))), Detect::G);
        EXPECT_TRUE(info._isInfoEnable) << int(type);
        EXPECT_EQ(info._detectType, (type >> 4) * 10 + (type & 0xF));
    }
    EXPECT_FALSE(MoveProtectInfo(bytes(W::prctRecord(event(1, 0x11))), Detect::SW)._isInfoEnable);
    EXPECT_TRUE(MoveProtectInfo(bytes(W::prctRecord(event(1, 0x17))), Detect::SW)._isInfoEnable);

    auto v = event(1);
    v.survRecValidData = 0;
    EXPECT_FALSE(MoveProtectInfo(bytes(W::prctRecord(v)), Detect::SURV)._isInfoEnable);
    EXPECT_TRUE(MoveProtectInfo(bytes(W::prctRecord(v)), Detect::G)._isInfoEnable);

    const MoveProtectInfo marker(bytes(W::prctRecord(endMarker())), Detect::G);
    EXPECT_FALSE(marker._isInfoEnable);
    EXPECT_TRUE(marker._isReadStopFlag);
}

TEST(MoveProtectInfoTest, EachSectionGivesItsKindAndAnEndMarkerStopsOnlyItsSection)
{
    const auto file =
        W::prctFile(1, {std::vector{W::prctRecord(event(1)), W::prctRecord(event(2)),
                                    W::prctRecord(endMarker()), W::prctRecord(event(4))},
                        std::vector{W::prctRecord(event(5))},
                        std::vector{W::prctRecord(event(6, 0x20)), W::prctRecord(event(7, 0x20))}});
    const auto g = readSection(file, 1);
    ASSERT_TRUE(g.ok);
    ASSERT_EQ(g.records.size(), 2u);
    EXPECT_EQ(g.records[0], std::make_pair(Detect::G, QString("2024050112000001")));
    EXPECT_EQ(g.records[1].second, "2024050112000002");
    const auto surv = readSection(file, 2);
    ASSERT_EQ(surv.records.size(), 1u);
    EXPECT_EQ(surv.records[0].first, Detect::SURV);
    const auto sw = readSection(file, 3);
    ASSERT_EQ(sw.records.size(), 2u);
    EXPECT_EQ(sw.records[1], std::make_pair(Detect::SW, QString("2024050112000007")));

    // Mode 0 reads past the end marker; mode 2 takes nothing; kind 0 has no records.
    auto mode0 = file;
    mode0[0] = 0;
    EXPECT_EQ(readSection(mode0, 1).records.size(), 3u);
    auto mode2 = file;
    mode2[0] = 2;
    const auto none = readSection(mode2, 1);
    EXPECT_TRUE(none.ok);
    EXPECT_TRUE(none.records.empty());
    const auto kind0 = readSection(file, 0);
    EXPECT_TRUE(kind0.ok);
    EXPECT_TRUE(kind0.records.empty());
}

TEST(MoveProtectInfoTest, TruncatedFileGivesTheWholeRecordsThatAreThere)
{
    const auto file = W::prctFile(0, {std::vector{W::prctRecord(event(1)), W::prctRecord(event(2))},
                                      std::vector{W::prctRecord(event(3))}, std::vector<QByteArray>{}});
    // Cut inside the second G record: one record, and the later sections are simply empty.
    const auto cut = file.left(0x200 + 512 + 100);
    EXPECT_EQ(readSection(cut, 1).records.size(), 1u);
    const auto surv = readSection(cut, 2);
    EXPECT_TRUE(surv.ok);
    EXPECT_TRUE(surv.records.empty());
    // Cut inside the surveillance section's first record.
    EXPECT_TRUE(readSection(file.left(0x1600 + 511), 2).records.empty());
    EXPECT_EQ(readSection(file.left(0x1600 + 512), 2).records.size(), 1u);
    // Shorter than the header: nothing was read.
    EXPECT_FALSE(readSection(file.left(511), 1).ok);
}

TEST(MoveProtectInfoTest, MissingFileFails)
{
    TempDir dir;
    CardData card;
    EXPECT_FALSE(card.readMoveProtectFile(QUrl::fromLocalFile(dir.filePath("MOV_PRCT.DAT")), 1));
}

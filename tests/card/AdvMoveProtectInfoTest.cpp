#include "card/AdvMoveProtectInfo.h"
#include "card/CardData.h"
#include "samplecard/ManagementFileWriter.h"
#include "support/TempDir.h"

#include <QUrl>
#include <gtest/gtest.h>

namespace {
using W = ManagementFileWriter;

ManagementRecordValues adventure(int number)
{
    ManagementRecordValues v;
    v.type = 0x25;
    v.fileName = QString("202405011200%1").arg(number, 4, 10, QChar('0'));
    v.unixSeconds = 1714564800 + static_cast<uint32_t>(number);
    return v;
}

std::span<const uint8_t> bytes(const QByteArray &data)
{
    return {reinterpret_cast<const uint8_t *>(data.constData()), static_cast<size_t>(data.size())};
}

std::vector<QString> readNames(const QByteArray &file, bool *ok = nullptr)
{
    TempDir dir;
    CardData card;
    const bool read = card.readAdvMoveProtectFile(QUrl::fromLocalFile(dir.write("ADV_PRCT.DAT", file)));
    if (ok)
        *ok = read;
    std::vector<QString> names;
    for (const auto &r : card._advMoveProtectList)
        names.push_back(r->_fileName);
    return names;
}
} // namespace

TEST(AdvMoveProtectInfoTest, DecodesTheRecordWithItsEndDateAndStartFlag)
{
    auto v = adventure(42);
    v.advModeStartFlg = 1;
    v.endUnixSeconds = 1714568400;
    v.speedTenths = 123;
    v.timeStamp = 5000;
    const AdvMoveProtectInfo info(bytes(W::advRecord(v)));
    EXPECT_TRUE(info._infoEnable);
    EXPECT_EQ(info._detectType, 25);
    EXPECT_EQ(info._datetime, Date::fromUnixSeconds(1714564842));
    EXPECT_EQ(info._endDatetime, Date::fromUnixSeconds(1714568400));
    EXPECT_EQ(info.advModeStartFlg, 1);
    EXPECT_DOUBLE_EQ(info._speed, 12.3);
    EXPECT_EQ(info._timeStamp, 5000u);
    EXPECT_EQ(info.fileNumber(), 42);
}

TEST(AdvMoveProtectInfoTest, EndMarkerIsNoRecordAndDoesNotStopTheFile)
{
    auto marker = adventure(2);
    marker.type = 0xFF;
    const AdvMoveProtectInfo info(bytes(W::advRecord(marker)));
    EXPECT_FALSE(info._infoEnable);
    EXPECT_FALSE(info._readStopFlag);
    const auto names =
        readNames(W::advFile({W::advRecord(adventure(1)), W::advRecord(marker), W::advRecord(adventure(3))}));
    EXPECT_EQ(names, (std::vector<QString>{"2024050112000001", "2024050112000003"}));
}

TEST(AdvMoveProtectInfoTest, FirstRecordOfARepeatedNameWins)
{
    auto first = adventure(5);
    auto second = adventure(5);
    second.unixSeconds = 1;
    TempDir dir;
    CardData card;
    ASSERT_TRUE(card.readAdvMoveProtectFile(QUrl::fromLocalFile(
        dir.write("ADV_PRCT.DAT", W::advFile({W::advRecord(first), W::advRecord(second)})))));
    ASSERT_EQ(card._advMoveProtectList.size(), 1u);
    EXPECT_EQ(card._advMoveProtectList[0]->_datetime, Date::fromUnixSeconds(first.unixSeconds));
}

TEST(AdvMoveProtectInfoTest, NamesWithoutDigitsAreSkipped)
{
    auto v = adventure(1);
    v.fileName = "202405011200ABCD";
    const AdvMoveProtectInfo info(bytes(W::advRecord(v)));
    EXPECT_FALSE(info._infoEnable);
    EXPECT_EQ(info.fileNumber(), 0);
}

TEST(AdvMoveProtectInfoTest, ReaderTakesEveryWholeRecordAndNeverReadsPastTheData)
{
    const auto file = W::advFile({W::advRecord(adventure(1)), W::advRecord(adventure(2))});
    bool ok = false;
    EXPECT_EQ(readNames(file, &ok).size(), 2u);
    EXPECT_TRUE(ok);
    EXPECT_EQ(readNames(file.left(file.size() - 1)).size(), 1u);
    EXPECT_TRUE(readNames(file.left(512), &ok).empty());
    EXPECT_TRUE(ok);
    readNames(file.left(100), &ok);
    EXPECT_FALSE(ok);
}

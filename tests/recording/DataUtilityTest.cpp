#include "recording/DataUtility.h"
#include "platform/PlatformError.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

int errorCode(const std::function<void()> &call)
{
    try {
        call();
    } catch (const PlatformError &error) {
        return error.code();
    }
    return 999;
}

QString errorDomain(const std::function<void()> &call)
{
    try {
        call();
    } catch (const PlatformError &error) {
        return error.domain();
    }
    return {};
}

Date utc(int y, int mo, int d, int h, int mi, int s)
{
    return Date::fromDateTime(QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC));
}

} // namespace

TEST(DataUtilityTest, BcdDigitsAndTheirErrors)
{
    EXPECT_EQ(DataUtility::bcdToInt(0x00), 0);
    EXPECT_EQ(DataUtility::bcdToInt(0x59), 59);
    EXPECT_EQ(DataUtility::bcdToInt(0x99), 99);
    for (std::uint8_t bad : {0x9A, 0xA0, 0x1F, 0xFF}) {
        EXPECT_EQ(errorCode([&] { DataUtility::bcdToInt(bad); }), 0) << int(bad);
        EXPECT_EQ(errorDomain([&] { DataUtility::bcdToInt(bad); }), QStringLiteral("Orvalind"));
    }

    const Bytes number = {0x12, 0x34, 0x56, 0x78};
    EXPECT_EQ(DataUtility::getBcdUInt32(number, 0), 12345678u);
    EXPECT_EQ(DataUtility::getBcdUInt16(number, 2), 5678u);
    EXPECT_EQ(errorCode([&] { DataUtility::getBcdUInt32(Bytes{0x12, 0x3A, 0, 0}, 0); }), 0);

    EXPECT_EQ(DataUtility::getBcdInt16(Bytes{0x80, 0x25}, 0), -25);
    EXPECT_EQ(DataUtility::getBcdInt16(Bytes{0x12, 0x34}, 0), 1234);
    EXPECT_EQ(DataUtility::getBcdInt16(Bytes{0x92, 0x34}, 0), -1234);
    EXPECT_EQ(DataUtility::getBcdInt16(Bytes{0x80, 0x00}, 0), 0);
    EXPECT_EQ(DataUtility::getBcdInt16(Bytes{0xF9, 0x99}, 0), -7999);
}

TEST(DataUtilityTest, BcdReadersRefuseFieldsPastTheEnd)
{
    const Bytes three = {0x12, 0x34, 0x56};
    EXPECT_EQ(errorCode([&] { DataUtility::getBcdUInt32(three, 0); }), 0);
    EXPECT_EQ(errorCode([&] { DataUtility::getBcdUInt16(three, 2); }), 0);
    EXPECT_EQ(errorCode([&] { DataUtility::getBcdInt16(three, 2); }), 0);
    EXPECT_EQ(errorCode([&] { DataUtility::getBcdUInt16(three, -1); }), 0);
    EXPECT_EQ(errorCode([&] { DataUtility::getBcdDate(Bytes{0x19, 0x12, 0x31, 0x23, 0x59}, 0); }), 0);
    EXPECT_EQ(errorCode([&] { DataUtility::getBcdDate(Bytes{}, 0); }), 0);
}

TEST(DataUtilityTest, BcdDates)
{
    EXPECT_EQ(DataUtility::getBcdDate(Bytes{0x19, 0x12, 0x31, 0x23, 0x59, 0x59}, 0),
              utc(2019, 12, 31, 23, 59, 59));
    EXPECT_EQ(DataUtility::getBcdDate(Bytes{0xFF, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00}, 1),
              utc(2000, 1, 1, 0, 0, 0));

    // Digits that make no date: code -1 with the description as domain.
    const Bytes badMonth = {0, 0, 0, 0, 0, 0, 0, 0,    0,    0,    0,    0,    0,
                            0, 0, 0, 0, 0, 0, 0, 0x19, 0x13, 0x01, 0x02, 0x03, 0x04};
    EXPECT_EQ(errorCode([&] { DataUtility::getBcdDate(badMonth, 20); }), -1);
    EXPECT_EQ(errorDomain([&] { DataUtility::getBcdDate(badMonth, 20); }),
              QStringLiteral("BCD日時データの変換に失敗しました。addr:0x00014 year=[2019] mon=[13] mday=[1] "
                             "hour=[2] min=[3] sec=[4]"));
    EXPECT_EQ(errorCode([&] { DataUtility::getBcdDate(Bytes{0x19, 0x01, 0x00, 0, 0, 0}, 0); }), -1);
    EXPECT_EQ(errorCode([&] { DataUtility::getBcdDate(Bytes{0x19, 0x02, 0x30, 0, 0, 0}, 0); }), -1);
    // A bad digit anywhere is reported before the date is looked at.
    EXPECT_EQ(errorCode([&] { DataUtility::getBcdDate(Bytes{0x19, 0x13, 0x01, 0x00, 0x00, 0x1F}, 0); }), 0);
}

TEST(DataUtilityTest, UnixDates)
{
    EXPECT_EQ(DataUtility::getUnixDate(Bytes{0, 0, 0, 0}, 0), Date::fromUnixSeconds(0));
    EXPECT_EQ(DataUtility::getUnixDate(Bytes{0xFF, 0xFF, 0xFF, 0xFF}, 0),
              Date::fromUnixSeconds(4294967295LL));
    EXPECT_EQ(DataUtility::getUnixDate(Bytes{0x5E, 0x0B, 0xE1, 0x00}, 0), utc(2020, 1, 1, 0, 0, 0));
    EXPECT_EQ(DataUtility::getUnixDate(Bytes{0, 0, 0}, 0), Date::distantPast());
    EXPECT_EQ(DataUtility::getUnixDate(Bytes{0, 0, 0, 0}, 1), Date::distantPast());
}

TEST(DataUtilityTest, BigEndianFieldsAndShortData)
{
    const Bytes data = {0x01, 0x02, 0x03, 0x04, 0xFF};
    EXPECT_EQ(DataUtility::getUInt32(data, 0), 0x01020304u);
    EXPECT_EQ(DataUtility::getUInt32(data, 1), 0x020304FFu);
    EXPECT_EQ(DataUtility::getUInt32(data, 2), 0u);
    EXPECT_EQ(DataUtility::getUInt24(data, 2), 0x0304FF);
    EXPECT_EQ(DataUtility::getUInt24(Bytes{0xFF, 0xFF, 0xFF}, 0), 16777215);
    EXPECT_EQ(DataUtility::getUInt24(data, 3), 0);
    EXPECT_EQ(DataUtility::getUInt16(data, 3), 0x04FFu);
    EXPECT_EQ(DataUtility::getUInt16(data, 4), 0u);
    EXPECT_EQ(DataUtility::getUInt16(data, -1), 0u);
    EXPECT_EQ(DataUtility::getUInt32(Bytes{}, 0), 0u);

    EXPECT_EQ(DataUtility::toUInt32(Bytes{}), 0);
    EXPECT_EQ(DataUtility::toUInt32(Bytes{1, 2, 3, 4, 5}), 0);
    EXPECT_EQ(DataUtility::toUInt32(Bytes{0x80, 0, 0, 0}), -2147483647 - 1);
    EXPECT_EQ(DataUtility::toUInt32(Bytes{0xFF, 0xFF, 0xFF, 0xFF}), -1);
    EXPECT_EQ(DataUtility::toUInt32(Bytes{0xFF, 0xFF, 0xFF}), 16777215);
    EXPECT_EQ(DataUtility::toUInt32(Bytes{0x12, 0x34}), 4660);
}

TEST(DataUtilityTest, HexTextAndSubArrays)
{
    const Bytes data = {0x0A, 0xFF, 0x00};
    EXPECT_EQ(DataUtility::toHexString(data), QStringLiteral("0AFF00"));
    EXPECT_EQ(DataUtility::toHexString(Bytes{}), QString());
    EXPECT_EQ(DataUtility::toHexString(data, 1, 2), QStringLiteral("FF00"));
    EXPECT_EQ(DataUtility::toHexString(data, 2, 2), QString());
    EXPECT_EQ(DataUtility::toHexString(data, -1, 1), QString());

    EXPECT_EQ(DataUtility::subArray(data, 1, 2), QByteArray("\xFF\x00", 2));
    EXPECT_EQ(DataUtility::subArray(data, 3, 0), QByteArray());
    EXPECT_TRUE(DataUtility::subArray(data, 2, 5).isEmpty());
    EXPECT_TRUE(DataUtility::subArray(data, 0, -1).isEmpty());

    const QByteArray raw("\x01\x02", 2);
    EXPECT_EQ(DataUtility::getUInt16(DataUtility::asBytes(raw), 0), 0x0102u);
}

TEST(DataUtilityTest, GSamples)
{
    EXPECT_EQ(DataUtility::hexToGValue(QStringLiteral("0000")), 0);
    EXPECT_EQ(DataUtility::hexToGValue(QStringLiteral("000F")), 0);
    EXPECT_EQ(DataUtility::hexToGValue(QStringLiteral("0010")), 2);
    EXPECT_EQ(DataUtility::hexToGValue(QStringLiteral("7FF0")), 4094);
    EXPECT_EQ(DataUtility::hexToGValue(QStringLiteral("7FFF")), 4094);
    EXPECT_EQ(DataUtility::hexToGValue(QStringLiteral("8000")), -4096);
    EXPECT_EQ(DataUtility::hexToGValue(QStringLiteral("FFF0")), -2);
    EXPECT_EQ(DataUtility::hexToGValue(QStringLiteral("ffff")), -2);
    EXPECT_EQ(DataUtility::hexToGValue(QString()), 0);
    EXPECT_EQ(DataUtility::hexToGValue(QStringLiteral("XYZ")), 0);
    // More than one sample's worth of digits would not fit the result.
    EXPECT_EQ(DataUtility::hexToGValue(QStringLiteral("FFFFFF")), 0);
    EXPECT_EQ(DataUtility::hexToGValue(QStringLiteral("123456789")), 0);
    EXPECT_EQ(DataUtility::hexToGValue(QStringLiteral(" 10")), 0);
    EXPECT_EQ(DataUtility::hexToGValue(QStringLiteral("0x10")), 0);
    EXPECT_EQ(DataUtility::hexToGValue(QStringLiteral("-")), 0);
}

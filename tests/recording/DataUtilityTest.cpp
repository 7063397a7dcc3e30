#include "recording/DataUtility.h"
#include "recording/RecordingRead.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

int codeOf(const std::function<void()> &call)
{
    return errorOf(call).first;
}

} // namespace

TEST(DataUtilityTest, BcdNumbersDatesAndTheirErrors)
{
    EXPECT_EQ(DataUtility::bcdToInt(0x59), 59);
    for (std::uint8_t bad : {0x9A, 0xA0, 0x1F, 0xFF})
        EXPECT_EQ(errorOf([&] { DataUtility::bcdToInt(bad); }), std::pair(0, QStringLiteral("Orvalind")))
            << int(bad);

    const Bytes number = {0x12, 0x34, 0x56, 0x78};
    EXPECT_EQ(DataUtility::getBcdUInt32(number, 0), 12345678u);
    EXPECT_EQ(DataUtility::getBcdUInt16(number, 2), 5678u);
    EXPECT_EQ(codeOf([&] { DataUtility::getBcdUInt32(Bytes{0x12, 0x3A, 0, 0}, 0); }), 0);
    // The top bit of a signed field is its sign; the other three bits of that digit are digits.
    for (const auto &[high, value] : {std::pair{0x80, -25}, {0x00, 25}, {0x92, -1225}, {0xF9, -7925}})
        EXPECT_EQ(DataUtility::getBcdInt16(Bytes{uint8_t(high), 0x25}, 0), value) << high;

    // Fields past the end are refused, not read.
    const Bytes three = {0x12, 0x34, 0x56};
    EXPECT_EQ(codeOf([&] { DataUtility::getBcdUInt32(three, 0); }), 0);
    EXPECT_EQ(codeOf([&] { DataUtility::getBcdUInt16(three, 2); }), 0);
    EXPECT_EQ(codeOf([&] { DataUtility::getBcdInt16(three, 2); }), 0);
    EXPECT_EQ(codeOf([&] { DataUtility::getBcdUInt16(three, -1); }), 0);
    EXPECT_EQ(codeOf([&] { DataUtility::getBcdDate(Bytes{0x19, 0x12, 0x31, 0x23, 0x59}, 0); }), 0);
    EXPECT_EQ(codeOf([&] { DataUtility::getBcdDate(Bytes{}, 0); }), 0);

    EXPECT_EQ(DataUtility::getBcdDate(Bytes{0x19, 0x12, 0x31, 0x23, 0x59, 0x59}, 0),
              utc(2019, 12, 31, 23, 59, 59));
    EXPECT_EQ(DataUtility::getBcdDate(Bytes{0xFF, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00}, 1),
              utc(2000, 1, 1, 0, 0, 0));

    // Digits that make no date: code -1 with the description as domain.
    Bytes badMonth(20, 0);
    badMonth.insert(badMonth.end(), {0x19, 0x13, 0x01, 0x02, 0x03, 0x04});
    EXPECT_EQ(
        errorOf([&] { DataUtility::getBcdDate(badMonth, 20); }),
        std::pair(-1, QStringLiteral("BCD日時データの変換に失敗しました。addr:0x00014 year=[2019] mon=[13] "
                                     "mday=[1] hour=[2] min=[3] sec=[4]")));
    EXPECT_EQ(codeOf([&] { DataUtility::getBcdDate(Bytes{0x19, 0x01, 0x00, 0, 0, 0}, 0); }), -1);
    EXPECT_EQ(codeOf([&] { DataUtility::getBcdDate(Bytes{0x19, 0x02, 0x30, 0, 0, 0}, 0); }), -1);
    // A bad digit anywhere is reported before the date is looked at.
    EXPECT_EQ(codeOf([&] { DataUtility::getBcdDate(Bytes{0x19, 0x13, 0x01, 0x00, 0x00, 0x1F}, 0); }), 0);

    // The form that throws nothing: the same date, or none wherever the other throws.
    const std::pair<Bytes, qsizetype> dates[] = {
        {{0x19, 0x12, 0x31, 0x23, 0x59, 0x59}, 0},
        {{0xFF, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00}, 1},
        {badMonth, 20},
        {{0x19, 0x01, 0x00, 0, 0, 0}, 0},
        {{0x19, 0x02, 0x30, 0, 0, 0}, 0},
        {{0x19, 0x13, 0x01, 0x00, 0x00, 0x1F}, 0},
        {{0x19, 0x12, 0x31, 0x23, 0x59}, 0},
        {{0, 0, 0, 0, 0, 0}, 0},
        {{0x19, 0x12, 0x31, 0x24, 0x00, 0x00}, 0},
        {{0x19, 0x12, 0x31, 0x23, 0x59, 0x59}, -1},
    };
    for (const auto &date : dates) {
        // Named copies: clang 14 lambdas cannot capture structured bindings.
        const Bytes &bytes = date.first;
        const qsizetype offset = date.second;
        std::optional<Date> thrown;
        if (codeOf([&] { thrown = DataUtility::getBcdDate(bytes, offset); }) != 999)
            thrown.reset();
        EXPECT_EQ(DataUtility::bcdDate(bytes, offset), thrown) << offset;
    }

    EXPECT_EQ(DataUtility::getUnixDate(Bytes{0xFF, 0xFF, 0xFF, 0xFF}, 0),
              Date::fromUnixSeconds(4294967295LL));
    EXPECT_EQ(DataUtility::getUnixDate(Bytes{0x5E, 0x0B, 0xE1, 0x00}, 0), utc(2020, 1, 1, 0, 0, 0));
    EXPECT_EQ(DataUtility::getUnixDate(Bytes{0, 0, 0}, 0), Date::distantPast());
    EXPECT_EQ(DataUtility::getUnixDate(Bytes{0, 0, 0, 0}, 1), Date::distantPast());
}

TEST(DataUtilityTest, BigEndianFieldsHexTextAndShortData)
{
    const Bytes data = {0x01, 0x02, 0x03, 0x04, 0xFF};
    EXPECT_EQ(DataUtility::getUInt32(data, 1), 0x020304FFu);
    EXPECT_EQ(DataUtility::getUInt32(data, 2), 0u);
    EXPECT_EQ(DataUtility::getUInt24(data, 2), 0x0304FF);
    EXPECT_EQ(DataUtility::getUInt24(data, 3), 0);
    EXPECT_EQ(DataUtility::getUInt16(data, 3), 0x04FFu);
    EXPECT_EQ(DataUtility::getUInt16(data, 4), 0u);
    EXPECT_EQ(DataUtility::getUInt16(data, -1), 0u);

    // (bytes, as a signed number): more than four bytes give 0.
    const std::pair<Bytes, int> numbers[] = {{{}, 0},
                                             {{1, 2, 3, 4, 5}, 0},
                                             {{0x80, 0, 0, 0}, INT32_MIN},
                                             {{0xFF, 0xFF, 0xFF, 0xFF}, -1},
                                             {{0xFF, 0xFF, 0xFF}, 16777215}};
    for (const auto &[bytes, value] : numbers)
        EXPECT_EQ(DataUtility::toUInt32(bytes), value) << bytes.size();

    const Bytes hex = {0x0A, 0xFF, 0x00};
    EXPECT_EQ(DataUtility::toHexString(hex), QStringLiteral("0AFF00"));
    EXPECT_EQ(DataUtility::toHexString(hex, 1, 2), QStringLiteral("FF00"));
    EXPECT_EQ(DataUtility::toHexString(hex, 2, 2), QString());
    EXPECT_EQ(DataUtility::toHexString(hex, -1, 1), QString());
    EXPECT_EQ(DataUtility::subArray(hex, 1, 2), QByteArray("\xFF\x00", 2));
    EXPECT_EQ(DataUtility::subArray(hex, 3, 0), QByteArray());
    EXPECT_TRUE(DataUtility::subArray(hex, 2, 5).isEmpty());
    EXPECT_TRUE(DataUtility::subArray(hex, 0, -1).isEmpty());
}

TEST(DataUtilityTest, GSamples)
{
    // The top 12 bits are a two's complement count of 2 mg; text that is no sample's four hex digits is 0.
    const std::pair<const char *, int> samples[] = {
        {"000F", 0}, {"0010", 2},   {"7FFF", 4094},   {"8000", -4096}, {"ffff", -2}, {"", 0},
        {"XYZ", 0},  {"FFFFFF", 0}, {"123456789", 0}, {" 10", 0},      {"0x10", 0},  {"-", 0},
    };
    for (const auto &[text, value] : samples)
        EXPECT_EQ(DataUtility::hexToGValue(QString::fromLatin1(text)), value) << text;
}

#include "recording/Decimal.h"

#include <QString>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
Decimal d(const char *text)
{
    const std::optional<Decimal> value = Decimal::fromText(QString::fromUtf8(text));
    EXPECT_TRUE(value) << text;
    return value.value_or(Decimal());
}
} // namespace

TEST(DecimalTest, ReadsPlainDecimalTextOnly)
{
    for (const char *text : {"", "-", "+", ".", "-.", "1e", "1e+", "e5", " 1", "1 ", "1,5", "0x10", "inf",
                             "nan", "１", "1.2.3", "1e5.5", "--1", "1e9999999"})
        EXPECT_FALSE(Decimal::fromText(QString::fromUtf8(text))) << text;
}

TEST(DecimalTest, OrdersByValueWhateverTheWriting)
{
    // Each row ascending; the texts of a group of equals are written differently.
    const std::vector<std::vector<const char *>> ascending = {
        {"-1e3", "-999.999", "-1", "-0.5", "-0.05"},
        {"0", "0.0000000000000000000000001", "0.1", "0.1000000000000000000001", "0.9", "1", "10", "1e20"},
        {"-0.0999", "-0.09", "0.09", "0.0999"},
    };
    for (const auto &row : ascending) {
        for (size_t i = 1; i < row.size(); ++i) {
            EXPECT_LT(d(row[i - 1]), d(row[i])) << row[i - 1] << " < " << row[i];
            EXPECT_GT(d(row[i]), d(row[i - 1])) << row[i] << " > " << row[i - 1];
        }
    }
    const std::vector<std::vector<const char *>> equal = {
        {"0", "-0", "+0.000", "0e7", ".0"},
        {"0.1", "0.10", ".1", "1e-1", "10E-2", "+0.1000"},
        {"-45", "-45.0", "-4.5e1", "-0.045e3"},
        {"120", "1.2e2", "120."},
    };
    for (const auto &group : equal) {
        for (const char *text : group)
            EXPECT_EQ(d(text), d(group.front())) << text << " == " << group.front();
    }
    EXPECT_EQ(Decimal(45, -2), d("0.45"));
    EXPECT_EQ(Decimal(-120), d("-1.2e2"));
    EXPECT_EQ(Decimal(std::numeric_limits<int64_t>::min()), d("-9223372036854775808"));
    EXPECT_EQ(Decimal(0, 5), Decimal());
}

TEST(DecimalTest, ConvertsToAndFromDoubles)
{
    EXPECT_EQ(Decimal::fromDouble(0.1), d("0.1"))
        << "the shortest text that reads back, not the binary value";
    EXPECT_EQ(Decimal::fromDouble(-2.5e-7), d("-0.00000025"));
    EXPECT_EQ(Decimal::fromDouble(0.0), Decimal());
    EXPECT_FALSE(Decimal::fromDouble(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(Decimal::fromDouble(std::nan("")));
    EXPECT_EQ(d("0.45").toDouble(), 0.45);
    EXPECT_EQ(d("-1.5e3").toDouble(), -1500.0);
    EXPECT_EQ(d("1e999").toDouble(), std::numeric_limits<double>::infinity());
    EXPECT_EQ(d("-1e999").toDouble(), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(d("1e-999").toDouble(), 0.0);
}

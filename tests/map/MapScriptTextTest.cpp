#include "map/MapScriptText.h"

#include <gtest/gtest.h>

TEST(MapScriptTextTest, NumbersAreShortestWithAFractionalDigitAndStayValidScript)
{
    const std::pair<double, const char *> cases[] = {
        {12, "12.0"},
        {0, "0.0"},
        {-104.5627, "-104.5627"},
        {0.1 + 0.2, "0.30000000000000004"},
        {0.0001, "0.0001"},
        {-180, "-180.0"},
        {0.00001, "1e-05"},
        {-0.000015, "-1.5e-05"}, // small numbers take the exponent form
        {std::numeric_limits<double>::quiet_NaN(), "NaN"},
        {std::numeric_limits<double>::infinity(), "NaN"},
    };
    for (const auto &[value, text] : cases)
        EXPECT_EQ(MapScriptText::number(value), text) << text;
    for (double v : {1.0 / 36000.0, 35.6894871234567, -0.000123456789, 123456.789012345678})
        EXPECT_EQ(MapScriptText::number(v).toDouble(), v) << "reads back to the same value";
}

TEST(MapScriptTextTest, StringsAreEscapedJsonLiterals)
{
    EXPECT_EQ(MapScriptText::string("a\"b"), "\"a\\\"b\"");
    EXPECT_EQ(MapScriptText::string("back\\slash"), "\"back\\\\slash\"");
    EXPECT_EQ(MapScriptText::string("two\nlines"), "\"two\\nlines\"");
    EXPECT_EQ(MapScriptText::string(QString::fromUtf8("\xe2\x80\xa8")), "\"\\u2028\"");
    EXPECT_EQ(MapScriptText::string(QString::fromUtf8("日本")), QString::fromUtf8("\"日本\""));
    EXPECT_EQ(MapScriptText::string(""), "\"\"");
}

TEST(MapScriptTextTest, AQuoteInAnArgumentCannotEndTheCall)
{
    EXPECT_EQ(MapScriptText::setMapTypeId("x\");evil(\""), "setMapTypeId(\"x\\\");evil(\\\"\")");
    EXPECT_EQ(MapScriptText::addMarker("E\"1", 0.5, 0.25, "it's \"here\"", 2),
              "addMarker(\"E\\\"1\", 0.5, 0.25,\"it's \\\"here\\\"\", 2)");
}

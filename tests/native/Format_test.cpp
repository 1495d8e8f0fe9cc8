#include <gtest/gtest.h>

#include "common/SettingsText_.h"
#include "platform/Format.h"

using namespace platform;

TEST(Format, RoundsHalvesToEven) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(-0.6), -1);
}

TEST(Format, GroupedWholeNumbersAndOneDecimal) {
    EXPECT_EQ(FormatNumber(0, "#,0"), "0");
    EXPECT_EQ(FormatNumber(1024, "#,0"), "1,024");
    EXPECT_EQ(FormatNumber(1234567.5, "#,0"), "1,234,568");
    EXPECT_EQ(FormatNumber(-1000, "#,0"), "-1,000");
    EXPECT_EQ(FormatNumber(999.5, "#,0"), "1,000");
    EXPECT_EQ(FormatNumber(1.5, "0.0"), "1.5");
    EXPECT_EQ(FormatNumber(0.25, "0.0"), "0.2");
    EXPECT_EQ(FormatNumber(0.35, "0.0"), "0.4");
    EXPECT_EQ(FormatNumber(4, "0.0"), "4.0");
    EXPECT_EQ(FormatNumber(-0.5, "0.0"), "-0.5");
}

TEST(Format, PaddingTrimmingAndCase) {
    EXPECT_EQ(PadNumber(5, 2), "05");
    EXPECT_EQ(PadNumber(125, 2), "125");
    EXPECT_EQ(PadNumber(7, 3), "007");
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("    "), "");
    EXPECT_EQ(LowerCase("AbC:\\X"), "abc:\\x");
}

TEST(SettingsText, BooleansConvertFromWordsAndNumbers) {
    using common::TextToBool;
    EXPECT_TRUE(TextToBool("True", false));
    EXPECT_TRUE(TextToBool(" true ", false));
    EXPECT_FALSE(TextToBool("FALSE", true));
    EXPECT_TRUE(TextToBool("-1", false));
    EXPECT_TRUE(TextToBool("2", false));
    EXPECT_FALSE(TextToBool("0", true));
    EXPECT_TRUE(TextToBool("abc", true));
    EXPECT_FALSE(TextToBool("", false));
    EXPECT_EQ(common::BoolText(true), "True");
    EXPECT_EQ(common::BoolText(false), "False");
}

TEST(SettingsText, NumbersConvertOrFallBack) {
    using common::TextToLong;
    EXPECT_EQ(TextToLong("300", 1), 300);
    EXPECT_EQ(TextToLong(" -42 ", 1), -42);
    EXPECT_EQ(TextToLong("+7", 1), 7);
    EXPECT_EQ(TextToLong("2.5", 1), 2);
    EXPECT_EQ(TextToLong("3.5", 1), 4);
    EXPECT_EQ(TextToLong("abc", 300), 300);
    EXPECT_EQ(TextToLong("12abc", 300), 300);
    EXPECT_EQ(TextToLong("", 300), 300);
    EXPECT_EQ(TextToLong("-", 300), 300);
    EXPECT_EQ(TextToLong("2147483647", 1), 2147483647);
    EXPECT_EQ(TextToLong("2147483648", 1), 1);
    EXPECT_EQ(TextToLong("99999999999999999999999", 1), 1);
    EXPECT_EQ(common::DwordText(7), "007");
    EXPECT_EQ(common::DwordText(1234), "1234");
}

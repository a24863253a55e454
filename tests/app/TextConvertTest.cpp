#include <gtest/gtest.h>

#include "app/TextConvert.h"

TEST(ParseLeadingInt, ReadsLikeAtoiWithoutOverflow)
{
    EXPECT_EQ(0, ParseLeadingInt(""));
    EXPECT_EQ(0, ParseLeadingInt("abc"));
    EXPECT_EQ(12, ParseLeadingInt("  \t12x"));
    EXPECT_EQ(-40, ParseLeadingInt("-40"));
    EXPECT_EQ(7, ParseLeadingInt("+7"));
    EXPECT_EQ(0, ParseLeadingInt("- 7"));
    EXPECT_EQ(2147483647, ParseLeadingInt("2147483648"));
    EXPECT_EQ(-2147483647 - 1, ParseLeadingInt("-2147483648"));
    EXPECT_EQ(-2147483647 - 1, ParseLeadingInt("-123456789012345678901234567890"));
}

TEST(FormatWithOneInt, FillsTheFirstIntegerOnly)
{
    EXPECT_STREQ("Error 126 loading ", FormatWithOneInt("Error %d loading ", 126));
    EXPECT_STREQ("code 0000007E: ", FormatWithOneInt("code %08X: ", 126));
    EXPECT_STREQ("[  -5]", FormatWithOneInt("[%4ld]", -5));
    EXPECT_STREQ("4294967295", FormatWithOneInt("%u", -1));
    EXPECT_STREQ("no number", FormatWithOneInt("no number", 5));
    EXPECT_STREQ("", FormatWithOneInt("", 5));
}

TEST(FormatWithOneInt, OtherPercentSignsReadNothing)
{
    EXPECT_STREQ("100% sure: 3 %d", FormatWithOneInt("100%% sure: %d %d", 3));
    EXPECT_STREQ("%s %n %p 9", FormatWithOneInt("%s %n %p %d", 9));
    EXPECT_STREQ("%.99999d %*d 1", FormatWithOneInt("%.99999d %*d %d", 1));
    EXPECT_STREQ("%99999d", FormatWithOneInt("%99999d", 1)); // no giant widths
    EXPECT_STREQ("ends in %", FormatWithOneInt("ends in %", 1));
    EXPECT_STREQ("%l", FormatWithOneInt("%l", 1));
}

TEST(FillInText, FillsTheFirstTextOnlyAndFormatsNothing)
{
    EXPECT_STREQ(FillInText("The shape %s was skipped.", "G_1"), "The shape G_1 was skipped.");
    EXPECT_STREQ(FillInText("100%% %s %d %s %", "C:\\help\\a.chm"), "100% C:\\help\\a.chm %d %s %");
    EXPECT_STREQ(FillInText("no name", "A_2"), "no name");
}

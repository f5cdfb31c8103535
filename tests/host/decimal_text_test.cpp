#include "feed/decimal_text.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ReadDecimal, ReadsLikeAtoi) {
    EXPECT_EQ(ReadDecimal("42"), 42);
    EXPECT_EQ(ReadDecimal("-3"), -3);
    EXPECT_EQ(ReadDecimal("+8"), 8);
    EXPECT_EQ(ReadDecimal(" \t\r\n7"), 7);
    EXPECT_EQ(ReadDecimal("12abc"), 12);
    EXPECT_EQ(ReadDecimal("007"), 7);
    EXPECT_EQ(ReadDecimal("abc"), 0);
    EXPECT_EQ(ReadDecimal(""), 0);
    EXPECT_EQ(ReadDecimal(nullptr), 0);
    EXPECT_EQ(ReadDecimal("- 5"), 0);
    EXPECT_EQ(ReadDecimal("--5"), 0);
    EXPECT_EQ(ReadDecimal("1 2"), 1);
    EXPECT_EQ(ReadDecimal("0x10"), 0);
}

TEST(ReadDecimal, SaturatesOutsideTheRangeOfInt) {
    EXPECT_EQ(ReadDecimal("2147483647"), INT_MAX);
    EXPECT_EQ(ReadDecimal("-2147483648"), INT_MIN);
    EXPECT_EQ(ReadDecimal("2147483648"), INT_MAX);
    EXPECT_EQ(ReadDecimal("-2147483649"), INT_MIN);
    EXPECT_EQ(ReadDecimal("4294967297"), INT_MAX);
    EXPECT_EQ(ReadDecimal(std::string(100000, '9').c_str()), INT_MAX);
    EXPECT_EQ(ReadDecimal(("-" + std::string(100000, '9')).c_str()), INT_MIN);
}

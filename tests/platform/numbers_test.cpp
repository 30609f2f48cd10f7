#include "platform/numbers.h"

#include <gtest/gtest.h>

namespace pimoko {
namespace {

TEST(Numbers, SignedDecimalOnly)
{
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("-1"), -1);
    EXPECT_EQ(StrToInt("+42"), 42);
    EXPECT_EQ(StrToInt("  7"), 7);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    for (const char* bad :
        { "", " ", "-", "abc", "12a", "1 ", "2147483648", "-2147483649", "0x10", "１２" }) {
        int v = 99;
        EXPECT_FALSE(TryStrToInt(QString::fromUtf8(bad), &v)) << bad;
        EXPECT_EQ(v, 99);
        EXPECT_THROW(StrToInt(QString::fromUtf8(bad)), EConvertError) << bad;
    }
}

TEST(Numbers, ConversionErrorSpeaksJapanese)
{
    try {
        StrToInt("abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.message(), QString::fromUtf8("'abc' は整数ではありません。"));
    }
}

TEST(Numbers, OnlyTIsTrue)
{
    EXPECT_TRUE(StrToBool("T"));
    EXPECT_FALSE(StrToBool("t"));
    EXPECT_FALSE(StrToBool("TRUE"));
    EXPECT_FALSE(StrToBool(""));
    EXPECT_EQ(BoolToStr(true), "T");
    EXPECT_EQ(BoolToStr(false), "F");
}

TEST(Numbers, RoundsTiesToEven)
{
    EXPECT_EQ(RoundHalfEven(0.5L), 0);
    EXPECT_EQ(RoundHalfEven(1.5L), 2);
    EXPECT_EQ(RoundHalfEven(2.5L), 2);
    EXPECT_EQ(RoundHalfEven(-0.5L), 0);
    EXPECT_EQ(RoundHalfEven(2.51L), 3);
}

} // namespace
} // namespace pimoko

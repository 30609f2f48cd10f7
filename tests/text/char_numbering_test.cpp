#include "platform/sjis_codec.h"
#include "tests/support/test_support.h"
#include "text/char_numbering.h"
#include "text/text_shot.h"
#include "text/text_shot_b.h"

#include <gtest/gtest.h>

namespace pimoko {
namespace {

TEST(CharNumbering, NumbersAcrossLinesWithEmptyLinesAndDoubleByteCharacters)
{
    CharNumbering t;
    // Decoded from the book's bytes: each double-byte character is one UTF-16 unit.
    const QString kanji = DecodeSjis(test::Sjis(QStringLiteral("漢字")));
    ASSERT_EQ(kanji.size(), 2);
    t.SetText({ QStringLiteral("ab"), QString(), kanji + QStringLiteral("c") });
    EXPECT_EQ(t.CharCount(), 5);
    EXPECT_EQ(t.LineCount(), 3);
    const int lines[] = { 0, 0, 2, 2, 2 };
    const int columns[] = { 1, 2, 1, 2, 3 };
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(t.LineOfChar(n), lines[n - 1]) << n;
        EXPECT_EQ(t.ColumnOfChar(n), columns[n - 1]) << n;
    }
    EXPECT_EQ(t.CharAt(3), QStringLiteral("漢"));
    EXPECT_EQ(t.CharAt(5), QStringLiteral("c"));
    EXPECT_EQ(t.LinePrefix(2, 3), QStringLiteral("漢字"));
    EXPECT_EQ(t.LinePrefix(2, 1), QString());
    EXPECT_EQ(t.LinePrefix(7, 2), QString());
    EXPECT_EQ(t.LineOfChar(6), -1);
    EXPECT_EQ(t.ColumnOfChar(6), -1);
    EXPECT_EQ(t.CharAt(0), QString());
    EXPECT_EQ(t.CharAt(6), QString());
    EXPECT_EQ(t.CharAt(-4), QString());
}

TEST(CharNumbering, CapsAt2001EvenInTheMiddleOfALine)
{
    CharNumbering t;
    t.SetText({ QString(1500, QLatin1Char('a')), QString(1000, QChar(0x3042)) });
    EXPECT_EQ(t.CharCount(), 2001);
    EXPECT_EQ(t.LineOfChar(2001), 1);
    EXPECT_EQ(t.ColumnOfChar(2001), 501);
    EXPECT_EQ(t.CharAt(2001), QString(QChar(0x3042)));
    // Past the cap nothing is addressable, though the line goes on.
    EXPECT_EQ(t.CharAt(2002), QString());
    EXPECT_EQ(t.LineOfChar(2002), 1);

    t.SetText({});
    EXPECT_EQ(t.CharCount(), 0);
    EXPECT_EQ(t.LineOfChar(1), -1);
}

TEST(CharNumbering, BothEnginesNumberAlike)
{
    const QStringList lines
        = { QStringLiteral("一二"), QString(), QString(2100, QLatin1Char('x')) };
    TTextShot a;
    TTextShotB b;
    a.SetText(lines);
    b.SetText(lines);
    ASSERT_EQ(a.CharCount(), 2001);
    ASSERT_EQ(b.CharCount(), 2001);
    for (int n : { 0, 1, 2, 3, 1000, 2001, 2002 }) {
        EXPECT_EQ(a.LineOfChar(n), b.LineOfChar(n));
        EXPECT_EQ(a.ColumnOfChar(n), b.ColumnOfChar(n));
        EXPECT_EQ(a.CharAt(n), b.CharAt(n));
    }
}

} // namespace
} // namespace pimoko

#include "tests/text/text_test_support.h"
#include "text/font_table.h"

#include <gtest/gtest.h>

namespace pimoko {
namespace {

FontTable SmallTable()
{
    FontTable t;
    t.Add(QStringLiteral("Arial"), 0, 34);
    t.Add(QStringLiteral("MS UI Gothic"), 128, 34);
    t.Add(QStringLiteral("ＭＳ ゴシック"), 128, 49);
    t.Add(QStringLiteral("IPAGothic"), 128, 49);
    return t;
}

TEST(FontTable, ResolveKeepsAnInstalledFaceWhoseValuesMatchOrAreUnknown)
{
    const FontTable t = SmallTable();
    EXPECT_EQ(t.ResolveFont(QStringLiteral("Arial"), -1, -1).faceName, QStringLiteral("Arial"));
    EXPECT_EQ(t.ResolveFont(QStringLiteral("Arial"), 0, -1).faceName, QStringLiteral("Arial"));
    EXPECT_EQ(t.ResolveFont(QStringLiteral("Arial"), 0, 34).faceName, QStringLiteral("Arial"));
    // Names compare exactly.
    EXPECT_EQ(
        t.ResolveFont(QStringLiteral("arial"), -1, -1).faceName, QStringLiteral("MS UI Gothic"));
}

TEST(FontTable, ResolveTakesTheFirstEntryWithTheSameValues)
{
    const FontTable t = SmallTable();
    LogFont f = t.ResolveFont(QStringLiteral("HG丸ｺﾞｼｯｸM-PRO"), 128, 49);
    EXPECT_EQ(f.faceName, QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(f.charSet, 128);
    EXPECT_EQ(f.pitchAndFamily, 49);
    // An installed name with other values also goes looking.
    EXPECT_EQ(
        t.ResolveFont(QStringLiteral("Arial"), 128, 34).faceName, QStringLiteral("MS UI Gothic"));
}

TEST(FontTable, ResolveFallsBackToTheFixedListThenKeepsTheName)
{
    FontTable t = SmallTable();
    EXPECT_EQ(
        t.ResolveFont(QStringLiteral("Nowhere"), -1, -1).faceName, QStringLiteral("MS UI Gothic"));
    EXPECT_EQ(
        t.ResolveFont(QStringLiteral("Nowhere"), 0, 18).faceName, QStringLiteral("MS UI Gothic"));
    FontTable onlyArial;
    onlyArial.Add(QStringLiteral("Arial"), 0, 34);
    EXPECT_EQ(onlyArial.ResolveFont(QStringLiteral("Nowhere"), -1, -1).faceName,
        QStringLiteral("Nowhere"));
    onlyArial.Add(QStringLiteral("ＭＳ ゴシック"), 128, 49);
    EXPECT_EQ(onlyArial.ResolveFont(QStringLiteral("Nowhere"), 1, 1).faceName,
        QStringLiteral("ＭＳ ゴシック"));
}

TEST(FontTable, LookupsAndTheFixedSize)
{
    FontTable t = SmallTable();
    EXPECT_TRUE(t.IsFontInstalled(QStringLiteral("IPAGothic")));
    EXPECT_FALSE(t.IsFontInstalled(QString()));
    EXPECT_EQ(t.FontCharsetOf(QStringLiteral("Arial")), 0);
    EXPECT_EQ(t.FontFamilyOf(QStringLiteral("ＭＳ ゴシック")), 49);
    EXPECT_EQ(t.FontCharsetOf(QStringLiteral("Nowhere")), -1);
    EXPECT_EQ(t.FontFamilyOf(QStringLiteral("Nowhere")), -1);

    FontTable full;
    for (int i = 0; i < FontTable::kSlots; ++i)
        ASSERT_TRUE(full.Add(QStringLiteral("Face %1").arg(i), 0, 34));
    EXPECT_FALSE(full.Add(QStringLiteral("One too many"), 0, 34));
    EXPECT_EQ(full.Count(), FontTable::kSlots);
    EXPECT_FALSE(full.IsFontInstalled(QStringLiteral("One too many")));
}

TEST(FontTable, FilledFromTheFontDatabaseWithTheWindowsNames)
{
    test::EnsureGuiApp();
    FontTable t;
    t.FillFontTable();
    ASSERT_GE(t.Count(), 5);
    EXPECT_EQ(t.FontCharsetOf(QStringLiteral("ＭＳ ゴシック")), 128);
    EXPECT_EQ(t.FontFamilyOf(QStringLiteral("ＭＳ ゴシック")), 49);
    EXPECT_EQ(t.FontFamilyOf(QStringLiteral("ＭＳ 明朝")), 17);
    EXPECT_EQ(t.FontFamilyOf(QStringLiteral("ＭＳ Ｐゴシック")), 34);
    EXPECT_EQ(t.FontFamilyOf(QStringLiteral("MS UI Gothic")), 34);
    EXPECT_EQ(t.FontFamilyOf(QStringLiteral("ＭＳ Ｐ明朝")), 18);
    EXPECT_EQ(t.FontCharsetOf(QStringLiteral("IPAMincho")), 128);
    EXPECT_EQ(t.FontFamilyOf(QStringLiteral("IPAMincho")) & 0xF0, kFamilyRoman);
    EXPECT_EQ(t.FontCharsetOf(QStringLiteral("DejaVu Sans")), 0);
    EXPECT_EQ(t.FontFamilyOf(QStringLiteral("DejaVu Sans Mono")), kFamilyModern | kFixedPitch);
    // The program's table answers the same.
    EXPECT_EQ(
        ResolveFont(QStringLiteral("Nowhere"), -1, -1).faceName, QStringLiteral("MS UI Gothic"));
    EXPECT_TRUE(IsFontInstalled(QStringLiteral("IPAPGothic")));
}

TEST(FontStyle, CodesRoundTrip)
{
    FontStyles boldUnderline;
    boldUnderline.bold = true;
    boldUnderline.underline = true;
    EXPECT_EQ(StyleToString(boldUnderline), QStringLiteral("Type_BU"));
    EXPECT_EQ(StyleToString(FontStyles()), QStringLiteral("Type_"));
    EXPECT_EQ(StyleFromString(QStringLiteral("Type_")), FontStyles());
    EXPECT_EQ(StyleFromString(QStringLiteral("Type_BU")), boldUnderline);
    const FontStyles all = StyleFromString(QStringLiteral("SxUIB"));
    EXPECT_TRUE(all.bold && all.italic && all.underline && all.strikeOut);
    EXPECT_EQ(StyleToString(all), QStringLiteral("Type_BIUS"));
}

} // namespace
} // namespace pimoko

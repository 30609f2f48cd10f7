#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "tests/text/text_test_support.h"

#include <gtest/gtest.h>

#include <climits>

namespace pimoko {
namespace {

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureGuiApp(); }

    static LogFont Font(const QString& face, int height, int escapement = 0)
    {
        LogFont f;
        f.faceName = face;
        f.height = height;
        f.escapement = escapement;
        return f;
    }

    // One text drawn in white on a black page.
    static QImage Draw(const LogFont& font, int x, int y, const QString& text)
    {
        QImage image = NewBitmap24();
        Canvas canvas(&image);
        canvas.TextOut(font, kWhite, x, y, text);
        return image;
    }
};

TEST_F(CanvasTest, WindowsJapaneseFacesDrawWithTheIpaFaces)
{
    EXPECT_EQ(DrawingFamilyOf(QStringLiteral("ＭＳ ゴシック")), QStringLiteral("IPAGothic"));
    EXPECT_EQ(DrawingFamilyOf(QStringLiteral("@ＭＳ 明朝")), QStringLiteral("IPAMincho"));
    EXPECT_EQ(DrawingFamilyOf(QStringLiteral("MS UI Gothic")), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(DrawingFamilyOf(QStringLiteral("@DejaVu Sans")), QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(IsVerticalFace(QStringLiteral("@IPAGothic")));
    EXPECT_FALSE(IsVerticalFace(QStringLiteral("IPAGothic")));
    EXPECT_EQ(FontFace::Get(Font(QStringLiteral("ＭＳ Ｐ明朝"), 20))->family(),
        QStringLiteral("IPAPMincho"));
}

TEST_F(CanvasTest, FullWidthCharactersStandUprightInVerticalFaces)
{
    for (const QChar c : QStringLiteral("あア漢「」、。ー～…（）　Ａ１"))
        EXPECT_TRUE(StandsUprightInVerticalFace(c)) << QString(c).toStdString();
    for (const QChar c : QStringLiteral("Aa1 (ｱ-"))
        EXPECT_FALSE(StandsUprightInVerticalFace(c)) << QString(c).toStdString();
}

TEST_F(CanvasTest, MeasuresInWholePixels)
{
    auto face = FontFace::Get(Font(QStringLiteral("IPAGothic"), 30));
    // IPA Gothic: Windows ascent 1802 and descent 401 of 2048 units per em.
    EXPECT_EQ(face->ascent(), 26);
    EXPECT_EQ(face->descent(), 6);
    EXPECT_EQ(face->TextHeight(QStringLiteral("Ｗ")), 32);
    EXPECT_EQ(face->TextWidth(QStringLiteral("あ")), 30);
    EXPECT_EQ(face->TextWidth(QStringLiteral("A")), 15);
    EXPECT_EQ(face->TextWidth(QStringLiteral("あいA")), 75);
    EXPECT_EQ(face->TextWidth(QString()), 0);
    // The height's sign does not matter.
    EXPECT_EQ(
        FontFace::Get(Font(QStringLiteral("IPAGothic"), -30))->TextWidth(QStringLiteral("あ")), 30);

    // In the vertical face an upright character advances by its vertical advance, a
    // turned one by its width.
    auto vertical = FontFace::Get(Font(QStringLiteral("@IPAGothic"), 30));
    EXPECT_EQ(vertical->TextWidth(QStringLiteral("あ")), 30);
    EXPECT_EQ(vertical->TextWidth(QStringLiteral("ー")), 30);
    EXPECT_EQ(vertical->TextWidth(QStringLiteral("A")), 15);
    // The proportional face has proportional vertical advances too.
    auto proportional = FontFace::Get(Font(QStringLiteral("@IPAPGothic"), 30));
    EXPECT_LE(proportional->TextWidth(QStringLiteral("あ")), 30);
    EXPECT_GE(proportional->TextWidth(QStringLiteral("あ")), 24);
    EXPECT_EQ(proportional->TextWidth(QStringLiteral("A")),
        FontFace::Get(Font(QStringLiteral("IPAPGothic"), 30))->TextWidth(QStringLiteral("A")));
}

TEST_F(CanvasTest, TextHangsFromTheTopOfItsCell)
{
    const QRect ink
        = test::InkBox(Draw(Font(QStringLiteral("IPAGothic"), 30), 100, 50, QStringLiteral("あ")));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(QRect(100, 50, 30, 32).contains(ink))
        << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    // "g" reaches below the baseline, "'" stays in the upper half.
    const QRect g
        = test::InkBox(Draw(Font(QStringLiteral("IPAGothic"), 30), 100, 50, QStringLiteral("g")));
    EXPECT_GT(g.bottom(), 50 + 26);
    const QRect quote
        = test::InkBox(Draw(Font(QStringLiteral("IPAGothic"), 30), 100, 50, QStringLiteral("'")));
    EXPECT_LT(quote.bottom(), 50 + 15);
}

TEST_F(CanvasTest, VerticalFaceTurnedClockwiseFillsTheColumnLeftOfTheReference)
{
    const LogFont font = Font(QStringLiteral("@IPAGothic"), 30, kEscapementVertical);
    // An upright character stays in the column X .. X + h below the reference point.
    const QRect a = test::InkBox(Draw(font, 130, 50, QStringLiteral("あ")));
    EXPECT_TRUE(QRect(100, 50, 30, 30).contains(a))
        << a.x() << "," << a.y() << " " << a.width() << "x" << a.height();
    // "ー" takes its vertical form: a vertical bar in the middle of the column.
    const QRect bar = test::InkBox(Draw(font, 130, 50, QStringLiteral("ー")));
    EXPECT_GT(bar.height(), 4 * bar.width());
    EXPECT_NEAR(bar.center().x(), 115, 2);
    // In the horizontal face it is a horizontal bar.
    const QRect flat
        = test::InkBox(Draw(Font(QStringLiteral("IPAGothic"), 30), 100, 50, QStringLiteral("ー")));
    EXPECT_GT(flat.width(), 4 * flat.height());
    // "、" moves to the upper right of its cell.
    const QRect comma = test::InkBox(Draw(font, 130, 50, QStringLiteral("、")));
    EXPECT_GT(comma.left(), 115);
    EXPECT_LT(comma.bottom(), 65);
    // A Latin letter is turned with the line: "A" becomes wider than tall, its apex to
    // the right.
    const QImage turned = Draw(font, 130, 50, QStringLiteral("A"));
    const QRect letter = test::InkBox(turned);
    EXPECT_GT(letter.width(), letter.height());
    int apexColumn = 0;
    for (int y = letter.top(); y <= letter.bottom(); ++y)
        apexColumn += turned.pixel(letter.right(), y) != qRgb(0, 0, 0);
    EXPECT_LT(apexColumn, letter.height() / 2);
}

TEST_F(CanvasTest, EscapementTurnsCounterClockwise)
{
    // 90 degrees: the text runs upwards from the reference point.
    const QRect up = test::InkBox(
        Draw(Font(QStringLiteral("IPAGothic"), 30, 900), 200, 300, QStringLiteral("ああ")));
    EXPECT_LE(up.bottom(), 300);
    EXPECT_GE(up.top(), 300 - 60);
    EXPECT_GE(up.left(), 200);
    // 180 degrees: leftwards and upside down above the reference point.
    const QRect back = test::InkBox(
        Draw(Font(QStringLiteral("IPAGothic"), 30, 1800), 200, 300, QStringLiteral("ああ")));
    EXPECT_LE(back.right(), 200);
    EXPECT_LE(back.bottom(), 300);
}

TEST_F(CanvasTest, MonoTargetsSetBitsWithWhiteAndClearThemOtherwise)
{
    QImage mask(64, 64, QImage::Format_Mono);
    mask.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
    mask.fill(0);
    Canvas canvas(&mask);
    const QRect touched
        = canvas.TextOut(Font(QStringLiteral("IPAGothic"), 40), kWhite, 3, 5, QStringLiteral("あ"));
    const int set = test::CountPixels(mask, qRgb(255, 255, 255));
    EXPECT_GT(set, 100);
    EXPECT_TRUE(touched.contains(test::InkBox(mask)));
    // The same glyph on a 24-bit page sets the same pixels.
    QImage page = NewBitmap24(64, 64);
    Canvas(&page).TextOut(
        Font(QStringLiteral("IPAGothic"), 40), kWhite, 3, 5, QStringLiteral("あ"));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(mask.pixel(x, y), page.pixel(x, y)) << x << "," << y;
    canvas.TextOut(Font(QStringLiteral("IPAGothic"), 40), 0x303030, 3, 5, QStringLiteral("あ"));
    EXPECT_EQ(test::CountPixels(mask, qRgb(255, 255, 255)), 0);
    // A light colour is nearer white.
    canvas.TextOut(Font(QStringLiteral("IPAGothic"), 40), 0xC0C0C0, 3, 5, QStringLiteral("あ"));
    EXPECT_EQ(test::CountPixels(mask, qRgb(255, 255, 255)), set);
}

TEST_F(CanvasTest, GlyphsAreClippedAtTheImageEdges)
{
    const LogFont font = Font(QStringLiteral("IPAGothic"), 60);
    for (const QPoint at : { QPoint(-30, -30), QPoint(620, 460), QPoint(-1000, 10),
             QPoint(INT_MAX - 5, INT_MIN + 5) }) {
        QImage image = NewBitmap24();
        const QRect touched
            = Canvas(&image).TextOut(font, kWhite, at.x(), at.y(), QStringLiteral("あ漢"));
        EXPECT_TRUE(image.rect().contains(touched) || touched.isEmpty());
    }
    // A part of the glyph shows when it straddles the corner.
    const QRect corner = test::InkBox(Draw(font, -30, -30, QStringLiteral("漢")));
    EXPECT_EQ(corner.topLeft(), QPoint(0, 0));
}

TEST_F(CanvasTest, StylesChangeTheGlyphs)
{
    const QString text = QStringLiteral("あA");
    LogFont plain = Font(QStringLiteral("IPAGothic"), 40);
    const QImage base = Draw(plain, 10, 10, text);
    LogFont bold = plain;
    bold.weight = 700;
    EXPECT_GT(test::CountPixels(Draw(bold, 10, 10, text), qRgb(255, 255, 255)),
        test::CountPixels(base, qRgb(255, 255, 255)) * 11 / 10);
    EXPECT_GT(FontFace::Get(bold)->TextWidth(text), FontFace::Get(plain)->TextWidth(text));
    // A made-up italic leans a fifth of a stroke's height, once.
    LogFont italic = plain;
    italic.italic = true;
    const QRect upright = test::InkBox(Draw(plain, 10, 10, QStringLiteral("|")));
    const QRect leaning = test::InkBox(Draw(italic, 10, 10, QStringLiteral("|")));
    EXPECT_NEAR(double(leaning.width() - upright.width()) / upright.height(), 0.2, 0.07);
    LogFont under = plain;
    under.underline = true;
    const QRect line = test::InkBox(Draw(under, 10, 10, QStringLiteral("  ")));
    EXPECT_EQ(line.width(), FontFace::Get(plain)->TextWidth(QStringLiteral("  ")));
    EXPECT_GT(line.top(), 10 + FontFace::Get(plain)->ascent());
    LogFont strike = plain;
    strike.strikeOut = true;
    const QRect middle = test::InkBox(Draw(strike, 10, 10, QStringLiteral("  ")));
    EXPECT_LT(middle.top(), 10 + FontFace::Get(plain)->ascent());
}

TEST_F(CanvasTest, CachedGlyphsDrawTheSamePixelsAsFreshOnes)
{
    const QString text = QStringLiteral("「漢字」、かな。ABCgy（）ー～…");
    for (const int escapement : { 0, 1, 900, 1800, 2700, 450 }) {
        for (const QString& face :
            { QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("@ＭＳ ゴシック") }) {
            LogFont font = Font(face, 37, escapement);
            font.weight = escapement == 900 ? 700 : 400;
            font.underline = escapement == 1800;
            SetFontCaching(true);
            Draw(font, 300, 200, text); // fills the caches
            const QImage cached = Draw(font, 301, 203, text);
            SetFontCaching(false);
            const QImage fresh = Draw(font, 301, 203, text);
            SetFontCaching(true);
            EXPECT_TRUE(cached == fresh) << escapement << " " << face.toStdString();
            EXPECT_FALSE(test::InkBox(cached).isEmpty());
        }
    }
}

TEST_F(CanvasTest, AbsurdHeightsAreHandledSafely)
{
    for (const int height : { 0, 1, INT_MAX, INT_MIN, 100000 }) {
        QImage image = NewBitmap24(32, 32);
        Canvas canvas(&image);
        canvas.font().name = QStringLiteral("IPAGothic");
        canvas.font().height = height;
        canvas.TextOut(0, 0, QStringLiteral("あ"));
        EXPECT_GE(canvas.TextWidth(QStringLiteral("あ")), 1);
        EXPECT_LE(canvas.TextWidth(QStringLiteral("あ")), 2048);
    }
    Canvas unbound;
    EXPECT_TRUE(unbound.TextOut(0, 0, QStringLiteral("あ")).isEmpty());
}

} // namespace
} // namespace pimoko

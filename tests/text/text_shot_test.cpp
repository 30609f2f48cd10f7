#include "platform/bitmap.h"
#include "tests/text/text_test_support.h"
#include "text/text_shot.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace pimoko {
namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhiteRgb = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);

struct Layout {
    QString face = QStringLiteral("ＭＳ ゴシック");
    int height = 30;
    bool vertical = false;
    bool shadow = false;
    bool highlight = false;
    int highlightWidth = 0;
    int pitch = 0;
    QPoint origin { 100, 100 };
};

class TextShotTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureGuiApp(); }

    void Prepare(const Layout& s, const QStringList& lines)
    {
        image = NewBitmap24();
        canvas.SetImage(&image);
        canvas.font().name = s.vertical ? QLatin1Char('@') + s.face : s.face;
        canvas.font().height = s.height;
        shot.SetText(lines);
        shot.SetCanvas(&canvas);
        shot.SetOrigin(s.origin.x(), s.origin.y());
        s.shadow ? shot.SetShadowOn() : shot.SetShadowOff();
        s.highlight ? shot.SetHighlightOn() : shot.SetHighlightOff();
        shot.SetHighlightWidth(s.highlightWidth);
        s.vertical ? shot.SetVertical() : shot.SetHorizontal();
        shot.SetLinePitch(s.pitch);
        shot.SetShadowColor(0x0000FF); // red
        shot.SetTextColor(0xFFFFFF);
    }

    QImage Draw(const Layout& s, const QStringList& lines)
    {
        Prepare(s, lines);
        shot.DrawAll();
        return image;
    }

    QImage image;
    Canvas canvas;
    TTextShot shot;
};

// The shadowed picture is the plain text in white over copies of it at the offsets in
// red, and nothing else.
void ExpectShadowAt(const QImage& plain, const QImage& shadowed, const std::vector<QPoint>& offsets)
{
    int white = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            const bool text = plain.pixel(x, y) == kWhiteRgb;
            bool shade = false;
            for (const QPoint& o : offsets) {
                const QPoint from(x - o.x(), y - o.y());
                shade = shade || (plain.rect().contains(from) && plain.pixel(from) == kWhiteRgb);
            }
            const QRgb expected = text ? kWhiteRgb : shade ? kRed : kBlack;
            ASSERT_EQ(shadowed.pixel(x, y), expected) << x << "," << y;
            white += text;
        }
    }
    EXPECT_GT(white, 50);
}

TEST_F(TextShotTest, HorizontalPositionsAdvanceByMeasuredWidthsAndLinesGoDown)
{
    Prepare({}, { QStringLiteral("あいAB"), QString(), QStringLiteral("う") });
    shot.SetLinePitch(7);
    EXPECT_EQ(shot.CharX(0, 1), 100);
    EXPECT_EQ(shot.CharX(0, 3), 160);
    EXPECT_EQ(shot.CharX(0, 4), 175);
    EXPECT_EQ(shot.CharY(0, 4), 100);
    // The empty line keeps its slot.
    EXPECT_EQ(shot.LineOfChar(5), 2);
    EXPECT_EQ(shot.CharY(2, 1), 100 + 2 * (30 + 7));
}

TEST_F(TextShotTest, VerticalColumnsRunLeftwardsFromTheOrigin)
{
    Layout s;
    s.vertical = true;
    s.pitch = 5;
    s.origin = { 600, 20 };
    Prepare(s, { QStringLiteral("あいう"), QStringLiteral("え"), QString(), QStringLiteral("お") });
    // Line 0 occupies x0 - h .. x0, line 1 x0 - 2h - p .. x0 - h - p.
    EXPECT_EQ(shot.CharX(0, 1), 600 - 30);
    EXPECT_EQ(shot.CharX(1, 1), 600 - 60 - 5);
    EXPECT_EQ(shot.CharX(3, 1), 600 - 4 * 30 - 3 * 5);
    EXPECT_EQ(shot.CharY(0, 1), 20);
    EXPECT_EQ(shot.CharY(0, 3), 20 + 60);
}

TEST_F(TextShotTest, GlyphsFallInsideTheirCells)
{
    for (const bool vertical : { false, true }) {
        Layout s;
        s.vertical = vertical;
        s.origin = vertical ? QPoint(500, 40) : QPoint(40, 40);
        const QStringList lines
            = { QStringLiteral("漢字「かな」、。"), QStringLiteral("ー（あ）") };
        Prepare(s, lines);
        const int count = shot.CharCount();
        for (int n = 1; n <= count; ++n) {
            Prepare(s, lines);
            shot.DrawChar(n);
            const int line = shot.LineOfChar(n);
            const int column = shot.ColumnOfChar(n);
            const int x = shot.CharX(line, column);
            const int y = shot.CharY(line, column);
            const int advance = canvas.TextWidth(shot.CharAt(n));
            const QRect cell = vertical ? QRect(x, y, 30, advance) : QRect(x, y, advance, 32);
            const QRect ink = test::InkBox(image);
            ASSERT_FALSE(ink.isEmpty()) << n;
            EXPECT_TRUE(cell.contains(ink)) << (vertical ? "vertical " : "horizontal ") << n;
        }
    }
}

TEST_F(TextShotTest, DropShadowOffsetIsAThirtiethOfTheHeight)
{
    for (const auto& [height, d] :
        std::vector<std::pair<int, int>> { { 29, 1 }, { 45, 1 }, { 60, 2 }, { 90, 3 } }) {
        Layout s;
        s.height = height;
        const QImage plain = Draw(s, { QStringLiteral("あ") });
        s.shadow = true;
        const QImage shadowed = Draw(s, { QStringLiteral("あ") });
        SCOPED_TRACE(height);
        ExpectShadowAt(plain, shadowed, { QPoint(d, d) });
        EXPECT_EQ(DropShadowOffset(-height), d);
    }
}

TEST_F(TextShotTest, HighlightOutlinesInEightDirectionsAtLeastOnePixelAway)
{
    for (const auto& [width, d] :
        std::vector<std::pair<int, int>> { { 3, 3 }, { 1, 1 }, { 0, 1 }, { -4, 1 } }) {
        for (const bool vertical : { false, true }) {
            Layout s;
            s.vertical = vertical;
            const QImage plain = Draw(s, { QStringLiteral("字") });
            s.shadow = true;
            s.highlight = true;
            s.highlightWidth = width;
            const QImage outlined = Draw(s, { QStringLiteral("字") });
            SCOPED_TRACE(width);
            ExpectShadowAt(plain, outlined,
                { { d, d }, { d, -d }, { -d, -d }, { -d, d }, { d, 0 }, { -d, 0 }, { 0, -d },
                    { 0, d } });
        }
    }
}

TEST_F(TextShotTest, WithoutShadowNeitherShadowNorOutlineIsDrawn)
{
    Layout s;
    const QImage plain = Draw(s, { QStringLiteral("あA") });
    s.highlight = true;
    s.highlightWidth = 2;
    EXPECT_TRUE(Draw(s, { QStringLiteral("あA") }) == plain);
    EXPECT_EQ(test::CountPixels(plain, kRed), 0);
}

TEST_F(TextShotTest, OnlyNumberedCharactersAreDrawn)
{
    Prepare({}, { QStringLiteral("あ") });
    shot.DrawChar(0);
    shot.DrawChar(2);
    shot.DrawChar(-1);
    EXPECT_TRUE(test::InkBox(image).isEmpty());

    // The 2001st character is the first of line 1; the one after it never shows.
    Prepare({}, { QString(2000, QLatin1Char('x')), QStringLiteral("あい") });
    ASSERT_EQ(shot.CharCount(), 2001);
    for (int n = 2001; n <= 2003; ++n)
        shot.DrawChar(n);
    const QRect ink = test::InkBox(image);
    EXPECT_GE(ink.left(), 100);
    EXPECT_LT(ink.right(), 130);
    EXPECT_GE(ink.top(), 130);
}

TEST_F(TextShotTest, BoundsCoverTheWholeText)
{
    Layout s;
    s.pitch = 4;
    Prepare(s, { QStringLiteral("あいう"), QStringLiteral("AB") });
    TextRect r = shot.TextBounds();
    EXPECT_EQ(r, (TextRect { 100, 100, 190, 100 + 2 * 32 + 4 }));
    s.vertical = true;
    Prepare(s, { QStringLiteral("あいう"), QStringLiteral("AB") });
    r = shot.TextBounds();
    EXPECT_EQ(r, (TextRect { 100 - (2 * 32 + 4), 100, 100, 190 }));
    Prepare(s, {});
    EXPECT_EQ(shot.TextBounds(), (TextRect { 100, 100, 100, 100 }));
}

TEST_F(TextShotTest, ValuesFromADamagedBookAreSafe)
{
    for (const int v : { INT_MAX, INT_MIN }) {
        for (const bool vertical : { false, true }) {
            Layout s;
            s.height = v;
            s.origin = { v, v };
            s.pitch = v;
            s.vertical = vertical;
            s.shadow = true;
            s.highlight = true;
            s.highlightWidth = v;
            Draw(s, { QString(), QStringLiteral("あい") });
            shot.TextBounds();
        }
    }
    SUCCEED();
}

TEST_F(TextShotTest, SetCanvasResetsPitchAndCharacterSet)
{
    Canvas c;
    c.font().pitch = 2;
    c.font().charset = 128;
    shot.SetCanvas(&c);
    EXPECT_EQ(c.font().pitch, 0);
    EXPECT_EQ(c.font().charset, kDefaultCharset);
    shot.SetTextColor(0x123456);
    EXPECT_EQ(c.font().color, 0x123456u);
}

} // namespace
} // namespace pimoko

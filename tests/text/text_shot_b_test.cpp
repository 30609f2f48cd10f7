#include "platform/bitmap.h"
#include "tests/text/text_test_support.h"
#include "text/text_shot_b.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace pimoko {
namespace {

const QRgb kBlack = qRgb(0, 0, 0);

class TextShotBTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::EnsureGuiApp();
        target.SetImage(&page);
        target.font().name = QStringLiteral("ＭＳ ゴシック");
        target.font().height = 30;
        target.font().color = 0xFFFFFF;
        engine.SetTargetBitmap(&target);
        engine.SetShadowOff();
    }

    void Vertical()
    {
        target.font().name = QStringLiteral("@ＭＳ ゴシック");
        engine.SetVertical();
    }

    void TypeAll()
    {
        for (int n = 1; n <= engine.CharCount(); ++n)
            engine.DrawChar(n);
        if (engine.DeferredComposite())
            engine.CompositeAll();
    }

    // Sets the 4 x 4 block of mask pixels that page pixel (x, y) stands for.
    void FillBlock(int x, int y, int bits = 16)
    {
        QImage& mask = engine.EditMask();
        for (int i = 0; i < bits; ++i)
            mask.setPixel(4 * x + i % 4, 4 * y + i / 4, 1);
    }

    QImage page = NewBitmap24();
    Canvas target;
    TTextShotB engine;
};

TEST_F(TextShotBTest, BlendPixelMovesByTheCoverageRoundingHalfToEven)
{
    uchar* p = page.scanLine(10) + 3 * 20;
    auto set = [&](int b, int g, int r) {
        p[0] = static_cast<uchar>(b);
        p[1] = static_cast<uchar>(g);
        p[2] = static_cast<uchar>(r);
    };
    auto bgr = [&]() { return std::vector<int> { p[0], p[1], p[2] }; };

    set(0, 0, 0);
    engine.BlendPixel(20, 10, 100, MakeColorRef(10, 20, 30));
    EXPECT_EQ(bgr(), (std::vector<int> { 30, 20, 10 }));
    // One set mask pixel of 16 gives 6 percent.
    set(0, 100, 250);
    engine.BlendPixel(20, 10, 6, MakeColorRef(0, 200, 50));
    EXPECT_EQ(bgr(), (std::vector<int> { 3, 106, 235 }));
    // 12.5 goes to 12, 13.5 to 14, 1.5 to 2, 0.5 to 0.
    set(0, 0, 1);
    engine.BlendPixel(20, 10, 50, MakeColorRef(0, 27, 25));
    EXPECT_EQ(bgr(), (std::vector<int> { 12, 14, 0 }));
    set(3, 0, 0);
    engine.BlendPixel(20, 10, 50, 0);
    EXPECT_EQ(bgr(), (std::vector<int> { 2, 0, 0 }));
    // The colour a pixel already has stays.
    set(40, 50, 60);
    engine.BlendPixel(20, 10, 77, MakeColorRef(60, 50, 40));
    EXPECT_EQ(bgr(), (std::vector<int> { 40, 50, 60 }));
    // Outside the page nothing happens.
    const QImage before = page;
    engine.BlendPixel(640, 10, 100, 0xFFFFFF);
    engine.BlendPixel(-1, 10, 100, 0xFFFFFF);
    engine.BlendPixel(5, 480, 100, 0xFFFFFF);
    EXPECT_TRUE(page == before);
}

TEST_F(TextShotBTest, CoverageComesFromTheBlockOfSixteenMaskPixels)
{
    FillBlock(100, 100);
    FillBlock(101, 100, 1);
    FillBlock(102, 100, 8);
    engine.CompositeRegion(QRect(99, 99, 6, 3), 0, 0, MakeColorRef(200, 100, 0));
    EXPECT_EQ(page.pixel(100, 100), qRgb(200, 100, 0));
    EXPECT_EQ(page.pixel(101, 100), qRgb(12, 6, 0));
    EXPECT_EQ(page.pixel(102, 100), qRgb(100, 50, 0));
    EXPECT_EQ(page.pixel(103, 100), kBlack);
    // The offset moves where the coverage lands, not where it is read.
    engine.CompositeRegion(QRect(99, 99, 6, 3), 3, 2, MakeColorRef(0, 0, 255));
    EXPECT_EQ(page.pixel(103, 102), qRgb(0, 0, 255));
}

TEST_F(TextShotBTest, CompositingStaysOnThePage)
{
    FillBlock(639, 479);
    FillBlock(0, 0);
    FillBlock(639, 0);
    // Offsets that push the corners off the page drop them.
    engine.CompositeRegion(QRect(630, 470, 30, 30), 1, 1, 0xFFFFFF);
    engine.CompositeRegion(QRect(-20, -20, 30, 30), -1, -1, 0xFFFFFF);
    engine.CompositeRegion(QRect(600, -50, 100, 100), 1, 0, 0xFFFFFF);
    EXPECT_TRUE(test::InkBox(page).isEmpty());
    engine.CompositeRegion(QRect(630, 470, 30, 30), -1, -1, 0xFFFFFF);
    EXPECT_EQ(page.pixel(638, 478), qRgb(255, 255, 255));
    // A glyph half off the page blends only its visible half.
    engine.ClearMask();
    page.fill(0);
    engine.SetText({ QStringLiteral("漢") });
    engine.SetOrigin(-15, 465);
    engine.SetShadowOn();
    engine.SetHighlightOn();
    engine.SetHighlightWidth(3);
    engine.DrawChar(1);
    const QRect ink = test::InkBox(page);
    EXPECT_FALSE(ink.isEmpty());
    EXPECT_EQ(ink.left(), 0);
    EXPECT_EQ(ink.bottom(), 479);
    // A target smaller than a page is never written outside.
    QImage small = NewBitmap24(20, 20);
    Canvas smallCanvas(&small);
    smallCanvas.SetFont(target.font());
    engine.SetTargetBitmap(&smallCanvas);
    engine.SetOrigin(5, 5);
    engine.DrawChar(1);
    EXPECT_FALSE(test::InkBox(small).isEmpty());
}

TEST_F(TextShotBTest, SupersampledPositionsAndCharacterBoxes)
{
    engine.SetText({ QStringLiteral("あいう"), QStringLiteral("え") });
    engine.SetOrigin(50, 60);
    engine.SetLinePitch(3);
    EXPECT_EQ(engine.CharPos4(0, 3), QPoint(4 * 50 + 240, 4 * 60));
    EXPECT_EQ(engine.CharPos4(1, 1), QPoint(200, 4 * (60 + 33)));
    // Half as wide again as the glyph and a fifth higher than its cell.
    EXPECT_EQ(engine.CharBox(2), QRect(80, 60, 45, 38));

    Vertical();
    engine.SetOrigin(600, 10);
    engine.DrawChar(1);
    EXPECT_EQ(engine.CharPos4(0, 3), QPoint(4 * (600 - 30), 4 * 10 + 240));
    EXPECT_EQ(engine.CharPos4(1, 1), QPoint(4 * (600 - 60 - 3), 40));
    EXPECT_EQ(engine.CharBox(2), QRect(570, 40, 38, 45));
    EXPECT_EQ(engine.CharBox(0), QRect());
}

TEST_F(TextShotBTest, GlyphsFallInsideTheirCellsInBothDirections)
{
    const QStringList lines = { QStringLiteral("漢「字」、"), QStringLiteral("ーあ。") };
    for (const bool vertical : { false, true }) {
        if (vertical)
            Vertical();
        engine.SetText(lines);
        engine.SetOrigin(vertical ? 500 : 40, 40);
        for (int n = 1; n <= engine.CharCount(); ++n) {
            page.fill(0);
            engine.DrawChar(n);
            const QPoint p = engine.CharPos4(engine.LineOfChar(n), engine.ColumnOfChar(n));
            const int x = p.x() / 4;
            const int y = p.y() / 4;
            const int advance = target.TextWidth(engine.CharAt(n));
            const QRect cell = vertical ? QRect(x, y, 30, advance) : QRect(x, y, advance, 32);
            const QRect ink = test::InkBox(page);
            ASSERT_FALSE(ink.isEmpty()) << n;
            EXPECT_TRUE(cell.contains(ink)) << (vertical ? "vertical " : "horizontal ") << n;
            EXPECT_TRUE(QRect(4 * cell.x(), 4 * cell.y(), 4 * cell.width(), 4 * cell.height())
                            .contains(test::InkBox(engine.Mask())));
        }
    }
}

TEST_F(TextShotBTest, OnlyTheOpeningBracketIsTurnedByATenthOfADegree)
{
    engine.SetText({ QStringLiteral("「」") });
    engine.SetDeferredComposite(true);
    for (const auto& [n, escapement] : std::vector<std::pair<int, int>> { { 1, 1 }, { 2, 0 } }) {
        engine.ClearMask();
        engine.DrawChar(n);
        QImage expected(TTextShotB::kMaskWidth, TTextShotB::kMaskHeight, QImage::Format_Mono);
        expected.setColorTable(engine.Mask().colorTable());
        expected.fill(0);
        LogFont font = target.font().ToLogFont(escapement);
        font.height = 120;
        const QPoint p = engine.CharPos4(0, n);
        Canvas(&expected).TextOut(font, kWhite, p.x(), p.y(), engine.CharAt(n));
        EXPECT_TRUE(engine.Mask() == expected) << n;
        if (escapement == 1) {
            // The tenth of a degree shows in the four-times glyph.
            expected.fill(0);
            LogFont upright = font;
            upright.escapement = 0;
            Canvas(&expected).TextOut(upright, kWhite, p.x(), p.y(), engine.CharAt(n));
            EXPECT_FALSE(engine.Mask() == expected);
        }
    }
}

TEST_F(TextShotBTest, VerticalLongVowelMarkIsAVerticalBar)
{
    Vertical();
    engine.SetText({ QStringLiteral("ー") });
    engine.SetOrigin(300, 100);
    engine.DrawChar(1);
    const QRect bar = test::InkBox(page);
    EXPECT_GT(bar.height(), 4 * bar.width());
    EXPECT_NEAR(bar.center().x(), 285, 2);
}

// With black text on black, the shadow shows where the text does not cover it.
TEST_F(TextShotBTest, ShadowOffsetsGrowWithTheHeight)
{
    for (const auto& [height, d] :
        std::vector<std::pair<int, int>> { { 45, 1 }, { 90, 3 }, { 29, 1 } }) {
        target.font().height = height;
        target.font().color = 0xFFFFFF;
        engine.SetShadowOff();
        engine.SetText({ QStringLiteral("木") });
        engine.SetOrigin(100, 100);
        page.fill(0);
        engine.DrawChar(1);
        const QImage plain = page;
        target.font().color = 0x000000;
        engine.SetShadowOn();
        engine.SetShadowColor(0xFFFFFF);
        page.fill(0);
        engine.DrawChar(1);
        int shown = 0;
        for (int y = d; y < 480; ++y)
            for (int x = d; x < 640; ++x) {
                if (plain.pixel(x, y) != kBlack)
                    continue;
                const QRgb from = plain.pixel(x - d, y - d);
                ASSERT_EQ(page.pixel(x, y), from) << height << " " << x << "," << y;
                shown += from != kBlack;
            }
        EXPECT_GT(shown, height / 2) << height;
    }
}

TEST_F(TextShotBTest, HighlightOutlinesInEightDirections)
{
    for (const auto& [width, d] :
        std::vector<std::pair<int, int>> { { 2, 2 }, { 0, 1 }, { -5, 1 } }) {
        target.font().color = 0xFFFFFF;
        engine.SetShadowOff();
        engine.SetText({ QStringLiteral("木") });
        engine.SetOrigin(100, 100);
        page.fill(0);
        engine.DrawChar(1);
        const QImage plain = page;
        target.font().color = 0x000000;
        engine.SetShadowOn();
        engine.SetHighlightOn();
        engine.SetHighlightWidth(width);
        engine.SetShadowColor(0xFFFFFF);
        page.fill(0);
        engine.DrawChar(1);
        const QPoint offsets[] = { { d, d }, { -d, d }, { -d, -d }, { d, -d }, { 0, -d }, { 0, d },
            { -d, 0 }, { d, 0 } };
        int checked = 0;
        for (int y = d; y < 480 - d; ++y)
            for (int x = d; x < 640 - d; ++x) {
                if (plain.pixel(x, y) != kBlack)
                    continue;
                int sources = 0;
                QRgb only = kBlack;
                for (const QPoint& o : offsets) {
                    const QRgb from = plain.pixel(x - o.x(), y - o.y());
                    if (from != kBlack) {
                        ++sources;
                        only = from;
                    }
                }
                if (sources == 0) {
                    ASSERT_EQ(page.pixel(x, y), kBlack) << width << " " << x << "," << y;
                }
                if (sources == 1) {
                    ASSERT_EQ(page.pixel(x, y), only) << width << " " << x << "," << y;
                    ++checked;
                }
            }
        EXPECT_GT(checked, 4) << width;
    }
}

TEST_F(TextShotBTest, DeferredCharactersGatherUntilCompositeAll)
{
    engine.SetText({ QStringLiteral("あい") });
    engine.SetOrigin(20, 20);
    engine.SetShadowOn();
    page.fill(0);
    for (int n = 1; n <= 2; ++n)
        engine.DrawChar(n);
    const QImage direct = page;

    engine.SetText({ QStringLiteral("あい") });
    engine.SetDeferredComposite(true);
    page.fill(0);
    for (int n = 1; n <= 2; ++n)
        engine.DrawChar(n);
    EXPECT_TRUE(test::InkBox(page).isEmpty());
    engine.CompositeAll();
    // Two characters apart blend the same either way.
    EXPECT_TRUE(page == direct);
}

TEST_F(TextShotBTest, BoundsHaveMargins)
{
    engine.SetText({ QStringLiteral("あいう"), QStringLiteral("A") });
    engine.SetOrigin(100, 50);
    engine.SetLinePitch(2);
    EXPECT_EQ(engine.TextBounds(), (TextRect { 92, 42, 100 + 90 + 8, 50 + 66 + 8 }));
    Vertical();
    EXPECT_EQ(engine.TextBounds(), (TextRect { 100 - 66 - 4, 42, 108, 50 + 90 + 8 }));
    engine.SetText({});
    EXPECT_EQ(engine.TextBounds(), (TextRect { 96, 42, 108, 58 }));
}

TEST_F(TextShotBTest, CachedTypingDrawsTheSamePixelsAsUncached)
{
    const QStringList lines = { QStringLiteral("「桃太郎」、むかしむかし。"),
        QStringLiteral("ーABCgy（１２３）…～"), QString(), QStringLiteral("おしまい") };
    for (const bool vertical : { false, true }) {
        if (vertical)
            Vertical();
        QImage results[2];
        for (const bool caching : { true, false }) {
            SetFontCaching(caching);
            page.fill(qRgb(30, 60, 90));
            engine.SetText(lines);
            engine.SetOrigin(vertical ? 600 : 10, 10);
            engine.SetShadowOn();
            engine.SetHighlightOn();
            engine.SetHighlightWidth(2);
            engine.SetShadowColor(0x102030);
            TypeAll();
            results[caching ? 0 : 1] = page;
        }
        SetFontCaching(true);
        EXPECT_TRUE(results[0] == results[1]) << vertical;
    }
}

TEST_F(TextShotBTest, ValuesFromADamagedBookAreSafe)
{
    engine.SetText({ QString(), QString(), QStringLiteral("あい") });
    for (const int v : { INT_MAX, INT_MIN }) {
        target.font().height = v;
        engine.SetOrigin(v, v);
        engine.SetLinePitch(v);
        engine.SetShadowOn();
        engine.SetHighlightOn();
        engine.SetHighlightWidth(v);
        for (const bool vertical : { false, true }) {
            vertical ? engine.SetVertical() : engine.SetHorizontal();
            engine.DrawChar(1);
            engine.DrawChar(2);
            engine.TextBounds();
        }
    }
    engine.SetOrigin(0, 0);
    engine.SetLinePitch(0);
    target.font().height = 20;
    engine.SetHighlightWidth(INT_MAX);
    engine.SetHorizontal();
    engine.SetDeferredComposite(true);
    engine.DrawChar(1);
    engine.CompositeAll();
    EXPECT_TRUE(test::InkBox(page).isEmpty() || page.rect().contains(test::InkBox(page)));
}

TEST_F(TextShotBTest, StartsWithAPlaceholderTarget)
{
    TTextShotB fresh;
    fresh.SetText({ QStringLiteral("あ") });
    fresh.DrawChar(1);
    fresh.CompositeAll();
    EXPECT_EQ(fresh.target()->image()->size(), QSize(640, 480));
    EXPECT_EQ(fresh.CharDelay(0), 0);
    fresh.SetCharDelay(2000, 7);
    fresh.SetCharDelay(2001, 7);
    fresh.SetCharDelay(-1, 7);
    EXPECT_EQ(fresh.CharDelay(2000), 7);
    EXPECT_EQ(fresh.CharDelay(2001), 0);
    fresh.SetText({ QStringLiteral("あ") });
    EXPECT_EQ(fresh.CharDelay(2000), 0);
}

} // namespace
} // namespace pimoko

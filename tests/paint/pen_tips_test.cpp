#include "paint/pen_tips.h"
#include "tests/paint/paint_test_support.h"

#include <gtest/gtest.h>

namespace pimoko {
namespace {

using test::PenOf;
using test::Solid;

struct TipCase {
    const char* name;
    PenTipKind tip;
    int density;
    PenColour colour;
    QColor canvas;
    QColor pen;
    QColor expected;
    bool lineStamp = false;
};

TEST(PenTipsTest, OneStampChangesTheCanvasByTipDensityAndColour)
{
    const PenColour grey;
    const TipCase cases[] = {
        { "density 100 stamps the pen's own colours", PenTipKind::Normal, 100, grey,
            QColor(50, 50, 50), QColor(10, 200, 90), QColor(10, 200, 90) },
        { "240, 0, 0 doubles red and clears the rest", PenTipKind::Normal, 100, { 240, 0, 0 },
            QColor(50, 50, 50), QColor(100, 80, 60), QColor(200, 0, 0) },
        { "a doubled red is capped", PenTipKind::Normal, 100, { 240, 0, 0 }, QColor(0, 0, 0),
            QColor(200, 1, 1), QColor(255, 0, 0) },
        { "density 2 moves 2 % up", PenTipKind::Normal, 2, grey, QColor(0, 0, 0),
            QColor(200, 200, 200), QColor(4, 4, 4) },
        { "density 2 moves 2 % down", PenTipKind::Normal, 2, grey, QColor(255, 255, 255),
            QColor(100, 100, 100), QColor(252, 252, 252) },
        { "density 50 goes half way", PenTipKind::Normal, 50, grey, QColor(100, 100, 100),
            QColor(200, 0, 100), QColor(150, 50, 100) },
        { "light pen on white stays white", PenTipKind::LightPen, 100, grey, QColor(255, 255, 255),
            QColor(200, 200, 200), QColor(255, 255, 255) },
        // k = 101 x 0.0025: 200 adds 50.5 (to even: 50), 51 adds 12.88, 50 adds nothing.
        { "light pen on black, bytes above 50 only", PenTipKind::LightPen, 100, grey,
            QColor(0, 0, 0), QColor(200, 50, 51), QColor(50, 0, 13) },
        { "light pen in a line adds less", PenTipKind::LightPen, 100, grey, QColor(0, 0, 0),
            QColor(200, 200, 200), QColor(14, 14, 14), true },
        { "light pen tints first", PenTipKind::LightPen, 100, { 240, 0, 0 }, QColor(0, 0, 0),
            QColor(100, 200, 200), QColor(50, 0, 0) },
        // a = 765 / 768 / 50 x 5 = 0.0996 of the way to the pen colour.
        { "airbrush moves toward the colour", PenTipKind::Airbrush, 50, { 255, 0, 0 },
            QColor(0, 0, 255), QColor(255, 255, 255), QColor(25, 0, 230) },
        { "airbrush at density 100 reaches the colour", PenTipKind::Airbrush, 100, { 10, 20, 30 },
            QColor(200, 200, 200), QColor(255, 255, 255), QColor(10, 20, 30) },
        // 640 / 768 of 9 and of -3: 7.5 and -2.5, to even.
        { "airbrush ties round to even", PenTipKind::Airbrush, 99, { 109, 97, 100 },
            QColor(100, 100, 100), QColor(128, 0, 0), QColor(108, 98, 100) },
        { "airbrush ignores the pen's hue", PenTipKind::Airbrush, 100, { 10, 20, 30 },
            QColor(200, 200, 200), QColor(0, 0, 255), QColor(10, 20, 30) },
    };
    for (const TipCase& c : cases) {
        SCOPED_TRACE(c.name);
        QImage canvas = Solid(8, 8, c.canvas);
        TipSettings settings;
        settings.canvasShare = 100 - c.density;
        settings.colour = c.colour;
        settings.lineStamp = c.lineStamp;
        TipOf(c.tip).Stamp(
            canvas, StampImage(PenOf(4, 4, c.pen), c.colour), QPoint(2, 2), settings);
        EXPECT_EQ(canvas.pixelColor(3, 3), c.expected);
        EXPECT_EQ(canvas.pixelColor(1, 1), c.canvas) << "outside the stamp";
        EXPECT_EQ(canvas.pixelColor(2, 5), c.canvas) << "the pen's bottom-left colour";
    }
}

TEST(PenTipsTest, StampsAreCutAtTheCanvasEdgesAndEmptyPensDrawNothing)
{
    for (PenTipKind tip : { PenTipKind::Normal, PenTipKind::LightPen, PenTipKind::Airbrush }) {
        QImage canvas = Solid(8, 8, QColor(0, 0, 0));
        TipSettings settings;
        settings.canvasShare = 0;
        settings.colour = { 255, 255, 255 };
        const StampImage pen(PenOf(4, 4, QColor(255, 255, 255)), settings.colour);
        for (QPoint at : { QPoint(-4, -4), QPoint(8, 0), QPoint(0, 8), QPoint(-100, 3) })
            TipOf(tip).Stamp(canvas, pen, at, settings);
        EXPECT_TRUE(canvas == Solid(8, 8, QColor(0, 0, 0)));
        TipOf(tip).Stamp(canvas, pen, QPoint(6, -2), settings);
        EXPECT_NE(canvas.pixelColor(7, 0), QColor(0, 0, 0));
        EXPECT_NE(canvas.pixelColor(6, 0), QColor(0, 0, 0));
        EXPECT_NE(canvas.pixelColor(7, 1), QColor(0, 0, 0));
        EXPECT_EQ(canvas.pixelColor(5, 0), QColor(0, 0, 0));
        EXPECT_EQ(canvas.pixelColor(7, 2), QColor(0, 0, 0));

        QImage untouched = Solid(8, 8, QColor(0, 0, 0));
        TipOf(tip).Stamp(untouched, pen.Stretched(0, 3), QPoint(2, 2), settings);
        EXPECT_TRUE(untouched == Solid(8, 8, QColor(0, 0, 0)));
    }
}

TEST(PenImageTest, TintRoundsToEvenAndCaps)
{
    const PenTint tint({ 60, 255, 0 });
    EXPECT_EQ(tint.Red(1), 0); // 0.5
    EXPECT_EQ(tint.Red(3), 2); // 1.5
    EXPECT_EQ(tint.Green(100), 212); // 212.5
    EXPECT_EQ(tint.Green(255), 255);
    EXPECT_EQ(tint.Blue(255), 0);
    EXPECT_EQ(ScaledPenSize(QSize(64, 5), 10), QSize(6, 0)); // 6.4, 0.5
    EXPECT_EQ(ScaledPenSize(QSize(15, 25), 50), QSize(8, 12)); // 7.5, 12.5
    // A black pen colour still shows the pen's shape in the preview.
    const QImage preview = PenPreview(PenOf(4, 4, QColor(240, 240, 240)), { 0, 0, 0 }, 50);
    EXPECT_EQ(preview.size(), QSize(2, 2));
    EXPECT_EQ(preview.pixelColor(1, 0), QColor(6, 6, 6));
}

} // namespace
} // namespace pimoko

#include "editor/editor_layout.h"

#include <gtest/gtest.h>

namespace pimoko {
namespace {

TEST(EditorLayout, PanelsAndPreviewFollowTheResizeRules)
{
    struct Case {
        const char* what;
        QSize panel1;
        int panel3Width;
        QRect panel4;
        QRect image;
    };
    const Case cases[] = {
        { "initial size", { 716, 482 }, 288, { 296, 4, 407, 474 }, { 21, 107, 245, 184 } },
        // 0.85 x 290 = 246.5 and 0.75 x 246 = 184.5 both round to even.
        { "ties to even", { 720, 600 }, 290, { 298, 4, 409, 592 }, { 22, 166, 246, 184 } },
        // Too low for 0.85 of the width: 90 pixels are kept, the width is 1.33 x the height.
        { "height bound", { 1600, 300 }, 642, { 650, 4, 937, 292 }, { 186, 7, 269, 202 } },
        // 1.33 x 50 = 66.5 rounds to even.
        { "height bound tie", { 1000, 148 }, 402, { 410, 4, 577, 140 }, { 168, 7, 66, 50 } },
        // Less than 90 pixels high: an empty preview, no negative size.
        { "too small", { 100, 50 }, 42, { 50, 4, 37, 42 }, { 21, -16, 0, 0 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const EditorLayout l = ComputeEditorLayout(c.panel1);
        EXPECT_EQ(l.panel3, QRect(4, 4, c.panel3Width, c.panel4.height()));
        EXPECT_EQ(l.panel4, c.panel4);
        EXPECT_EQ(l.image, c.image);
        EXPECT_EQ(l.bevel, c.image.adjusted(-3, -3, 2, 2));
    }
}

TEST(EditorLayout, FirstShowCentresWhereTheWindowFits)
{
    struct Case {
        const char* what;
        QRect workArea;
        QPoint place;
    };
    const QSize window(716, 554);
    const Case cases[] = {
        { "fits", { 0, 0, 1280, 1024 }, { 282, 235 } },
        { "narrow work area", { 0, 0, 600, 800 }, { 0, 123 } },
        { "exactly as wide and as high", { 10, 20, 716, 554 }, { 10, 20 } },
        { "work area beside a panel", { 1280, 30, 1920, 1050 }, { 1882, 278 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FirstShowPlace(c.workArea, window), c.place);
    }
}

TEST(EditorLayout, RatiosRoundHalfToEven)
{
    EXPECT_EQ(RoundRatioHalfEven(5, 2), 2);
    EXPECT_EQ(RoundRatioHalfEven(7, 2), 4);
    EXPECT_EQ(RoundRatioHalfEven(-5, 2), -2);
    EXPECT_EQ(RoundRatioHalfEven(-7, 2), -4);
    EXPECT_EQ(RoundRatioHalfEven(2449, 10), 245);
    EXPECT_EQ(RoundRatioHalfEven(-2449, 10), -245);
}

} // namespace
} // namespace pimoko

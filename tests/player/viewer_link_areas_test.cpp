#include "player/link_areas.h"

#include "platform/bitmap.h"

#include <gtest/gtest.h>

namespace pimoko {
namespace {

int LinkOf(int page)
{
    return page + 100;
}

TEST(LinkAreas, ContainmentIsStrictAndTheFirstAreaWins)
{
    LinkAreaTable t;
    EXPECT_EQ(t.LinkTargetAt(5, 5, LinkOf), -1);
    t.AddLinkArea(1, TextRect { 10, 10, 50, 30 });
    t.AddLinkArea(2, TextRect { 20, 20, 80, 60 });
    EXPECT_EQ(t.LinkCount(), 2);
    EXPECT_EQ(t.FirstUsed(), 0);
    EXPECT_EQ(t.LastUsed(), 1);
    EXPECT_EQ(t.LinkTargetAt(10, 15, LinkOf), -1); // on the left edge
    EXPECT_EQ(t.LinkTargetAt(11, 11, LinkOf), 101);
    EXPECT_EQ(t.LinkTargetAt(49, 29, LinkOf), 101);
    EXPECT_EQ(t.LinkTargetAt(30, 25, LinkOf), 101); // in both: the first
    EXPECT_EQ(t.LinkTargetAt(50, 25, LinkOf), 102);
    EXPECT_EQ(t.LinkTargetAt(79, 59, LinkOf), 102);
    EXPECT_EQ(t.LinkTargetAt(80, 59, LinkOf), -1);
}

TEST(LinkAreas, TheTableHolds301AreasAndDropsFurtherOnes)
{
    LinkAreaTable t;
    for (int i = 0; i < LinkAreaTable::kSlots; ++i)
        ASSERT_TRUE(t.AddLinkArea(1, TextRect { i, 0, i + 2, 2 }));
    EXPECT_FALSE(t.AddLinkArea(2, TextRect { 0, 0, 640, 480 }));
    EXPECT_EQ(t.LinkCount(), 301);
    EXPECT_EQ(t.LastUsed(), 300);
    EXPECT_EQ(t.LinkTargetAt(300, 300, LinkOf), -1);
    t.ClearLinkAreas();
    EXPECT_EQ(t.LinkCount(), 0);
    EXPECT_EQ(t.FirstUsed(), -1);
    EXPECT_EQ(t.Selected(), -1);
    EXPECT_FALSE(t.HighlightDrawn());
}

TEST(LinkAreas, PointerMovesFrameOneAreaAtATimeAndLeaveThePictureAsItWas)
{
    QImage picture = NewBitmap24();
    picture.fill(QColor(10, 200, 30));
    const QImage clean = picture.copy();
    LinkAreaTable t;
    t.AddLinkArea(1, TextRect { 100, 100, 200, 150 });
    t.AddLinkArea(2, TextRect { 300, 100, 400, 150 });

    t.PointerMoved(150, 120, picture);
    EXPECT_EQ(t.Selected(), 0);
    EXPECT_EQ(picture.pixel(100, 120), qRgb(245, 55, 225)); // inverted frame
    EXPECT_EQ(picture.pixel(150, 120), clean.pixel(150, 120));

    // Into the second area: the first frame is gone, the second drawn.
    t.PointerMoved(350, 120, picture);
    EXPECT_EQ(t.Selected(), 1);
    EXPECT_EQ(picture.pixel(100, 120), clean.pixel(100, 120));
    EXPECT_NE(picture.pixel(300, 120), clean.pixel(300, 120));

    t.PointerMoved(10, 10, picture);
    EXPECT_EQ(t.Selected(), -1);
    EXPECT_EQ(picture, clean);

    // A frame partly off the picture is cut at its edges, and still undoes itself.
    LinkAreaTable::DrawHighlightFrame(picture, TextRect { -8, 470, 30, 490 });
    EXPECT_NE(picture, clean);
    LinkAreaTable::DrawHighlightFrame(picture, TextRect { -8, 470, 30, 490 });
    EXPECT_EQ(picture, clean);
}

TEST(LinkAreas, ForgettingTheFrameLeavesItOnThePicture)
{
    QImage picture = NewBitmap24();
    const QImage clean = picture.copy();
    LinkAreaTable t;
    t.AddLinkArea(1, TextRect { 10, 10, 60, 60 });
    t.SelectNextLink(picture);
    t.ForgetHighlight();
    EXPECT_FALSE(t.HighlightDrawn());
    t.PointerMoved(0, 0, picture);
    EXPECT_NE(picture, clean);
}

} // namespace
} // namespace pimoko

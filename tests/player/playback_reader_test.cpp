#include "tests/player/playback_test_support.h"

#include <gtest/gtest.h>

namespace pimoko {
namespace {

using test::PlaybackRig;

// Page 1 (a fill, a text linking to page 10) and page 2 (a text lower down linking to
// page 20, with a period): no picture between them, so both texts stay clickable.
void TwoLinkPages(PlaybackRig& r)
{
    TNovelPage& p1 = r.UseWithText(1, QStringLiteral("いち"));
    p1.FillImage = true;
    p1.LinkPage = 10;
    TNovelPage& p2 = r.UseWithText(2, QStringLiteral("に"));
    p2.TextY = 200;
    p2.LinkPage = 20;
    p2.Period = true;
    r.UseWithText(3, QStringLiteral("さん"));
    r.Use(10).Period = true;
    r.Use(20).Period = true;
    r.Start();
    r.Run();
}

TEST(PlaybackLinks, AreasAccumulateOverPagesWithoutAPictureAndAPictureClearsThem)
{
    PlaybackRig r;
    TwoLinkPages(r);
    const LinkAreaTable& links = r.viewer.Links();
    ASSERT_EQ(links.LinkCount(), 2);
    EXPECT_EQ(links.SlotAt(0).page, 1);
    EXPECT_EQ(links.SlotAt(1).page, 2);
    EXPECT_EQ(links.SlotAt(0).rect.left, 32);
    EXPECT_EQ(links.SlotAt(0).rect.top, 32);
    EXPECT_EQ(links.SlotAt(1).rect.top, 192);
    EXPECT_EQ(r.viewer.cursor, kCursorCross);
    EXPECT_EQ(r.viewer.glyph, GoOnGlyph::Link);
    EXPECT_EQ(r.log.Only("done").last(), "done 2>3");

    // Either text plays its link page.
    r.actions.PictureMouseDown(45, 210, true);
    r.Run();
    EXPECT_EQ(r.log.Only("page").last(), "page 20");
    EXPECT_EQ(r.viewer.Links().LinkCount(), 0); // following a link clears them
    EXPECT_EQ(r.viewer.cursor, kCursorHand);
}

TEST(PlaybackLinks, BlankViewerClearsThePicturesAndTheAreas)
{
    PlaybackRig r;
    TwoLinkPages(r);
    r.compositor.FillBackBuffer(0xFFFFFF);
    r.playback.BlankViewer();
    EXPECT_EQ(r.viewer.Links().LinkCount(), 0);
    EXPECT_EQ(r.Pixel(45, 50), qRgb(0, 0, 0));
    EXPECT_EQ(r.BackPixel(45, 50), qRgb(0, 0, 0));
}

TEST(PlaybackLinks, ClicksAndEnterActOnlyOnAChosenLink)
{
    PlaybackRig r;
    TwoLinkPages(r);
    const int before = r.log.log.size();
    // Outside every area: ignored while there are link areas.
    r.actions.PictureMouseDown(600, 450, true);
    // The right button, or the left with another one held, does nothing either.
    r.actions.PictureMouseDown(45, 50, false);
    // Enter and the go-on button do nothing until a link is selected.
    r.actions.KeyDown(kVkReturn);
    r.actions.KeyDown(kVkSpace);
    r.actions.GoOnButtonClick();
    EXPECT_EQ(static_cast<int>(r.log.log.size()), before);
    EXPECT_FALSE(r.busy.IsBusy());

    r.actions.KeyDown(kVkRight);
    EXPECT_EQ(r.viewer.Links().Selected(), 0);
    r.actions.KeyDown(kVkReturn);
    r.Run();
    EXPECT_EQ(r.log.Only("page").last(), "page 10");
}

TEST(PlaybackLinks, ArrowKeysWrapAroundTheUsedSlotsOnlyWhileWaitingAtAPeriod)
{
    PlaybackRig r;
    TwoLinkPages(r);
    LinkAreaTable& links = r.viewer.Links();
    const QImage clean = r.viewer.Picture().copy();
    r.actions.KeyDown(kVkLeft); // none selected: the first
    EXPECT_EQ(links.Selected(), 0);
    r.actions.KeyDown(kVkUp); // below the first: the last
    EXPECT_EQ(links.Selected(), 1);
    r.actions.KeyDown(kVkDown); // past the last: the first
    EXPECT_EQ(links.Selected(), 0);
    r.actions.KeyDown(kVkRight);
    EXPECT_EQ(links.Selected(), 1);
    EXPECT_NE(r.viewer.Picture(), clean); // the frame shows
    EXPECT_EQ(links.Highlight(), links.SlotAt(1).rect);
    // Moving the pointer off every area erases the frame and selects nothing.
    r.actions.PictureMouseMove(600, 450);
    EXPECT_EQ(links.Selected(), -1);
    EXPECT_EQ(r.viewer.Picture(), clean);
}

TEST(PlaybackLinks, ALinkOfAPageWithoutPeriodIsFollowedWhenThePlayerWaitsLater)
{
    PlaybackRig r;
    TNovelPage& p1 = r.UseWithText(1, QStringLiteral("リンク"));
    p1.LinkPage = 7;
    r.Use(2).Period = true; // no text, no picture: page 1's area stays
    r.Use(7).Period = true;
    r.Start();
    r.Run();
    EXPECT_EQ(r.viewer.Links().LinkCount(), 1);
    r.actions.PictureMouseDown(45, 50, true);
    r.Run();
    EXPECT_EQ(r.log.Only("page").last(), "page 7");
}

TEST(PlaybackLinks, LinkPagesOutsideTheBookAreNotFollowed)
{
    PlaybackRig r;
    TNovelPage& p1 = r.UseWithText(1, QStringLiteral("こわれた"));
    p1.LinkPage = 999;
    p1.Period = true;
    r.Use(2).Period = true;
    r.Start();
    r.Run();
    EXPECT_EQ(r.viewer.Links().LinkCount(), 1);
    r.actions.PictureMouseDown(45, 50, true);
    r.actions.KeyDown(kVkRight);
    r.actions.KeyDown(kVkReturn);
    r.Run();
    EXPECT_EQ(r.log.Only("page"), (QStringList { "page 1" }));
}

TEST(PlaybackReader, InputWhilePlayingIsIgnoredExceptTheStopActions)
{
    PlaybackRig r;
    r.UseWithText(1, QStringLiteral("abcdef"), 10);
    r.Use(2).Period = true;
    r.Start();
    r.clock.Advance(15);
    r.actions.GoOnButtonClick();
    r.actions.KeyDown(kVkReturn);
    r.actions.PictureMouseDown(300, 300, true);
    EXPECT_FALSE(r.actions.CloseRequested()); // the viewer stays open and asks to stop
    EXPECT_TRUE(r.playback.StopRequest());
    EXPECT_TRUE(r.actions.StopMenuEnabled());
    r.Run();
    EXPECT_EQ(r.log.Only("page"), (QStringList { "page 1" }));
    EXPECT_EQ(r.log.Only("char").size(), 2) << "the character being typed at the stop";
    EXPECT_FALSE(r.actions.StopMenuEnabled());
    // Waiting, the viewer closes and goes quiet.
    EXPECT_TRUE(r.actions.CloseRequested());
    EXPECT_FALSE(r.viewer.visible);
}

TEST(PlaybackReader, AMovedSliderChoosesThePageAndStopsTheSoundsFirst)
{
    PlaybackRig r;
    r.Sound(QStringLiteral("a.wav"));
    TNovelPage& p1 = r.Use(1);
    p1.SoundFile = QStringLiteral("a.wav");
    p1.Period = true;
    r.Use(2).Period = true;
    r.Use(5).Period = true;
    r.Start();
    r.Run();
    EXPECT_TRUE(r.slider.Enabled());
    r.slider.MoveTo(5);
    r.actions.GoOnButtonClick();
    r.Run();
    EXPECT_EQ(r.log.All().mid(4),
        (QStringList { "stop a.wav", "page 5", "done 5>5", "end 5", "wait 5" }));
    EXPECT_FALSE(r.slider.SliderMoved());
}

TEST(PlaybackReader, EscapeWhileWaitingClosesTheViewer)
{
    PlaybackRig r;
    r.Use(1).Period = true;
    r.Use(2);
    r.Start();
    r.Run();
    r.actions.KeyDown(kVkEscape);
    EXPECT_FALSE(r.viewer.visible);
    // A hidden viewer does not take keys.
    r.actions.KeyDown(kVkReturn);
    EXPECT_EQ(r.log.Only("page").size(), 1);
}

TEST(ViewerScreenMode, SwitchesOnlyWhenTheWantedModeDiffers)
{
    TViewerState v;
    EXPECT_EQ(v.ApplyScreenMode(false), TViewerState::ScreenChange::None);
    EXPECT_EQ(v.ApplyScreenMode(true), TViewerState::ScreenChange::ToFullScreen);
    EXPECT_TRUE(v.fullScreen);
    EXPECT_EQ(v.ApplyScreenMode(true), TViewerState::ScreenChange::None);
    EXPECT_EQ(v.ApplyScreenMode(false), TViewerState::ScreenChange::ToWindow);
    EXPECT_FALSE(v.fullScreen);
    EXPECT_EQ(TViewerState::FullScreenPictureOrigin(QSize(1920, 1080)), QPoint(640, 300));
    EXPECT_EQ(TViewerState::FullScreenPictureOrigin(QSize(639, 479)), QPoint(0, 0));
}

} // namespace
} // namespace pimoko

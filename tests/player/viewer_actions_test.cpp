#include "tests/player/playback_test_support.h"

#include <gtest/gtest.h>

namespace pimoko {
namespace {

using test::PlaybackRig;

// Pages 1 and 6 fills, 4 a picture (pages with a background of their own), 3 a clip
// picture, 2, 5 and 7 text only. With bareFirst page 1 has no fill either.
void BackgroundBook(PlaybackRig& r, bool bareFirst)
{
    r.UseWithText(1, QStringLiteral("いち"), 5).FillImage = !bareFirst;
    r.UseWithText(2, QStringLiteral("に"), 5);
    TNovelPage& clip = r.Use(3);
    clip.ClipMode = true;
    clip.PictureFile = r.Picture(QStringLiteral("clip.bmp"), Qt::green, 20, 20);
    r.Use(4).PictureFile = r.Picture(QStringLiteral("four.bmp"), Qt::blue);
    r.UseWithText(5, QStringLiteral("ご"), 5);
    r.Use(6).FillImage = true;
    r.UseWithText(7, QStringLiteral("なな"), 5);
}

// CurrentPage names the page after the one on screen, so going back passes over the
// background page being read.
TEST(ViewerActions, HiddenPageButtonsStepBetweenPagesWithABackgroundOfTheirOwn)
{
    struct Case {
        int current;
        bool forward;
        bool bareFirst;
        int expected;
    };
    const Case cases[] = {
        { 1, true, false, 4 }, // past a text page and a clip page
        { 4, true, false, 6 }, { 6, true, false, 6 }, // none after it: the page stays
        { 300, true, false, 300 }, // the last page has nothing after it
        { 1, false, false, 1 }, { 2, false, false, 1 }, // the page below is page 1 itself
        { 5, false, false, 1 }, { 7, false, false, 4 },
        { 5, false, true, 5 }, // page 4 is the only one below: the page stays
    };
    for (const Case& c : cases) {
        PlaybackRig r;
        BackgroundBook(r, c.bareFirst);
        r.book.CurrentPage = c.current;
        r.actions.StepToPage(c.forward);
        const QString what = QStringLiteral("from %1 %2").arg(c.current).arg(c.forward);
        EXPECT_EQ(r.book.CurrentPage, c.expected) << qPrintable(what);
        ASSERT_FALSE(r.log.Only("page").isEmpty()) << qPrintable(what);
        EXPECT_EQ(r.log.Only("page").first().split(' ')[1].toInt(), c.expected) << qPrintable(what);
        const bool inUse = r.book.Page(c.expected).InUse;
        EXPECT_EQ(r.windows.shown, inUse ? std::vector<int> { c.expected } : std::vector<int> {})
            << qPrintable(what);
        EXPECT_EQ(r.windows.cleared, inUse ? std::vector<int> {} : std::vector<int> { c.expected })
            << qPrintable(what);
        EXPECT_EQ(r.busy.IsBusy(), inUse) << qPrintable(what);
    }
}

TEST(ViewerActions, APageButtonGivesUpThePlayingPageAndItsFadeForGood)
{
    PlaybackRig r;
    TNovelPage& p1 = r.UseWithText(1, QStringLiteral("あいう"), 5);
    p1.FillImage = true;
    p1.FillColor = 0x0000FF; // red
    p1.PicEffect = 1;
    p1.EffectWait = 10;
    // Page 2 draws its picture and text into the back buffer only.
    TNovelPage& p2 = r.UseWithText(2, QStringLiteral("えお"), 5);
    p2.PictureFile = r.Picture(QStringLiteral("green.bmp"), Qt::green);
    p2.DrawToBackBuffer = true;
    p2.Period = true;
    r.Start();
    r.clock.Advance(35);
    ASSERT_TRUE(r.compositor.IsFading());

    r.actions.StepToPage(true);
    EXPECT_FALSE(r.compositor.IsFading());
    EXPECT_EQ(r.Pixel(600, 400), qRgb(255, 0, 0)) << "the fade ends at once on its target";
    r.Run();
    EXPECT_EQ(r.Pixel(600, 400), qRgb(255, 0, 0)) << "and never copies page 2's picture later";
    EXPECT_EQ(r.BackPixel(600, 400), qRgb(0, 255, 0));
    EXPECT_TRUE(r.log.Only("faded").isEmpty());
    EXPECT_TRUE(r.log.Only("char").filter(QStringLiteral("あ")).isEmpty());
    EXPECT_EQ(r.log.Only("page"), (QStringList { "page 1", "page 2" }));
    EXPECT_FALSE(r.busy.IsBusy());

    // Busy with something else than a page (the library at work): the buttons do nothing.
    r.busy.TryTake();
    r.actions.StepToPage(false);
    EXPECT_EQ(r.log.Only("page").size(), 2);
    EXPECT_TRUE(r.busy.IsBusy());
}

TEST(ViewerActions, MenuItemsFollowTheScreenModeTheListAndTheBusyFlag)
{
    PlaybackRig r;
    r.UseWithText(1, QStringLiteral("あいう"), 10);
    r.Use(2).Period = true;
    r.viewer.visible = true;

    auto items = r.actions.MenuOpening();
    EXPECT_EQ(items.fullScreen, QStringLiteral("フルスクリーン表示"));
    EXPECT_EQ(items.titleList, QStringLiteral("ページ見出し表示"));
    EXPECT_FALSE(items.stopEnabled);

    r.actions.TitleListMenuClick();
    EXPECT_TRUE(r.windows.listVisible);
    EXPECT_EQ(r.actions.MenuOpening().titleList, QStringLiteral("ページ見出し非表示"));
    r.actions.TitleListMenuClick();
    EXPECT_FALSE(r.windows.listVisible);

    // The list would lie under a full-screen viewer: opening the menu hides it.
    r.actions.FullScreenMenuClick();
    EXPECT_TRUE(r.windows.fullScreenWanted);
    EXPECT_TRUE(r.viewer.fullScreen);
    EXPECT_EQ(r.windows.layouts,
        std::vector<TViewerState::ScreenChange> { TViewerState::ScreenChange::ToFullScreen });
    r.actions.TitleListMenuClick();
    items = r.actions.MenuOpening();
    EXPECT_FALSE(r.windows.listVisible);
    EXPECT_EQ(items.fullScreen, QStringLiteral("フルスクリーン終了"));
    EXPECT_EQ(items.titleList, QStringLiteral("ページ見出し表示"));

    // While a page plays only the stop item acts.
    r.Start();
    r.clock.Advance(5);
    ASSERT_TRUE(r.busy.IsBusy());
    EXPECT_TRUE(r.actions.MenuOpening().stopEnabled);
    r.actions.FullScreenMenuClick();
    r.actions.TitleListMenuClick();
    r.actions.ListButtonClick();
    EXPECT_TRUE(r.windows.fullScreenWanted);
    EXPECT_FALSE(r.windows.listVisible);
}

TEST(ViewerActions, LosingTheFocusResetsTheCursorAndAMinimisedViewerTakesItsListAlong)
{
    struct Case {
        bool minimised;
        bool playerMode;
        bool listStays;
    };
    for (const Case& c :
        { Case { false, true, true }, Case { true, true, false }, Case { true, false, true } }) {
        PlaybackRig r;
        r.windows.listVisible = true;
        r.windows.listInPlayerMode = c.playerMode;
        r.viewer.cursor = kCursorHand;
        r.actions.Deactivated(c.minimised);
        EXPECT_EQ(r.viewer.cursor, kCursorDefault);
        EXPECT_EQ(r.windows.stateChanges, 1);
        EXPECT_EQ(r.windows.listVisible, c.listStays) << c.minimised << c.playerMode;
    }
}

} // namespace
} // namespace pimoko

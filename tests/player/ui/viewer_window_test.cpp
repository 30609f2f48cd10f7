#include "player/ui/viewer_window.h"

#include "book/open_book.h"
#include "platform/prompt_port.h"
#include "player/compositor.h"
#include "player/playback.h"
#include "player/sound_player.h"
#include "player/ui/picture_view.h"
#include "player/viewer_state_actions.h"
#include "tests/support/test_support.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace pimoko {
namespace {

class FakeViewerPeers : public ViewerWindowPeers {
public:
    bool TitleListVisible() const override { return listVisible; }
    bool TitleListInPlayerMode() const override { return true; }
    void ShowTitleListInPlayerMode() override
    {
        listVisible = true;
        ++listShown;
    }
    void HideTitleList() override { listVisible = false; }
    void SetFullScreenWanted(bool on) override { fullScreen = on; }

    bool listVisible = false;
    int listShown = 0;
    bool fullScreen = false;
};

class Editing : public PlaybackEditing {
public:
    explicit Editing(FakeViewerPeers& peers)
        : peers_(peers)
    {
    }
    bool WantsFullScreen() const override { return peers_.fullScreen; }

private:
    FakeViewerPeers& peers_;
};

// Counts the repaints the player asks for.
class CountingViewer : public TForm3 {
public:
    using TForm3::TForm3;
    void RepaintPicture() override
    {
        ++repaints;
        TForm3::RepaintPicture();
    }
    int repaints = 0;
};

void SetText(TNovelPage& p, const QString& text, int x, int y, int delay)
{
    p.TextLines = QStringList { text };
    p.FontName = QStringLiteral("ＭＳ ゴシック");
    p.FontHeight = 24;
    p.FontColor = 0xFFFFFF;
    p.Shadow = false;
    p.TextX = x;
    p.TextY = y;
    for (int i = 0; i < text.size(); ++i)
        p.CharDelays[i] = static_cast<qint16>(delay);
}

class ViewerWindowTest : public ::testing::Test {
protected:
    ViewerWindowTest()
        : viewer(peers, std::make_unique<SilentSoundPort>())
        , playback(PlaybackParts { book, compositor, viewer.TextEngine(), viewer.State(), clock,
              viewer.Sounds(), slider, editing, viewer, busy })
        , actions(playback)
    {
        viewer.Attach(&actions);
        // 1: a picture with a link text; 2: a second link text, then the wait;
        // 3 and 4: the pages the links lead to.
        TNovelPage& p1 = Use(1);
        p1.FillImage = true;
        p1.FillColor = 0x00200000;
        SetText(p1, QStringLiteral("もりへ"), 40, 100, 20);
        p1.LinkPage = 3;
        TNovelPage& p2 = Use(2);
        SetText(p2, QStringLiteral("うみへ"), 340, 100, 20);
        p2.LinkPage = 4;
        p2.Period = true;
        TNovelPage& p3 = Use(3);
        p3.FillImage = true;
        p3.FillColor = 0x00004000;
        SetText(p3, QStringLiteral("もり"), 40, 40, 20);
        p3.Period = true;
        TNovelPage& p4 = Use(4);
        SetText(p4, QStringLiteral("うみ"), 40, 40, 20);
        p4.Period = true;
    }
    ~ViewerWindowTest() override { playback.Abandon(); }

    TNovelPage& Use(int n)
    {
        TNovelPage& p = book.Page(n);
        p.InUse = true;
        p.Title = QStringLiteral("p%1").arg(n);
        return p;
    }

    void PlayToWait()
    {
        playback.StartPlaying();
        clock.RunUntilIdle();
        ASSERT_FALSE(busy.IsBusy());
    }

    QPoint CentreOfLink(int slot)
    {
        const TextRect& r = viewer.State().Links().SlotAt(slot).rect;
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    void MovePointer(QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), viewer.Image1->mapToGlobal(QPointF(at)),
            Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewer.Image1, &move);
    }

    void Click(QPoint at)
    {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at),
            viewer.Image1->mapToGlobal(QPointF(at)), Qt::LeftButton, Qt::LeftButton,
            Qt::NoModifier);
        QApplication::sendEvent(viewer.Image1, &press);
    }

    void Key(Qt::Key key) { QTest::keyClick(&viewer, key); }

    test::TempFolder dir;
    ScriptedPromptPort prompt;
    TOpenBook book { prompt, dir.path() };
    ManualClock clock;
    Compositor compositor { clock };
    FakeViewerPeers peers;
    Editing editing { peers };
    StillSlider slider;
    TBusyState busy;
    CountingViewer viewer;
    TPlayback playback;
    TViewerActions actions;
};

TEST_F(ViewerWindowTest, TheWindowsLayoutAndGlyphs)
{
    EXPECT_EQ(viewer.size(), QSize(655, 535));
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("ピモコビューワ"));
    EXPECT_EQ(viewer.Panel1->geometry(), QRect(0, 0, 655, 495));
    EXPECT_EQ(viewer.Image1->geometry(), QRect(7, 7, 640, 480));
    EXPECT_EQ(viewer.ShowListSpeedButton->geometry(), QRect(3, 498, 36, 36));
    EXPECT_EQ(viewer.StopButton->geometry(), QRect(529, 502, 28, 28));
    EXPECT_EQ(viewer.Panel2->geometry(), QRect(561, 498, 93, 36));
    EXPECT_EQ(viewer.Bitbtn1->geometry(), QRect(1, 1, 91, 34));
    EXPECT_EQ(viewer.Bitbtn1->toolTip(), QStringLiteral("ページを進めます。"));
    EXPECT_TRUE(viewer.BitBtn2->isHidden());
    EXPECT_TRUE(viewer.BitBtn3->isHidden());
    EXPECT_EQ(viewer.LinkGlyphBitmap().size(), QSize(16, 16));
    EXPECT_EQ(viewer.AdvanceGlyphBitmap().format(), QImage::Format_BGR888);
    EXPECT_NE(viewer.LinkGlyphBitmap(), viewer.AdvanceGlyphBitmap());
    EXPECT_EQ(viewer.State().PictureCanvas().font().height, 30);
    EXPECT_EQ(viewer.State().PictureCanvas().font().color, MakeColorRef(255, 255, 0));
}

TEST_F(ViewerWindowTest, EveryTypedCharacterAndFadeStepRepaints)
{
    book.Page(1).PicEffect = 1;
    book.Page(1).EffectWait = 1;
    book.BookTitle = QStringLiteral("もりのほん");
    playback.StartPlaying();
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_FALSE(viewer.Bitbtn1->isVisible()) << "the go-on button hides while a page plays";
    clock.RunUntilIdle();
    // Two pages of three characters and a fade of many steps.
    EXPECT_GE(viewer.repaints, 6 + 20);
    EXPECT_TRUE(viewer.Bitbtn1->isVisible());
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("もりのほん"));
}

TEST_F(ViewerWindowTest, WaitingWithLinksOnlyALinkGoesOn)
{
    PlayToWait();
    ASSERT_EQ(viewer.State().Links().LinkCount(), 2);
    EXPECT_EQ(viewer.State().glyph, GoOnGlyph::Link);
    EXPECT_EQ(viewer.cursor().shape(), Qt::CrossCursor);
    const int current = book.CurrentPage;

    Click(QPoint(5, 470));
    Key(Qt::Key_Return);
    QTest::mouseClick(viewer.Bitbtn1, Qt::LeftButton);
    EXPECT_EQ(book.CurrentPage, current);
    EXPECT_FALSE(busy.IsBusy());

    // The pointer frames the area under it with an inverting frame; moving on to the other
    // area takes the first frame away.
    const QImage before = viewer.State().Picture().copy();
    MovePointer(CentreOfLink(0));
    EXPECT_EQ(viewer.State().Links().Selected(), 0);
    const TextRect first = viewer.State().Links().Highlight();
    const QColor framed
        = viewer.State().Picture().pixelColor(first.left, (first.top + first.bottom) / 2);
    const QColor plain = before.pixelColor(first.left, (first.top + first.bottom) / 2);
    EXPECT_EQ(framed, QColor(255 - plain.red(), 255 - plain.green(), 255 - plain.blue()));
    MovePointer(CentreOfLink(1));
    EXPECT_EQ(viewer.State().Links().Selected(), 1);
    MovePointer(QPoint(5, 470));
    EXPECT_EQ(viewer.State().Links().Selected(), -1);
    EXPECT_EQ(viewer.State().Picture(), before);

    // The arrow keys wrap around the areas; Enter follows the chosen one.
    Key(Qt::Key_Left);
    EXPECT_EQ(viewer.State().Links().Selected(), 0) << "nothing chosen: the first area";
    Key(Qt::Key_Left);
    EXPECT_EQ(viewer.State().Links().Selected(), 1);
    Key(Qt::Key_Right);
    EXPECT_EQ(viewer.State().Links().Selected(), 0);
    Key(Qt::Key_Return);
    clock.RunUntilIdle();
    EXPECT_EQ(playback.PlayingPage(), 3);
    EXPECT_EQ(viewer.State().glyph, GoOnGlyph::Advance);
}

TEST_F(ViewerWindowTest, ClickOnALinkPlaysItsPage)
{
    PlayToWait();
    Click(CentreOfLink(1));
    clock.RunUntilIdle();
    EXPECT_EQ(playback.PlayingPage(), 4);
    EXPECT_EQ(viewer.State().Links().LinkCount(), 0);
}

TEST_F(ViewerWindowTest, EscapeWhileTypingStopsAndLeavesTheViewerOpen)
{
    playback.StartPlaying();
    clock.Advance(25);
    ASSERT_TRUE(busy.IsBusy());
    QTest::mouseClick(viewer.Bitbtn1, Qt::LeftButton);
    Click(CentreOfLink(0));
    Key(Qt::Key_Escape);
    EXPECT_TRUE(playback.StopRequest());
    clock.RunUntilIdle();
    EXPECT_FALSE(busy.IsBusy());
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(playback.PlayingPage(), 1) << "the stopped page does not go on";
    EXPECT_EQ(book.CurrentPage, 2);

    Key(Qt::Key_Escape);
    EXPECT_FALSE(viewer.isVisible()) << "when idle, Escape closes the viewer";
}

TEST_F(ViewerWindowTest, ClosingWhileBusyOnlyAsksTheStop)
{
    playback.StartPlaying();
    clock.Advance(25);
    ASSERT_TRUE(busy.IsBusy());
    viewer.close();
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_TRUE(playback.StopRequest());
    clock.RunUntilIdle();
    viewer.PopupMenu1Popup();
    EXPECT_FALSE(viewer.N3->isEnabled());
    viewer.close();
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_FALSE(viewer.State().visible);
}

TEST_F(ViewerWindowTest, FullScreenAndBackRestoresTheFrameAndPicture)
{
    PlayToWait();
    viewer.PopupMenu1Popup();
    EXPECT_EQ(viewer.N1->text(), QStringLiteral("フルスクリーン表示"));
    viewer.N1Click();
    ASSERT_TRUE(peers.fullScreen);
    EXPECT_TRUE(viewer.State().fullScreen);
    EXPECT_FALSE(viewer.Panel2->isVisible());
    EXPECT_FALSE(viewer.StopButton->isVisible());
    EXPECT_EQ(viewer.Image1->pos(), TViewerState::FullScreenPictureOrigin(viewer.size()));
    viewer.PopupMenu1Popup();
    EXPECT_EQ(viewer.N1->text(), QStringLiteral("フルスクリーン終了"));

    viewer.N1Click();
    EXPECT_FALSE(viewer.State().fullScreen);
    EXPECT_EQ(viewer.size(), QSize(655, 535));
    EXPECT_EQ(viewer.Panel1->geometry(), QRect(0, 0, 655, 495));
    EXPECT_EQ(viewer.Image1->pos(), QPoint(7, 7));
    EXPECT_TRUE(viewer.Panel2->isVisible());
    EXPECT_TRUE(viewer.isVisible());
}

TEST_F(ViewerWindowTest, ListButtonAndKeysOpenTheTitleListOnlyWhenIdle)
{
    playback.StartPlaying();
    clock.Advance(25);
    QTest::mouseClick(viewer.ShowListSpeedButton, Qt::LeftButton);
    Key(Qt::Key_L);
    EXPECT_EQ(peers.listShown, 0);
    clock.RunUntilIdle();
    QTest::mouseClick(viewer.ShowListSpeedButton, Qt::LeftButton);
    Key(Qt::Key_F1);
    EXPECT_EQ(peers.listShown, 2);
    viewer.PopupMenu1Popup();
    EXPECT_EQ(viewer.N2->text(), QStringLiteral("ページ見出し非表示"));
    viewer.N2Click();
    EXPECT_FALSE(peers.listVisible);
}

// An open menu takes its own keys: the viewer's key preview must not turn them into the
// reader's actions (Escape closing the viewer, arrows choosing links, Enter following one).
TEST_F(ViewerWindowTest, AnOpenMenuKeepsItsKeys)
{
    PlayToWait();
    ASSERT_TRUE(viewer.isVisible());
    QMenu* menu = viewer.PopupMenu1;
    const auto open = [&] {
        menu->popup(viewer.mapToGlobal(QPoint(100, 100)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        ASSERT_EQ(QApplication::activePopupWidget(), menu);
    };

    open();
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_TRUE(viewer.isVisible()) << "Escape closed the menu, not the viewer";
    EXPECT_FALSE(playback.StopRequest());

    // The arrows move in the menu; Enter chooses "ページ見出し表示".
    open();
    QTest::keyClick(menu, Qt::Key_Down);
    EXPECT_EQ(menu->activeAction(), viewer.N1);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Up);
    EXPECT_EQ(menu->activeAction(), viewer.N1);
    QTest::keyClick(menu, Qt::Key_Down);
    EXPECT_EQ(menu->activeAction(), viewer.N2);
    EXPECT_EQ(viewer.State().Links().Selected(), -1) << "no link was chosen behind the menu";
    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(peers.listShown, 1);
    EXPECT_EQ(playback.PlayingPage(), 2) << "Enter did not follow a link";

    // Space chooses too: the same item now hides the list.
    open();
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Space);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_FALSE(peers.listVisible);

    // With the menu gone the viewer has its keys back.
    Key(Qt::Key_Right);
    EXPECT_EQ(viewer.State().Links().Selected(), 0);
}

TEST_F(ViewerWindowTest, AViewerFirstShownInFullScreenIsCentredWhenItLeavesIt)
{
    peers.fullScreen = true;
    PlayToWait();
    ASSERT_TRUE(viewer.State().fullScreen);
    viewer.N1Click();
    ASSERT_FALSE(viewer.State().fullScreen);
    const QRect area = viewer.screen()->availableGeometry();
    const QSize frame = viewer.frameGeometry().size();
    ASSERT_LT(frame.width(), area.width());
    ASSERT_LT(frame.height(), area.height());
    EXPECT_EQ(viewer.frameGeometry().topLeft(),
        area.topLeft()
            + QPoint((area.width() - frame.width()) / 2, (area.height() - frame.height()) / 2));
}

// The hidden page buttons step between pages with a background of their own (1 and 3
// here); going back skips one, since CurrentPage already names the next page.
TEST_F(ViewerWindowTest, HiddenPageButtonsStepBetweenBackgroundPages)
{
    book.CurrentPage = 1;
    viewer.BitBtn3Click();
    EXPECT_EQ(book.CurrentPage, 3);
    EXPECT_TRUE(busy.IsBusy()) << "the page plays";
    // Pressed while the page plays: the typing is dropped and the step is taken at once.
    viewer.BitBtn2Click();
    EXPECT_EQ(book.CurrentPage, 1);
    clock.RunUntilIdle();
    book.CurrentPage = 4;
    viewer.BitBtn2Click();
    EXPECT_EQ(book.CurrentPage, 1);
    clock.RunUntilIdle();
    book.CurrentPage = 3;
    viewer.BitBtn3Click();
    EXPECT_EQ(book.CurrentPage, 3) << "no background page after 3: the page stays";
    clock.RunUntilIdle();
    EXPECT_FALSE(busy.IsBusy());
}

} // namespace
} // namespace pimoko

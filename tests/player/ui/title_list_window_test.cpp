#include "player/ui/title_list_window.h"

#include "book/open_book.h"
#include "platform/prompt_port.h"
#include "player/thumbnail_cache.h"

#include "tests/support/test_support.h"

#include <QAbstractItemDelegate>
#include <QCheckBox>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace pimoko {
namespace {

class FakeHooks : public TitleListHooks {
public:
    bool Busy() const override { return busy; }
    void ChoosePage(int page, bool playerMode) override { chosen.push_back({ page, playerMode }); }
    void ViewerKeyPress(int key) override { viewerKeys.push_back(key); }
    void FocusViewer() override { ++focused; }

    bool busy = false;
    std::vector<std::pair<int, bool>> chosen;
    std::vector<int> viewerKeys;
    int focused = 0;
};

// PIMOKO_TITLE_LIST_PICTURES=DIR keeps a picture of the window at each look, to be looked at.
void KeepPicture(QWidget& window, const char* name)
{
    const QByteArray dir = qgetenv("PIMOKO_TITLE_LIST_PICTURES");
    if (!dir.isEmpty())
        window.grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
}

class TitleListWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int n = 1; n <= 300; ++n) {
            TNovelPage& p = book.Page(n);
            p.InUse = true;
            p.Title = QStringLiteral("ページ%1").arg(n);
            p.TextLines = QStringList { QStringLiteral("ぶん %1").arg(n) };
            p.FontHeight = 20;
            p.FontColor = 0xFFFFFF;
        }
        book.Page(1).FillImage = true;
        book.Page(1).FillColor = 0x804020;
        book.Page(100).FillImage = true;
    }

    test::TempFolder dir;
    ScriptedPromptPort prompt;
    TOpenBook book { prompt, dir.path() };
    ThumbnailCache cache { dir.path() };
    FakeHooks hooks;
};

TEST_F(TitleListWindowTest, ThumbnailsComposeOnlyTheRowsOnScreen)
{
    TForm8 window(book, &cache, &hooks);
    window.ShowInEditorMode();
    QTest::qWait(20);
    KeepPicture(window, "editor-lines");
    window.CheckBox1->click();
    ASSERT_TRUE(window.Titles().thumbnails);
    QTest::qWait(50);
    EXPECT_EQ(window.ListBox1->count(), 300);
    EXPECT_GT(window.ComposedPages(), 0);
    EXPECT_LT(window.ComposedPages(), 10);
    KeepPicture(window, "editor-thumbnails");
    // Scrolling to the end composes the last rows, not the ones passed over.
    window.ListBox1->scrollToBottom();
    QTest::qWait(50);
    EXPECT_LT(window.ComposedPages(), 20);
    EXPECT_TRUE(cache.IsValid(300, 0));
    EXPECT_FALSE(cache.IsValid(150, 0));
}

TEST_F(TitleListWindowTest, SliderMovedByTheReaderOnly)
{
    TForm8 window(book, &cache, &hooks);
    window.ShowInPlayerMode();
    EXPECT_TRUE(window.PageSliderPanel->isVisible());
    EXPECT_FALSE(window.Panel1->isVisible());
    EXPECT_EQ(window.PageTrackBar->maximum(), 1);
    KeepPicture(window, "player");
    window.SelectSliderPage(100);
    EXPECT_EQ(window.PageTrackBar->value(), 1);
    EXPECT_EQ(window.TakeSliderJump(), 0);
    // The reader presses Home on the slider: a move.
    window.PageTrackBar->setFocus();
    QTest::keyClick(window.PageTrackBar, Qt::Key_Home);
    EXPECT_EQ(window.PageTrackBar->value(), 0);
    EXPECT_EQ(window.TakeSliderJump(), 1);
    EXPECT_EQ(window.TakeSliderJump(), 0);
}

TEST_F(TitleListWindowTest, ChoosingAnEntryWaitsForTheBusyFlag)
{
    TForm8 window(book, &cache, &hooks);
    window.ShowInPlayerMode();
    window.ListBox1->setCurrentRow(2);
    hooks.busy = true;
    QTest::keyClick(window.ListBox1, Qt::Key_Return);
    EXPECT_TRUE(hooks.chosen.empty());
    EXPECT_EQ(hooks.viewerKeys, std::vector<int> { Qt::Key_Return });
    hooks.busy = false;
    QTest::keyClick(window.ListBox1, Qt::Key_Return);
    ASSERT_EQ(hooks.chosen.size(), 1u);
    EXPECT_EQ(hooks.chosen[0], std::make_pair(3, true));
}

TEST_F(TitleListWindowTest, EscapeHidesAndTheViewerGetsTheFocus)
{
    TForm8 window(book, &cache, &hooks);
    window.ShowInPlayerMode();
    ASSERT_TRUE(window.isVisible());
    QTest::keyClick(window.ListBox1, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(hooks.focused, 1);
}

// The composer remembers the page it drew last; once another book is open (pages
// replaced, thumbnails cleared) the reset makes the list draw that book, and switching
// styles again and again makes no new delegates.
TEST_F(TitleListWindowTest, AResetDrawsTheNewBookAndRebuildsKeepTheirDelegates)
{
    TForm8 window(book, nullptr, &hooks); // hidden, as while a book is loaded
    EXPECT_EQ(window.ThumbnailOf(2).pixelColor(100, 90), QColor(0x20, 0x40, 0x80));

    book.Page(1).FillColor = 0x000080; // the next book's first page: red
    window.ResetPageTitleList();
    EXPECT_EQ(window.ListBox1->currentRow(), -1);
    EXPECT_EQ(window.ThumbnailOf(3).pixelColor(100, 90), QColor(0x80, 0, 0));

    const auto delegates = window.findChildren<QAbstractItemDelegate*>().size();
    for (int i = 0; i < 5; ++i)
        window.CheckBox1->click();
    EXPECT_EQ(window.findChildren<QAbstractItemDelegate*>().size(), delegates);
}

} // namespace
} // namespace pimoko

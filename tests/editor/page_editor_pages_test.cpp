#include "tests/editor/editor_fixture.h"

#include "platform/numbers.h"

namespace pimoko {
namespace {

using test::EditorTest;

TEST_F(EditorTest, NextAndPreviousStopAtTheEnds)
{
    UsePages(2);
    editor->Button6Click(); // previous on page 1
    EXPECT_EQ(editor->CurrentPage(), 1);

    book.Page(300).InUse = true;
    book.Page(300).Title = QStringLiteral("最後");
    editor->ShowPage(300);
    book.Modified = false;
    editor->Button5Click(); // next on page 300
    EXPECT_EQ(editor->CurrentPage(), 300);
    EXPECT_EQ(editor->Edit4, QStringLiteral("最後"));
    EXPECT_FALSE(book.Modified);
}

TEST_F(EditorTest, NextOntoAFreeSlotMakesAPageWithTheDefaults)
{
    UsePages(1);
    editor->SetDefaultEffectWaitEdit(QStringLiteral("250"));
    book.DefaultFontName = QStringLiteral("既定の字");
    book.DefaultFontHeight = 33;
    book.DefaultFontColor = 0x0000FF;
    book.DefaultTextX = 40;

    editor->Button5Click();
    ASSERT_EQ(editor->CurrentPage(), 2);
    EXPECT_EQ(editor->PageLabel, QStringLiteral("2"));
    const TNovelPage& p = book.Page(2);
    EXPECT_TRUE(p.InUse);
    EXPECT_EQ(p.PageNumber, 2);
    EXPECT_EQ(p.EffectWait, 250);
    EXPECT_EQ(p.FontName, QStringLiteral("既定の字"));
    EXPECT_EQ(p.FontHeight, 33);
    EXPECT_EQ(p.FontColor, 0x0000FF);
    EXPECT_EQ(p.TextX, 40);
    EXPECT_TRUE(p.TextLines.isEmpty());

    // Back and forth again shows page 1's own content and the new page.
    editor->Button6Click();
    EXPECT_EQ(editor->Edit4, QStringLiteral("1"));
    EXPECT_EQ(editor->Memo1, QStringList { QStringLiteral("ページ1") });
}

TEST_F(EditorTest, PreviousOntoAFreeSlotClearsWithoutStoring)
{
    UsePages(1);
    book.Page(5).InUse = true;
    editor->ShowPage(5);
    titleList.visible = true;
    editor->Button6Click();
    EXPECT_EQ(editor->CurrentPage(), 4);
    EXPECT_FALSE(book.Page(4).InUse);
    EXPECT_TRUE(editor->ListNeedsRefresh);
    EXPECT_GE(titleList.refreshes, 1);
}

TEST_F(EditorTest, DeletingPageThreeRenumbersLinksWithAMessage)
{
    UsePages(5);
    book.Page(1).LinkPage = 3;
    book.Page(2).GotoPage = 2; // below the deleted page: stays
    book.Page(5).GotoPage = 4;
    book.Page(4).LinkPage = 5;
    editor->ShowPage(3);
    prompt.answers = { Answer::Yes };

    editor->DeleteBitBtnClick();

    ASSERT_FALSE(prompt.shown.empty());
    EXPECT_EQ(prompt.shown[0].text, TPageEditor::kConfirmDelete);
    EXPECT_EQ(prompt.shown[0].buttons, Buttons::YesCancel);
    EXPECT_EQ(prompt.shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(prompt.LastText(), QStringLiteral("ページ 1 のリンクが削除されました"));
    EXPECT_EQ(book.Page(1).LinkPage, 0);
    EXPECT_EQ(book.Page(2).GotoPage, 2);
    EXPECT_EQ(book.Page(3).Title, QStringLiteral("4"));
    EXPECT_EQ(book.Page(3).LinkPage, 4);
    EXPECT_EQ(book.Page(4).Title, QStringLiteral("5"));
    EXPECT_EQ(book.Page(4).GotoPage, 3);
    EXPECT_FALSE(book.Page(5).InUse);
    EXPECT_EQ(editor->CurrentPage(), 3);
    EXPECT_EQ(editor->Edit4, QStringLiteral("4"));
    EXPECT_TRUE(book.Modified);
}

TEST_F(EditorTest, DeletionAsksFirstAndCancelKeepsThePage)
{
    UsePages(2);
    prompt.answers = { Answer::Cancel };
    editor->DeleteBitBtnClick();
    EXPECT_TRUE(book.Page(2).InUse);
    EXPECT_EQ(book.Page(1).Title, QStringLiteral("1"));
    EXPECT_EQ(prompt.shown.size(), 1u);
}

TEST_F(EditorTest, DeletingAPageThatHoldsBothLinksGivesTwoMessages)
{
    UsePages(3);
    book.Page(1).LinkPage = 2;
    book.Page(1).GotoPage = 2;
    editor->DeletePage(2);
    EXPECT_EQ(prompt.Texts(),
        QStringList({ TPageEditor::LinkRemovedMessage(1), TPageEditor::LinkRemovedMessage(1) }));
}

TEST_F(EditorTest, DeletingTheLastPagesOfTheBook)
{
    // The only page: page 1 stays current and empty.
    UsePages(1);
    prompt.answers = { Answer::Yes };
    editor->DeleteBitBtnClick();
    EXPECT_EQ(editor->CurrentPage(), 1);
    EXPECT_FALSE(book.Page(1).InUse);
    EXPECT_TRUE(editor->Edit4.isEmpty());
    EXPECT_TRUE(editor->Memo1.isEmpty());

    // The last of three: the page before it is shown.
    UsePages(3);
    editor->ShowPage(3);
    editor->DeletePage(3);
    EXPECT_EQ(editor->CurrentPage(), 2);
    EXPECT_EQ(editor->Edit4, QStringLiteral("2"));
    EXPECT_FALSE(book.Page(3).InUse);
}

TEST_F(EditorTest, InsertingBeforePageTwo)
{
    UsePages(3);
    book.Page(1).LinkPage = 2;
    book.Page(1).GotoPage = 1;
    book.Page(3).GotoPage = 3;
    book.Page(3).LinkPage = 300; // would point past the book: none
    editor->ShowPage(2);
    editor->Memo1Edited({ QStringLiteral("書きかけ") });

    editor->InsertBeforeCurrent();

    EXPECT_EQ(book.Page(1).LinkPage, 3);
    EXPECT_EQ(book.Page(1).GotoPage, 1);
    EXPECT_EQ(book.Page(4).GotoPage, 4);
    EXPECT_EQ(book.Page(4).LinkPage, 0);
    // The unsaved edit of page 2 moved with it.
    EXPECT_EQ(book.Page(3).TextLines, QStringList { QStringLiteral("書きかけ") });
    EXPECT_TRUE(book.Page(2).InUse);
    EXPECT_TRUE(book.Page(2).TextLines.isEmpty());
    EXPECT_EQ(book.Page(4).Title, QStringLiteral("3"));
    EXPECT_EQ(editor->CurrentPage(), 2);
    EXPECT_TRUE(editor->Edit4.isEmpty());
    EXPECT_TRUE(book.Modified);
    EXPECT_EQ(view.cursors, QList<int>({ -11, 0 }));
}

TEST_F(EditorTest, InsertionAfterTheCurrentPage)
{
    UsePages(2);
    editor->InsertAfterCurrent();
    EXPECT_EQ(editor->CurrentPage(), 2);
    EXPECT_TRUE(book.Page(2).Title.isEmpty());
    EXPECT_EQ(book.Page(3).Title, QStringLiteral("2"));
}

TEST_F(EditorTest, InsertionIsRefusedWhenNoSlotIsLeft)
{
    struct Case {
        int index;
        bool lastSlotUsed;
    };
    for (const Case c : { Case { 300, false }, Case { 5, true } }) {
        SCOPED_TRACE(c.index);
        book.NewBook();
        prompt.shown.clear();
        UsePages(5);
        book.Page(300).InUse = c.lastSlotUsed;
        book.Page(300).Title = QStringLiteral("最後");
        EXPECT_FALSE(editor->InsertNewPage(c.index));
        EXPECT_EQ(prompt.LastText(), TPageEditor::kCannotInsert);
        EXPECT_EQ(book.Page(5).Title, QStringLiteral("5"));
        EXPECT_EQ(book.Page(300).Title, QStringLiteral("最後"));
    }
}

TEST_F(EditorTest, InsertEmptyPageLeavesControlsAndLinks)
{
    UsePages(3);
    book.Page(1).LinkPage = 3;
    editor->Edit4 = QStringLiteral("編集中");
    EXPECT_TRUE(editor->InsertEmptyPage(2));
    EXPECT_TRUE(book.Page(2).InUse);
    EXPECT_TRUE(book.Page(2).Title.isEmpty());
    EXPECT_EQ(book.Page(3).Title, QStringLiteral("2"));
    EXPECT_EQ(book.Page(1).LinkPage, 3);
    EXPECT_EQ(editor->Edit4, QStringLiteral("編集中"));
}

TEST_F(EditorTest, CountFreeTailCountsFromTheLastSlotDown)
{
    UsePages(1);
    book.Page(297).InUse = true;
    EXPECT_TRUE(editor->CountFreeTail(3));
    EXPECT_FALSE(editor->CountFreeTail(4));
    book.Page(300).InUse = true;
    EXPECT_TRUE(editor->CountFreeTail(0));
    EXPECT_FALSE(editor->CountFreeTail(1));
}

TEST_F(EditorTest, ActionsDoNothingWhileBusy)
{
    UsePages(3);
    editor->ShowPage(2);
    book.Modified = false;
    prompt.answers = { Answer::Yes };
    prompt.fileNames = { tmp.file("a.bmp") };
    ASSERT_TRUE(busy.TryTake());

    editor->Button5Click();
    editor->Button6Click();
    editor->DeleteBitBtnClick();
    editor->InsertBeforeCurrent();
    editor->LoadPicBitBtnClick();
    editor->SpeedMenuClick(SpeedMenu::EffectWait, 0);
    editor->PeriodCheckBoxMouseDown();
    editor->CheckBoxMouseDown(EditorCheckBox::AutoNext);
    editor->Button12Click();

    EXPECT_EQ(editor->CurrentPage(), 2);
    EXPECT_TRUE(book.Page(3).InUse);
    EXPECT_FALSE(book.Page(4).InUse);
    EXPECT_TRUE(editor->PictureFile.isEmpty());
    EXPECT_EQ(editor->EffectWaitEdit, QStringLiteral("0"));
    EXPECT_FALSE(book.Modified);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(sound.calls.isEmpty());
}

} // namespace
} // namespace pimoko

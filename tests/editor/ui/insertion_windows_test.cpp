#include "tests/editor/ui/editor_window_fixture.h"

#include "book/book_list.h"
#include "editor/ui/insertion_windows.h"
#include "platform/line_file.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace pimoko {
namespace {

class InsertionWindowsTest : public test::EditorWindowTest {
protected:
    InsertionWindowsTest()
        : form9(*editor, busy)
        , form12(*editor, busy, prompt, &thumbnails, tmp.path())
    {
        form9.SetEditorWindow(window.get());
        form9.SetInsertionWindow(&form12);
        form12.SetEditorWindow(window.get());
    }

    // A listed book "絵本B" of two pages: a red fill with eight text lines, then a page
    // that waits for the reader and links to the first.
    void ListOtherBook()
    {
        QDir(tmp.path()).mkpath(QStringLiteral("BOOKS/b"));
        QStringList lines;
        TNovelPage one;
        one.InUse = true;
        one.Title = QStringLiteral("赤");
        one.FillImage = true;
        one.FillColor = 0x0000FF;
        for (int i = 1; i <= 8; ++i)
            one.TextLines << QStringLiteral("行%1").arg(i);
        one.WriteBlock(lines);
        TNovelPage two;
        two.InUse = true;
        two.Title = QStringLiteral("二");
        two.Period = true;
        two.LinkPage = 1;
        two.WriteBlock(lines);
        ASSERT_TRUE(WriteLineFile(tmp.file(QStringLiteral("BOOKS/b/b.pmk")), lines));
        ASSERT_TRUE(WriteLineFile(tmp.file(kBookListFileName),
            { kBookListHeader, QStringLiteral("絵本B"), QStringLiteral("\\BOOKS\\b\\b.pmk") }));
    }

    TForm9 form9;
    TForm12 form12;
};

TEST_F(InsertionWindowsTest, CopiesPagesOfAListedBookAfterTheCurrentPage)
{
    ListOtherBook();
    editor->Edit4 = QStringLiteral("最初"); // typed, not stored yet
    form9.OpenInsertion(false);
    ASSERT_TRUE(form9.isVisible());
    EXPECT_EQ(form9.windowTitle(), QStringLiteral("ページ挿入の確認"));
    form9.BitBtn3->click();
    EXPECT_FALSE(form9.isVisible());
    ASSERT_TRUE(form12.isVisible());
    EXPECT_EQ(form12.windowTitle(), QStringLiteral("ページ挿入"));
    EXPECT_FALSE(form12.ClearLinkButton->isVisible());
    EXPECT_TRUE(form12.Panel1->isVisible());
    ASSERT_EQ(form12.BookComboBox->count(), 2);
    EXPECT_EQ(form12.BookComboBox->itemText(0), QStringLiteral("現在編集中の絵本"));
    EXPECT_EQ(form12.PageListBox->count(), 0); // the new book has no page yet

    form12.BookComboBox->setCurrentIndex(1);
    form12.BookComboBoxChange(1);
    ASSERT_EQ(form12.PageListBox->count(), 2);
    const QString row = form12.PageListBox->item(0)->text();
    EXPECT_TRUE(row.startsWith(QStringLiteral("  1:赤")));
    EXPECT_TRUE(row.contains(QStringLiteral("：行1")) && row.contains(QStringLiteral("～行8")));

    // Thumbnail rows come from set 1: the red fill in the picture, six lines beside it.
    form12.CheckBox1->setChecked(true);
    form12.CheckBox1Click();
    EXPECT_EQ(form12.ThumbnailSet(), 1);
    const QRect r0 = form12.PageListBox->visualItemRect(form12.PageListBox->item(0));
    EXPECT_EQ(r0.height(), 130);
    const QImage shot = form12.PageListBox->viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(r0.left() + 70, r0.top() + 60), QColor(Qt::red));
    EXPECT_TRUE(QFile::exists(thumbnails.FileName(1, 1)));
    EXPECT_FALSE(QFile::exists(thumbnails.FileName(1, 0)));
    if (const QByteArray shots = qgetenv("PIMOKO_SHOTS"); !shots.isEmpty())
        form12.grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/insertion.png"));

    form12.PageListBox->selectAll();
    form12.Button1->click();
    EXPECT_FALSE(form12.isVisible());
    EXPECT_EQ(editor->CurrentPage(), 2);
    EXPECT_EQ(book.Page(1).Title, QStringLiteral("最初"));
    EXPECT_EQ(book.Page(2).Title, QStringLiteral("赤"));
    EXPECT_EQ(book.Page(3).LinkPage, 2);
    EXPECT_TRUE(book.Page(3).Period);
    EXPECT_TRUE(book.Modified);
}

TEST_F(InsertionWindowsTest, NewPageBeforeTheCurrentOne)
{
    editor->Edit4 = QStringLiteral("元");
    editor->StorePage();
    form9.OpenInsertion(true);
    const QRect e = window->frameGeometry();
    const QRect f = form9.frameGeometry();
    EXPECT_LE(std::abs(f.center().x() - e.center().x()), 2);
    form9.BitBtn1->click();
    EXPECT_FALSE(form9.isVisible());
    EXPECT_EQ(editor->CurrentPage(), 1);
    EXPECT_TRUE(book.Page(1).Title.isEmpty());
    EXPECT_EQ(book.Page(2).Title, QStringLiteral("元"));

    // Busy: nothing is inserted.
    ASSERT_TRUE(busy.TryTake());
    form9.OpenInsertion(true);
    form9.BitBtn1->click();
    EXPECT_FALSE(book.Page(3).InUse);
    busy.Release();
}

TEST_F(InsertionWindowsTest, PicksAGotoPage)
{
    struct Target : GotoPageTarget {
        QList<int> pages;
        void SetGotoPage(int page) override { pages << page; }
    } target;
    for (int n = 1; n <= 3; ++n) {
        book.Page(n).InUse = true;
        book.Page(n).Title = QString::number(n);
    }
    form12.OpenGotoPicker(target, 2);
    ASSERT_TRUE(form12.isVisible());
    EXPECT_EQ(form12.windowTitle(), QStringLiteral("リンクページ指定"));
    EXPECT_TRUE(form12.ClearLinkButton->isVisible());
    EXPECT_FALSE(form12.Panel1->isVisible());
    EXPECT_EQ(form12.PageListBox->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(form12.PageListBox->currentRow(), 1);

    form12.PageListBox->setCurrentRow(2);
    form12.Button1->click();
    EXPECT_FALSE(form12.isVisible());
    form12.OpenGotoPicker(target, 3);
    form12.ClearLinkButton->click();
    form12.OpenGotoPicker(target, 1);
    form12.Button2->click(); // cancel keeps the page
    EXPECT_EQ(target.pages, (QList<int> { 3, 0, 1 }));
    ASSERT_FALSE(prompt.shown.empty());
    EXPECT_EQ(prompt.shown.back().text, QStringLiteral("「リンクなし」に設定されました"));
    EXPECT_EQ(form12.CurrentMode(), TForm12::Mode::Insertion);
}

TEST_F(InsertionWindowsTest, PicksALinkPageUntilAChoice)
{
    for (int n = 1; n <= 3; ++n) {
        book.Page(n).InUse = true;
        book.Page(n).Title = QString::number(n);
    }
    struct Step {
        const char* name;
        QPushButton* TForm12::*button;
        LinkPickerPort::Result result;
        int page;
    };
    const Step steps[] = {
        { "OK on row 3", &TForm12::Button1, LinkPickerPort::Chosen, 3 },
        { "リンクなし", &TForm12::ClearLinkButton, LinkPickerPort::Cleared, 0 },
        { "cancel", &TForm12::Button2, LinkPickerPort::Cancelled, 0 },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        bool sawPicker = false;
        QTimer::singleShot(0, &form12, [&] {
            sawPicker = form12.isVisible() && form12.ClearLinkButton->isVisible()
                && form12.CurrentMode() == TForm12::Mode::LinkPicker;
            form12.PageListBox->setCurrentRow(2);
            (form12.*step.button)->click();
        });
        int page = -1;
        EXPECT_EQ(form12.RunLinkPicker(2, &page), step.result);
        EXPECT_TRUE(sawPicker);
        EXPECT_FALSE(form12.isVisible());
        if (step.result == LinkPickerPort::Chosen) {
            EXPECT_EQ(page, step.page);
        }
    }
}

} // namespace
} // namespace pimoko

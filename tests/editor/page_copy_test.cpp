#include "editor/page_copy.h"

#include "book/book_list.h"
#include "platform/line_file.h"
#include "tests/editor/editor_fixture.h"

#include <QDir>

namespace pimoko {
namespace {

using test::EditorTest;

class PageCopyTest : public EditorTest {
protected:
    QStringList Messages() const
    {
        QStringList texts;
        for (const auto& s : prompt.shown) {
            if (s.what == ScriptedPromptPort::Shown::Message)
                texts << s.text;
        }
        return texts;
    }

    // Another book in a folder of its own: pages titled "他" + n, the given links and
    // gotos, page n showing the bare picture "p" + n + ".bmp".
    QString WriteOtherBook(int count, const QVector<QPair<int, int>>& links)
    {
        QDir(tmp.path()).mkpath(QStringLiteral("other"));
        QStringList lines;
        for (int n = 1; n <= count; ++n) {
            TNovelPage p;
            p.InUse = true;
            p.Title = QStringLiteral("他%1").arg(n);
            p.PictureFile = QStringLiteral("p%1.bmp").arg(n);
            p.LinkPage = links.value(n - 1).first;
            p.GotoPage = links.value(n - 1).second;
            p.WriteBlock(lines);
        }
        const QString path = tmp.file(QStringLiteral("other/book.pmk"));
        EXPECT_TRUE(WriteLineFile(path, lines));
        return path;
    }
};

TEST_F(PageCopyTest, CopiesFromAnotherBookKeepTheirLinksAmongThemselves)
{
    UsePages(5);
    book.Page(1).LinkPage = 5;
    book.Page(4).GotoPage = 6 - 1; // to page 5, which is before the copies
    // Page 2 links to 3, page 3 goes to 1.
    const QString path = WriteOtherBook(3, { { 0, 0 }, { 3, 0 }, { 0, 1 } });
    TPageCopyList list;
    ASSERT_TRUE(list.ListBookFile(path));
    EXPECT_TRUE(list.IsOtherBook());
    EXPECT_EQ(list.RowPages(), (QVector<int> { 1, 2, 3 }));
    editor->ShowPage(5);
    book.Modified = false;

    ASSERT_TRUE(list.InsertCopies(*editor, { 1, 2 }, /*before=*/false, prompt));

    EXPECT_EQ(editor->CurrentPage(), 6);
    EXPECT_EQ(editor->Edit4, QStringLiteral("他2"));
    EXPECT_TRUE(book.Modified);
    const TNovelPage& six = book.Page(6);
    const TNovelPage& seven = book.Page(7);
    EXPECT_TRUE(six.InUse && seven.InUse);
    EXPECT_EQ(six.PageNumber, 6);
    EXPECT_EQ(seven.Title, QStringLiteral("他3"));
    EXPECT_EQ(six.LinkPage, 7);
    EXPECT_EQ(seven.GotoPage, 0);
    EXPECT_EQ(
        Messages(), QStringList { QStringLiteral("挿入されたページ 3 のリンクが削除されました") });
    EXPECT_EQ(six.PictureFile, QDir(tmp.path()).filePath(QStringLiteral("other/p2.bmp")));
    EXPECT_FALSE(book.Page(8).InUse);
    // The edited book's links were all before the copies.
    EXPECT_EQ(book.Page(1).LinkPage, 5);
    EXPECT_EQ(book.Page(4).GotoPage, 5);
    // The listed pages themselves keep their links for another copy.
    EXPECT_EQ(list.Page(3).GotoPage, 1);
}

TEST_F(PageCopyTest, CopiesBeforeAPageMoveTheLinksAtAndAfterIt)
{
    UsePages(6);
    book.Page(1).LinkPage = 3; // at the insertion point: moves
    book.Page(2).GotoPage = 2; // before it: stays
    book.Page(5).LinkPage = 6;
    book.Page(6).GotoPage = 300; // would pass the last slot: points nowhere
    TPageCopyList list;
    list.ListEditedBook(book);
    editor->ShowPage(3);
    editor->Edit4 = QStringLiteral("書きかけ"); // stored before the pages move

    // Pages 4 and 5, where 5 links to 6 (not copied).
    ASSERT_TRUE(list.InsertCopies(*editor, { 3, 4 }, /*before=*/true, prompt));

    EXPECT_EQ(editor->CurrentPage(), 3);
    EXPECT_EQ(book.Page(3).Title, QStringLiteral("4"));
    EXPECT_EQ(book.Page(4).Title, QStringLiteral("5"));
    EXPECT_EQ(book.Page(4).LinkPage, 0);
    EXPECT_EQ(book.Page(5).Title, QStringLiteral("書きかけ"));
    EXPECT_EQ(book.Page(1).LinkPage, 5);
    EXPECT_EQ(book.Page(2).GotoPage, 2);
    EXPECT_EQ(book.Page(7).LinkPage, 8); // the old page 5
    EXPECT_EQ(book.Page(8).GotoPage, 0);
    EXPECT_EQ(
        Messages(), QStringList { QStringLiteral("挿入されたページ 5 のリンクが削除されました") });
}

TEST_F(PageCopyTest, RoomForTheCopies)
{
    struct Case {
        const char* name;
        int inUse;
        int current; // a free slot when past the pages in use
        bool before;
        QVector<int> rows;
        int added;
        bool cannotInsert; // "ページを挿入できませんでした。"
    };
    const Case cases[] = {
        { "299 pages refuse two copies", 299, 10, true, { 0, 1 }, 0, false },
        { "299 pages take one copy", 299, 10, true, { 0 }, 1, false },
        { "no row selected", 3, 1, false, {}, 0, false },
        { "after page 300", 3, 300, false, { 0 }, 0, true },
        { "after page 299", 3, 299, false, { 0 }, 0, true },
        { "two copies before page 299", 3, 299, true, { 0, 1 }, 2, false },
        { "rows past the list are ignored", 3, 3, false, { 0, 7 }, 1, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int n = 1; n <= kMaxPages; ++n)
            book.Page(n).Clear();
        prompt.shown.clear();
        UsePages(c.inUse);
        editor->ShowPage(c.current);
        TPageCopyList list;
        list.ListEditedBook(book);
        auto inUse = [&] {
            int count = 0;
            for (int n = 1; n <= kMaxPages; ++n)
                count += book.Page(n).InUse ? 1 : 0;
            return count;
        };
        const int before = inUse();

        EXPECT_EQ(list.InsertCopies(*editor, c.rows, c.before, prompt), c.added > 0);
        EXPECT_EQ(inUse() - before, c.added);
        EXPECT_EQ(Messages().contains(TPageEditor::kCannotInsert), c.cannotInsert);
    }
}

TEST_F(PageCopyTest, BookChoicesFromTheListFile)
{
    struct Case {
        const char* name;
        QStringList lines; // empty: no file
        QStringList titles;
    };
    const QString edited = QStringLiteral("現在編集中の絵本");
    QStringList five = { kBookListHeader };
    QStringList fiveTitles = { edited };
    for (int i = 1; i <= 5; ++i) {
        five << QStringLiteral("本%1").arg(i) << QStringLiteral("\\BOOKS\\b%1.pmk").arg(i);
        fiveTitles << QStringLiteral("本%1").arg(i);
    }
    QStringList many = { kBookListHeader };
    for (int i = 1; i <= 310; ++i)
        many << QStringLiteral("t") << QStringLiteral("f.pmk");
    const Case cases[] = {
        { "five books", five, fiveTitles },
        { "no file", {}, { edited } },
        { "another first line", { QStringLiteral("PBOOK_LISTFILE_V02"), "a", "a.pmk" },
            { edited } },
        { "a title without its path",
            { kBookListHeader, QStringLiteral("本"), QStringLiteral("b.pmk"),
                QStringLiteral("末") },
            { edited, QStringLiteral("本") } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(BookListFilePath(tmp.path()));
        if (!c.lines.isEmpty()) {
            ASSERT_TRUE(WriteLineFile(tmp.file(kBookListFileName), c.lines));
        }
        const QVector<InsertionBookChoice> choices = ReadInsertionBookChoices(tmp.path());
        QStringList titles;
        for (const InsertionBookChoice& choice : choices)
            titles << choice.Title;
        EXPECT_EQ(titles, c.titles);
        EXPECT_TRUE(choices.first().EditedBook);
    }
    ASSERT_TRUE(WriteLineFile(tmp.file(kBookListFileName), many));
    EXPECT_EQ(ReadInsertionBookChoices(tmp.path()).size(), 300);
    EXPECT_EQ(ReadInsertionBookChoices(tmp.path()).last().FileName, QStringLiteral("f.pmk"));
}

TEST(PageCopyRows, RowTexts)
{
    TNovelPage page;
    page.Title = QStringLiteral("はじまり");
    EXPECT_EQ(InsertionRowText(page, 7, 30),
        QStringLiteral("  7:はじまり") + QString(22, ' ') + QStringLiteral("：")
            + QString(50, ' '));

    // Eight lines: the first and the last; a long line is cut at 50 columns, a double-byte
    // character taking two.
    for (int i = 1; i <= 8; ++i)
        page.TextLines << QStringLiteral("行%1").arg(i);
    page.TextLines[7] = QString(60, QChar(0x3042));
    const QString row = InsertionRowText(page, 12, 30);
    EXPECT_TRUE(row.contains(QStringLiteral("：行1 ")));
    EXPECT_TRUE(row.endsWith(QStringLiteral("～") + QString(25, QChar(0x3042))));
    EXPECT_FALSE(row.contains(QStringLiteral("行2")));

    // A double-byte character that would pass the width is left out, not halved.
    TNovelPage cut;
    cut.Title = QString(29, 'a') + QStringLiteral("あ");
    EXPECT_TRUE(InsertionRowText(cut, 1, 30)
                    .startsWith(QStringLiteral("  1:") + QString(29, 'a') + QStringLiteral(" ：")));

    // A character made of two halves is kept whole or left out, never halved.
    for (int lead : { 28, 29 }) {
        TNovelPage wide;
        wide.Title = QString(lead, 'a') + QString::fromUcs4(U"\U00020BB7");
        const QString text = InsertionRowText(wide, 100, 30);
        const int at = text.indexOf(QChar(0xD842));
        EXPECT_TRUE(lead == 29 || at == 4 + lead) << lead;
        EXPECT_TRUE(at < 0 || text[at + 1].isLowSurrogate()) << lead;
    }
}

TEST_F(PageCopyTest, OnlyBookFilesAreListed)
{
    UsePages(2);
    TPageCopyList list;
    list.ListEditedBook(book);
    const QString other = WriteOtherBook(1, {});
    const QString renamed = tmp.file(QStringLiteral("other/book.txt"));
    ASSERT_TRUE(QFile::copy(other, renamed));
    EXPECT_FALSE(list.ListBookFile(renamed));
    EXPECT_FALSE(list.ListBookFile(tmp.file(QStringLiteral("missing.PMK"))));
    EXPECT_EQ(list.RowPages(), (QVector<int> { 1, 2 }));
    EXPECT_FALSE(list.IsOtherBook());
    const QString upper = tmp.file(QStringLiteral("other/BOOK2.PMK"));
    ASSERT_TRUE(QFile::copy(other, upper));
    EXPECT_TRUE(list.ListBookFile(upper));
    EXPECT_EQ(list.RowTexts().size(), 1);
}

} // namespace
} // namespace pimoko

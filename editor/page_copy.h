#pragma once

#include "book/novel_page.h"
#include "book/page_limits.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <vector>

namespace pimoko {

class PromptPort;
class TOpenBook;
class TPageEditor;

// One choice of the insertion window's book list: the book being edited (no file), or a
// book of the book list file with the file name the list keeps.
struct InsertionBookChoice {
    QString Title;
    QString FileName;
    bool EditedBook = false;
};

// "現在編集中の絵本" first, then at most 299 books of the start-up folder's book list file.
// A file that is missing or has another first line offers only the book being edited; a
// last title without its path line is left out.
QVector<InsertionBookChoice> ReadInsertionBookChoices(const QString& startupFolder);

// The text of one list row: the page number right-aligned in 3, ":", the title cut or
// padded to titleWidth columns, "：", the first text line in 50 and, for more than one
// line, "～" and the last line in 50. Columns are counted as the book file stores the
// text: a double-byte character takes two, and none is cut in half.
QString InsertionRowText(const TNovelPage& page, int number, int titleWidth);

// The pages the insertion window lists, in a table of its own, and the copy of chosen ones
// into the book being edited.
class TPageCopyList {
public:
    TPageCopyList();

    // The pages in use of the book being edited, copied slot by slot.
    void ListEditedBook(const TOpenBook& book);
    // Another book's pages, read block after block, their bare media names taken from the
    // book's folder. Only a ".pmk" file is read; false (the list as it was) for any other
    // or a file that cannot be read.
    bool ListBookFile(const QString& path);

    bool IsOtherBook() const { return otherBook_; }
    const QString& Folder() const { return folder_; }
    // Pages 1..300 of the listed book.
    const TNovelPage& Page(int n) const { return pages_[static_cast<size_t>(n - 1)]; }
    // The page number each row stands for, in page order.
    const QVector<int>& RowPages() const { return rows_; }
    // The longest title in use in columns, at least 30.
    int TitleWidth() const;
    QStringList RowTexts() const;

    // Inserts copies of the pages of the selected rows before (or after) the editor's
    // current page, in row order. The book's links and gotos at or after the first copy
    // move with the pages; a copy's link or goto keeps pointing at its copied target and
    // is cleared, with "挿入されたページ " + its row number + " のリンクが削除されました",
    // when the target was not copied. Nothing happens (false) without a selected row or
    // without room after the last page; a first copy at page 300, or copies that would not
    // fit below it, get "ページを挿入できませんでした。". The current page is stored first.
    bool InsertCopies(TPageEditor& editor, const QVector<int>& selectedRows, bool before,
        PromptPort& prompt) const;

    static QString CopyLinkRemovedMessage(int row);

private:
    void ListRows();

    std::vector<TNovelPage> pages_;
    QVector<int> rows_;
    QString folder_;
    bool otherBook_ = false;
};

} // namespace pimoko

#include "editor/page_copy.h"

#include "book/book_lines.h"
#include "book/book_list.h"
#include "book/open_book.h"
#include "editor/page_editor.h"
#include "platform/line_file.h"
#include "platform/numbers.h"
#include "platform/prompt_port.h"
#include "platform/sjis_codec.h"

#include <QFileInfo>

#include <map>

namespace pimoko {

namespace {

const QString kCaption = QStringLiteral("ピモコエディタ");
constexpr int kMaxListedBooks = 299;
constexpr int kMinTitleWidth = 30;
constexpr int kLineWidth = 50;
constexpr qint64 kMaxBookBytes = qint64(64) << 20;

// The text cut or padded with spaces to width columns as the book's encoding counts
// them (a double-byte character takes two); a character is never cut in half, and a
// double-byte one that would pass the width is left out.
QString Fit(const QString& text, int width)
{
    QString out;
    int used = 0;
    for (int i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
        const QString c = pair ? text.mid(i, 2) : QString(text[i]);
        const int w = SjisByteLength(c);
        if (used + w > width)
            break;
        out += c;
        used += w;
        if (pair)
            ++i;
    }
    return out + QString(width - used, QLatin1Char(' '));
}

// A link into the edited book after count pages were inserted at first.
int Shifted(int value, int first, int count)
{
    if (value <= 0 || value < first)
        return value;
    return value + count > kMaxPages ? 0 : value + count;
}

} // namespace

QVector<InsertionBookChoice> ReadInsertionBookChoices(const QString& startupFolder)
{
    QVector<InsertionBookChoice> choices;
    choices.append({ QStringLiteral("現在編集中の絵本"), QString(), true });
    QStringList lines;
    const QString path = BookListFilePath(startupFolder);
    if (!QFileInfo(path).isFile() || !ReadLineFile(path, &lines) || lines.isEmpty()
        || lines[0] != kBookListHeader)
        return choices;
    for (int i = 1; i + 1 < lines.size() && choices.size() <= kMaxListedBooks; i += 2)
        choices.append({ lines[i], lines[i + 1], false });
    return choices;
}

QString InsertionRowText(const TNovelPage& page, int number, int titleWidth)
{
    QString row = QString::number(number).rightJustified(3, QLatin1Char(' '), true)
        + QLatin1Char(':') + Fit(SjisDisplayText(page.Title), titleWidth) + QStringLiteral("：");
    const QString first = page.TextLines.isEmpty() ? QString() : page.TextLines.first();
    row += Fit(SjisDisplayText(first), kLineWidth);
    if (page.TextLines.size() > 1)
        row += QStringLiteral("～") + Fit(SjisDisplayText(page.TextLines.last()), kLineWidth);
    return row;
}

TPageCopyList::TPageCopyList()
    : pages_(kMaxPages)
{
}

void TPageCopyList::ListEditedBook(const TOpenBook& book)
{
    otherBook_ = false;
    folder_ = book.BookFolder;
    for (int n = 1; n <= kMaxPages; ++n) {
        TNovelPage& page = pages_[static_cast<size_t>(n - 1)];
        page.Clear();
        page.PageNumber = n;
        if (book.Page(n).InUse)
            page.Assign(book.Page(n));
    }
    ListRows();
}

bool TPageCopyList::ListBookFile(const QString& path)
{
    if (QFileInfo(path).suffix().compare(QStringLiteral("pmk"), Qt::CaseInsensitive) != 0)
        return false;
    QByteArray bytes;
    if (!ReadFileBytes(path, &bytes, kMaxBookBytes))
        return false;
    const BookLines lines(bytes);
    const QString folder = QFileInfo(path).path();
    // Read into a table of its own: a block with a malformed number leaves the list as
    // it was.
    std::vector<TNovelPage> read(kMaxPages);
    try {
        int index = 0;
        for (int n = 1; n <= kMaxPages; ++n) {
            TNovelPage& page = read[static_cast<size_t>(n - 1)];
            page.PageNumber = n;
            if (!page.ReadBlock(lines, index))
                break;
            page.PageNumber = n;
            page.ResolveMediaPaths(folder);
        }
    } catch (const EConvertError&) {
        return false;
    }
    for (int n = 1; n <= kMaxPages; ++n)
        read[static_cast<size_t>(n - 1)].PageNumber = n;
    pages_ = std::move(read);
    folder_ = folder;
    otherBook_ = true;
    ListRows();
    return true;
}

void TPageCopyList::ListRows()
{
    rows_.clear();
    for (int n = 1; n <= kMaxPages; ++n) {
        if (Page(n).InUse)
            rows_.append(n);
    }
}

int TPageCopyList::TitleWidth() const
{
    int width = kMinTitleWidth;
    for (int n : rows_)
        width = std::max(width, SjisByteLength(Page(n).Title));
    return width;
}

QStringList TPageCopyList::RowTexts() const
{
    const int width = TitleWidth();
    QStringList texts;
    for (int n : rows_)
        texts << InsertionRowText(Page(n), n, width);
    return texts;
}

QString TPageCopyList::CopyLinkRemovedMessage(int row)
{
    return QStringLiteral("挿入されたページ ") + IntToStr(row)
        + QStringLiteral(" のリンクが削除されました");
}

bool TPageCopyList::InsertCopies(
    TPageEditor& editor, const QVector<int>& selectedRows, bool before, PromptPort& prompt) const
{
    // The source pages chosen, in row order, without doubles.
    QVector<int> chosen;
    for (int r = 0; r < rows_.size(); ++r) {
        if (selectedRows.contains(r))
            chosen.append(rows_[r]);
    }
    const int count = static_cast<int>(chosen.size());
    if (count == 0 || !editor.CountFreeTail(count))
        return false;

    TOpenBook& book = editor.Book();
    const int first
        = !before && book.CurrentPage < kMaxPages ? book.CurrentPage + 1 : book.CurrentPage;
    // The last copy must still find a slot: pages pushed past 300 would be lost.
    if (first >= kMaxPages || first + count - 1 > kMaxPages) {
        prompt.ShowMessage(MessageKind::Information, kCaption, TPageEditor::kCannotInsert);
        return false;
    }
    // What the author typed on the current page goes with it, before or after the copies.
    editor.StorePage();
    if (first != book.CurrentPage) {
        book.CurrentPage = first;
        if (book.Page(first).InUse)
            editor.ShowPage(first);
        else
            editor.ClearPage();
    }

    for (int k = 1; k <= kMaxPages; ++k) {
        TNovelPage& page = book.Page(k);
        if (page.InUse)
            page.LinkPage = Shifted(page.LinkPage, first, count);
    }
    for (int k = 1; k <= kMaxPages; ++k) {
        TNovelPage& page = book.Page(k);
        if (page.InUse)
            page.GotoPage = Shifted(page.GotoPage, first, count);
    }

    std::map<int, int> target; // source page -> its copy's number
    for (int j = 0; j < count; ++j)
        target[chosen[j]] = first + j;
    auto remap = [&](int& value, int source) {
        if (value == 0)
            return;
        const auto it = target.find(value);
        if (it != target.end()) {
            value = it->second;
        } else {
            value = 0;
            prompt.ShowMessage(MessageKind::Information, kCaption, CopyLinkRemovedMessage(source));
        }
    };
    // Inserting at the same slot from the last copy to the first leaves them in row order.
    for (int j = count - 1; j >= 0; --j) {
        TNovelPage copy = Page(chosen[j]);
        remap(copy.LinkPage, chosen[j]);
        remap(copy.GotoPage, chosen[j]);
        if (!editor.InsertEmptyPage(first))
            break; // not reached: the room was counted
        copy.PageNumber = first;
        copy.InUse = true;
        book.Page(first).Assign(copy);
    }
    editor.CopiesInserted(first);
    return true;
}

} // namespace pimoko

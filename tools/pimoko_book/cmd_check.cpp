#include "book/book_list.h"
#include "book/open_book.h"
#include "platform/paths.h"
#include "platform/prompt_port.h"
#include "platform/sjis_codec.h"
#include "tools/pimoko_book/commands.h"

#include <QFileInfo>

namespace pimoko::tool {
namespace {

void CheckMedia(
    const TOpenBook& book, int n, const QString& what, const QString& file, QStringList* problems)
{
    if (file.isEmpty())
        return;
    if (!QFileInfo(ResolveMediaFile(file, book.BookFolder)).isFile())
        problems->append(QStringLiteral("page %1: %2 file not found: %3")
                             .arg(n)
                             .arg(what, SjisDisplayText(file)));
}

void CheckTarget(
    const TOpenBook& book, int n, const QString& what, int target, QStringList* problems)
{
    if (target == 0)
        return;
    if (target < 1 || target > TOpenBook::kPageCount || !book.Page(target).InUse)
        problems->append(
            QStringLiteral("page %1: %2 page %3 is not in use").arg(n).arg(what).arg(target));
}

void CheckEncodable(int n, const QString& what, const QString& text, QStringList* problems)
{
    const SjisEncoding e = EncodeSjis(text);
    for (int at : e.unencodable)
        problems->append(QStringLiteral("page %1: %2 holds a character Shift_JIS cannot hold: U+%3")
                             .arg(n)
                             .arg(what)
                             .arg(text[at].unicode(), 4, 16, QLatin1Char('0')));
}

int RunCheck(const QStringList& args)
{
    if (args.size() != 1)
        return UsageError(QStringLiteral("check"));
    ScriptedPromptPort prompt;
    TOpenBook book(prompt, CurrentFolder());
    QString message;
    if (!LoadBookForTool(book, prompt, args[0], &message)) {
        PrintError(message);
        return 1;
    }
    QStringList problems;
    // The library refuses a book whose path its list file cannot hold.
    if (ListedFileName(book.StartupFolder(), book.BookFilePath).isEmpty())
        problems.append(QStringLiteral("book path holds a character Shift_JIS cannot hold, so "
                                       "the library cannot list it: %1")
                            .arg(book.BookFilePath));
    for (int n = 1; n <= TOpenBook::kPageCount; ++n) {
        const TNovelPage& p = book.Page(n);
        if (!p.InUse)
            continue;
        CheckMedia(book, n, QStringLiteral("picture"), p.PictureFile, &problems);
        CheckMedia(book, n, QStringLiteral("sound"), p.SoundFile, &problems);
        CheckTarget(book, n, QStringLiteral("link"), p.LinkPage, &problems);
        CheckTarget(book, n, QStringLiteral("goto"), p.GotoPage, &problems);
        int chars = 0;
        for (const QString& line : p.TextLines)
            chars += line.size();
        if (chars > TNovelPage::kCharDelayCount)
            problems.append(QStringLiteral("page %1: text of %2 characters (at most %3)")
                                .arg(n)
                                .arg(chars)
                                .arg(TNovelPage::kCharDelayCount));
        CheckEncodable(n, QStringLiteral("title"), p.Title, &problems);
        CheckEncodable(n, QStringLiteral("text"), p.TextLines.join(QString()), &problems);
    }
    for (const QString& problem : problems)
        PrintLine(problem);
    return problems.isEmpty() ? 0 : 1;
}

CommandRegistration reg("check", "FILE", &RunCheck);

} // namespace
} // namespace pimoko::tool

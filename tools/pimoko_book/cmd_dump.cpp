#include "book/open_book.h"
#include "platform/prompt_port.h"
#include "tools/pimoko_book/commands.h"

namespace pimoko::tool {
namespace {

int RunDump(const QStringList& args)
{
    if (args.size() != 1)
        return UsageError(QStringLiteral("dump"));
    ScriptedPromptPort prompt;
    TOpenBook book(prompt, CurrentFolder());
    QString message;
    if (!LoadBookForTool(book, prompt, args[0], &message)) {
        PrintError(message);
        return 1;
    }
    QJsonArray pages;
    for (int n = 1; n <= TOpenBook::kPageCount; ++n)
        if (book.Page(n).InUse)
            pages.append(PageToJson(book.Page(n), n));
    QJsonObject o;
    o.insert(QStringLiteral("title"), book.BookTitle);
    o.insert(QStringLiteral("escapement"), book.Escapement);
    o.insert(QStringLiteral("defaults"), DefaultsToJson(book));
    o.insert(QStringLiteral("pages"), pages);
    PrintJson(o);
    return 0;
}

CommandRegistration reg("dump", "FILE", &RunDump);

} // namespace
} // namespace pimoko::tool

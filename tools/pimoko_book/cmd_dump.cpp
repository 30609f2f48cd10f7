#include "book/book_json.h"
#include "book/open_book.h"
#include "platform/prompt_port.h"
#include "platform/sjis_codec.h"
#include "tools/pimoko_book/commands.h"

namespace pimoko::tool {
namespace {

// The dump is read by a person: every text shows the character a reader sees, not the
// private-use alias that keeps a duplicate code's bytes.
QJsonValue ForReading(const QJsonValue& v)
{
    if (v.isString())
        return SjisDisplayText(v.toString());
    if (v.isArray()) {
        QJsonArray a;
        for (const QJsonValue& item : v.toArray())
            a.append(ForReading(item));
        return a;
    }
    if (v.isObject()) {
        QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it)
            it.value() = ForReading(it.value());
        return o;
    }
    return v;
}

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
    PrintJson(ForReading(o).toObject());
    return 0;
}

CommandRegistration reg("dump", "FILE", &RunDump);

} // namespace
} // namespace pimoko::tool

#include "book/book_list.h"
#include "platform/sjis_codec.h"
#include "tools/pimoko_book/commands.h"

namespace pimoko::tool {
namespace {

// Slots are numbered from 0, as the library's table holds them.
int RunList(const QStringList& args)
{
    if (args.size() != 1)
        return UsageError(QStringLiteral("list"));
    TBookList list;
    ReadBookList(args[0], &list);
    QJsonArray entries;
    for (const BookListEntry& e : list.Entries) {
        const QString& fileName = list.Slots[e.Slot].FileName;
        QJsonObject o;
        o.insert(QStringLiteral("slot"), e.Slot);
        o.insert(QStringLiteral("title"), SjisDisplayText(e.Title));
        o.insert(QStringLiteral("fileName"), fileName);
        o.insert(QStringLiteral("path"), ResolveBookPath(args[0], fileName));
        entries.append(o);
    }
    QJsonObject o;
    o.insert(QStringLiteral("entries"), entries);
    PrintJson(o);
    return 0;
}

CommandRegistration reg("list", "DIR", &RunList);

} // namespace
} // namespace pimoko::tool

// ReadBookList on an arbitrary list file, then a save and a second read: the slots are
// never overrun, and what was read comes back unchanged.
#include "book/book_list.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace pimoko;

namespace {

bool SameList(const TBookList& a, const TBookList& b)
{
    if (a.Entries.size() != b.Entries.size())
        return false;
    for (int i = 0; i < a.Entries.size(); ++i) {
        if (a.Entries[i].Title != b.Entries[i].Title
            || a.Slots[a.Entries[i].Slot].FileName != b.Slots[b.Entries[i].Slot].FileName)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(kBookListFileName);
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size))
                != qint64(size))
            std::abort();
    }
    TBookList list;
    ReadBookList(dir.path(), &list);
    if (list.Entries.size() > TBookList::kSlotCount)
        std::abort();
    for (const BookListEntry& e : list.Entries)
        if (e.Slot < 0 || e.Slot >= TBookList::kSlotCount || !list.Slots[e.Slot].Used)
            std::abort();
    if (!SaveBookList(dir.path(), list))
        return 0;
    TBookList again;
    ReadBookList(dir.path(), &again);
    if (!again.MayRewrite || !SameList(list, again))
        std::abort();
    return 0;
}

#include "book/book_list.h"

#include "platform/line_file.h"
#include "platform/paths.h"

#include <QFile>
#include <QFileInfo>

namespace pimoko {

int TBookList::AddBook(const QString& fileName, const QString& title)
{
    for (int k = 0; k < kSlotCount; ++k) {
        if (!Slots[k].Used) {
            Slots[k].Used = true;
            Slots[k].FileName = fileName;
            Entries.append({ title, k });
            return k;
        }
    }
    return -1;
}

void TBookList::RemoveEntry(int entryIndex)
{
    if (entryIndex < 0 || entryIndex >= Entries.size())
        return;
    const int slot = Entries[entryIndex].Slot;
    if (slot >= 0 && slot < kSlotCount)
        Slots[slot] = TBook();
    Entries.removeAt(entryIndex);
}

void TBookList::Clear()
{
    Slots.fill(TBook());
    Entries.clear();
    MayRewrite = false;
}

QString BookListFilePath(const QString& startupFolder)
{
    return FindExistingPath(JoinPath(startupFolder, kBookListFileName));
}

void ReadBookList(const QString& startupFolder, TBookList* list)
{
    list->Clear();
    const QString path = BookListFilePath(startupFolder);
    if (!QFileInfo(path).isFile()) {
        list->MayRewrite = WriteLineFile(path, { kBookListHeader });
        return;
    }
    QStringList lines;
    if (!ReadLineFile(path, &lines) || lines.isEmpty() || lines[0] != kBookListHeader)
        return;
    list->MayRewrite = true;
    // Each entry needs its title and its path line; entries past the slots are left out.
    for (int i = 1; i + 1 < lines.size() && list->Entries.size() < TBookList::kSlotCount; i += 2)
        list->AddBook(lines[i + 1], lines[i]);
}

bool SaveBookList(const QString& startupFolder, const TBookList& list)
{
    if (!list.MayRewrite)
        return false;
    const QString path = BookListFilePath(startupFolder);
    QFileInfo info(path);
    if (!info.isFile() || !(QFile::permissions(path) & QFileDevice::WriteOwner))
        return false;
    QStringList lines;
    if (!ReadLineFile(path, &lines) || lines.isEmpty()
        || lines[0].compare(kBookListHeader, Qt::CaseInsensitive) != 0)
        return false;
    QStringList out = { kBookListHeader };
    for (const BookListEntry& e : list.Entries) {
        if (e.Slot < 0 || e.Slot >= TBookList::kSlotCount || !list.Slots[e.Slot].Used)
            continue;
        out << e.Title << list.Slots[e.Slot].FileName;
    }
    return WriteLineFile(path, out);
}

QString ResolveBookPath(const QString& startupFolder, const QString& fileName)
{
    if (HasDriveLetter(fileName) || fileName.startsWith(QLatin1Char('/')))
        return fileName;
    QString relative = ToSlashes(fileName);
    if (relative.startsWith(QLatin1Char('/')))
        relative.remove(0, 1);
    return FindExistingPath(JoinPath(startupFolder, relative));
}

bool WriteDistributionBookList(const QString& folder, const QString& title)
{
    return WriteLineFile(JoinPath(folder, kDistributionListFileName),
        { kBookListHeader, title, kRuntimeBookListPath });
}

} // namespace pimoko

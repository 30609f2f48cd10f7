#include "book/book_list.h"

#include "platform/line_file.h"
#include "platform/paths.h"
#include "platform/sjis_codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pimoko {
namespace {

// 300 entries of a title and a path come to well under a megabyte. A larger file is no
// list of ours, and reading it whole would take many times its size in memory.
constexpr qint64 kMaxListFileBytes = qint64(4) << 20;

bool ReadListLines(const QString& path, QStringList* lines)
{
    QByteArray bytes;
    if (!ReadFileBytes(path, &bytes, kMaxListFileBytes))
        return false;
    *lines = SplitSjisLines(bytes);
    return true;
}

} // namespace

int TBookList::AddBook(const QString& fileName, const QString& title)
{
    for (int k = 0; k < kSlotCount; ++k) {
        if (!Slots[k].Used) {
            Slots[k].Used = true;
            Slots[k].FileName = fileName;
            Entries.append({ title, k, title });
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
    if (!ReadListLines(path, &lines) || lines.isEmpty() || lines[0] != kBookListHeader)
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
    if (!ReadListLines(path, &lines) || lines.isEmpty()
        || lines[0].compare(kBookListHeader, Qt::CaseInsensitive) != 0)
        return false;
    QStringList out = { kBookListHeader };
    for (const BookListEntry& e : list.Entries) {
        if (e.Slot < 0 || e.Slot >= TBookList::kSlotCount || !list.Slots[e.Slot].Used)
            continue;
        out << e.StoredTitle << list.Slots[e.Slot].FileName;
    }
    return WriteLineFile(path, out);
}

QString ResolveBookPath(const QString& startupFolder, const QString& fileName)
{
    const bool windowsPath = HasDriveLetter(fileName) || IsUncPath(fileName);
    if (!windowsPath) {
        if (fileName.startsWith(QLatin1Char('/')))
            return fileName;
        QString relative = ToSlashes(fileName);
        if (relative.startsWith(QLatin1Char('/')))
            relative.remove(0, 1);
        return FindExistingPath(JoinPath(startupFolder, relative));
    }
    // No drive or network path of Windows exists here.
    const QString underBooks = PathFromLastFolder(fileName, QStringLiteral("BOOKS"));
    if (!underBooks.isEmpty()) {
        const QString found = FindExistingPath(JoinPath(startupFolder, underBooks));
        if (QFileInfo(found).isFile())
            return found;
    }
    const QString name = FileNamePart(fileName);
    if (!name.isEmpty()) {
        const QString found = FindExistingPath(JoinPath(startupFolder, name));
        if (QFileInfo(found).isFile())
            return found;
    }
    return fileName;
}

QString ListedFileName(const QString& startupFolder, const QString& bookPath)
{
    // A look-alike (〜 for ～) would be written as its Shift_JIS twin and read back as
    // another name, so only a path that comes back unchanged is kept.
    if (EncodeSjis(bookPath).exact())
        return bookPath;
    const QString relative
        = QDir(QDir::cleanPath(startupFolder)).relativeFilePath(QDir::cleanPath(bookPath));
    if (relative.isEmpty() || relative == QLatin1String("..")
        || relative.startsWith(QLatin1String("../")) || QDir::isAbsolutePath(relative))
        return QString();
    QString listed = QStringLiteral("\\") + relative;
    listed.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return EncodeSjis(listed).exact() ? listed : QString();
}

bool WriteDistributionBookList(const QString& folder, const QString& title)
{
    return WriteLineFile(JoinPath(folder, kDistributionListFileName),
        { kBookListHeader, title, kRuntimeBookListPath });
}

} // namespace pimoko

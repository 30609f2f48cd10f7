#pragma once

#include <QString>
#include <QVector>

#include <array>

namespace pimoko {

inline const QString kBookListFileName = QStringLiteral("PBooklst.dat");
inline const QString kDistributionListFileName = QStringLiteral("Pbooklst.dat");
inline const QString kBookListHeader = QStringLiteral("PBOOK_LISTFILE_V03");
// The path of the runtime book in a distribution folder, as its list names it.
inline const QString kRuntimeBookListPath = QStringLiteral("\\PBKRun.pmk");

// One slot of the library.
class TBook {
public:
    bool Used = false;
    // A full path, or a path without drive starting with "\" taken relative to the
    // start-up folder.
    QString FileName;
};

// One line of the library's list: the title as displayed and the slot it refers to.
struct BookListEntry {
    QString Title;
    int Slot = -1;
    // The title the list file keeps: the book's own title as last read, never the text
    // shown for a book whose file is missing, so that copying the books back brings the
    // titles back.
    QString StoredTitle;
};

// The library's 300 slots and its list, in list order.
class TBookList {
public:
    static constexpr int kSlotCount = 300;

    std::array<TBook, kSlotCount> Slots;
    QVector<BookListEntry> Entries;
    // Set when the file was read with its exact header (or created): only then may a
    // save rewrite it, so that a file this version did not understand is never lost.
    bool MayRewrite = false;

    // The lowest free slot gets the book, and its entry goes to the end of the list.
    // Returns the slot, or -1 when all slots are taken.
    int AddBook(const QString& fileName, const QString& title);
    // Removes the entry at that position in the list and frees its slot.
    void RemoveEntry(int entryIndex);
    void Clear();
};

// PBooklst.dat in the start-up folder (found without regard to case).
QString BookListFilePath(const QString& startupFolder);

// Reads the list file; creates it holding only the header when there is none. Excess
// entries past the 300 slots and a last title without its path are ignored.
void ReadBookList(const QString& startupFolder, TBookList* list);

// Rewrites the list file. Nothing is written (false) when the file is missing, its
// header is not the list header, it is read-only, or it was not read as a list.
bool SaveBookList(const QString& startupFolder, const TBookList& list);

// The path a FileName stands for. One without a drive is taken under the start-up
// folder. A Windows path with a drive or a network path is looked for under the start-up
// folder from its last "BOOKS" folder onwards, then by its file name there (every part
// without regard to case), so that a start-up folder copied from Windows keeps its books;
// when neither exists it comes back unchanged.
QString ResolveBookPath(const QString& startupFolder, const QString& fileName);

// The FileName a book at bookPath (a full path) is listed under: the path itself, or its
// part under the start-up folder in the form "\BOOKS\..." when Shift_JIS cannot hold the
// whole path but can hold that part. "" when the list file cannot hold it at all; what
// Shift_JIS cannot hold would come back as "?", and the book would be lost from the list.
QString ListedFileName(const QString& startupFolder, const QString& bookPath);

// The one-entry list beside the player in a distribution folder.
bool WriteDistributionBookList(const QString& folder, const QString& title);

} // namespace pimoko

#pragma once

#include "book/book_list.h"
#include "platform/busy_state.h"

#include <QDate>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

namespace pimoko {

class PromptPort;
struct ArchiveResult;

inline const QString kMissingBookTitle = QStringLiteral("（ファイルが見つかりません）");
inline const QString kLibraryCaption = QStringLiteral("ピモコ ver1.26");

// What the library asks of the other windows: the editor that owns the open book, the
// viewer and the page title list.
class LibraryPeers {
public:
    virtual ~LibraryPeers() = default;

    virtual bool PlayerMode() = 0;
    // The editor's modified prompt: false when the user keeps the unsaved book.
    virtual bool ConfirmDiscard() = 0;
    // Loads a book into the editor; false (after the loader's message) when refused.
    virtual bool LoadBook(const QString& path) = 0;
    virtual QString BookTitle() = 0;

    virtual void HideTitleList() = 0;
    virtual void HideViewer() = 0;
    virtual void HideEditor() = 0;
    // Normal cursor, and the go-on button back to its advance glyph.
    virtual void ResetReaderState() = 0;
    // Viewer picture and back buffer black, link areas cleared.
    virtual void BlankViewer() = 0;
    // The title list's page slider rebuilt with its position at the start.
    virtual void RebuildTitleListSlider() = 0;
    virtual void StartPlaying() = 0;
    // Opens the book for editing: the viewer's picture cleared, the book loaded and the
    // editor shown. False (after the loader's message) when the load was refused.
    virtual bool OpenInEditor(const QString& path) { return LoadBook(path); }
    // A new, empty book in the editor, shown.
    virtual void NewBookInEditor() { }
    // Closes the editor (its modified prompt and the settings file run there). True when
    // the editor is gone afterwards, false when the user cancelled its close.
    virtual bool CloseEditor() = 0;
};

// The library window's state and actions, without the window: the 300 slots and the
// list, the start-up folder, the program-wide busy flag, and the read, add and remove
// flows. The window shows Entries() and hands in the selected entry (-1 for none).
class TLibrary {
public:
    // Unpacks an archive into a folder (the archive layer by default; tests replace it).
    using Unpacker = std::function<ArchiveResult(const QString& archive, const QString& folder)>;

    // busy: the program-wide busy flag; null gives the library one of its own.
    TLibrary(PromptPort& prompt, LibraryPeers& peers, const QString& startupFolder,
        TBusyState* busy = nullptr);

    const QString& StartupFolder() const { return startupFolder_; }
    TBookList& List() { return list_; }
    const TBookList& List() const { return list_; }
    const QVector<BookListEntry>& Entries() const { return list_.Entries; }

    // Every action except the options window does nothing while the busy flag is set.
    // Playback holds it for the time a page plays.
    TBusyState& Busy() { return busy_; }
    bool IsBusy() const { return busy_.IsBusy(); }

    std::function<QDate()> Today = [] { return QDate::currentDate(); };
    Unpacker Unpack;

    // The window's creation: the list file read with the busy flag set, then the titles.
    void Create();

    // Each listed book's title taken from its file. A missing file shows kMissingBookTitle
    // and keeps its stored title. False while busy.
    bool RefreshTitles();

    // Plays the selected book. fromButtonOrKey: the read button or Enter, which in
    // player mode choose the first book when none is selected. selected may be changed.
    void ReadBook(int* selected, bool fromButtonOrKey);
    // "エディタを開く": the selected book in the editor, or a new one when none is selected;
    // the selection is cleared once the book is open. Not in player mode.
    void OpenInEditor(int* selected);
    // "絵本の新規作成": a new book in the editor. Not in player mode.
    void NewBookInEditor();
    // A book handed to the program from outside (the file manager): after the modified
    // prompt it is read in the viewer in player mode, opened in the editor otherwise; a
    // file that is no book gets the loader's message. Busy (nothing done) while the busy
    // flag is set, so the caller can hand it again once the page has played.
    enum class Handed { Opened, Refused, Busy };
    Handed OpenHandedBook(const QString& path);
    // Asks for a ".pmk", ".lzh" or ".lz" file and lists its book.
    void AddBook();
    // Lists the book of a chosen file (the part of AddBook after the dialog).
    void AddBookFile(const QString& path);
    // Lists a saved book (full path) in the lowest free slot, with its entry at the end.
    // A path the list file cannot hold is refused with a message naming it. Returns the
    // slot, or -1.
    int ListBook(const QString& path, const QString& title);
    // Asks, then takes the entry off the list; the book file stays.
    void RemoveBook(int selected);
    // The library window may close: not busy, and the editor closed. Saves the list.
    bool CanClose();

    bool SaveList();

    // The folder the books of archives are unpacked under (found without regard to case,
    // made when missing); "" when it cannot be made.
    QString BooksFolder(bool create);

private:
    bool ActionAllowed();
    void AddPmk(const QString& path);
    // The FileName the book at path is listed under; "" after a message naming the path
    // when the list file cannot hold it.
    QString ListableName(const QString& path);
    void AddArchive(const QString& path);
    bool HasFreeSlot() const;

    PromptPort& prompt_;
    LibraryPeers& peers_;
    QString startupFolder_;
    TBusyState ownBusy_;
    TBusyState& busy_;
    TBookList list_;
};

// The title a book file shows in the library: the line after "<BOOK TITLE>", else the
// first line; kMissingBookTitle when the file does not exist. The list file keeps the
// stored title of a missing book (BookListEntry::StoredTitle).
QString BookTitleOfFile(const QString& path);

// The book file in a folder an archive was unpacked into: the first ".pmk" in it, else the
// first ".pmk" of its first sub-folder (one level only). "" when there is none.
QString FindUnpackedBook(const QString& folder);

// The library's first place in the work area.
QPoint LibraryFirstPosition(const QRect& workArea, const QSize& window);

} // namespace pimoko

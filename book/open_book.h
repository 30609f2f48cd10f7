#pragma once

#include "book/book_defaults.h"
#include "book/book_hooks.h"
#include "book/novel_page.h"
#include "book/page_limits.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace pimoko {

class PromptPort;

// The book that is open: its page table, defaults, title, path and modified flag, and
// the flows that load, create and save it. It has no window of its own: questions and
// messages go through the prompt port, and what the windows around it must do goes
// through the hooks.
class TOpenBook : public TBookDefaults {
public:
    static constexpr int kPageCount = kMaxPages;

    // startupFolder: the process's current folder when the program started (new books
    // and auto-saved books live under it).
    TOpenBook(PromptPort& prompt, BookHooks& hooks, const QString& startupFolder);
    // A book without windows around it.
    TOpenBook(PromptPort& prompt, const QString& startupFolder);

    // Pages 1..kPageCount; any other number is a programming error (std::out_of_range).
    TNovelPage& Page(int n);
    const TNovelPage& Page(int n) const;

    int CurrentPage = 1;
    QString BookTitle; // the text of the editor's title field
    QString Escapement;
    QString BookFilePath; // empty while the book has never been saved
    QString BookFolder;
    bool Modified = false;

    // Today's date, for the folders of auto-saved books.
    std::function<QDate()> Today = [] { return QDate::currentDate(); };

    const QString& StartupFolder() const { return startupFolder_; }

    // Replaces the open book by the file's content. False (after a message) when the
    // file is refused or cannot be read, or when a malformed number stopped the load:
    // then the pages read until then stay loaded, and BookFilePath is empty so that a
    // save cannot overwrite the file that was not fully read. A bad number in the header
    // changes no default. A file of a refused type leaves a clean empty book.
    bool LoadBook(const QString& path);
    void NewBook();
    // Saves to BookFilePath, auto-saving a never-saved book. True when written; a first
    // auto-save that cannot be written leaves the book never saved.
    bool SaveBook();
    bool CreateAutoSaveFolder();
    bool SaveBookAs();
    // The modified prompt: false when the caller must stop.
    bool ConfirmDiscard();
    bool ConfirmOverwrite(const QString& path);
    void MarkModified() { Modified = true; }
    // Writes "PBKRun.pmk" into a new Runtime(N) folder in the book's folder and hands
    // the rest to the distribution build. True when handed over.
    bool WriteRuntimeBook(bool convertToJpeg);

    // The lines of the book file as it would be saved now (header and blocks), with
    // runtime blocks when runtime is set.
    QStringList BookFileLines(bool runtime = false, bool convertToJpeg = false) const;

private:
    QStringList HeaderLines() const;
    // Encodes the book file; when some character cannot be stored, asks (naming the page)
    // whether to store it as "?". False when the user declines.
    bool EncodeBook(bool runtime, bool convertToJpeg, QByteArray* bytes);
    bool WriteBookFile(const QString& path, const QByteArray& bytes);
    void EnterFolder(const QString& folder);
    void ClearPages();

    PromptPort& prompt_;
    BookHooks& hooks_;
    BookHooks noHooks_;
    QString startupFolder_;
    std::vector<TNovelPage> pages_;
};

} // namespace pimoko

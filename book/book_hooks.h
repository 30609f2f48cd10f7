#pragma once

#include <QString>

namespace pimoko {

class TOpenBook;

// What the open book asks of the windows around it. The editor, the page title list,
// the library and the distribution build implement the parts they own; the defaults do
// nothing, so engines and tools can run a book without any window.
class BookHooks {
public:
    virtual ~BookHooks() = default;

    // The library is busy (a book plays, titles are refreshed) or a distribution build
    // runs: saving does nothing then.
    virtual bool IsBusy() { return false; }

    // Commits the page being edited into its page record, and the editor's title and
    // default fade wait fields into the book, before the book is written.
    virtual void StorePage() { }
    // Brings the editor window up before a question about the book is asked.
    virtual void ShowEditorWindow() { }
    // The title, escapement and default fade wait of the book changed (load, new book):
    // the editor's title field, the book options window and the text engines take them.
    virtual void ShowBookHeader(const TOpenBook&) { }
    // Shows page 1 in the editor after a load or a new book.
    virtual void ShowFirstPage() { }
    // After a new book the fade wait field of the page being edited takes the default.
    virtual void SetPageFadeWaitField(const QString&) { }
    // The page title list goes back to its top with no selection.
    virtual void ResetPageTitleList() { }
    // Both thumbnail caches of the editor are dropped.
    virtual void DropThumbnails() { }

    // Lists a book in the first free library slot (no check for a duplicate).
    virtual void RegisterInLibrary(const QString& /*path*/, const QString& /*title*/) { }
    // Writes the library's book list file.
    virtual void SaveLibraryList() { }
    // Re-reads the titles of the listed books from their files.
    virtual void RefreshLibraryTitles() { }

    // The distribution build sets the pages' distribution names before the runtime
    // book is written ...
    virtual void PrepareDistNames(TOpenBook&) { }
    // ... and afterwards copies the media (and the player), packs the folder into the
    // archive and removes the folder.
    virtual void FinishDistribution(const QString& /*folder*/, const QString& /*runtimeBookPath*/,
        const QString& /*archivePath*/)
    {
    }
    // The runtime folder could not be made: nothing was written, and the user is told.
    virtual void DistributionFolderNotMade(const QString& /*folder*/) { }
};

} // namespace pimoko

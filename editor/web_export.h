#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace pimoko {

class PromptPort;
class TOpenBook;

struct WebExportResult {
    enum class Outcome {
        NotRun,
        Written,
        Stopped, // the reader of the progress asked to stop; what was written is removed
        Failed, // message says why
    };
    Outcome outcome = Outcome::NotRun;
    QString message;
    // What the folder goes without: media that could not be had, faces that could not be
    // cut. The book still plays without them.
    QStringList notes;
    qint64 bytes = 0; // the folder's files as written
};

// The web edition of a book: a folder a browser opens from disk or a static server
// serves. It holds the page and its player script, the book as JSON and as a script
// (a page opened from disk may not fetch), the pictures and sounds under plain names,
// and the book's faces cut down to the characters it draws. The player's own engine
// lays the texts out here, so both players put every character in the same place.
class TWebExport {
public:
    enum class FolderState { Usable, NotAFolder, NotEmpty };
    // An existing folder with anything in it is written into only when the user agrees.
    static FolderState CheckFolder(const QString& outDir);

    // After each step: steps done and all steps. Called again while a long step (a tune
    // being rendered) runs, so a progress window stays alive; false asks to stop.
    std::function<bool(int done, int total)> OnProgress;

    // Needs a GUI application (the faces). Writes into outDir, made when missing.
    WebExportResult Run(const TOpenBook& book, const QString& outDir);
};

// A progress window: the steps of one run. Step returns false when the user stops it.
class WebExportProgressPort {
public:
    virtual ~WebExportProgressPort() = default;
    virtual void Begin() = 0;
    virtual bool Step(int done, int total) = 0;
    virtual void End() = 0;
};

// The editor's "Web用に書き出す…": asks for a folder (starting in the book's own), asks
// before writing into one that already holds files, writes the folder while the progress
// window shows, and says how it went. Returns the outcome; Stopped also when the user
// gave up at a dialog.
WebExportResult::Outcome ExportBookForWeb(const TOpenBook& book, PromptPort& prompt,
    WebExportProgressPort& progress, const QString& caption);

} // namespace pimoko

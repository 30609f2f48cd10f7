#pragma once

#include "book/book_hooks.h"
#include "editor/distribution_names.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace pimoko {

class TOpenBook;

// The five choices of the distribution window.
struct DistributionOptions {
    bool convertToJpeg = true; // non-clip BMP pictures become JPEG
    int jpegQuality = 80;
    bool recompress = false; // non-clip JPEG pictures are encoded again (only with convert)
    int recompressQuality = 50;
    bool includePlayer = false;
};

struct DistributionResult {
    enum class Outcome {
        NotRun,
        Stopped, // cancelled, or refused before anything was written
        Built,
        Failed, // nothing was packed under the chosen name; message says why
    };
    Outcome outcome = Outcome::NotRun;
    QString message;
    QString archivePath;
    // Media the pages name that were not found or could not be read: left out, as the
    // player leaves them out.
    QStringList skipped;
};

// The distribution build: one archive a reader can play, made from the book being
// edited. The book writes the runtime book into a new folder beside itself and calls
// back here before (PrepareDistNames) and after (FinishDistribution); this copies the
// media into the folder (BMP pictures converted to JPEG when asked), adds the player
// with its one-book list when asked, packs the folder and removes it.
class TDistribution {
public:
    // startupFolder: where the player is taken from ("Player/PimokoP.exe").
    explicit TDistribution(const QString& startupFolder);

    DistributionOptions Options;
    // After each page's media: pages done and pages in use.
    std::function<void(int done, int total)> OnProgress;
    // The media are in the folder and packing starts (the window goes away then).
    std::function<void()> OnPacking;

    // Set while Run runs; a second Run then does nothing.
    bool Building() const { return building_; }
    // The whole build with the current options: the book's runtime writer asks for the
    // archive name and calls back into the two steps below.
    DistributionResult Run(TOpenBook& book);
    const DistributionResult& LastResult() const { return result_; }

    void PrepareDistNames(TOpenBook& book);
    void FinishDistribution(const TOpenBook& book, const QString& folder,
        const QString& runtimeBookPath, const QString& archivePath);
    // The book could not make the folder: nothing was written.
    void DistributionFolderNotMade(const QString& folder);

    const TDistNames& Names() const { return names_; }

private:
    bool CopyMedia(const TOpenBook& book, const QString& folder);
    bool CopyPlayer(const TOpenBook& book, const QString& folder);
    bool Pack(const QString& folder, const QString& archivePath);
    void Fail(const QString& message);

    QString startupFolder_;
    TDistNames names_;
    bool building_ = false;
    DistributionResult result_;
};

// The hooks of a book with no windows around it (tools, tests): the build's steps only.
class DistributionHooks : public BookHooks {
public:
    explicit DistributionHooks(TDistribution& distribution)
        : distribution_(distribution)
    {
    }
    void PrepareDistNames(TOpenBook& book) override
    {
        book_ = &book;
        distribution_.PrepareDistNames(book);
    }
    void FinishDistribution(
        const QString& folder, const QString& runtimeBookPath, const QString& archivePath) override
    {
        if (book_)
            distribution_.FinishDistribution(*book_, folder, runtimeBookPath, archivePath);
    }
    void DistributionFolderNotMade(const QString& folder) override
    {
        distribution_.DistributionFolderNotMade(folder);
    }

private:
    TDistribution& distribution_;
    const TOpenBook* book_ = nullptr; // the book that asked for the names
};

// The name the player is copied under, and its place in the start-up folder.
inline const QString kPlayerFileName = QStringLiteral("PimokoP.exe");
inline const QString kPlayerFolderName = QStringLiteral("Player");

} // namespace pimoko

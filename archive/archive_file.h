#pragma once

#include "archive/archiver.h"

#include <QStringList>
#include <QTime>

#include <memory>

namespace pimoko {

// An archive file and the driver of its format. Setting the file name sets the type
// from the extension; setting the type creates the driver (loading its library, which
// raises EArchiver when it is missing).
class TArchiveFile {
public:
    TArchiveFile();
    ~TArchiveFile();

    QString FileName() const { return fileName_; }
    void SetFileName(const QString& fileName);

    TArchiverType ArchiverType() const { return type_; }
    void SetArchiverType(TArchiverType type);

    TArchiverOptions& Options() { return options_; }
    const TArchiverOptions& Options() const { return options_; }

    // The driver, or nullptr for a type without one.
    TArchiver* Archiver() const { return archiver_.get(); }

    // Extracts the named files (all when none are named) into folder.
    int Extract(void* owner, const QStringList& fileNames, const QString& folder,
        QString* output = nullptr);
    // Packs the named files of baseFolder. With pfComponent the names are first matched
    // against the folder's files; when nothing matches nothing is packed and
    // UNLHA_ERROR_NO_FILES comes back.
    int Pack(void* owner, const QStringList& fileNames, const QString& baseFolder,
        QString* output = nullptr);
    bool CheckArchive(int mode = 0);

private:
    TArchiver& Driver();

    QString fileName_;
    TArchiverType type_ = atAutoDetect;
    TArchiverOptions options_;
    std::unique_ptr<TArchiver> archiver_;
};

// The type an extension (with its dot) gives, or atAutoDetect when it gives none.
TArchiverType ArchiverTypeOfExtension(const QString& extension);

// The format found in the content of a file (a self-extracting program holds its archive
// after the program): LHA, CAB, BGA, ZIP, ARJ, RAR, then tar; atNone when none is found.
TArchiverType ProbeArchiverType(const QString& path);

// The files of baseFolder that the names (wildcards allowed) match: no sub-folders, no
// hidden or system files, modified within the time-of-day window; sorted, no duplicates.
QStringList MatchComponentFiles(const QString& baseFolder, const QStringList& names,
    QTime from = QTime(0, 0, 0), QTime to = QTime(23, 59, 59));

} // namespace pimoko

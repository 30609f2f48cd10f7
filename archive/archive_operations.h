#pragma once

#include <QString>

namespace pimoko {

// The two archive operations on the program's road. Both go through the LHA driver
// (libunlha32.so beside the program). Neither throws: a missing library, a missing
// entry point or a failure of the library comes back as ok == false with the message
// to show.
struct ArchiveResult {
    bool ok = false;
    QString message; // "" when there is nothing to tell
};

// Unpacks every file of an LHA archive (whatever its extension) with its folders into
// folder, which is created when missing. Entries that would land outside the folder are
// not written; they make the result fail and are named in the message, while the
// other entries are still extracted.
ArchiveResult UnpackBook(
    const QString& archivePath, const QString& folder, void* ownerWindow = nullptr);

// Packs the files of folder (not its sub-folders, hidden files or the archive itself)
// into the ".lzh" archive at archivePath, updating the archive when it exists. A folder
// without files packs nothing and fails with a message.
ArchiveResult PackFolder(
    const QString& folder, const QString& archivePath, void* ownerWindow = nullptr);

} // namespace pimoko

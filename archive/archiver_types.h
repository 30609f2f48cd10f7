#pragma once

#include <QString>

#include <optional>
#include <stdexcept>

namespace pimoko {

enum TArchiverType {
    atLha = 0,
    atZip = 1,
    atCab = 2,
    atArj = 3,
    atTar = 4,
    atTgz = 5,
    atBZ2 = 6,
    atRar = 7,
    atBga = 8,
    atYz1 = 9,
    atGCA = 10,
    atBel = 11,
    atNone = 12,
    atAutoDetect = 13,
};

// How the names given to a pack are read: as they stand, or matched against the files
// of the base folder first (wildcards, no sub-folders, no hidden files).
enum TPackFilter { pfNone, pfComponent };

// One field per library switch; a switch that is not set is left out of the command.
struct TArchiverOptions {
    std::optional<int> HeaderLevel; // "-h<n>"
    std::optional<int> RecursiveMode; // "-r<n>"
    std::optional<int> PathMode; // "-x<n>"
    std::optional<int> AttributeMode; // "-a<n>"
    bool NoTimeCheck = false; // "-c"
    bool NoConfirm = false; // "-m"
    bool NoIndicator = false; // "-n"
    bool StoreOnly = false; // "-z"
    QString UserOptions;
    QString UserFileList;
    TPackFilter PackFilter = pfComponent;
};

// Raised by the layer; its message is shown to the user as it stands.
class EArchiver : public std::runtime_error {
public:
    explicit EArchiver(const QString& message);
    const QString& message() const { return message_; }

private:
    QString message_;
};

// One entry of an open archive.
struct TArchiveEntry {
    QString FileName; // folders separated by "\"
    QString Method;
    qint64 OriginalSize = 0;
    qint64 CompressedSize = 0;
    qint64 Modified = 0; // seconds since 1970
    unsigned Crc = 0;
};

} // namespace pimoko

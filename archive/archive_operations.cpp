#include "archive/archive_operations.h"

#include "archive/archive_file.h"
#include "unlha32/unlha32_api.h"

#include <QDir>
#include <QFileInfo>

namespace pimoko {

ArchiveResult UnpackBook(const QString& archivePath, const QString& folder, void* ownerWindow)
{
    try {
        TArchiveFile archive;
        archive.SetFileName(archivePath);
        archive.SetArchiverType(atLha);
        QString output;
        int code = archive.Extract(ownerWindow, {}, folder, &output);
        return { code == 0, output };
    } catch (const EArchiver& e) {
        return { false, e.message() };
    }
}

ArchiveResult PackFolder(const QString& folder, const QString& archivePath, void* ownerWindow)
{
    try {
        QDir dir(folder);
        QStringList entries
            = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        // An archive written into the folder it packs must not swallow its own old copy.
        const QString self = QFileInfo(archivePath).absoluteFilePath();
        entries.removeIf([&](const QString& name) {
            return QFileInfo(dir.filePath(name)).absoluteFilePath() == self;
        });
        if (entries.isEmpty())
            return { false, QStringLiteral("書庫に入れるファイルがありません。") };
        TArchiveFile archive;
        archive.SetFileName(archivePath);
        QString output;
        int code = archive.Pack(ownerWindow, entries, QDir(folder).absolutePath(), &output);
        return { code == 0, output };
    } catch (const EArchiver& e) {
        return { false, e.message() };
    }
}

} // namespace pimoko

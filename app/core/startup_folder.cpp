#include "app/core/startup_folder.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace pimoko {

namespace {

const QString kSettingsName = QStringLiteral("ini.dat");
const QString kListName = QStringLiteral("PBooklst.dat");

bool IsLayoutMarker(const QString& name)
{
    return name.compare(kSettingsName, Qt::CaseInsensitive) == 0
        || name.compare(kListName, Qt::CaseInsensitive) == 0;
}

bool CopyFileOnce(const QString& from, const QString& to, QString* error)
{
    if (QFileInfo::exists(FindExistingPath(to)))
        return true;
    if (QFile::copy(from, to))
        return true;
    if (error)
        *error = QStringLiteral("%1 を %2 にコピーできませんでした。").arg(from, to);
    return false;
}

bool CopyFolder(const QString& from, const QString& to, bool top, QString* error)
{
    const QString target = FindExistingPath(to);
    if (!QDir().mkpath(target)) {
        if (error)
            *error = QStringLiteral("%1 を作れませんでした。").arg(to);
        return false;
    }
    QStringList lastFiles;
    const QFileInfoList entries = QDir(from).entryInfoList(
        QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString into = QDir(target).filePath(entry.fileName());
        if (entry.isDir()) {
            if (!CopyFolder(entry.filePath(), into, false, error))
                return false;
        } else if (top && IsLayoutMarker(entry.fileName())) {
            lastFiles << entry.fileName();
        } else if (!CopyFileOnce(entry.filePath(), into, error)) {
            return false;
        }
    }
    // The book list before the settings file: ini.dat is what makes the full tool.
    std::stable_partition(lastFiles.begin(), lastFiles.end(),
        [](const QString& name) { return name.compare(kListName, Qt::CaseInsensitive) == 0; });
    for (const QString& name : lastFiles) {
        if (!CopyFileOnce(QDir(from).filePath(name), QDir(target).filePath(name), error))
            return false;
    }
    return true;
}

} // namespace

bool IsStartupFolder(const QString& folder)
{
    const QDir dir(folder);
    return QFileInfo(FindExistingPath(dir.filePath(kSettingsName))).isFile()
        || QFileInfo(FindExistingPath(dir.filePath(kListName))).isFile();
}

QString InstalledStartupTemplate(const QString& programFolder)
{
    const QString folder = QDir::cleanPath(
        QDir(programFolder).filePath(QStringLiteral("../../share/pimoko/startup")));
    return IsStartupFolder(folder) ? folder : QString();
}

bool CopyStartupTemplate(const QString& templateFolder, const QString& dataFolder, QString* error)
{
    return CopyFolder(templateFolder, dataFolder, true, error);
}

QString ChooseStartupFolder(const QString& currentFolder, const QString& templateFolder,
    const QString& dataFolder, QString* error)
{
    if (templateFolder.isEmpty() || dataFolder.isEmpty() || IsStartupFolder(currentFolder))
        return currentFolder;
    if (!IsStartupFolder(dataFolder))
        CopyStartupTemplate(templateFolder, dataFolder, error);
    return dataFolder;
}

} // namespace pimoko

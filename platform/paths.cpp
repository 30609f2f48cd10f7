#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

namespace pimoko {
namespace {

bool IsSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

qsizetype LastNameBreak(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i)
        if (IsSeparator(path[i]) || path[i] == QLatin1Char(':'))
            return i;
    return -1;
}

// Matches parts[i..] below the folder current (built: the same folder as the result
// shows it). Every entry that matches a part without regard to case is tried, the exact
// one first, since a folder copied from elsewhere may hold "BOOKS" beside "Books".
bool FindParts(
    const QString& current, const QString& built, const QStringList& parts, int i, QString* found)
{
    if (i == parts.size()) {
        *found = built;
        return true;
    }
    const QString& part = parts[i];
    const auto descend = [&](const QString& name) {
        return FindParts(JoinPath(current, name), built.isEmpty() ? name : JoinPath(built, name),
            parts, i + 1, found);
    };
    if (part == QLatin1String(".") || part == QLatin1String("..")
        || QFileInfo::exists(JoinPath(current, part))) {
        if (descend(part))
            return true;
    }
    const QStringList entries = QDir(current).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries) {
        if (e != part && e.compare(part, Qt::CaseInsensitive) == 0 && descend(e))
            return true;
    }
    return false;
}

} // namespace

QString FileNamePart(const QString& path)
{
    return path.mid(LastNameBreak(path) + 1);
}

QString FolderPart(const QString& path)
{
    qsizetype i = LastNameBreak(path);
    if (i < 0)
        return QString();
    if (path[i] == QLatin1Char(':'))
        return path.left(i + 1);
    // Keep the root itself ("/a" -> "/", "C:\a" -> "C:\").
    if (i == 0 || (i == 2 && path[1] == QLatin1Char(':')))
        return path.left(i + 1);
    return path.left(i);
}

QString ExtensionOf(const QString& path)
{
    const QString name = FileNamePart(path);
    qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

bool HasExtension(const QString& path, const QString& ext)
{
    return ExtensionOf(path).compare(ext, Qt::CaseInsensitive) == 0;
}

bool HasFolderPart(const QString& path)
{
    return LastNameBreak(path) >= 0;
}

QString ToSlashes(const QString& path)
{
    QString s = path;
    s.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return s;
}

QString JoinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    if (IsSeparator(folder.back()))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

bool HasDriveLetter(const QString& path)
{
    return path.size() >= 2 && path[1] == QLatin1Char(':') && path[0].isLetter()
        && path[0].unicode() < 0x80;
}

bool IsUncPath(const QString& path)
{
    return path.startsWith(QLatin1String("\\\\"));
}

QString PathFromLastFolder(const QString& path, const QString& folderName)
{
    const QStringList parts = ToSlashes(path).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    // The last part is the file name, not a folder.
    for (qsizetype i = parts.size() - 2; i >= 0; --i) {
        if (parts[i].compare(folderName, Qt::CaseInsensitive) != 0)
            continue;
        const QStringList tail = parts.mid(i);
        if (tail.contains(QLatin1String("..")))
            return QString();
        return tail.join(QLatin1Char('/'));
    }
    return QString();
}

QString FindExistingPath(const QString& path)
{
    const QString slashed = ToSlashes(path);
    if (slashed.isEmpty() || QFileInfo::exists(slashed))
        return slashed;
    const bool absolute = slashed.startsWith(QLatin1Char('/'));
    const QStringList parts = slashed.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString found;
    if (FindParts(absolute ? QStringLiteral("/") : QStringLiteral("."),
            absolute ? QStringLiteral("/") : QString(), parts, 0, &found))
        return found;
    return slashed;
}

QString ResolveMediaFile(const QString& path, const QString& bookFolder)
{
    if (path.isEmpty())
        return path;
    if (!HasFolderPart(path))
        return FindExistingPath(JoinPath(bookFolder, path));
    if (HasDriveLetter(path)) {
        // A Windows path: nothing of it exists here but the file beside the book.
        return FindExistingPath(JoinPath(bookFolder, FileNamePart(path)));
    }
    return FindExistingPath(path);
}

QString FreeDatedFolder(const QString& base, const QDate& date)
{
    const QString stem = JoinPath(base,
        QStringLiteral("P%1_%2%3")
            .arg(date.year(), 4, 10, QLatin1Char('0'))
            .arg(date.month(), 2, 10, QLatin1Char('0'))
            .arg(date.day(), 2, 10, QLatin1Char('0')));
    for (int n = 1; n <= 99999; ++n) {
        const QString candidate = stem + QStringLiteral("(%1)").arg(n);
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
    return QString();
}

} // namespace pimoko

#include "paint/picture_names.h"

#include "platform/numbers.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

namespace pimoko {

namespace {

bool SameFolder(const QString& a, const QString& b)
{
    return QDir::cleanPath(ToSlashes(a)) == QDir::cleanPath(ToSlashes(b));
}

// The name without extension up to and including its last "_" when a number follows it,
// otherwise the whole name and "_".
QString NameBase(const QString& sourcePicture)
{
    const QString name = FileNamePart(sourcePicture);
    const QString stem = name.left(name.size() - ExtensionOf(name).size());
    const int underscore = stem.lastIndexOf(QLatin1Char('_'));
    int number = 0;
    if (underscore >= 0 && TryStrToInt(stem.mid(underscore + 1), &number))
        return stem.left(underscore + 1);
    return stem + QLatin1Char('_');
}

} // namespace

QString PaintedPictureFolder(const QString& bookFolder, const QString& startupFolder)
{
    // A book without a folder is one never saved, which lives in the start-up folder.
    const QString book = bookFolder.isEmpty() ? startupFolder : bookFolder;
    QString folder = QDir::cleanPath(ToSlashes(book));
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    if (SameFolder(book, startupFolder))
        folder += QStringLiteral("Pic/");
    return folder;
}

QString PaintedPictureFile(const QString& folder, const QString& sourcePicture)
{
    const bool fromSource = !sourcePicture.isEmpty();
    const QString base = fromSource ? NameBase(sourcePicture) : QStringLiteral("PPic_");
    for (int n = fromSource ? 2 : 1; n < 100000; ++n) {
        const QString path = folder + base + QString::number(n) + QStringLiteral(".bmp");
        if (!QFileInfo::exists(path))
            return path;
    }
    return QString();
}

} // namespace pimoko

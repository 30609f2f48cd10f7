#include "player/thumbnail_cache.h"

#include "book/novel_page.h"
#include "platform/bitmap.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pimoko {

ThumbnailCache::ThumbnailCache(const QString& startupFolder)
    : tempFolder_(JoinPath(startupFolder, QStringLiteral("Temp")))
{
}

bool ThumbnailCache::InRange(int n, int set)
{
    return n >= 1 && n <= kPageCount && set >= 0 && set < kSets;
}

QString ThumbnailCache::FileName(int n, int set) const
{
    const QString prefix = set == 0 ? QStringLiteral("TC") : QStringLiteral("IC");
    return JoinPath(tempFolder_, prefix + QString::number(n) + QStringLiteral(".bmp"));
}

bool ThumbnailCache::IsValid(int n, int set) const
{
    return InRange(n, set) && At(n, set).valid;
}

bool ThumbnailCache::LoadThumbnail(int n, int set, QImage& target) const
{
    if (!IsValid(n, set))
        return false;
    const Entry& e = At(n, set);
    if (!QFileInfo(e.path).isFile())
        return false;
    QImage picture = ReadBmp(e.path);
    // A file cut short or overwritten by something else is no thumbnail; the page is
    // composed again.
    if (picture.isNull())
        return false;
    target = picture;
    return true;
}

bool ThumbnailCache::SaveThumbnail(int n, int set, const QImage& picture)
{
    if (!InRange(n, set) || At(n, set).valid)
        return true;
    if (!QDir().mkpath(tempFolder_))
        return false;
    const QImage small = ToBitmap24(picture).scaled(
        kWidth, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QString path = FileName(n, set);
    // A cache file needs no flush to disk: one that is lost or torn is only composed again.
    QFile file(path);
    const QByteArray bytes = EncodeBmp24(ToBitmap24(small));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(bytes) != bytes.size()) {
        file.close();
        QFile::remove(path);
        return false;
    }
    file.close();
    Entry& e = At(n, set);
    e.path = path;
    e.valid = true;
    return true;
}

void ThumbnailCache::ClearThumbnails(int set)
{
    if (set < 0 || set >= kSets)
        return;
    for (Entry& e : entries_[set])
        e.valid = false;
}

void ThumbnailCache::InvalidateThumbnailsFrom(int n)
{
    for (int k = qMax(n, 1); k <= kPageCount; ++k)
        At(k, 0).valid = false;
}

void ThumbnailCache::InvalidateThumbnailsAfterChange(int n, const PageSource& pages)
{
    if (!InRange(n, 0))
        return;
    At(n, 0).valid = false;
    for (int k = n + 1; k <= kPageCount; ++k) {
        const TNovelPage& page = pages(k);
        if (page.FillImage || (!page.PictureFile.isEmpty() && !page.ClipMode))
            break;
        At(k, 0).valid = false;
    }
}

} // namespace pimoko

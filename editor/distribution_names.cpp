#include "editor/distribution_names.h"

#include "book/novel_page.h"
#include "book/open_book.h"
#include "platform/paths.h"

#include <vector>

namespace pimoko {

// A media file as the pages name it, resolved, with the keys it is compared by.
struct TDistNames::Media {
    QString path;
    QString name;
    QString base;
    QString pathKey;
    QString baseKey;
};

namespace {

QString Key(const QString& text)
{
    return text.toCaseFolded();
}

TDistNames::Media MakeMedia(const QString& stored, const QString& bookFolder)
{
    TDistNames::Media m;
    if (stored.isEmpty())
        return m;
    m.path = ResolveMediaFile(stored, bookFolder);
    m.name = FileNamePart(m.path);
    m.base = m.name.left(m.name.size() - ExtensionOf(m.name).size());
    m.pathKey = Key(m.path);
    m.baseKey = Key(m.base);
    return m;
}

} // namespace

void TDistNames::Clear()
{
    entries_.fill(TDistNameEntry());
}

QString TDistNames::DistNameOf(const QString& path) const
{
    if (path.isEmpty())
        return QString();
    // Entries are filled in order, so the first free one ends the used ones.
    const QString key = Key(path);
    for (const TDistNameEntry& e : entries_) {
        if (!e.Used)
            break;
        if (Key(e.FilePath) == key)
            return e.DistName;
    }
    return QString();
}

void TDistNames::Register(const Media& file, const Media* files, int count)
{
    if (file.path.isEmpty())
        return;
    bool collision = false;
    for (int k = 0; k < count && !collision; ++k)
        collision = !files[k].path.isEmpty() && files[k].baseKey == file.baseKey
            && files[k].pathKey != file.pathKey;
    if (!collision)
        return;
    if (!DistNameOf(file.path).isEmpty())
        return;
    TDistNameEntry* free = nullptr;
    for (TDistNameEntry& e : entries_) {
        if (!e.Used) {
            free = &e;
            break;
        }
    }
    if (!free)
        return;

    // A new name must not meet another renamed file, nor a file that keeps its own name:
    // p_1.jpg from some folder would otherwise be overwritten by p.bmp converted to p_1.jpg.
    auto taken = [&](const QString& candidateKey) {
        for (const TDistNameEntry& e : entries_) {
            if (e.Used
                && Key(e.DistName.left(e.DistName.size() - ExtensionOf(e.DistName).size()))
                    == candidateKey)
                return true;
        }
        for (int k = 0; k < count; ++k)
            if (!files[k].path.isEmpty() && files[k].baseKey == candidateKey)
                return true;
        return false;
    };
    int i = 1;
    while (taken(Key(file.base + QLatin1Char('_') + QString::number(i))))
        ++i;
    free->FileName = file.name;
    free->FilePath = file.path;
    free->DistName = file.base + QLatin1Char('_') + QString::number(i) + ExtensionOf(file.name);
    free->Used = true;
}

void TDistNames::PrepareDistNames(TOpenBook& book)
{
    Clear();
    // Each page's picture and then its sound, in page order: the order of registration
    // and of the search for a collision.
    std::vector<Media> files;
    files.reserve(2 * TOpenBook::kPageCount);
    for (int n = 1; n <= TOpenBook::kPageCount; ++n) {
        const TNovelPage& page = book.Page(n);
        if (!page.InUse)
            continue;
        files.push_back(MakeMedia(page.PictureFile, book.BookFolder));
        files.push_back(MakeMedia(page.SoundFile, book.BookFolder));
    }
    const int count = static_cast<int>(files.size());
    for (const Media& file : files)
        Register(file, files.data(), count);

    int k = 0;
    for (int n = 1; n <= TOpenBook::kPageCount; ++n) {
        TNovelPage& page = book.Page(n);
        if (!page.InUse)
            continue;
        page.DistPictureName = DistNameOf(files[k++].path);
        page.DistSoundName = DistNameOf(files[k++].path);
    }
}

} // namespace pimoko

#pragma once

#include "book/page_limits.h"

#include <QString>

#include <array>

namespace pimoko {

class TOpenBook;

// One file that gets a name of its own in a distribution folder.
struct TDistNameEntry {
    QString FileName; // the source file name
    QString FilePath; // the full source path
    QString DistName; // the name in the distribution folder
    bool Used = false;
};

// Which media files are renamed in a distribution folder: a file is renamed when
// another, different file of the book has the same name without extension (a.bmp from
// two folders, or a.bmp beside a.wav), since the folder is flat and a converted picture
// changes its extension. Every such file becomes base + "_" + i + its extension, in the
// order the pages use them; a file used by several pages keeps one name.
class TDistNames {
public:
    // Two media files a page, and one spare.
    static constexpr int kEntryCount = 2 * kMaxPages + 1;

    void Clear();
    // Fills the table from the pages in use and gives every page its DistPictureName
    // and DistSoundName ("" for a file that keeps its name).
    void PrepareDistNames(TOpenBook& book);

    const TDistNameEntry& Entry(int index) const { return entries_.at(index); }
    // The distribution name of a source path (compared without regard to case), or "".
    QString DistNameOf(const QString& path) const;

    struct Media; // a page's file as registered

private:
    void Register(const Media& file, const Media* files, int count);

    std::array<TDistNameEntry, kEntryCount> entries_;
};

} // namespace pimoko

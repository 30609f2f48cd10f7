#pragma once

#include "book/page_limits.h"
#include "player/compositor_pages.h"

#include <QImage>
#include <QString>

#include <array>

namespace pimoko {

// Small pictures of pages kept as files in the start-up folder's "Temp" folder, so that the
// title list and the insertion window need not compose every page again. Set 0 is the book
// being edited ("TC" + n + ".bmp"), set 1 the other book of the insertion window
// ("IC" + n + ".bmp").
class ThumbnailCache {
public:
    static constexpr int kPageCount = kMaxPages;
    static constexpr int kSets = 2;
    static constexpr int kWidth = 120;
    static constexpr int kHeight = 100;

    explicit ThumbnailCache(const QString& startupFolder);

    // The file of page n in the set (the "Temp" folder under the start-up folder).
    QString FileName(int n, int set) const;
    bool IsValid(int n, int set) const;

    // True, with the cached picture in target, when the entry is valid and its file can be
    // read. A file that has gone or cannot be read gives false; the entry stays valid.
    bool LoadThumbnail(int n, int set, QImage& target) const;
    // Shrinks the 640 x 480 picture to 120 x 100 and writes it, unless the entry is valid.
    // The "Temp" folder is made when missing. False when the file could not be written (the
    // entry then stays invalid).
    bool SaveThumbnail(int n, int set, const QImage& picture);

    void ClearThumbnails(int set);
    // Every set-0 entry from page n to 300 (after insertions and deletions).
    void InvalidateThumbnailsFrom(int n);
    // The set-0 entry of page n and of the pages after it that take their background from
    // it: up to the first later page with a fill or a picture that is not a clip.
    void InvalidateThumbnailsAfterChange(int n, const PageSource& pages);

private:
    struct Entry {
        bool valid = false;
        QString path;
    };
    static bool InRange(int n, int set);
    Entry& At(int n, int set) { return entries_[set][n - 1]; }
    const Entry& At(int n, int set) const { return entries_[set][n - 1]; }

    QString tempFolder_;
    std::array<std::array<Entry, kPageCount>, kSets> entries_;
};

} // namespace pimoko

#pragma once

#include "platform/canvas.h"

#include <QImage>
#include <QString>

#include <functional>

namespace pimoko {

class TNovelPage;
class TOpenBook;
class ThumbnailCache;

// A book's page table as the composer reads it: pages 1..300.
using PageSource = std::function<const TNovelPage&(int n)>;
PageSource PagesOf(const TOpenBook& book);

enum class BackgroundKind { None, Picture, Fill };

// Where a page's look starts: a picture file (as the page names it), a fill colour, or
// nothing (black); page is the page that gave it (1 when nothing did).
struct PageBackground {
    BackgroundKind kind = BackgroundKind::None;
    QString pictureFile;
    ColorRef fillColor = 0;
    int page = 1;
};

// The nearest page k = n, n - 1, ..., 1 with a fill or with a picture that is not a clip;
// a page's fill counts before its picture.
PageBackground FindBackgroundPage(const PageSource& pages, int n);
// The clip settings window's search: from page n - 1 down; nothing when n is 1.
PageBackground FindBackgroundPageBefore(const PageSource& pages, int n);

// A page's own background as the editor's controls show it before it is stored.
struct OwnBackground {
    bool fillImage = false;
    ColorRef fillColor = 0;
    QString pictureFile;
    bool clipMode = false;
};
// The editor preview's search (also the text settings window and the graphic editor):
// the page's own fill or non-clip picture from the controls, else from page n - 1 down.
PageBackground FindBackgroundPageForEditing(
    const PageSource& pages, int n, const OwnBackground& own);

// Resolves a media name from a page against the book's folder.
using PathResolver = std::function<QString(const QString& name)>;
PathResolver ResolverForFolder(const QString& bookFolder);

// The bitmap becomes 640 x 480 showing the background (a picture centred on black, a fill,
// or black).
void DrawBackground(QImage& bitmap, const PageBackground& background, const PathResolver& resolve);
// Page j's clip (when it has one whose file can be read) and its text over the bitmap.
void DrawPageLayers(QImage& bitmap, const TNovelPage& page, const PathResolver& resolve);

// The bitmap shows page n as it looks: its background page, then the clips and texts of
// every page from there up to n. With a cache, a valid thumbnail of page n in the set (0 for
// the book being edited, 1 for the insertion window's book) whose file can be read is taken
// instead (the bitmap is then 120 x 100). A page number outside 1..300 gives black.
void ComposePage(const PageSource& pages, int n, QImage& bitmap, const PathResolver& resolve,
    ThumbnailCache* cache = nullptr, int cacheSet = 0);

// Composes pages one after another the way the title list asks for them (1, 2, 3 ...):
// page n + 1 starts from the picture of page n when both share a background page, so a
// book costs one layer per page instead of one per page and earlier page. The pictures are
// the same as ComposePage's. The pages must not change between calls without Reset().
class PageComposer {
public:
    PageComposer(
        PageSource pages, PathResolver resolve, ThumbnailCache* cache = nullptr, int cacheSet = 0);

    void ComposePage(int n, QImage& bitmap);
    void Reset();

    // How many clip-and-text layers the composer has drawn (for tests and the benchmark).
    int LayersDrawn() const { return layers_; }

private:
    PageSource pages_;
    PathResolver resolve_;
    ThumbnailCache* cache_;
    int cacheSet_;
    QImage last_; // the full picture of lastPage_
    int lastPage_ = 0;
    int lastBackground_ = 0;
    int layers_ = 0;
};

} // namespace pimoko

#include "player/compositor_pages.h"

#include "book/novel_page.h"
#include "book/open_book.h"
#include "book/page_limits.h"
#include "platform/bitmap.h"
#include "platform/paths.h"
#include "player/compositor_drawing.h"
#include "player/thumbnail_cache.h"
#include "text/font_table.h"
#include "text/text_shot.h"

#include <cstdlib>

namespace pimoko {

PageSource PagesOf(const TOpenBook& book)
{
    return [&book](int n) -> const TNovelPage& { return book.Page(n); };
}

namespace {

// Page k's own background, when it has one.
bool OwnBackgroundOf(const TNovelPage& page, int k, PageBackground* found)
{
    if (page.FillImage) {
        found->kind = BackgroundKind::Fill;
        found->fillColor = static_cast<ColorRef>(page.FillColor);
        found->page = k;
        return true;
    }
    if (!page.PictureFile.isEmpty() && !page.ClipMode) {
        found->kind = BackgroundKind::Picture;
        found->pictureFile = page.PictureFile;
        found->page = k;
        return true;
    }
    return false;
}

PageBackground SearchDown(const PageSource& pages, int from)
{
    PageBackground found;
    for (int k = qMin(from, kMaxPages); k >= 1; --k)
        if (OwnBackgroundOf(pages(k), k, &found))
            return found;
    return PageBackground();
}

void DrawPageText(QImage& bitmap, const TNovelPage& page)
{
    Canvas canvas(&bitmap);
    canvas.SetFont(PageTextFont(page));

    TTextShot shot;
    shot.SetText(page.TextLines);
    shot.SetCanvas(&canvas);
    shot.SetOrigin(page.TextX, page.TextY);
    if (page.Shadow)
        shot.SetShadowOn();
    else
        shot.SetShadowOff();
    if (page.Highlight) {
        shot.SetHighlightOn();
        shot.SetHighlightWidth(page.HighlightLevel);
    } else {
        shot.SetHighlightOff();
    }
    if (page.Vertical)
        shot.SetVertical();
    else
        shot.SetHorizontal();
    shot.SetLinePitch(page.LinePitch);
    shot.SetShadowColor(static_cast<ColorRef>(page.ShadowColor));
    shot.SetTextColor(static_cast<ColorRef>(page.FontColor));
    shot.DrawAll();
}

} // namespace

PageBackground FindBackgroundPage(const PageSource& pages, int n)
{
    return SearchDown(pages, n);
}

PageBackground FindBackgroundPageBefore(const PageSource& pages, int n)
{
    return SearchDown(pages, n - 1);
}

PageBackground FindBackgroundPageForEditing(
    const PageSource& pages, int n, const OwnBackground& own)
{
    PageBackground found;
    if (own.fillImage) {
        found.kind = BackgroundKind::Fill;
        found.fillColor = own.fillColor;
        found.page = n;
        return found;
    }
    if (!own.pictureFile.isEmpty() && !own.clipMode) {
        found.kind = BackgroundKind::Picture;
        found.pictureFile = own.pictureFile;
        found.page = n;
        return found;
    }
    return SearchDown(pages, n - 1);
}

PathResolver ResolverForFolder(const QString& bookFolder)
{
    return [bookFolder](const QString& name) { return ResolveMediaFile(name, bookFolder); };
}

void DrawBackground(QImage& bitmap, const PageBackground& background, const PathResolver& resolve)
{
    switch (background.kind) {
    case BackgroundKind::Picture:
        DrawPictureCentred(bitmap, LoadPicture(resolve(background.pictureFile)));
        break;
    case BackgroundKind::Fill:
        bitmap = NewBitmap24(kPageWidth, kPageHeight);
        FillBitmap(bitmap, background.fillColor);
        break;
    case BackgroundKind::None:
        bitmap = NewBitmap24(kPageWidth, kPageHeight);
        break;
    }
}

void DrawPageLayers(QImage& bitmap, const TNovelPage& page, const PathResolver& resolve)
{
    if (page.ClipMode && !page.PictureFile.isEmpty()) {
        const QImage clip = LoadPicture(resolve(page.PictureFile));
        if (!clip.isNull()) {
            if (page.ClipTransparent)
                TransparentBlit(bitmap, page.ClipX, page.ClipY, clip);
            else
                CopyBlit(bitmap, page.ClipX, page.ClipY, clip);
        }
    }
    if (!page.TextLines.isEmpty())
        DrawPageText(bitmap, page);
}

void ComposePage(const PageSource& pages, int n, QImage& bitmap, const PathResolver& resolve,
    ThumbnailCache* cache, int cacheSet)
{
    if (n < 1 || n > kMaxPages) {
        bitmap = NewBitmap24(kPageWidth, kPageHeight);
        return;
    }
    if (cache && cache->LoadThumbnail(n, cacheSet, bitmap))
        return;
    const PageBackground background = FindBackgroundPage(pages, n);
    DrawBackground(bitmap, background, resolve);
    for (int j = background.page; j <= n; ++j)
        DrawPageLayers(bitmap, pages(j), resolve);
}

PageComposer::PageComposer(
    PageSource pages, PathResolver resolve, ThumbnailCache* cache, int cacheSet)
    : pages_(std::move(pages))
    , resolve_(std::move(resolve))
    , cache_(cache)
    , cacheSet_(cacheSet)
{
}

void PageComposer::Reset()
{
    last_ = QImage();
    lastPage_ = 0;
    lastBackground_ = 0;
}

void PageComposer::ComposePage(int n, QImage& bitmap)
{
    if (n < 1 || n > kMaxPages) {
        bitmap = NewBitmap24(kPageWidth, kPageHeight);
        Reset();
        return;
    }
    if (cache_ && cache_->LoadThumbnail(n, cacheSet_, bitmap)) {
        // A thumbnail is too small to build the next page on.
        Reset();
        return;
    }
    const PageBackground background = FindBackgroundPage(pages_, n);
    int from = background.page;
    if (lastPage_ == n - 1 && lastPage_ >= 1 && lastBackground_ == background.page
        && background.page < n) {
        // The same background and every layer up to n - 1 are in the last picture already.
        bitmap = last_;
        from = n;
    } else {
        DrawBackground(bitmap, background, resolve_);
    }
    for (int j = from; j <= n; ++j) {
        DrawPageLayers(bitmap, pages_(j), resolve_);
        ++layers_;
    }
    last_ = bitmap;
    lastPage_ = n;
    lastBackground_ = background.page;
}

} // namespace pimoko

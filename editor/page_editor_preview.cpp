#include "editor/page_editor.h"

#include "book/open_book.h"
#include "platform/bitmap.h"
#include "platform/numbers.h"
#include "player/compositor_pages.h"

#include <QFileInfo>
#include <QHash>

#include <vector>

namespace pimoko {

namespace {

quint64 Mix(quint64 h, quint64 v)
{
    return h ^ (v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
}

quint64 Mix(quint64 h, const QString& s)
{
    return Mix(h, static_cast<quint64>(qHash(s)));
}

// What a page's clip-and-text layer and its background depend on.
quint64 LookKey(quint64 h, const TNovelPage& p)
{
    h = Mix(h, p.PictureFile);
    h = Mix(h,
        (quint64(p.ClipMode) << 0) | (quint64(p.ClipTransparent) << 1) | (quint64(p.FillImage) << 2)
            | (quint64(p.Vertical) << 3) | (quint64(p.Shadow) << 4) | (quint64(p.Highlight) << 5));
    h = Mix(h, (quint64(quint32(p.ClipX)) << 32) | quint32(p.ClipY));
    h = Mix(h, (quint64(quint32(p.TextX)) << 32) | quint32(p.TextY));
    h = Mix(h, (quint64(quint32(p.FillColor)) << 32) | quint32(p.FontColor));
    h = Mix(h, (quint64(quint32(p.ShadowColor)) << 32) | quint32(p.FontHeight));
    h = Mix(h, (quint64(quint32(p.LinePitch)) << 32) | quint32(p.HighlightLevel));
    h = Mix(h, (quint64(quint32(p.FontFamily)) << 32) | quint32(p.FontCharset));
    h = Mix(h, p.FontName);
    h = Mix(h, p.FontStyle);
    h = Mix(h, static_cast<quint64>(p.TextLines.size()));
    for (const QString& line : p.TextLines)
        h = Mix(h, line);
    return h;
}

} // namespace

TNovelPage TPageEditor::PreviewPage() const
{
    // The current page as the next store will leave it.
    TNovelPage page;
    page.Assign(book_.Page(book_.CurrentPage));
    CopyControlsInto(page, page.EffectWait);
    GiveDefaultFont(page);
    if (!PageHadText && !page.TextLines.isEmpty())
        GiveTextDefaults(page);
    return page;
}

void TPageEditor::PagesChanged()
{
    composer_.reset();
    composerPage_ = 0;
    belowPage_ = -1;
    sceneValid_ = false;
}

void TPageEditor::EnsureBelow(int n)
{
    // The picture of page n - 1 as stored, which is what page n shows through.
    std::vector<quint64> prefix(static_cast<size_t>(n), 0);
    quint64 h = Mix(0, book_.BookFolder);
    prefix[0] = h;
    for (int k = 1; k < n; ++k) {
        h = LookKey(h, book_.Page(k));
        prefix[static_cast<size_t>(k)] = h;
    }
    const quint64 key = prefix[static_cast<size_t>(n - 1)];
    if (belowPage_ == n - 1 && belowKey_ == key)
        return;
    if (n == 1) {
        below_ = NewBitmap24(kPageWidth, kPageHeight);
    } else {
        // The composer builds page n - 1 on its last picture when that was page n - 2 and
        // nothing up to it changed since.
        const bool composerValid = composer_ && composerPage_ >= 1 && composerPage_ < n
            && prefix[static_cast<size_t>(composerPage_)] == composerKey_;
        if (!composerValid) {
            composer_ = std::make_unique<PageComposer>(
                PagesOf(book_), ResolverForFolder(book_.BookFolder));
            composerLayers_ = 0;
        }
        composer_->ComposePage(n - 1, below_);
        previewLayers_ += composer_->LayersDrawn() - composerLayers_;
        composerLayers_ = composer_->LayersDrawn();
        composerPage_ = n - 1;
        composerKey_ = key;
    }
    belowPage_ = n - 1;
    belowKey_ = key;
    sceneValid_ = false;
}

void TPageEditor::EnsureScene(const TNovelPage& current)
{
    const int n = book_.CurrentPage;
    const bool ownBackground = FillImage || (!PictureFile.isEmpty() && !ClipMode);
    if (!ownBackground)
        EnsureBelow(n);

    quint64 key = ownBackground ? Mix(0, book_.BookFolder) : Mix(belowKey_, quint64(n));
    key = Mix(key, quint64(ownBackground));
    TNovelPage clipOnly;
    clipOnly.Assign(current);
    clipOnly.TextLines.clear();
    key = Mix(key, current.PictureFile);
    key = Mix(key, (quint64(quint32(current.ClipX)) << 32) | quint32(current.ClipY));
    key = Mix(key,
        (quint64(quint32(current.FillColor)) << 3) | (quint64(current.ClipMode) << 2)
            | (quint64(current.ClipTransparent) << 1) | quint64(current.FillImage));
    if (sceneValid_ && key == sceneKey_)
        return;

    const PathResolver resolve = ResolverForFolder(book_.BookFolder);
    if (ownBackground) {
        OwnBackground own;
        own.fillImage = FillImage;
        own.fillColor = static_cast<ColorRef>(FillColor);
        own.pictureFile = PictureFile;
        own.clipMode = ClipMode;
        DrawBackground(scene_, FindBackgroundPageForEditing(PagesOf(book_), n, own), resolve);
    } else {
        scene_ = below_;
    }
    if (clipOnly.ClipMode && !clipOnly.PictureFile.isEmpty()) {
        DrawPageLayers(scene_, clipOnly, resolve);
        ++previewLayers_;
    }
    sceneKey_ = key;
    sceneValid_ = true;
}

void TPageEditor::RedrawPreview()
{
    const TNovelPage current = PreviewPage();
    EnsureScene(current);
    preview_ = scene_;
    if (!current.TextLines.isEmpty()) {
        TNovelPage textOnly;
        textOnly.Assign(current);
        textOnly.ClipMode = false;
        DrawPageLayers(preview_, textOnly, ResolverForFolder(book_.BookFolder));
        ++previewLayers_;
    }
    if (!PictureFile.isEmpty() && !QFileInfo(ResolvePath(PictureFile)).isFile())
        ImageInfoLabelVisible = false;
    view_->PreviewChanged();
}

QImage TPageEditor::ComposeFullPreview() const
{
    const int n = book_.CurrentPage;
    const PageSource pages = PagesOf(book_);
    const PathResolver resolve = ResolverForFolder(book_.BookFolder);
    OwnBackground own;
    own.fillImage = FillImage;
    own.fillColor = static_cast<ColorRef>(FillColor);
    own.pictureFile = PictureFile;
    own.clipMode = ClipMode;
    const PageBackground background = FindBackgroundPageForEditing(pages, n, own);
    QImage picture;
    DrawBackground(picture, background, resolve);
    for (int j = background.page; j < n; ++j)
        DrawPageLayers(picture, pages(j), resolve);
    DrawPageLayers(picture, PreviewPage(), resolve);
    return picture;
}

QImage TPageEditor::SceneWithoutCurrentText()
{
    EnsureScene(PreviewPage());
    return scene_;
}

QImage TPageEditor::PicturesBelowCurrent()
{
    EnsureBelow(book_.CurrentPage);
    return below_;
}

} // namespace pimoko

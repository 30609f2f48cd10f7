#include "book/novel_page.h"
#include "platform/bitmap.h"
#include "player/compositor_pages.h"
#include "player/thumbnail_cache.h"

#include "tests/support/test_support.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <vector>

namespace pimoko {
namespace {

// Text needs the font database, which needs the application object.
void EnsureGuiApp()
{
    if (QGuiApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "test_player";
    static char* argv[] = { name, nullptr };
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

struct Pages {
    std::vector<TNovelPage> table = std::vector<TNovelPage>(300);
    TNovelPage& operator[](int n) { return table[n - 1]; }
    PageSource Source() const
    {
        return [this](int n) -> const TNovelPage& { return table.at(n - 1); };
    }
};

TEST(CompositorBackground, NearestFillOrPictureWins)
{
    Pages p;
    p[2].FillImage = true;
    p[2].FillColor = 0x123456;
    p[2].PictureFile = "ignored.bmp"; // the fill counts first
    p[4].PictureFile = "back.bmp";
    p[5].PictureFile = "clip.bmp";
    p[5].ClipMode = true;

    PageBackground b = FindBackgroundPage(p.Source(), 6);
    EXPECT_EQ(b.kind, BackgroundKind::Picture);
    EXPECT_EQ(b.pictureFile, "back.bmp");
    EXPECT_EQ(b.page, 4);
    b = FindBackgroundPage(p.Source(), 3);
    EXPECT_EQ(b.kind, BackgroundKind::Fill);
    EXPECT_EQ(b.fillColor, 0x123456u);
    EXPECT_EQ(b.page, 2);
    b = FindBackgroundPage(p.Source(), 1);
    EXPECT_EQ(b.kind, BackgroundKind::None);
    EXPECT_EQ(b.page, 1);

    // The clip settings window looks only before the page.
    EXPECT_EQ(FindBackgroundPageBefore(p.Source(), 4).page, 2);
    EXPECT_EQ(FindBackgroundPageBefore(p.Source(), 2).kind, BackgroundKind::None);
    EXPECT_EQ(FindBackgroundPageBefore(p.Source(), 1).kind, BackgroundKind::None);

    // The editor takes the page's own background from its controls, not from the table.
    OwnBackground own;
    own.pictureFile = "new.bmp";
    b = FindBackgroundPageForEditing(p.Source(), 4, own);
    EXPECT_EQ(b.pictureFile, "new.bmp");
    EXPECT_EQ(b.page, 4);
    own.clipMode = true;
    EXPECT_EQ(FindBackgroundPageForEditing(p.Source(), 4, own).page, 2);
    own.fillImage = true;
    own.fillColor = 7;
    b = FindBackgroundPageForEditing(p.Source(), 1, own);
    EXPECT_EQ(b.kind, BackgroundKind::Fill);
    EXPECT_EQ(b.fillColor, 7u);
    EXPECT_EQ(
        FindBackgroundPageForEditing(p.Source(), 1, OwnBackground()).kind, BackgroundKind::None);
}

void SetText(TNovelPage& page, const QString& text, int x, int y)
{
    page.InUse = true;
    page.TextLines = QStringList { text };
    page.TextX = x;
    page.TextY = y;
    page.FontName = "ＭＳ ゴシック";
    page.FontHeight = -24;
    page.FontColor = 0x00FFFFFF;
    page.ShadowColor = 0;
}

// A book with two background changes, clips and text on many pages: composing page by
// page with reuse must give the same pixels as composing every page from its background.
TEST(CompositorCompose, ReuseGivesThePlainPictures)
{
    EnsureGuiApp();
    test::TempFolder folder;
    QImage back = NewBitmap24(400, 300);
    back.fill(QColor(40, 80, 120));
    ASSERT_TRUE(WriteBmp24(folder.file("back.bmp"), back));
    QImage clip = NewBitmap24(50, 40);
    clip.fill(Qt::white);
    for (int x = 5; x < 45; ++x)
        clip.setPixel(x, 20, qRgb(200, 0, 0));
    ASSERT_TRUE(WriteBmp24(folder.file("clip.bmp"), clip));

    Pages p;
    p[1].PictureFile = "back.bmp";
    for (int n = 1; n <= 12; ++n)
        SetText(p[n], QStringLiteral("ページ%1のことば").arg(n), 20, 20 + 30 * (n % 10));
    p[3].PictureFile = "clip.bmp";
    p[3].ClipMode = true;
    p[3].ClipX = -10;
    p[3].ClipY = 100;
    p[5].Vertical = true;
    p[5].TextX = 600;
    p[6].FillImage = true;
    p[6].FillColor = 0x00204060;
    p[8].PictureFile = "clip.bmp";
    p[8].ClipMode = true;
    p[8].ClipTransparent = false;
    p[8].ClipX = 600;
    p[8].ClipY = 450;
    p[10].Highlight = true;
    p[10].HighlightLevel = 2;

    const PathResolver resolve = ResolverForFolder(folder.path());
    PageComposer composer(p.Source(), resolve);
    for (int n = 1; n <= 14; ++n) {
        QImage plain, reused;
        ComposePage(p.Source(), n, plain, resolve);
        composer.ComposePage(n, reused);
        ASSERT_EQ(plain.size(), QSize(640, 480));
        ASSERT_EQ(reused, plain) << "page " << n;
    }
    EXPECT_EQ(composer.LayersDrawn(), 14);

    // Text really lands on the page, and the clip of page 3 is still there on page 5.
    QImage page2, back2;
    ComposePage(p.Source(), 2, page2, resolve);
    DrawBackground(back2, FindBackgroundPage(p.Source(), 2), resolve);
    EXPECT_NE(page2, back2);
    QImage page5;
    ComposePage(p.Source(), 5, page5, resolve);
    QImage bare;
    DrawBackground(bare, FindBackgroundPage(p.Source(), 5), resolve);
    EXPECT_NE(page5, bare);
    EXPECT_EQ(page5.pixel(0, 120), qRgb(200, 0, 0));

    // Out of order the composer starts from the background again.
    QImage again, plain;
    composer.ComposePage(4, again);
    ComposePage(p.Source(), 4, plain, resolve);
    EXPECT_EQ(again, plain);
}

TEST(CompositorCompose, ThumbnailCacheShortCut)
{
    test::TempFolder folder;
    Pages p;
    p[1].FillImage = true;
    p[1].FillColor = 0x0000FF;
    ThumbnailCache cache(folder.path());
    QImage picture;
    ComposePage(p.Source(), 1, picture, ResolverForFolder(folder.path()), &cache);
    EXPECT_EQ(picture.size(), QSize(640, 480));
    ASSERT_TRUE(cache.SaveThumbnail(1, 0, picture));
    ComposePage(p.Source(), 1, picture, ResolverForFolder(folder.path()), &cache);
    EXPECT_EQ(picture.size(), QSize(120, 100));
    EXPECT_EQ(picture.pixel(60, 50), qRgb(255, 0, 0));

    // After a thumbnail the composer has no full picture to build page 2 on.
    PageComposer composer(p.Source(), ResolverForFolder(folder.path()), &cache);
    composer.ComposePage(1, picture);
    EXPECT_EQ(picture.size(), QSize(120, 100));
    composer.ComposePage(2, picture);
    EXPECT_EQ(picture.size(), QSize(640, 480));
    EXPECT_EQ(picture.pixel(600, 400), qRgb(255, 0, 0));

    // Page numbers outside the table never reach it.
    ComposePage(p.Source(), 301, picture, ResolverForFolder(folder.path()), &cache);
    EXPECT_EQ(picture, NewBitmap24());
    composer.ComposePage(0, picture);
    EXPECT_EQ(picture, NewBitmap24());
}

} // namespace
} // namespace pimoko

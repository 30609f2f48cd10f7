#include "book/novel_page.h"
#include "platform/bitmap.h"
#include "player/thumbnail_cache.h"

#include "tests/support/test_support.h"

#include <QFile>
#include <gtest/gtest.h>

#include <vector>

namespace pimoko {
namespace {

struct Pages {
    std::vector<TNovelPage> table = std::vector<TNovelPage>(300);
    TNovelPage& operator[](int n) { return table[n - 1]; }
    PageSource Source() const
    {
        return [this](int n) -> const TNovelPage& { return table.at(n - 1); };
    }
};

TEST(ThumbnailCache, FilesAndValidity)
{
    test::TempFolder folder;
    ThumbnailCache cache(folder.path());
    EXPECT_EQ(cache.FileName(7, 0), folder.path() + "/Temp/TC7.bmp");
    EXPECT_EQ(cache.FileName(300, 1), folder.path() + "/Temp/IC300.bmp");

    QImage page = NewBitmap24();
    page.fill(QColor(0, 255, 0));
    QImage target;
    EXPECT_FALSE(cache.LoadThumbnail(7, 0, target));
    ASSERT_TRUE(cache.SaveThumbnail(7, 0, page)); // Temp is made when missing
    ASSERT_TRUE(cache.LoadThumbnail(7, 0, target));
    EXPECT_EQ(target.size(), QSize(120, 100));
    EXPECT_EQ(target.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_FALSE(cache.IsValid(7, 1));

    // A valid entry is not written again.
    QImage other = NewBitmap24();
    cache.SaveThumbnail(7, 0, other);
    ASSERT_TRUE(cache.LoadThumbnail(7, 0, target));
    EXPECT_EQ(target.pixel(0, 0), qRgb(0, 255, 0));

    // A file that has gone, or is torn, gives false; the entry stays valid.
    test::WriteFile(cache.FileName(7, 0), "BM torn");
    EXPECT_FALSE(cache.LoadThumbnail(7, 0, target));
    QFile::remove(cache.FileName(7, 0));
    EXPECT_FALSE(cache.LoadThumbnail(7, 0, target));
    EXPECT_TRUE(cache.IsValid(7, 0));

    cache.SaveThumbnail(9, 1, page);
    cache.ClearThumbnails(0);
    EXPECT_FALSE(cache.IsValid(7, 0));
    EXPECT_TRUE(cache.IsValid(9, 1));
    cache.ClearThumbnails(1);
    EXPECT_FALSE(cache.IsValid(9, 1));

    // Page numbers outside the table are never valid and never written.
    EXPECT_FALSE(cache.LoadThumbnail(0, 0, target));
    EXPECT_FALSE(cache.LoadThumbnail(301, 0, target));
    cache.SaveThumbnail(301, 0, page);
    EXPECT_FALSE(QFile::exists(folder.path() + "/Temp/TC301.bmp"));
}

TEST(ThumbnailCache, Invalidation)
{
    test::TempFolder folder;
    ThumbnailCache cache(folder.path());
    const QImage page = NewBitmap24();
    // Only the pages the cases look at are written.
    auto fillAll = [&] {
        for (int n = 1; n <= 300; n += (n == 10 ? 286 : 1))
            cache.SaveThumbnail(n, 0, page);
    };
    Pages p;
    p[1].PictureFile = "a.bmp";
    p[4].PictureFile = "clip.bmp";
    p[4].ClipMode = true;
    p[5].PictureFile = "own.bmp";
    fillAll();
    cache.InvalidateThumbnailsAfterChange(3, p.Source());
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(cache.IsValid(n, 0), n < 3 || n > 4) << n;

    // A fill also ends the walk; without any later background it runs to 300.
    p[5].PictureFile.clear();
    p[7].FillImage = true;
    fillAll();
    cache.InvalidateThumbnailsAfterChange(3, p.Source());
    EXPECT_FALSE(cache.IsValid(6, 0));
    EXPECT_TRUE(cache.IsValid(7, 0));
    p[7].FillImage = false;
    fillAll();
    cache.InvalidateThumbnailsAfterChange(3, p.Source());
    EXPECT_FALSE(cache.IsValid(300, 0));
    fillAll();
    cache.InvalidateThumbnailsAfterChange(300, p.Source());
    EXPECT_FALSE(cache.IsValid(300, 0));
    EXPECT_TRUE(cache.IsValid(299, 0));

    fillAll();
    cache.InvalidateThumbnailsFrom(298);
    EXPECT_TRUE(cache.IsValid(297, 0));
    EXPECT_FALSE(cache.IsValid(298, 0));
    EXPECT_FALSE(cache.IsValid(300, 0));
}

} // namespace
} // namespace pimoko

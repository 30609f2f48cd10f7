#include "platform/bitmap.h"
#include "platform/clock.h"
#include "platform/jpeg_codec.h"
#include "player/compositor.h"

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace pimoko {
namespace {

// Every pixel its own colour, so a misplaced copy shows.
QImage Pattern(int w, int h)
{
    QImage image = NewBitmap24(w, h);
    for (int y = 0; y < h; ++y) {
        quint8* row = image.scanLine(y);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = static_cast<quint8>(x);
            row[3 * x + 1] = static_cast<quint8>(y);
            row[3 * x + 2] = static_cast<quint8>(((x >> 8) << 4) | ((y >> 8) & 0xF) | 0x80);
        }
    }
    return image;
}

QRgb Px(const QImage& image, int x, int y)
{
    return image.pixel(x, y);
}

struct Fixture {
    test::TempFolder folder;
    ManualClock clock;
    Compositor compositor { clock };
    Fixture() { compositor.SetBookFolder(folder.path()); }
    QString Bmp(const QString& name, const QImage& image)
    {
        EXPECT_TRUE(WriteBmp24(folder.file(name), image));
        return name;
    }
};

TEST(CompositorPictures, CentredOnBlackWithoutScaling)
{
    Fixture f;
    const QImage small = Pattern(320, 240);
    f.compositor.LoadPictureToBackBuffer(f.Bmp("small.BMP", small));
    const QImage& bb = f.compositor.BackBuffer();
    ASSERT_EQ(bb.size(), QSize(640, 480));
    EXPECT_EQ(bb.format(), QImage::Format_BGR888);
    EXPECT_EQ(Px(bb, 159, 119), qRgb(0, 0, 0));
    EXPECT_EQ(Px(bb, 160, 120), Px(small, 0, 0));
    EXPECT_EQ(Px(bb, 479, 359), Px(small, 319, 239));
    EXPECT_EQ(Px(bb, 480, 360), qRgb(0, 0, 0));

    const QImage large = Pattern(800, 600);
    f.compositor.LoadPictureToBackBuffer(f.Bmp("large.bmp", large));
    EXPECT_EQ(Px(f.compositor.BackBuffer(), 0, 0), Px(large, 80, 60));
    EXPECT_EQ(Px(f.compositor.BackBuffer(), 639, 479), Px(large, 719, 539));

    // Odd sizes: (640 - 641) div 2 is 0 when truncated toward zero, not -1.
    const QImage odd = Pattern(641, 3);
    f.compositor.LoadPictureToBackBuffer(f.Bmp("odd.bmp", odd));
    EXPECT_EQ(Px(f.compositor.BackBuffer(), 0, 238), Px(odd, 0, 0));
}

TEST(CompositorPictures, JpegDecodesAndBadFilesGiveBlack)
{
    Fixture f;
    QImage grey = NewBitmap24(64, 48);
    grey.fill(QColor(100, 150, 200));
    test::WriteFile(f.folder.file("p.Jpg"), EncodeJpeg(grey, 95));
    f.compositor.LoadPictureToBackBuffer("p.Jpg");
    const QColor c = f.compositor.BackBuffer().pixelColor(320, 240);
    EXPECT_NEAR(c.red(), 100, 3);
    EXPECT_NEAR(c.blue(), 200, 3);
    EXPECT_EQ(Px(f.compositor.BackBuffer(), 287, 215), qRgb(0, 0, 0));

    const QImage black = NewBitmap24();
    const QString bmp = f.Bmp("real.bmp", Pattern(640, 480));
    for (const QString& name : { QStringLiteral("missing.bmp"), QStringLiteral("missing.jpg"),
             QStringLiteral("picture.png"), QStringLiteral("broken.jpg"), QString() }) {
        if (name == "picture.png") {
            ASSERT_TRUE(Pattern(8, 8).save(f.folder.file(name)));
        }
        if (name == "broken.jpg")
            test::WriteFile(f.folder.file(name), "not a picture");
        f.compositor.LoadPictureToBackBuffer(bmp);
        f.compositor.LoadPictureToBackBuffer(name);
        EXPECT_EQ(f.compositor.BackBuffer(), black) << name.toStdString();
    }
}

TEST(CompositorPictures, FillUsesTheStoredColourOrder)
{
    Fixture f;
    f.compositor.FillBackBuffer(MakeColorRef(10, 20, 30));
    const quint8* p = f.compositor.BackBuffer().constScanLine(479) + 3 * 639;
    EXPECT_EQ(p[0], 30); // blue first
    EXPECT_EQ(p[1], 20);
    EXPECT_EQ(p[2], 10);
}

TEST(CompositorClips, TransparentKeyIsTheBottomLeftPixel)
{
    Fixture f;
    // A white clip with a red frame and white inside the frame: all white is left out.
    QImage clip = NewBitmap24(20, 10);
    clip.fill(Qt::white);
    for (int x = 2; x < 18; ++x)
        clip.setPixel(x, 2, qRgb(255, 0, 0));
    clip.setPixel(10, 5, qRgb(0, 0, 255));
    f.compositor.FillBackBuffer(MakeColorRef(0, 255, 0));
    f.compositor.DrawClip(f.Bmp("clip.bmp", clip), 100, 50, true);
    const QImage& bb = f.compositor.BackBuffer();
    EXPECT_EQ(Px(bb, 102, 52), qRgb(255, 0, 0));
    EXPECT_EQ(Px(bb, 110, 55), qRgb(0, 0, 255));
    EXPECT_EQ(Px(bb, 110, 54), qRgb(0, 255, 0)); // white inside the figure
    EXPECT_EQ(Px(bb, 100, 59), qRgb(0, 255, 0));
    EXPECT_EQ(f.compositor.ClipBitmap().size(), QSize(20, 10));

    // Copied without the key, every pixel is drawn.
    f.compositor.DrawClip("clip.bmp", 100, 50, false);
    EXPECT_EQ(Px(f.compositor.BackBuffer(), 110, 54), qRgb(255, 255, 255));
}

TEST(CompositorClips, CutAtEveryEdge)
{
    const QImage clip = Pattern(30, 20); // bottom-left (0, 19) is the key
    QImage page = NewBitmap24();
    page.fill(Qt::black);

    TransparentBlit(page, -10, 0, clip);
    EXPECT_EQ(Px(page, 0, 0), Px(clip, 10, 0));
    EXPECT_EQ(Px(page, 19, 5), Px(clip, 29, 5));
    EXPECT_EQ(Px(page, 20, 5), qRgb(0, 0, 0));

    QImage copy = NewBitmap24();
    CopyBlit(copy, 630, 470, clip);
    EXPECT_EQ(Px(copy, 639, 479), Px(clip, 9, 9));
    CopyBlit(copy, -5, -7, clip);
    EXPECT_EQ(Px(copy, 0, 0), Px(clip, 5, 7));

    // Wholly off the page on any side, or just touching: nothing drawn.
    const QImage black = NewBitmap24();
    for (auto [x, y] : std::vector<std::pair<int, int>> {
             { 640, 0 }, { 0, 480 }, { -30, 0 }, { 0, -20 }, { -1000, -1000 }, { 100000, 5 } }) {
        QImage a = NewBitmap24(), b = NewBitmap24();
        TransparentBlit(a, x, y, clip);
        CopyBlit(b, x, y, clip);
        EXPECT_EQ(a, black) << x << "," << y;
        EXPECT_EQ(b, black) << x << "," << y;
    }
    QImage edge = NewBitmap24();
    TransparentBlit(edge, -29, -19, clip);
    EXPECT_EQ(Px(edge, 0, 0), Px(clip, 29, 19));
    EXPECT_EQ(Px(edge, 1, 0), qRgb(0, 0, 0));
}

TEST(CompositorClips, UnusableClipsAddNothing)
{
    Fixture f;
    f.compositor.FillBackBuffer(MakeColorRef(1, 2, 3));
    const QImage before = f.compositor.BackBuffer().copy();
    ASSERT_TRUE(Pattern(8, 8).save(f.folder.file("c.png")));
    f.compositor.DrawClip("nothing.bmp", 0, 0, true);
    f.compositor.DrawClip("c.png", 0, 0, false);
    f.compositor.DrawClip("", 0, 0, false);
    EXPECT_EQ(f.compositor.BackBuffer(), before);
}

} // namespace
} // namespace pimoko

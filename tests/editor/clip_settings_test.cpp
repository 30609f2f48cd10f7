#include "tests/editor/editor_fixture.h"

#include "editor/clip_settings.h"
#include "platform/bitmap.h"

#include <QFile>

namespace pimoko {
namespace {

constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kRed = 0xffff0000;
constexpr QRgb kBlue = 0xff0000ff;

class ClipSettingsTest : public test::EditorTest {
protected:
    // A width x height clip, white (its key colour) with a red square in the middle.
    QString WriteClip(const QString& name, int width, int height)
    {
        QImage clip = NewBitmap24(width, height);
        clip.fill(Qt::white);
        for (int y = height / 4; y < height * 3 / 4; ++y)
            for (int x = width / 4; x < width * 3 / 4; ++x)
                clip.setPixel(x, y, kRed);
        EXPECT_TRUE(WriteBmp24(tmp.file(name), clip));
        return tmp.file(name);
    }

    ClipRequest Request(const QString& file, int x = 0, int y = 0, bool transparent = true)
    {
        ClipRequest r;
        r.pictureFile = file;
        r.clipX = x;
        r.clipY = y;
        r.transparent = transparent;
        return r;
    }

    QRgb At(int x, int y) const { return clip.View().pixel(x, y) | 0xff000000; }

    TClipSettings clip { *editor };
};

TEST_F(ClipSettingsTest, ClicksCentreTheClip)
{
    UsePages(1);
    const struct {
        int width, height, x, y, left, top;
    } cases[] = {
        { 100, 60, 320, 240, 270, 210 },
        { 100, 60, 10, 5, -40, -25 },
        { 101, 61, 0, 0, -50, -30 },
        { 100, 60, 639, 479, 589, 449 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        clip.Open(Request(WriteClip(QStringLiteral("c.bmp"), c.width, c.height)));
        clip.Click(c.x, c.y);
        EXPECT_EQ(clip.ClipLeft(), c.left);
        EXPECT_EQ(clip.ClipTop(), c.top);
    }
}

TEST_F(ClipSettingsTest, AClipNearTheCornerShowsOnlyItsVisiblePart)
{
    UsePages(1);
    // Clicking at (10, 5) puts the 100 x 60 clip at (-40, -25): the view's (0, 0) is the
    // clip's (40, 25), inside its red square, and its white key colour is left out.
    clip.Open(Request(WriteClip(QStringLiteral("c.bmp"), 100, 60)));
    clip.Click(10, 5);
    EXPECT_EQ(At(0, 0), kRed);
    EXPECT_EQ(At(34, 19), kRed); // the clip's (74, 44)
    EXPECT_EQ(At(35, 20), kBlack); // its white, left out
    EXPECT_EQ(At(60, 35), kBlack); // beyond the clip

    clip.SetTransparent(false);
    EXPECT_EQ(At(35, 20), kWhite);
    EXPECT_EQ(At(59, 34), kWhite); // the clip's last pixel
    EXPECT_EQ(At(60, 35), kBlack);
}

TEST_F(ClipSettingsTest, TheSceneIsWhatTheEarlierPagesLeave)
{
    UsePages(3);
    for (int n = 1; n <= 3; ++n)
        book.Page(n).TextLines.clear();
    // Page 1 fills blue, page 2 puts a clip at (0, 0), page 3 (the clip's page) has a
    // picture of its own that is not a clip yet: it is not part of its scene.
    book.Page(1).FillImage = true;
    book.Page(1).FillColor = 0xff0000; // blue as 0x00BBGGRR
    book.Page(2).PictureFile = WriteClip(QStringLiteral("below.bmp"), 40, 40);
    book.Page(2).ClipMode = true;
    book.Page(3).PictureFile = WriteClip(QStringLiteral("own.bmp"), 640, 480);

    book.Page(2).ClipTransparent = true;

    // Behind a clip on page 1 there is black, whatever page 1 itself holds.
    editor->ShowPage(1);
    clip.Open(Request(tmp.file("own.bmp"), 700, 0));
    EXPECT_EQ(At(0, 0), kBlack);
    EXPECT_EQ(At(639, 479), kBlack);

    editor->ShowPage(3);
    clip.Open(Request(tmp.file("own.bmp"), 700, 0)); // the clip wholly off the page
    EXPECT_EQ(At(600, 400), kBlue);
    EXPECT_EQ(At(15, 15), kRed); // page 2's clip
    EXPECT_EQ(At(2, 2), kBlue); // ... drawn transparent
}

TEST_F(ClipSettingsTest, OnlyDecidingWritesThePage)
{
    UsePages(1);
    const QString file = WriteClip(QStringLiteral("c.bmp"), 100, 60);
    book.Page(1).PictureFile = file;
    book.Page(1).ClipMode = true;
    book.Page(1).ClipX = 11;
    book.Page(1).ClipY = 22;
    editor->ShowPage(1);
    book.Modified = false;

    clip.Open(Request(file, 11, 22, true));
    clip.Click(320, 240);
    clip.Click(100, 100);
    clip.SetTransparent(false);
    // Cancelled: nothing of it reached the page or the editor.
    EXPECT_EQ(book.Page(1).ClipX, 11);
    EXPECT_EQ(editor->ClipY, 22);
    EXPECT_TRUE(editor->ClipTransparent);
    EXPECT_FALSE(book.Modified);

    // A file gone meanwhile leaves the clip loaded last in use.
    QFile::remove(file);
    clip.Click(320, 240);
    EXPECT_EQ(clip.ClipBitmap().size(), QSize(100, 60));

    clip.Decide();
    const TNovelPage& p = book.Page(1);
    EXPECT_EQ(p.ClipX, 270);
    EXPECT_EQ(p.ClipY, 210);
    EXPECT_TRUE(p.ClipMode);
    EXPECT_FALSE(p.ClipTransparent);
    EXPECT_FALSE(p.FillImage);
    EXPECT_EQ(editor->ClipX, 270);
    EXPECT_FALSE(editor->ClipTransparent);
    EXPECT_EQ(editor->Label7, QStringLiteral("クリップ画像"));
    EXPECT_TRUE(book.Modified);
}

} // namespace
} // namespace pimoko

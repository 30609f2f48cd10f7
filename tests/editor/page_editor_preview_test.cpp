#include "tests/editor/editor_fixture.h"

#include "platform/bitmap.h"
#include "player/compositor_drawing.h"
#include "player/compositor_pages.h"

namespace pimoko {
namespace {

class PreviewTest : public test::EditorTest {
protected:
    // Page 1 a background picture, every later page a clip and a line of text.
    void MakeBook(int pages)
    {
        QImage back = NewBitmap24(600, 400);
        FillBitmap(back, 0x00336699);
        ASSERT_TRUE(WriteBmp24(tmp.file("back.bmp"), back));
        QImage clip = NewBitmap24(40, 30);
        FillBitmap(clip, 0x0000FF00);
        clip.setPixelColor(0, 29, Qt::black); // the key colour is left out
        ASSERT_TRUE(WriteBmp24(tmp.file("clip.bmp"), clip));
        for (int n = 1; n <= pages; ++n) {
            TNovelPage& p = book.Page(n);
            p.InUse = true;
            p.PictureFile = n == 1 ? QStringLiteral("back.bmp") : QStringLiteral("clip.bmp");
            p.ClipMode = n > 1;
            p.ClipX = 10 * n;
            p.ClipY = 5 * n;
            p.TextLines = { QStringLiteral("ぺーじ%1").arg(n) };
            p.FontName = QStringLiteral("ＭＳ ゴシック");
            p.FontHeight = 16;
            p.FontColor = 0x00FFFFFF;
            p.TextX = 20;
            p.TextY = 20 + n;
        }
    }

    void ExpectSameAsFull(const char* what)
    {
        SCOPED_TRACE(what);
        const QImage full = editor->ComposeFullPreview();
        ASSERT_EQ(editor->Preview().size(), QSize(640, 480));
        EXPECT_TRUE(editor->Preview() == full);
    }
};

TEST_F(PreviewTest, IncrementalRedrawGivesTheFullPicture)
{
    MakeBook(6);
    editor->ShowPage(5);
    ExpectSameAsFull("shown");

    const int before = editor->PreviewLayersDrawn();
    editor->Memo1Edited({ QStringLiteral("書き足した"), QStringLiteral("二行目") });
    ExpectSameAsFull("typed");
    EXPECT_EQ(editor->PreviewLayersDrawn() - before, 1); // only the current text

    editor->ClipX = 300; // the working copy, not yet stored
    editor->RedrawPreview();
    ExpectSameAsFull("clip moved");

    editor->Button5Click(); // page 6 builds on the picture of page 5
    ExpectSameAsFull("next");

    // A page below changed behind the editor's back.
    book.Page(2).TextLines = { QStringLiteral("差し替え") };
    editor->RedrawPreview();
    ExpectSameAsFull("page below changed");

    editor->FillImage = true; // own background: nothing below shows
    editor->FillColor = 0x00112233;
    editor->RedrawPreview();
    ExpectSameAsFull("own fill");

    editor->ShowPage(1);
    ExpectSameAsFull("page 1");
}

TEST_F(PreviewTest, NewPageShowsTheTextItWillGetWithTheDefaultFont)
{
    MakeBook(2);
    book.DefaultFontName = QStringLiteral("ＭＳ ゴシック");
    book.DefaultFontHeight = 30;
    book.DefaultFontColor = 0x000000FF;
    editor->ShowPage(2);
    editor->Button5Click(); // free page 3
    const QImage empty = editor->Preview();
    editor->Memo1Edited({ QStringLiteral("あたらしい") });
    ExpectSameAsFull("typed on a new page");
    EXPECT_FALSE(editor->Preview() == empty);

    // What the preview showed is what the stored page looks like.
    const QImage shown = editor->Preview();
    editor->StorePage();
    QImage composed;
    ComposePage(PagesOf(book), 3, composed, ResolverForFolder(book.BookFolder));
    EXPECT_TRUE(shown == composed);
}

TEST_F(PreviewTest, MissingPictureIsBlackAndHidesTheInfoLabel)
{
    UsePages(1);
    editor->PictureFile = QStringLiteral("gone.bmp");
    editor->ImageInfoLabelVisible = true;
    editor->Memo1.clear();
    editor->RedrawPreview();
    EXPECT_FALSE(editor->ImageInfoLabelVisible);
    EXPECT_TRUE(editor->Preview() == NewBitmap24(640, 480));
}

TEST_F(PreviewTest, GraphicEditorCanvas)
{
    struct Canvas : GraphicEditorPort {
        QImage last;
        void SetCanvas(const QImage& c) override { last = c; }
    } canvas;
    EditorPorts ports;
    ports.graphicEditor = &canvas;
    editor->SetPorts(ports);
    MakeBook(1);

    editor->PictureToGraphicEditor(QStringLiteral("back.bmp"));
    ASSERT_EQ(canvas.last.size(), QSize(640, 480));
    EXPECT_EQ(canvas.last.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(canvas.last.pixelColor(20, 40), QColor(0x99, 0x66, 0x33));
    editor->PictureToGraphicEditor(QStringLiteral("missing.bmp"));
    EXPECT_TRUE(canvas.last == NewBitmap24(640, 480));
    editor->FillGraphicEditor(0x000000FF);
    EXPECT_EQ(canvas.last.pixelColor(639, 479), QColor(Qt::red));
}

} // namespace
} // namespace pimoko

#include "tests/editor/editor_fixture.h"

#include "platform/bitmap.h"
#include "player/compositor_drawing.h"

namespace pimoko {
namespace {

// The graphic editor as the page editor sees it: what it was opened on.
struct RecordingGraphicEditor : GraphicEditorPort {
    QImage canvas;
    QStringList opened;
    void SetCanvas(const QImage& c) override { canvas = c; }
    void OpenGraphicEditor(const QString& file) override { opened << file; }
};

class GraphicEditorLinkTest : public test::EditorTest {
protected:
    GraphicEditorLinkTest()
    {
        EditorPorts ports;
        ports.titleList = &titleList;
        ports.view = &view;
        ports.graphicEditor = &paint;
        editor->SetPorts(ports);
        QImage back = NewBitmap24(640, 480);
        FillBitmap(back, 0x00336699);
        WriteBmp24(tmp.file("back.bmp"), back);
        UsePages(3);
        book.Page(1).PictureFile = QStringLiteral("back.bmp");
        book.Page(2).FillImage = true;
        book.Page(2).FillColor = 0x000000FF;
        book.Page(3).PictureFile = QStringLiteral("clip.bmp");
        book.Page(3).ClipMode = true;
    }
    RecordingGraphicEditor paint;
};

TEST_F(GraphicEditorLinkTest, TheClickOpensOnTheBackgroundThePageShows)
{
    struct Case {
        int page;
        QString source;
        QColor pixel;
    };
    const Case cases[] = {
        { 1, tmp.file("back.bmp"), QColor(0x99, 0x66, 0x33) }, { 2, QString(), QColor(Qt::red) },
        { 3, QString(), QColor(Qt::red) }, // a clip page shows the fill below it
    };
    for (const Case& c : cases) {
        editor->ShowPage(c.page);
        paint.opened.clear();
        editor->Image1Click();
        EXPECT_EQ(paint.opened, QStringList { c.source }) << c.page;
        ASSERT_EQ(paint.canvas.size(), QSize(640, 480));
        EXPECT_EQ(paint.canvas.pixelColor(5, 5), c.pixel) << c.page;
    }
    book.Page(2).FillImage = false;
    editor->ShowPage(2);
    editor->Image1Click();
    EXPECT_EQ(paint.opened.last(), tmp.file("back.bmp")) << "page 1's picture shows through";

    busy.TryTake();
    paint.opened.clear();
    editor->Image1Click();
    EXPECT_TRUE(paint.opened.isEmpty());
}

TEST_F(GraphicEditorLinkTest, ASavedPictureBecomesThePagesPicture)
{
    QImage painted = NewBitmap24(640, 480);
    FillBitmap(painted, 0x0000FF00);
    const QString file = tmp.file("PPic_1.bmp");
    ASSERT_TRUE(WriteBmp24(file, painted));
    editor->ShowPage(2);
    titleList.visible = true;
    editor->GraphicEditorSaved(file);
    EXPECT_EQ(book.Page(2).PictureFile, file);
    EXPECT_FALSE(book.Page(2).FillImage);
    EXPECT_EQ(editor->Label7, QStringLiteral("PPic_1.bmp"));
    EXPECT_FALSE(editor->ImageInfoLabelVisible);
    EXPECT_TRUE(book.Modified);
    EXPECT_EQ(editor->Preview().pixelColor(600, 20), QColor(Qt::green));
    EXPECT_GE(titleList.refreshes, 1);

    editor->ShowPage(3);
    editor->GraphicEditorSaved(file);
    EXPECT_EQ(editor->Label7, QStringLiteral("クリップ画像"));
    EXPECT_TRUE(book.Page(3).ClipMode);
}

} // namespace
} // namespace pimoko

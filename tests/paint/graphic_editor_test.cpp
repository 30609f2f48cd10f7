#include "paint/graphic_editor.h"
#include "platform/bitmap.h"
#include "platform/paths.h"
#include "platform/prompt_port.h"
#include "tests/paint/paint_test_support.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace pimoko {
namespace {

using test::PenOf;
using test::Solid;

struct RecordingHost : GraphicEditorHost {
    QString folder;
    QStringList saved;
    QString BookFolder() const override { return folder; }
    void PictureSaved(const QString& path) override { saved << path; }
};

// A start-up folder with one white 8 x 8 pen, an editor over it, a grey canvas opened.
class GraphicEditorTest : public ::testing::Test {
protected:
    GraphicEditorTest()
    {
        QDir(tmp.path()).mkpath(QStringLiteral("BOOKS/b"));
        QDir(tmp.path()).mkpath(QStringLiteral("pen"));
        WriteBmp24(tmp.file(QStringLiteral("pen/Brush1.bmp")), PenOf(8, 8, Qt::white));
        host.folder = tmp.file(QStringLiteral("BOOKS/b"));
        editor.Open(Solid(640, 480, grey), tmp.file(QStringLiteral("BOOKS/b/sky.bmp")));
    }

    void ChooseFirstPen()
    {
        editor.SelectPenBitBtnClick();
        editor.PenGridClick(0, false);
        ASSERT_TRUE(editor.PenReady());
    }
    QColor At(int x, int y) const { return editor.Canvas().pixelColor(x, y); }

    static MouseState Left()
    {
        MouseState m;
        m.left = true;
        return m;
    }

    const QColor grey { 90, 90, 90 };
    test::TempFolder tmp;
    ScriptedPromptPort prompt;
    test::ScriptedRandom random;
    RecordingHost host;
    TGraphicEditor editor { prompt, tmp.path(), random, &host };
};

TEST_F(GraphicEditorTest, OpeningStartsTheRingWithThePicture)
{
    EXPECT_EQ(editor.Undo().Position(), 0);
    EXPECT_TRUE(QFile::exists(tmp.file(QStringLiteral("Temp/UB0.bmp"))));
    EXPECT_FALSE(editor.Modified());
    EXPECT_EQ(editor.Colour(), PenColour());
    EXPECT_EQ(editor.PenSize(), 100);
    EXPECT_EQ(editor.Density(), 50);
    EXPECT_EQ(editor.Interval(), 10);
    EXPECT_EQ(editor.PenBase().size(), QSize(64, 64));
    EXPECT_TRUE(editor.CloseQuery()) << "nothing to ask";
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(GraphicEditorTest, OnlyTheLeftButtonAlonePaintsAndTheRightPicksAColour)
{
    editor.CanvasMouseDown(QPoint(100, 100), Left());
    editor.CanvasMouseUp(QPoint(100, 100), MouseState());
    EXPECT_EQ(At(100, 100), grey) << "no pen chosen yet";
    EXPECT_FALSE(editor.Modified());

    ChooseFirstPen();
    editor.PenTransTrackBarChange(100);
    MouseState shifted = Left();
    shifted.keys = true;
    MouseState both = Left();
    both.right = true;
    editor.CanvasMouseDown(QPoint(100, 100), shifted);
    editor.CanvasMouseMove(QPoint(100, 100), both);
    editor.TimerTick();
    EXPECT_EQ(At(100, 100), grey);

    editor.CanvasMouseDown(QPoint(100, 100), Left());
    EXPECT_EQ(At(100, 100), QColor(Qt::white));
    EXPECT_EQ(At(96, 96), QColor(Qt::white)) << "top-left at x - 8 div 2";
    EXPECT_EQ(At(104, 104), grey);
    EXPECT_TRUE(editor.Modified());
    EXPECT_TRUE(editor.Undo().Pending());

    MouseState right;
    right.right = true;
    editor.CanvasMouseDown(QPoint(300, 300), right);
    EXPECT_EQ(editor.Colour(), PenColour({ 90, 90, 90 }));
}

TEST_F(GraphicEditorTest, TheSprayPaintsAtTheTimersPaceUntilTheButtonIsReleased)
{
    ChooseFirstPen();
    editor.PenTransTrackBarChange(100);
    editor.CanvasMouseDown(QPoint(50, 50), Left());
    editor.CanvasMouseMove(QPoint(60, 50), Left()); // used up: no stamp until the next tick
    EXPECT_EQ(At(60, 50), grey);
    editor.TimerTick();
    EXPECT_EQ(At(60, 50), QColor(Qt::white)) << "held still, the tick paints";

    // With the speed slider moved, a stamp waits for more than one interval.
    editor.BrushTimeTrackBarChange(410); // 100 ms
    EXPECT_EQ(editor.Interval(), 100);
    editor.CanvasMouseMove(QPoint(200, 50), Left());
    const quint64 before = editor.CanvasVersion();
    editor.TimerTick();
    EXPECT_EQ(editor.CanvasVersion(), before);
    editor.TimerTick();
    EXPECT_EQ(At(200, 50), QColor(Qt::white));

    editor.CanvasMouseUp(QPoint(200, 50), MouseState());
    editor.CanvasMouseMove(QPoint(300, 300), MouseState());
    editor.CanvasMouseUp(QPoint(300, 300), MouseState());
    for (int i = 0; i < 4; ++i)
        editor.TimerTick();
    EXPECT_EQ(At(300, 300), grey) << "released: the spray stops";
}

TEST_F(GraphicEditorTest, PenAndTipChoicesResetTheColourExceptForTheAirbrush)
{
    editor.PickColour(MakeColorRef(240, 0, 0));
    ChooseFirstPen();
    EXPECT_EQ(editor.Colour(), PenColour());
    editor.PenRadioGroupClick(1); // airbrush
    editor.PickColour(MakeColorRef(240, 0, 0));
    editor.PenGridClick(0, false);
    EXPECT_EQ(editor.Colour(), PenColour({ 240, 0, 0 }));
    editor.PenRadioGroupClick(2); // light pen
    EXPECT_EQ(editor.Colour(), PenColour());

    editor.PenSizeTrackBarChange(50);
    EXPECT_EQ(editor.WorkingPen().Width(), 4);
    EXPECT_EQ(editor.PenPreviewImage().size(), QSize(4, 4));
}

TEST_F(GraphicEditorTest, CancelKeepsThePictureNoDropsItYesSavesIt)
{
    ChooseFirstPen();
    editor.CanvasMouseDown(QPoint(100, 100), Left());
    const QImage painted = editor.Canvas();

    prompt.answers = { Answer::Cancel };
    EXPECT_FALSE(editor.CloseQuery());
    EXPECT_EQ(prompt.LastText(), QStringLiteral("画像が変更されています。保存しますか？"));
    EXPECT_EQ(prompt.shown.back().buttons, Buttons::YesNoCancel);
    EXPECT_TRUE(editor.Modified());
    EXPECT_TRUE(editor.Canvas() == painted);

    prompt.answers = { Answer::Yes };
    EXPECT_TRUE(editor.CloseQuery());
    const QString saved = tmp.file(QStringLiteral("BOOKS/b/sky_2.bmp"));
    EXPECT_EQ(host.saved, QStringList { saved });
    EXPECT_TRUE(ReadBmp(saved) == painted);
    EXPECT_FALSE(editor.Modified());

    editor.CanvasMouseDown(QPoint(200, 100), Left());
    prompt.answers = { Answer::No };
    EXPECT_TRUE(editor.CloseQuery());
    EXPECT_FALSE(editor.Modified());
    EXPECT_EQ(host.saved.size(), 1);
}

TEST_F(GraphicEditorTest, ASaveThatCannotBeWrittenSaysSoAndKeepsTheChanges)
{
    ChooseFirstPen();
    editor.CanvasMouseDown(QPoint(100, 100), Left());
    test::WriteFile(tmp.file(QStringLiteral("plain")), "x");
    host.folder = tmp.file(QStringLiteral("plain/sub")); // below a file: no folder there
    EXPECT_FALSE(editor.SaveButtonClick());
    EXPECT_EQ(prompt.LastText(), TGraphicEditor::kCannotSave);
    EXPECT_TRUE(host.saved.isEmpty());
    EXPECT_TRUE(editor.Modified());
}

TEST_F(GraphicEditorTest, APenMadeFromTheCanvasIsSavedListedAndTaken)
{
    editor.LoadPens();
    editor.MakePenBitBtnClick();
    EXPECT_TRUE(editor.PenCreationMode());
    editor.CanvasMouseDown(QPoint(630, 470), Left());
    editor.CanvasMouseMove(QPoint(700, 500), Left());
    EXPECT_EQ(editor.Selection().End(), QPoint(639, 479));
    EXPECT_EQ(At(635, 475), grey) << "selecting does not paint";
    editor.CanvasMouseUp(QPoint(700, 500), MouseState());
    EXPECT_FALSE(editor.PenCreationMode());
    EXPECT_TRUE(editor.CreatePenPanelVisible);
    EXPECT_EQ(editor.PenBackgroundChoice, PenBackground::Transparent);
    EXPECT_EQ(editor.PenSizingChoice, PenSizing::Original);

    editor.PenBackgroundChoice = PenBackground::Square;
    editor.Button2Click();
    EXPECT_FALSE(editor.CreatePenPanelVisible);
    const QString made = JoinPath(editor.PenFolder(), QStringLiteral("NwPen1.bmp"));
    EXPECT_EQ(ReadBmp(made).size(), QSize(9, 10));
    EXPECT_EQ(editor.Pens().PathOfCell(1), made);
    EXPECT_TRUE(editor.PenReady());
    EXPECT_EQ(editor.PenBase().size(), QSize(9, 10));

    // Deleting it moves the file out of the pen folder and off the grid.
    editor.PenGridClick(1, true);
    EXPECT_EQ(editor.MarkedCell(), 1);
    editor.DeletePenPopupMenuClick();
    EXPECT_FALSE(QFile::exists(made));
    EXPECT_TRUE(QFile::exists(tmp.file(QStringLiteral("Deleted/NwPen1(1).bmp"))));
    EXPECT_TRUE(editor.Pens().PathOfCell(1).isEmpty());
    editor.PenGridClick(5, true);
    EXPECT_EQ(editor.MarkedCell(), -1) << "an empty cell has nothing to delete";
}

TEST_F(GraphicEditorTest, SettingsTakeASnapshotOfAPaintedCanvasAndUndoBringsItBack)
{
    ChooseFirstPen();
    editor.PenTransTrackBarChange(100);
    editor.CanvasMouseDown(QPoint(100, 100), Left());
    editor.ToolRadioGroupClick(1);
    EXPECT_EQ(editor.Undo().Position(), 1);
    EXPECT_FALSE(editor.Undo().Pending());

    // "連続": a drag between two ticks is drawn as one line from the last stamp.
    editor.CanvasMouseUp(QPoint(100, 100), MouseState());
    editor.CanvasMouseMove(QPoint(100, 100), MouseState());
    editor.CanvasMouseDown(QPoint(100, 100), Left());
    editor.CanvasMouseMove(QPoint(140, 100), Left());
    EXPECT_EQ(At(120, 100), grey) << "the stamp was used up by the press";
    editor.TimerTick();
    EXPECT_EQ(At(120, 100), QColor(Qt::white));
    EXPECT_EQ(At(144, 100), grey);

    editor.UndoBitBtnClick();
    EXPECT_EQ(At(120, 100), grey);
    EXPECT_EQ(At(100, 100), QColor(Qt::white));
    editor.UndoBitBtnClick();
    EXPECT_EQ(At(100, 100), grey);
    editor.UndoNextBitBtnClick();
    editor.UndoNextBitBtnClick();
    EXPECT_EQ(At(120, 100), QColor(Qt::white));
}

TEST(FirstShowTest, CentredWhenItFitsElseAtTheEdge)
{
    EXPECT_EQ(FirstShowPosition(QRect(0, 0, 1280, 1000), QSize(900, 500)), QPoint(190, 250));
    EXPECT_EQ(FirstShowPosition(QRect(50, 20, 800, 1000), QSize(900, 500)), QPoint(50, 270));
    EXPECT_EQ(FirstShowPosition(QRect(0, 0, 900, 500), QSize(900, 500)), QPoint(0, 0));
}

} // namespace
} // namespace pimoko

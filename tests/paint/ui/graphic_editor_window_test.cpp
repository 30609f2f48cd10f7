#include "paint/ui/graphic_editor_window.h"
#include "paint/ui/paint_views.h"
#include "platform/bitmap.h"
#include "platform/prompt_port.h"
#include "tests/paint/paint_test_support.h"
#include "tests/support/test_support.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace pimoko {
namespace {

using test::PenOf;
using test::Solid;

class GraphicEditorWindowTest : public ::testing::Test {
protected:
    GraphicEditorWindowTest()
    {
        QDir(tmp.path()).mkpath(QStringLiteral("pen"));
        WriteBmp24(tmp.file(QStringLiteral("pen/Brush1.bmp")), PenOf(8, 8, Qt::white));
        window = std::make_unique<TForm13>(prompt, tmp.path(), &random);
        window->SetHost(&host);
    }

    void Open()
    {
        window->OpenOn(Solid(640, 480, grey), QString());
        window->FormActivate();
    }

    // A press, a move or a release with the buttons held afterwards.
    static void Send(
        QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
    void Drag(QPoint from, QPoint to)
    {
        Send(window->CanvasImage, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        Send(window->CanvasImage, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        Send(window->CanvasImage, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    QColor At(int x, int y) { return window->Editor().Canvas().pixelColor(x, y); }

    struct Host : GraphicEditorHost {
        QStringList saved;
        void PictureSaved(const QString& path) override { saved << path; }
    } host;
    const QColor grey { 90, 90, 90 };
    test::TempFolder tmp;
    ScriptedPromptPort prompt;
    test::ScriptedRandom random;
    std::unique_ptr<TForm13> window;
};

TEST_F(GraphicEditorWindowTest, ControlsStartAtTheirRangesAndDefaults)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ピモコグラフィックエディタ"));
    struct Slider {
        QSlider* slider;
        int min, max, value;
    };
    for (const Slider& s : { Slider { window->PenSizeTrackBar, 10, 100, 100 },
             Slider { window->PenTransTrackBar, 2, 100, 50 },
             Slider { window->BrushTimeTrackBar, 10, 500, 500 } }) {
        EXPECT_EQ(s.slider->minimum(), s.min);
        EXPECT_EQ(s.slider->maximum(), s.max);
        EXPECT_EQ(s.slider->value(), s.value);
    }
    EXPECT_TRUE(window->PenRadioItems[0]->isChecked());
    EXPECT_EQ(window->PenRadioItems[2]->text(), QStringLiteral("ひかりペン"));
    EXPECT_TRUE(window->ToolRadioItems[0]->isChecked());
    EXPECT_EQ(window->ToolRadioItems[1]->text(), QStringLiteral("連続"));
    EXPECT_EQ(window->Timer1->interval(), 10);
    window->BrushTimeTrackBar->setValue(10);
    EXPECT_EQ(window->Timer1->interval(), 500);
    window->PenRadioItems[1]->click();
    EXPECT_EQ(window->Editor().Tip(), PenTipKind::Airbrush);
}

TEST_F(GraphicEditorWindowTest, FirstActivationFillsThePenGridAndAPenIsChosenFromIt)
{
    Open();
    EXPECT_TRUE(window->Timer1->isActive());
    EXPECT_TRUE(window->PenPanel->isVisible());
    EXPECT_FALSE(window->PreparingPanel->isVisible());
    EXPECT_EQ(window->PreparingPanel->text(), QStringLiteral("準備中です。"));
    QTest::mouseClick(window->PenGrid, Qt::LeftButton, Qt::NoModifier, QPoint(100, 10));
    EXPECT_FALSE(window->Editor().PenReady()) << "an empty cell";
    QTest::mouseClick(window->PenGrid, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_TRUE(window->Editor().PenReady());
    EXPECT_FALSE(window->PenPanel->isVisible());

    // Passing over the pen preview brings the grid back.
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(window->CurrentPenImage, &enter);
    EXPECT_TRUE(window->PenPanel->isVisible());
    QTest::mouseClick(window->Button3, Qt::LeftButton);
    EXPECT_FALSE(window->PenPanel->isVisible());
}

TEST_F(GraphicEditorWindowTest, TheLeftButtonPaintsTheRightPicksAndTheTimerSprays)
{
    Open();
    QTest::mouseClick(window->PenGrid, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    window->PenTransTrackBar->setValue(100);
    Drag(QPoint(100, 100), QPoint(100, 100));
    EXPECT_EQ(At(100, 100), QColor(Qt::white));
    QTest::mouseClick(window->CanvasImage, Qt::RightButton, Qt::NoModifier, QPoint(300, 300));
    EXPECT_EQ(window->Editor().Colour(), PenColour({ 90, 90, 90 }));

    QTest::mouseClick(window->PalletImage, Qt::LeftButton, Qt::NoModifier, QPoint(0, 40));
    const QRgb picked = window->PalletImage->Picture().pixel(0, 40);
    EXPECT_EQ(window->Editor().Colour().ToColorRef(),
        MakeColorRef(qRed(picked), qGreen(picked), qBlue(picked)));

    // Held still, the button keeps painting at the timer's pace.
    window->PenRadioItems[0]->click();
    Send(window->CanvasImage, QEvent::MouseButtonPress, QPoint(400, 200), Qt::LeftButton,
        Qt::LeftButton);
    Send(window->CanvasImage, QEvent::MouseMove, QPoint(500, 200), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(At(500, 200), grey);
    QTest::qWait(60);
    EXPECT_EQ(At(500, 200), QColor(Qt::white));
    Send(window->CanvasImage, QEvent::MouseButtonRelease, QPoint(500, 200), Qt::LeftButton,
        Qt::NoButton);
}

TEST_F(GraphicEditorWindowTest, CancellingTheQuestionKeepsTheWindowAndThePicture)
{
    Open();
    QTest::mouseClick(window->PenGrid, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    Drag(QPoint(100, 100), QPoint(100, 100));
    const QImage painted = window->Editor().Canvas();

    prompt.answers = { Answer::Cancel, Answer::Cancel };
    QTest::mouseClick(window->Button4, Qt::LeftButton);
    EXPECT_TRUE(window->isVisible());
    window->FormDeactivate();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->Editor().Canvas() == painted);
    EXPECT_EQ(prompt.Texts().size(), 2);

    prompt.answers = { Answer::No };
    window->FormDeactivate();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_TRUE(host.saved.isEmpty());

    window->OpenOn(painted, QString());
    QTest::mouseClick(window->SaveButton, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(host.saved, QStringList { tmp.file(QStringLiteral("Pic/PPic_1.bmp")) });
}

// The program ending hides every window without a question, the active one included.
TEST_F(GraphicEditorWindowTest, HidingTheActiveWindowAsksNothing)
{
    Open();
    QTest::mouseClick(window->PenGrid, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    Drag(QPoint(100, 100), QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->hide();
    QTest::qWait(20);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(window->Editor().Modified());
}

TEST_F(GraphicEditorWindowTest, APenIsMadeFromADraggedRectangle)
{
    Open();
    QTest::mouseClick(window->MakePenBitBtn, Qt::LeftButton);
    EXPECT_EQ(window->CanvasImage->cursor().shape(), Qt::CrossCursor);
    Drag(QPoint(10, 10), QPoint(30, 40));
    EXPECT_EQ(window->CanvasImage->cursor().shape(), Qt::ArrowCursor);
    ASSERT_TRUE(window->CreatePenPanel->isVisible());
    EXPECT_TRUE(window->TransparentRadio->isChecked());
    EXPECT_TRUE(window->OriginalSizeRadio->isChecked());
    window->Fit64Radio->setChecked(true);
    QTest::mouseClick(window->Button2, Qt::LeftButton);
    EXPECT_FALSE(window->CreatePenPanel->isVisible());
    EXPECT_EQ(ReadBmp(tmp.file(QStringLiteral("pen/NwPen1.bmp"))).size(), QSize(43, 64));
    EXPECT_TRUE(window->Editor().PenReady());

    // The right button on the new pen offers to delete it.
    window->Editor().PenPanelVisible = true;
    window->ShowState();
    QTest::mouseClick(window->PenGrid, Qt::RightButton, Qt::NoModifier, QPoint(70, 10));
    EXPECT_EQ(window->Editor().MarkedCell(), 1);
    window->DeletePenPopupMenu->hide();
    window->DeletePenMenuItem->trigger();
    EXPECT_FALSE(QFile::exists(tmp.file(QStringLiteral("pen/NwPen1.bmp"))));
}

} // namespace
} // namespace pimoko

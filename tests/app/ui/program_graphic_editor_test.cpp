#include "app/ui/library_window.h"
#include "app/ui/program.h"
#include "book/book_list.h"
#include "book/settings_file.h"
#include "editor/page_editor.h"
#include "editor/ui/editor_preview.h"
#include "editor/ui/editor_window.h"
#include "paint/ui/graphic_editor_window.h"
#include "paint/ui/paint_views.h"
#include "platform/bitmap.h"
#include "platform/line_file.h"
#include "platform/prompt_port.h"
#include "player/sound_player.h"
#include "player/ui/viewer_window.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace pimoko {
namespace {

// A picture painted in the graphic editor becomes the page's picture: the editor's
// preview shows it and so does the viewer when the page plays.
TEST(ProgramGraphicEditorTest, APaintedPictureBecomesThePagesPictureAndPlays)
{
    test::TempFolder dir;
    WriteLineFile(dir.file(QStringLiteral("ini.dat")), { QStringLiteral("PBOOK_INIFILE_V13") });
    ASSERT_TRUE(WriteSettings(dir.path(), TBookDefaults(), 1));
    WriteLineFile(dir.file(QStringLiteral("PBooklst.dat")), { kBookListHeader });
    QDir(dir.path()).mkpath(QStringLiteral("BOOKS"));
    QDir(dir.path()).mkpath(QStringLiteral("pen"));
    QImage pen = NewBitmap24(16, 16);
    pen.fill(QColor(255, 255, 255));
    pen.setPixelColor(0, 15, Qt::black);
    ASSERT_TRUE(WriteBmp24(dir.file(QStringLiteral("pen/Brush1.bmp")), pen));

    ManualClock clock;
    ScriptedPromptPort prompt;
    auto program = std::make_unique<Program>(
        dir.path(), clock, &prompt, std::make_unique<SilentSoundPort>());
    program->CreateWindows();
    program->Library()->show();
    QTest::mouseClick(program->Library()->BitBtn6, Qt::LeftButton);
    TForm2* editor = program->Editor();
    ASSERT_TRUE(editor->isVisible());

    QTest::mouseClick(editor->Image1, Qt::LeftButton);
    auto* paint = qobject_cast<TForm13*>(program->Window(QStringLiteral("TForm13")));
    ASSERT_NE(paint, nullptr);
    ASSERT_TRUE(paint->isVisible());
    EXPECT_EQ(paint->Editor().Canvas().pixelColor(320, 240), QColor(Qt::black));

    paint->FormActivate();
    QTest::mouseClick(paint->PenGrid, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    ASSERT_TRUE(paint->Editor().PenReady());
    paint->PenTransTrackBar->setValue(100);
    const QPoint at(320, 240);
    QMouseEvent press(QEvent::MouseButtonPress, at, paint->CanvasImage->mapToGlobal(at),
        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(paint->CanvasImage, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, paint->CanvasImage->mapToGlobal(at),
        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(paint->CanvasImage, &release);
    ASSERT_EQ(paint->Editor().Canvas().pixelColor(320, 240), QColor(Qt::white));

    QTest::mouseClick(paint->SaveButton, Qt::LeftButton);
    EXPECT_FALSE(paint->isVisible());
    const QString saved = program->Book().Page(1).PictureFile;
    EXPECT_EQ(QFileInfo(saved).fileName(), QStringLiteral("PPic_1.bmp"));
    EXPECT_TRUE(QFileInfo::exists(saved));
    EXPECT_EQ(editor->Label7->text(), QStringLiteral("PPic_1.bmp"));
    EXPECT_TRUE(program->Book().Modified);
    TPageEditor* pages = program->Session().Editor();
    EXPECT_EQ(pages->Preview().pixelColor(320, 240), QColor(Qt::white));
    EXPECT_EQ(pages->Preview().pixelColor(100, 100), QColor(Qt::black));

    program->Session().PlayFromCurrentPage();
    clock.RunUntilIdle();
    const QImage& shown = program->Viewer()->State().Picture();
    EXPECT_EQ(shown.pixelColor(320, 240), QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(100, 100), QColor(Qt::black));

    program.reset();
    QDir::setCurrent(QDir::tempPath());
}

} // namespace
} // namespace pimoko

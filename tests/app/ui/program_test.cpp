#include "app/core/window_registry.h"
#include "app/ui/library_window.h"
#include "app/ui/options_window.h"
#include "app/ui/program.h"
#include "book/book_list.h"
#include "book/settings_file.h"
#include "editor/page_editor.h"
#include "editor/ui/book_options_window.h"
#include "editor/ui/distribution_window.h"
#include "editor/ui/editor_window.h"
#include "editor/ui/text_settings_window.h"
#include "platform/bitmap.h"
#include "platform/line_file.h"
#include "platform/prompt_port.h"
#include "player/playback.h"
#include "player/sound_player.h"
#include "player/ui/viewer_window.h"
#include "tests/app/app_test_books.h"
#include "tests/support/test_support.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace pimoko {
namespace {

class ProgramTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        program.reset();
        QDir::setCurrent(QDir::tempPath());
    }

    QString File(const QString& name) const { return dir.file(name); }

    void WriteSettingsFile()
    {
        WriteLineFile(File(QStringLiteral("ini.dat")), { QStringLiteral("PBOOK_INIFILE_V13") });
        ASSERT_TRUE(WriteSettings(dir.path(), TBookDefaults(), 1));
    }

    // A book of three pages listed in the library: the second page waits for the reader.
    void ListBook()
    {
        test::WriteBook(File(QStringLiteral("BOOKS/b/b.pmk")), QStringLiteral("きつねの本"),
            { QStringLiteral("いち"), QStringLiteral("に"), QStringLiteral("さん") }, false);
        ScriptedPromptPort quiet;
        TOpenBook book(quiet, dir.path());
        ASSERT_TRUE(book.LoadBook(File(QStringLiteral("BOOKS/b/b.pmk"))));
        book.Page(2).Period = true;
        WriteLineFile(File(QStringLiteral("BOOKS/b/b.pmk")), book.BookFileLines());
        WriteLineFile(File(QStringLiteral("PBooklst.dat")),
            { kBookListHeader, QStringLiteral("きつねの本"), QStringLiteral("\\BOOKS\\b\\b.pmk") });
    }

    // The listed book of ListBook opened in the editor through "エディタを開く".
    void OpenListedBookInEditor()
    {
        WriteSettingsFile();
        ListBook();
        Start();
        program->Library()->Select(0);
        QTest::mouseClick(program->Library()->BitBtn5, Qt::LeftButton);
    }

    void Start()
    {
        program = std::make_unique<Program>(
            dir.path(), clock, &prompt, std::make_unique<SilentSoundPort>());
        program->CreateWindows();
        program->Library()->show();
    }

    test::TempFolder dir;
    ManualClock clock;
    ScriptedPromptPort prompt;
    std::unique_ptr<Program> program;
};

TEST_F(ProgramTest, WindowsAreMadeOnceInCreationOrder)
{
    Start();
    const auto& log = program->Registry().CreationLog();
    ASSERT_EQ(log.size(), kWindowOrder.size());
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i], QString::fromLatin1(kWindowOrder[i].className));
        QWidget* w = program->Window(log[i]);
        ASSERT_NE(w, nullptr) << log[i].toStdString();
        if (log[i] != QLatin1String("TForm6")) {
            EXPECT_EQ(w->windowTitle(), QString::fromUtf8(kWindowOrder[i].caption))
                << log[i].toStdString();
        }
    }
    EXPECT_EQ(program->Window(QStringLiteral("TForm3")), program->Viewer());
    EXPECT_FALSE(program->Viewer()->isVisible());
}

TEST_F(ProgramTest, WithoutSettingsTheLibraryOffersReadingOnly)
{
    Start();
    TForm6* library = program->Library();
    EXPECT_EQ(library->windowTitle(), QStringLiteral("ピモコプレーヤー ver1.26"));
    EXPECT_TRUE(library->PlayerMode());
    for (QPushButton* b :
        { library->BitBtn1, library->BitBtn3, library->BitBtn5, library->BitBtn6 }) {
        EXPECT_FALSE(b->isVisible()) << b->text().toStdString();
    }
    EXPECT_TRUE(library->BitBtn2->isVisible());
    EXPECT_TRUE(library->BitBtn4->isVisible());
    EXPECT_FALSE(library->EditMenuItem->isEnabled());
    EXPECT_FALSE(library->RemoveMenuItem->isEnabled());
    EXPECT_TRUE(library->ReadMenuItem->isEnabled());
}

TEST_F(ProgramTest, WithSettingsEveryButtonIsThere)
{
    WriteSettingsFile();
    Start();
    TForm6* library = program->Library();
    EXPECT_EQ(library->windowTitle(), QStringLiteral("ピモコ ver1.26"));
    for (QPushButton* b : { library->BitBtn1, library->BitBtn2, library->BitBtn3, library->BitBtn4,
             library->BitBtn5, library->BitBtn6 }) {
        EXPECT_TRUE(b->isVisible()) << b->text().toStdString();
    }
    EXPECT_EQ(library->BitBtn3->toolTip(),
        QStringLiteral("リストから削除しますが元のファイルは消えません"));
}

TEST_F(ProgramTest, ReadingAListedBookPlaysItToItsFirstWait)
{
    WriteSettingsFile();
    ListBook();
    Start();
    TForm6* library = program->Library();
    ASSERT_EQ(library->BookListBox->count(), 1);
    EXPECT_EQ(library->BookListBox->item(0)->text(), QStringLiteral("きつねの本"));

    QTest::mouseClick(library->BitBtn2, Qt::LeftButton);
    EXPECT_FALSE(program->LibraryState().IsBusy()) << "nothing selected: nothing to read";

    library->Select(0);
    QTest::mouseClick(library->BitBtn2, Qt::LeftButton);
    EXPECT_TRUE(program->LibraryState().IsBusy());
    // While the book plays, the library's own actions are shut out.
    library->close();
    EXPECT_TRUE(library->isVisible());

    clock.RunUntilIdle();
    EXPECT_FALSE(program->LibraryState().IsBusy());
    EXPECT_EQ(program->Book().CurrentPage, 3);
    TForm3* viewer = program->Viewer();
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("きつねの本"));
    EXPECT_TRUE(viewer->Bitbtn1->isVisible());
    // The page's fill is on the picture.
    EXPECT_EQ(viewer->State().Picture().pixelColor(2, 2), QColor(0x10, 0x20, 0x40));
}

TEST_F(ProgramTest, InPlayerModeEnterReadsTheFirstBook)
{
    ListBook();
    Start();
    TForm6* library = program->Library();
    ASSERT_EQ(library->Selected(), -1);
    QTest::keyClick(library->BookListBox, Qt::Key_Return);
    EXPECT_EQ(library->Selected(), 0);
    clock.RunUntilIdle();
    EXPECT_EQ(program->Book().CurrentPage, 3);
    EXPECT_TRUE(program->Viewer()->isVisible());
}

TEST_F(ProgramTest, OptionsCancelKeepsTheModeAndOkSetsFullScreenForTheViewer)
{
    WriteSettingsFile();
    ListBook();
    Start();
    TForm6* library = program->Library();
    QTest::mouseClick(library->BitBtn4, Qt::LeftButton);
    TForm4* options = program->Options();
    ASSERT_TRUE(options->isVisible());
    EXPECT_EQ(options->pos(), library->frameGeometry().topLeft());

    options->FullScreenRadio->setChecked(true);
    QTest::mouseClick(options->CancelButton, Qt::LeftButton);
    EXPECT_FALSE(options->isVisible());
    EXPECT_FALSE(program->Session().FullScreenCheckBox);
    EXPECT_TRUE(options->WindowRadio->isChecked());

    QTest::mouseClick(library->BitBtn4, Qt::LeftButton);
    options->FullScreenRadio->setChecked(true);
    QTest::mouseClick(options->OkButton, Qt::LeftButton);
    EXPECT_TRUE(program->Session().FullScreenCheckBox);

    library->Select(0);
    library->ReadBook(true);
    clock.RunUntilIdle();
    EXPECT_TRUE(program->Viewer()->State().fullScreen);
    EXPECT_FALSE(program->Viewer()->Panel2->isVisible());
}

TEST_F(ProgramTest, ClosingTheLibrarySavesTheListAndEndsTheLoop)
{
    WriteSettingsFile();
    ListBook();
    Start();
    TForm6* library = program->Library();
    // A listed book whose file went away shows the missing-file text, but the list keeps
    // the title it had (the book may come back, say on a drive plugged in later).
    QFile::remove(File(QStringLiteral("BOOKS/b/b.pmk")));
    library->RefreshTitles();
    EXPECT_EQ(
        library->BookListBox->item(0)->text(), QStringLiteral("（ファイルが見つかりません）"));
    EXPECT_TRUE(library->close());
    QStringList lines;
    ASSERT_TRUE(ReadLineFile(File(QStringLiteral("PBooklst.dat")), &lines));
    EXPECT_EQ(lines.value(1), QStringLiteral("きつねの本"));
}

TEST_F(ProgramTest, OpenInEditorShowsTheSelectedBookAtItsFirstPage)
{
    WriteSettingsFile();
    ListBook();
    Start();
    TForm6* library = program->Library();
    library->Select(0);
    QTest::mouseClick(library->BitBtn5, Qt::LeftButton);
    TForm2* editor = program->Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("ピモコエディタ"));
    EXPECT_EQ(editor->BookTitleEdit->text(), QStringLiteral("きつねの本"));
    EXPECT_EQ(editor->PageLabel->text(), QStringLiteral("1"));
    EXPECT_EQ(editor->Edit4->text(), QStringLiteral("ページ1"));
    EXPECT_EQ(editor->Memo1->toPlainText(), QStringLiteral("いち"));
    EXPECT_EQ(library->Selected(), -1) << "the entry is deselected once the book is open";

    // The title list's choice in editor mode keeps the edit of the page being left.
    editor->Memo1->setPlainText(QStringLiteral("いちばん"));
    program->ChoosePage(2, false);
    EXPECT_EQ(program->Book().Page(1).TextLines, QStringList { QStringLiteral("いちばん") });
    EXPECT_EQ(editor->PageLabel->text(), QStringLiteral("2"));
    EXPECT_EQ(editor->Memo1->toPlainText(), QStringLiteral("に"));
}

TEST_F(ProgramTest, TextSettingsOpenFromTheEditorOnItsPage)
{
    OpenListedBookInEditor();
    QTest::mouseClick(program->Editor()->SetTextBitBtn, Qt::LeftButton);
    auto* form1 = qobject_cast<TForm1*>(program->Window(QStringLiteral("TForm1")));
    ASSERT_NE(form1, nullptr);
    EXPECT_TRUE(form1->isVisible());
    EXPECT_EQ(form1->Memo1->toPlainText(), QStringLiteral("いち"));
    program->Book().Modified = false;
    QTest::mouseClick(form1->Button6, Qt::LeftButton);
    EXPECT_FALSE(form1->isVisible());
    EXPECT_TRUE(program->Book().Modified);
}

TEST_F(ProgramTest, EffectsClipAndBookOptionsOpenFromTheEditor)
{
    OpenListedBookInEditor();
    TForm2* editor = program->Editor();
    const struct {
        QPushButton* button;
        const char* window;
    } openings[] = {
        { editor->BitBtn6, "TForm10" },
        { editor->ClipBitBtn, "TForm7" },
        { editor->OptionButton, "TForm11" },
    };
    ASSERT_TRUE(WriteBmp24(File(QStringLiteral("BOOKS/b/clip.bmp")), NewBitmap24(20, 10)));
    prompt.fileNames = { File(QStringLiteral("BOOKS/b/clip.bmp")) };
    for (const auto& o : openings) {
        SCOPED_TRACE(o.window);
        QWidget* window = program->Window(QString::fromLatin1(o.window));
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->metaObject()->className(), "pimoko::" + std::string(o.window));
        QTest::mouseClick(o.button, Qt::LeftButton);
        EXPECT_TRUE(window->isVisible());
        window->hide();
    }
    auto* form11 = qobject_cast<TForm11*>(program->Window(QStringLiteral("TForm11")));
    EXPECT_EQ(form11->CurrentFilePathLabel->text(), program->Book().BookFilePath);
}

// A book made from nothing in the editor is saved (auto-saved into a dated folder and
// listed), the program closed, and the book opened again from the library: it reads back
// as it was written.
TEST_F(ProgramTest, ABookMadeInTheEditorReadsBackAfterARestart)
{
    WriteSettingsFile();
    WriteLineFile(File(QStringLiteral("PBooklst.dat")), { kBookListHeader });
    QDir(dir.path()).mkdir(QStringLiteral("BOOKS"));
    Start();
    QTest::mouseClick(program->Library()->BitBtn6, Qt::LeftButton);
    TForm2* editor = program->Editor();
    ASSERT_TRUE(editor->isVisible());
    editor->BookTitleEdit->selectAll();
    QInputMethodEvent typed; // what an input method hands over once the author commits
    typed.setCommitString(QStringLiteral("はじめての本"));
    QCoreApplication::sendEvent(editor->BookTitleEdit, &typed);
    QTest::keyClicks(editor->Edit4, QStringLiteral("first"));
    editor->Memo1->setPlainText(QStringLiteral("むかしむかし"));
    QTest::mouseClick(editor->BitBtn3, Qt::LeftButton); // next page
    EXPECT_EQ(editor->PageLabel->text(), QStringLiteral("2"));
    editor->Memo1->setPlainText(QStringLiteral("おしまい"));
    editor->SaveBitBtnClick();
    const QString saved = program->Book().BookFilePath;
    ASSERT_FALSE(saved.isEmpty()) << prompt.Texts().join(QLatin1Char('\n')).toStdString();
    const QStringList written = program->Book().BookFileLines();
    EXPECT_EQ(program->Book().Page(1).TextLines, QStringList { QStringLiteral("むかしむかし") });
    EXPECT_EQ(program->Book().Page(2).TextLines, QStringList { QStringLiteral("おしまい") });
    EXPECT_EQ(program->Book().Page(1).CharDelays[5], 100) << "new text takes the default speed";
    EXPECT_TRUE(program->Library()->close());
    program.reset();

    Start();
    TForm6* library = program->Library();
    ASSERT_EQ(library->BookListBox->count(), 1);
    EXPECT_EQ(library->BookListBox->item(0)->text(), QStringLiteral("はじめての本"));
    library->Select(0);
    QTest::mouseClick(library->BitBtn5, Qt::LeftButton);
    EXPECT_EQ(program->Book().BookFilePath, saved);
    EXPECT_EQ(program->Book().BookFileLines(), written);
    EXPECT_EQ(program->Editor()->Memo1->toPlainText(), QStringLiteral("むかしむかし"));
}

// 配布ファイル作成 on a saved book opens the distribution window centred over the editor,
// and its OK builds the open book's archive through the session.
TEST_F(ProgramTest, DistributionOpensOverTheEditorAndBuildsTheOpenBook)
{
    OpenListedBookInEditor();
    TForm2* editor = program->Editor();
    QTest::mouseClick(editor->WriteBitBtn, Qt::LeftButton);
    auto* form5 = qobject_cast<TForm5*>(program->Window(QStringLiteral("TForm5")));
    ASSERT_NE(form5, nullptr);
    EXPECT_TRUE(form5->isVisible());
    const QRect e = editor->frameGeometry();
    EXPECT_EQ(form5->pos(),
        QPoint(e.left() + (e.width() - form5->width()) / 2,
            e.top() + (e.height() - form5->height()) / 2));

    const QString archive = File(QStringLiteral("b.lzh"));
    prompt.fileNames = { archive };
    QTest::mouseClick(form5->Button1, Qt::LeftButton);
    EXPECT_TRUE(QFileInfo(archive).isFile()) << prompt.LastText().toStdString();
    EXPECT_FALSE(form5->isVisible());
}

// The system asks the program to end while the editor holds unsaved work: nothing is
// asked, the work goes to its recovery copy.
TEST_F(ProgramTest, TerminationAsksNothingAndKeepsTheUnsavedBook)
{
    OpenListedBookInEditor();
    program->Editor()->Memo1->setPlainText(QStringLiteral("かきかえた"));
    ASSERT_TRUE(program->Book().Modified);
    const int asked = prompt.Texts().size();
    program->Terminate();
    EXPECT_EQ(prompt.Texts().size(), asked) << prompt.Texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(QFile::exists(File(QStringLiteral("BOOKS/b/b.recovered.pmk"))));
}

} // namespace
} // namespace pimoko

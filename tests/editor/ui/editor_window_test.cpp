#include "tests/editor/ui/editor_window_fixture.h"

#include "editor/editor_layout.h"
#include "editor/ui/editor_preview.h"
#include "platform/bitmap.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace pimoko {
namespace {

using test::EditorWindowTest;

TEST_F(EditorWindowTest, ShowsItsControlsOnANewBook)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ピモコエディタ"));
    EXPECT_EQ(window->minimumSize(), QSize(716, 554));
    EXPECT_EQ(window->size(), QSize(716, 554));
    EXPECT_EQ(window->Label1->text(), QStringLiteral("作品名"));
    EXPECT_EQ(window->BookTitleEdit->text(), QStringLiteral("新規ピモコ"));
    EXPECT_EQ(window->PageLabel->text(), QStringLiteral("1"));
    EXPECT_EQ(window->Memo1->toolTip(), QStringLiteral("文章を変更すると速度はリセットされます"));
    EXPECT_EQ(window->Edit4->palette().color(QPalette::Text), QColor(0, 0, 128));
    EXPECT_EQ(window->PicturePanel->title(), QStringLiteral("画像設定"));
    EXPECT_EQ(window->SoundPanel->title(), QStringLiteral("開始サウンド"));
    EXPECT_EQ(window->EffectsPanel->title(), QStringLiteral("このページの特殊効果、設定"));
    EXPECT_EQ(window->DrawModeLabel->text(), QStringLiteral("このページを直接画面に書く"));
    EXPECT_EQ(window->DrawModeImage->pixmap().size(), QSize(32, 32));

    const struct {
        QPushButton* button;
        const char* caption;
    } buttons[] = {
        { window->LoadPicBitBtn, "画像読込み" },
        { window->FillPaintBitBtn, "ぬりつぶす" },
        { window->Button10, "クリア" },
        { window->ClipBitBtn, "クリップ設定" },
        { window->LoadSoundBitBtn, "サウンド読込み" },
        { window->Button13, "サウンドなし" },
        { window->Button12, "試聴" },
        { window->Button1, "試聴止め" },
        { window->SetTextBitBtn, "テキスト設定" },
        { window->BitBtn6, "特殊設定" },
        { window->OptionButton, "編集オプション" },
        { window->BitBtn5, "見出し" },
        { window->DeleteBitBtn, "削除" },
        { window->ReadBitBtn, "再生" },
        { window->SaveBitBtn, "保存" },
        { window->SaveAsBitBtn, "名前を付けて保存" },
        { window->WriteBitBtn, "配布ファイル作成" },
        { window->WebBitBtn, "Web用に書き出す…" },
        { window->PrevNewPageBitBtn, "前に挿入" },
        { window->NextNewPageBitBtn, "後に挿入" },
        { window->OpenBitBtn, "開く" },
        { window->BitBtn2, "" },
        { window->BitBtn3, "" },
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.caption);
        EXPECT_EQ(b.button->text(), QString::fromUtf8(b.caption));
        EXPECT_FALSE(b.button->toolTip().isEmpty());
        EXPECT_FALSE(b.button->icon().isNull());
        EXPECT_TRUE(b.button->isVisible());
    }
    EXPECT_EQ(window->PrevNewPageBitBtn->toolTip(),
        QStringLiteral("このページの手前にページを挿入します。"));
    EXPECT_EQ(window->NextNewPageBitBtn->toolTip(),
        QStringLiteral("このページの後にページを挿入します。"));
    EXPECT_EQ(window->WriteBitBtn->toolTip(),
        QStringLiteral("配布をするために必要なファイルを作ります。"));
}

TEST_F(EditorWindowTest, DialogsAskWithTheirTitlesAndFilters)
{
    const struct {
        QPushButton* button;
        ScriptedPromptPort::Shown::Kind kind;
        const char* title;
        const char* filter;
    } cases[] = {
        { window->LoadPicBitBtn, ScriptedPromptPort::Shown::OpenDialog, "背景画像を開く",
            "画像(*.bmp/*.jpg)|*.bmp;*.jpg" },
        { window->LoadSoundBitBtn, ScriptedPromptPort::Shown::OpenDialog, "サウンドファイルを開く",
            "サウンドファイル(*.wav/*.mid)|*.wav;*.mid" },
        { window->OpenBitBtn, ScriptedPromptPort::Shown::OpenDialog, "ピモコファイルを開く",
            "ピモコファイル(pmk)|*.pmk" },
        { window->SaveAsBitBtn, ScriptedPromptPort::Shown::SaveDialog, "ピモコファイルの保存",
            "ピモコファイル(pmk)|*.pmk" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        prompt.shown.clear();
        QTest::mouseClick(c.button, Qt::LeftButton);
        ASSERT_FALSE(prompt.shown.empty());
        EXPECT_EQ(prompt.shown.front().what, c.kind);
        EXPECT_EQ(prompt.shown.front().caption, QString::fromUtf8(c.title));
        EXPECT_EQ(prompt.shown.front().text, QString::fromUtf8(c.filter));
    }
}

TEST_F(EditorWindowTest, PictureAndSoundButtonsReachThePageAndShowIt)
{
    const QString picture = tmp.file(QStringLiteral("mori.bmp"));
    QImage red = NewBitmap24(640, 480);
    red.fill(QColor(200, 0, 0));
    ASSERT_TRUE(WriteBmp24(picture, red));
    EXPECT_TRUE(window->ImageInfoLabel->isVisible());

    prompt.fileNames = { picture };
    QTest::mouseClick(window->LoadPicBitBtn, Qt::LeftButton);
    EXPECT_EQ(book.Page(1).PictureFile, picture);
    EXPECT_EQ(window->Label7->text(), QStringLiteral("mori.bmp"));
    EXPECT_FALSE(window->ImageInfoLabel->isVisible());
    EXPECT_EQ(editor->Preview().pixelColor(320, 240), QColor(200, 0, 0));

    prompt.colors = { 0x00FF0000 }; // blue, 0x00BBGGRR
    QTest::mouseClick(window->FillPaintBitBtn, Qt::LeftButton);
    EXPECT_TRUE(book.Page(1).FillImage);
    EXPECT_EQ(window->Label7->text(), QStringLiteral("背景塗りつぶし"));
    EXPECT_EQ(editor->Preview().pixelColor(10, 10), QColor(0, 0, 255));

    QTest::mouseClick(window->Button10, Qt::LeftButton);
    EXPECT_FALSE(book.Page(1).FillImage);
    EXPECT_TRUE(window->Label7->text().isEmpty());

    const QString tune = tmp.file(QStringLiteral("kaze.WAV"));
    test::WriteFile(tune, "RIFF");
    prompt.fileNames = { tune };
    QTest::mouseClick(window->LoadSoundBitBtn, Qt::LeftButton);
    EXPECT_EQ(window->SoundPathLabel->text(), QStringLiteral("kaze.WAV"));
    QTest::mouseClick(window->RepeatSoundCheckBox, Qt::LeftButton);
    QTest::mouseClick(window->Button12, Qt::LeftButton);
    QTest::mouseClick(window->Button1, Qt::LeftButton);
    EXPECT_EQ(sound.calls,
        QStringList(
            { QStringLiteral("stop"), QStringLiteral("loop:") + tune, QStringLiteral("stop") }));
    QTest::mouseClick(window->Button13, Qt::LeftButton);
    EXPECT_TRUE(window->SoundPathLabel->text().isEmpty());
    EXPECT_TRUE(editor->SoundFile.isEmpty());

    QTest::mouseClick(window->BitBtn5, Qt::LeftButton);
    EXPECT_EQ(titleList.shownForEditing, 1);
    QTest::mouseClick(window->SetTextBitBtn, Qt::LeftButton); // no text yet: nothing
    Commit(window->Memo1, QStringLiteral("あ"));
    QTest::mouseClick(window->SetTextBitBtn, Qt::LeftButton);
    QTest::mouseClick(window->BitBtn6, Qt::LeftButton);
    QTest::mouseClick(window->OptionButton, Qt::LeftButton);
    QTest::mouseClick(window->Image1, Qt::LeftButton);
    EXPECT_EQ(others.opened,
        QStringList({ QStringLiteral("text"), QStringLiteral("effects"), QStringLiteral("options"),
            QStringLiteral("paint:") }));
    QTest::mouseClick(window->ReadBitBtn, Qt::LeftButton);
    EXPECT_EQ(peers.plays, 1);
    // A book never saved cannot be distributed yet.
    QTest::mouseClick(window->WriteBitBtn, Qt::LeftButton);
    EXPECT_EQ(peers.distributions, 0);
    EXPECT_EQ(
        prompt.LastText(), QStringLiteral("配布ファイルを作成する前にファイルを保存して下さい"));
    book.BookFilePath = tmp.file(QStringLiteral("mori.pmk"));
    QTest::mouseClick(window->WriteBitBtn, Qt::LeftButton);
    EXPECT_EQ(peers.distributions, 1);
}

TEST_F(EditorWindowTest, PageButtonsStepThroughTheBookAndShowEachPage)
{
    QTest::mouseClick(window->BitBtn2, Qt::LeftButton); // previous on page 1: nothing
    EXPECT_EQ(window->PageLabel->text(), QStringLiteral("1"));

    QTest::mouseClick(window->BitBtn3, Qt::LeftButton);
    EXPECT_EQ(window->PageLabel->text(), QStringLiteral("2"));
    EXPECT_TRUE(book.Page(2).InUse); // moving onto a free slot makes a page there
    EXPECT_TRUE(window->Memo1->toPlainText().isEmpty());

    TNovelPage& p1 = book.Page(1);
    p1.Title = QStringLiteral("はじまり");
    p1.TextLines = { QStringLiteral("むかしむかし"), QStringLiteral("あるところに") };
    p1.WriteAll = true;
    p1.Period = true;
    QTest::mouseClick(window->BitBtn2, Qt::LeftButton);
    EXPECT_EQ(window->PageLabel->text(), QStringLiteral("1"));
    EXPECT_EQ(window->Edit4->text(), QStringLiteral("はじまり"));
    EXPECT_EQ(window->Memo1->toPlainText(), QStringLiteral("むかしむかし\nあるところに"));
    EXPECT_TRUE(window->WriteAllCheckBox->isChecked());
    EXPECT_TRUE(window->PeriodCheckBox->isChecked());

    // The insertion buttons insert an empty page while there is no insertion window.
    QTest::mouseClick(window->PrevNewPageBitBtn, Qt::LeftButton);
    EXPECT_EQ(book.Page(2).Title, QStringLiteral("はじまり"));
    EXPECT_TRUE(window->Edit4->text().isEmpty());
    EXPECT_TRUE(window->Memo1->toPlainText().isEmpty());

    prompt.answers = { Answer::Yes };
    QTest::mouseClick(window->DeleteBitBtn, Qt::LeftButton);
    EXPECT_EQ(window->Edit4->text(), QStringLiteral("はじまり"));
}

TEST_F(EditorWindowTest, CheckBoxesMarkModifiedWhenTheMouseGoesDown)
{
    book.Modified = false;
    window->ShowState();
    EXPECT_FALSE(book.Modified);

    const struct {
        QCheckBox* box;
        bool* field;
    } boxes[] = {
        { window->WriteAllCheckBox, &editor->WriteAllCheckBox },
        { window->RepeatSoundCheckBox, &editor->RepeatSoundCheckBox },
        { window->StopSoundCheckBox, &editor->StopSoundCheckBox },
        { window->PeriodCheckBox, &editor->PeriodCheckBox },
    };
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.box->text().toStdString());
        book.Modified = false;
        QTest::mousePress(b.box, Qt::LeftButton);
        EXPECT_TRUE(book.Modified);
        EXPECT_FALSE(*b.field);
        QTest::mouseRelease(b.box, Qt::LeftButton);
        EXPECT_TRUE(b.box->isChecked());
        EXPECT_TRUE(*b.field);
    }
    // The period box stores the page with the state its click gives.
    EXPECT_TRUE(book.Page(1).Period);

    // The space bar flips a box too, and counts as well.
    book.Modified = false;
    window->WriteAllCheckBox->setFocus();
    QTest::keyClick(window->WriteAllCheckBox, Qt::Key_Space);
    EXPECT_TRUE(book.Modified);
    EXPECT_FALSE(editor->WriteAllCheckBox);
}

TEST_F(EditorWindowTest, BusyFlagKeepsTheHandlersOut)
{
    ASSERT_TRUE(busy.TryTake());
    book.Modified = false;
    QTest::mouseClick(window->BitBtn3, Qt::LeftButton);
    QTest::mouseClick(window->WriteAllCheckBox, Qt::LeftButton);
    QTest::mouseClick(window->ReadBitBtn, Qt::LeftButton);
    QTest::mouseClick(window->OpenBitBtn, Qt::LeftButton);
    QTest::mouseClick(window->PrevNewPageBitBtn, Qt::LeftButton);
    QTest::mouseClick(window->WebBitBtn, Qt::LeftButton);
    EXPECT_EQ(window->PageLabel->text(), QStringLiteral("1"));
    EXPECT_FALSE(window->WriteAllCheckBox->isChecked());
    EXPECT_FALSE(book.Page(2).InUse);
    EXPECT_FALSE(book.Modified);
    EXPECT_EQ(peers.plays, 0);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    busy.Release();

    QTest::mouseClick(window->BitBtn3, Qt::LeftButton);
    EXPECT_EQ(window->PageLabel->text(), QStringLiteral("2"));
}

// The web edition takes the page as the memo shows it, before it was stored.
TEST_F(EditorWindowTest, WebButtonWritesTheBookAsTheWindowShowsIt)
{
    Commit(window->Memo1, QStringLiteral("うぇぶ"));
    prompt.fileNames = { tmp.file("web") };
    QTest::mouseClick(window->WebBitBtn, Qt::LeftButton);
    const QByteArray json = test::ReadAll(tmp.file("web/book.json"));
    EXPECT_TRUE(json.contains("うぇぶ")) << json.left(400).constData();
    EXPECT_TRUE(QFileInfo(tmp.file("web/index.html")).isFile());
    EXPECT_TRUE(prompt.LastText().startsWith(QStringLiteral("Web用に書き出しました")))
        << qPrintable(prompt.LastText());
}

TEST_F(EditorWindowTest, CloseStoresAsksAndKeepsTheWindowOnCancel)
{
    Commit(window->Memo1, QStringLiteral("おしまい"));
    ASSERT_TRUE(book.Modified);

    prompt.answers = { Answer::Cancel };
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(book.Page(1).TextLines, QStringList({ QStringLiteral("おしまい") }));
    EXPECT_EQ(prompt.LastText(), QStringLiteral("絵本が変更されています。保存しますか？"));
    EXPECT_EQ(peers.settingsWrites, 0);

    prompt.answers = { Answer::No };
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(peers.settingsWrites, 1);
}

TEST_F(EditorWindowTest, LayoutFollowsTheWindowSize)
{
    for (const QSize size : { QSize(716, 554), QSize(1000, 760), QSize(1600, 560) }) {
        SCOPED_TRACE(size.width());
        window->resize(size);
        QApplication::processEvents();
        const EditorLayout expected = ComputeEditorLayout(window->Panel1->size());
        EXPECT_EQ(window->Panel3->geometry(), expected.panel3);
        EXPECT_EQ(window->Panel4->geometry(), expected.panel4);
        EXPECT_EQ(window->Image1->geometry(), expected.image);
        EXPECT_EQ(window->Bevel6->geometry(), expected.bevel);
        // Everything under the preview stays under it and inside its panel.
        const QRect panel(QPoint(0, 0), window->Panel3->size());
        for (QWidget* w :
            { static_cast<QWidget*>(window->Label7), static_cast<QWidget*>(window->BitBtn2),
                static_cast<QWidget*>(window->BitBtn3), static_cast<QWidget*>(window->PageLabel),
                static_cast<QWidget*>(window->DeleteBitBtn),
                static_cast<QWidget*>(window->PrevNewPageBitBtn) }) {
            EXPECT_TRUE(panel.contains(w->geometry()));
            EXPECT_GT(w->geometry().top(), expected.bevel.bottom());
        }
        // The settings fit their panel.
        EXPECT_LE(window->Panel4->minimumSizeHint().height(), window->Panel4->height());
        EXPECT_LE(window->Panel4->minimumSizeHint().width(), window->Panel4->width());
    }
}

} // namespace
} // namespace pimoko

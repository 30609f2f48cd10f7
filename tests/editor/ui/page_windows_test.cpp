#include "tests/editor/ui/editor_window_fixture.h"

#include "editor/ui/book_options_window.h"
#include "editor/ui/clip_window.h"
#include "editor/ui/effects_window.h"
#include "editor/ui/goto_page_picker.h"
#include "platform/bitmap.h"
#include "platform/numbers.h"
#include "player/compositor_pages.h"
#include "player/playback_headless.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace pimoko {
namespace {

constexpr QRgb kRed = 0xffff0000;

// The editor window with the clip, effects and book options windows as its ports, wired
// as the program wires them.
class PageWindowsTest : public test::EditorWindowTest {
protected:
    PageWindowsTest()
        : form7(*editor)
        , form10(*editor, prompt, busy)
        , form11(*editor)
        , picker(book, &form10)
    {
        form10.SetEditorWindow(window.get());
        form10.SetGotoPicker(&picker);
        form11.SetEditorWindow(window.get());
        EditorPorts ports;
        ports.titleList = &titleList;
        ports.sound = &sound;
        ports.clipSettings = &form7;
        ports.effects = &form10;
        ports.bookOptions = &form11;
        window->SetPorts(ports);
    }

    // A width x height picture, white (a clip's key colour) with a red middle.
    QString WritePicture(const QString& name, int width, int height)
    {
        QImage picture = NewBitmap24(width, height);
        picture.fill(Qt::white);
        for (int y = height / 4; y < height * 3 / 4; ++y)
            for (int x = width / 4; x < width * 3 / 4; ++x)
                picture.setPixel(x, y, kRed);
        EXPECT_TRUE(WriteBmp24(tmp.file(name), picture));
        return tmp.file(name);
    }

    static void Deactivate(QWidget* w)
    {
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(w, &deactivate);
    }

    TForm7 form7;
    TForm10 form10;
    TForm11 form11;
    TGotoPagePicker picker;
};

TEST_F(PageWindowsTest, EffectsWindowShowsThePanelOfItsModeAndAppliesOnOk)
{
    window->BitBtn6->click();
    ASSERT_TRUE(form10.isVisible());
    EXPECT_EQ(form10.windowTitle(), QStringLiteral("特殊効果、設定"));
    const QRect frame = window->frameGeometry();
    EXPECT_EQ(form10.pos(), QPoint(frame.left() + frame.width() / 2, frame.top() + 50));
    EXPECT_EQ(
        form10.SpeedButton1->text(), QStringLiteral("このページを直接画面に書く （ふつうの表示）"));
    EXPECT_EQ(form10.SpeedButton3->toolTip(),
        QStringLiteral("見えない画面（スケッチ）に書き込んだ画像を表示します。"));
    EXPECT_TRUE(form10.SpeedButton1->isChecked());
    EXPECT_TRUE(form10.Panel1->isVisible());
    EXPECT_FALSE(form10.Panel3->isVisible());
    EXPECT_FALSE(form10.Edit1->isVisible());
    EXPECT_FALSE(form10.RadioGroup2->isVisible());
    EXPECT_FALSE(form10.Edit1->testAttribute(Qt::WA_InputMethodEnabled));

    form10.SpeedButton2->click();
    EXPECT_FALSE(form10.Panel1->isVisible() || form10.Panel3->isVisible());
    form10.SpeedButton3->click();
    EXPECT_TRUE(form10.Panel3->isVisible());
    EXPECT_FALSE(form10.Panel1->isVisible());
    form10.RadioGroup3Fade->click();
    EXPECT_TRUE(form10.Edit3->isVisible());
    EXPECT_TRUE(form10.Label3->isVisible());
    ASSERT_EQ(form10.PopupMenu1->actions().size(), 5);
    EXPECT_EQ(form10.PopupMenu1->actions()[4]->text(), QStringLiteral("速い"));
    form10.PopupMenu1->actions()[4]->trigger();
    EXPECT_EQ(form10.Edit1->text(), QStringLiteral("15"));
    EXPECT_EQ(form10.Edit3->text(), QStringLiteral("15"));

    form10.Button1->click();
    EXPECT_FALSE(form10.isVisible());
    EXPECT_TRUE(book.Modified);
    EXPECT_EQ(
        window->DrawModeLabel->text(), QStringLiteral("このページでスケッチを画面に表示する"));
    EXPECT_EQ(window->EffectInfoLabel->text(),
        QStringLiteral("スケッチは徐々に表示される  スピード = 15"));

    // Put away by a click elsewhere: nothing applied.
    window->BitBtn6->click();
    EXPECT_TRUE(form10.SpeedButton3->isChecked());
    form10.SpeedButton1->click();
    Deactivate(&form10);
    EXPECT_FALSE(form10.isVisible());
    EXPECT_TRUE(editor->FlipBackBufferCheckBox);

    // A speed that is no number: the conversion error, the window stays up.
    window->BitBtn6->click();
    form10.SpeedButton1->click();
    form10.Edit1->clear();
    QTest::keyClicks(form10.Edit1, QStringLiteral("1x"));
    EXPECT_THROW(form10.Button1Click(), EConvertError);
    EXPECT_TRUE(form10.isVisible());
    EXPECT_EQ(editor->EffectWaitEdit, QStringLiteral("15"));
}

TEST_F(PageWindowsTest, GotoPickerSetsTheNextPageUnlessTheTextLinks)
{
    for (int n = 2; n <= 3; ++n) {
        window->BitBtn3->click();
        editor->Edit4 = QString::number(n);
    }
    editor->StorePage();
    editor->ShowPage(1);

    window->BitBtn6->click();
    ASSERT_TRUE(form10.LinkBitBtn->isEnabled());
    form10.LinkBitBtn->click();
    ASSERT_TRUE(picker.isVisible());
    ASSERT_EQ(picker.PageListBox->count(), 3);
    EXPECT_EQ(picker.PageListBox->item(2)->text(), QStringLiteral("  3:3"));
    picker.PageListBox->setCurrentRow(2);
    picker.Button1->click();
    EXPECT_FALSE(picker.isVisible());
    EXPECT_TRUE(form10.isVisible());
    EXPECT_EQ(form10.NextPageLabel->text(), QStringLiteral("3ページへ進む"));
    form10.Button1->click();
    EXPECT_EQ(book.Page(1).GotoPage, 3);

    // "リンクなし" and a cancelled pick.
    window->BitBtn6->click();
    form10.LinkBitBtn->click();
    picker.Button2->click();
    EXPECT_EQ(form10.NextPageLabel->text(), QStringLiteral("3ページへ進む"));
    form10.LinkBitBtn->click();
    picker.ClearLinkButton->click();
    EXPECT_TRUE(form10.NextPageLabel->text().isEmpty());

    editor->LinkPage = 2;
    form10.LinkBitBtn->click();
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(prompt.LastText(),
        QStringLiteral("テキストのリンクがすでに設定されているので使用できません"));
}

TEST_F(PageWindowsTest, ClipWindowPlacesTheClipWhereClickedAndOnlyDecidingKeepsIt)
{
    editor->PictureFile = WritePicture(QStringLiteral("clip.bmp"), 100, 60);
    window->ClipBitBtn->click();
    ASSERT_TRUE(form7.isVisible());
    EXPECT_EQ(form7.windowTitle(), QStringLiteral("クリップ設定"));
    EXPECT_TRUE(form7.CheckBox1->isChecked());
    EXPECT_EQ(form7.Image1->size(), QSize(640, 480));

    QTest::mouseClick(form7.Image1, Qt::RightButton, {}, QPoint(10, 10));
    form7.Button2->click();
    EXPECT_FALSE(form7.isVisible());
    EXPECT_FALSE(book.Page(1).ClipMode);
    EXPECT_EQ(book.Page(1).ClipX, 0);

    window->ClipBitBtn->click();
    QTest::mouseClick(form7.Image1, Qt::LeftButton, {}, QPoint(320, 240));
    EXPECT_EQ(form7.Settings().ClipLeft(), 270);
    EXPECT_EQ(form7.Settings().ClipTop(), 210);
    form7.CheckBox1->click();
    EXPECT_EQ(form7.Settings().View().pixel(271, 211) | 0xff000000, 0xffffffffu);
    form7.Button1->click();
    EXPECT_FALSE(form7.isVisible());
    EXPECT_TRUE(book.Page(1).ClipMode);
    EXPECT_EQ(book.Page(1).ClipX, 270);
    EXPECT_EQ(book.Page(1).ClipY, 210);
    EXPECT_FALSE(book.Page(1).ClipTransparent);
    EXPECT_EQ(window->Label7->text(), QStringLiteral("クリップ画像"));
}

TEST_F(PageWindowsTest, BookOptionsWindowRewritesTheDefaultFadeWait)
{
    window->OptionButton->click();
    ASSERT_TRUE(form11.isVisible());
    EXPECT_EQ(form11.windowTitle(), QStringLiteral("絵本オプション"));
    EXPECT_EQ(form11.size(), QSize(552, 218));
    EXPECT_EQ(form11.pos(), window->frameGeometry().topLeft());
    EXPECT_EQ(form11.CurrentFilePathLabel->text(), QStringLiteral("ファイルが保存されていない"));
    EXPECT_TRUE(form11.CurrentFilePathLabel->isReadOnly());
    EXPECT_FALSE(form11.EscPanel->isVisible());

    form11.DefaultEffectWaitEdit->clear();
    QTest::keyClicks(form11.DefaultEffectWaitEdit, QStringLiteral("050"));
    form11.OkButton->click();
    EXPECT_FALSE(form11.isVisible());
    EXPECT_EQ(editor->DefaultEffectWaitEdit(), QStringLiteral("50"));

    window->OptionButton->click();
    EXPECT_EQ(form11.DefaultEffectWaitEdit->text(), QStringLiteral("50"));
    form11.PopupMenu1->actions()[0]->trigger();
    EXPECT_EQ(form11.DefaultEffectWaitEdit->text(), QStringLiteral("300"));
    Deactivate(&form11);
    EXPECT_FALSE(form11.isVisible());
    EXPECT_EQ(editor->DefaultEffectWaitEdit(), QStringLiteral("50"));
}

// Pages set through the windows, saved, loaded again and played without a screen.
TEST_F(PageWindowsTest, ABookSetThroughTheWindowsPlaysAsSet)
{
    // Page 1: a blue fill fading in fast, going on to page 3.
    prompt.colors = { 0xff0000 };
    window->FillPaintBitBtn->click();
    window->BitBtn6->click();
    form10.RadioGroup1Fade->click();
    form10.PopupMenu1->actions()[4]->trigger();
    window->BitBtn3->click(); // page 2 made, empty
    window->BitBtn3->click(); // page 3
    window->BitBtn2->click();
    window->BitBtn2->click();
    form10.LinkBitBtn->click();
    picker.PageListBox->setCurrentRow(2);
    picker.Button1->click();
    form10.Button1->click();
    // Page 3: a transparent clip centred on (320, 240).
    window->BitBtn3->click();
    window->BitBtn3->click();
    prompt.fileNames = { WritePicture(QStringLiteral("clip.bmp"), 100, 60) };
    window->ClipBitBtn->click();
    QTest::mouseClick(form7.Image1, Qt::LeftButton, {}, QPoint(320, 240));
    form7.Button1->click();
    prompt.fileNames = { tmp.file("book.pmk") };
    window->SaveAsBitBtnClick();
    ASSERT_EQ(book.BookFilePath, tmp.file("book.pmk"));

    ScriptedPromptPort quiet;
    TOpenBook played(quiet, tmp.path());
    ASSERT_TRUE(played.LoadBook(tmp.file("book.pmk")));
    QStringList lines;
    QString error;
    ASSERT_EQ(RunHeadless(
                  played, HeadlessOptions(),
                  [&](const QByteArray& line) {
                      const QJsonObject o = QJsonDocument::fromJson(line).object();
                      const QString event = o[QStringLiteral("event")].toString();
                      if (event == QLatin1String("page"))
                          lines << QStringLiteral("page %1").arg(o[QStringLiteral("page")].toInt());
                      else if (event == QLatin1String("fade")
                          && o[QStringLiteral("phase")].toString() == QLatin1String("begin"))
                          lines << QStringLiteral("fade %1").arg(o[QStringLiteral("wait")].toInt());
                      else if (event == QLatin1String("picture"))
                          lines << o[QStringLiteral("kind")].toString();
                  },
                  &error),
        0)
        << error.toStdString();
    EXPECT_EQ(lines.join(QStringLiteral(", ")).toStdString(),
        "page 1, fill, fade 15, page 3, clip, present");

    QImage look;
    ComposePage(PagesOf(played), 3, look, ResolverForFolder(played.BookFolder));
    EXPECT_EQ(look.pixel(270 + 50, 210 + 30) | 0xff000000, kRed); // the clip's middle
    EXPECT_EQ(look.pixel(272, 212) | 0xff000000, 0xff0000ffu); // its key colour: page 1's fill
}

} // namespace
} // namespace pimoko

#include "tests/editor/editor_fixture.h"

#include "platform/bitmap.h"
#include "platform/numbers.h"

namespace pimoko {
namespace {

using test::EditorTest;

TEST_F(EditorTest, MemoEditsResetDelaysWhileCheckBoxesKeepThem)
{
    UsePages(3);
    editor->SpeedMenuClick(SpeedMenu::CharDelay, 4); // "速い": 50
    ASSERT_EQ(editor->Edit3, QStringLiteral("50"));

    // A check box changed on page 1: delays and font stay.
    editor->CheckBoxMouseDown(EditorCheckBox::WriteAll);
    editor->WriteAllCheckBox = true;
    editor->Button5Click();
    EXPECT_TRUE(book.Page(1).WriteAll);
    EXPECT_EQ(book.Page(1).CharDelays[0], 7);
    EXPECT_EQ(book.Page(1).CharDelays[2000], 7);

    // Typing on page 2: every delay back to unset, the characters' at the default.
    editor->Memo1Edited({ QStringLiteral("あい"), QStringLiteral("う") });
    EXPECT_TRUE(editor->TextChanged);
    editor->Button5Click();
    const TNovelPage& p = book.Page(2);
    EXPECT_EQ(p.TextLines, QStringList({ QStringLiteral("あい"), QStringLiteral("う") }));
    EXPECT_EQ(p.CharDelays[0], 50);
    EXPECT_EQ(p.CharDelays[2], 50);
    EXPECT_EQ(p.CharDelays[3], -1);
    EXPECT_EQ(p.FontHeight, 20); // the page keeps its font
}

TEST_F(EditorTest, FirstTextOfAPageTakesTheTextDefaults)
{
    UsePages(1);
    book.DefaultFontName = QStringLiteral("ＭＳ ゴシック");
    book.DefaultFontHeight = 24;
    book.DefaultTextX = 30;
    book.DefaultTextY = 60;
    book.DefaultVertical = true;
    book.DefaultCharDelay = 80;
    editor->ShowDefaults();
    editor->Button5Click(); // a new, empty page 2
    book.Modified = false;

    editor->Memo1Edited({ QStringLiteral("はじめ") });
    editor->Button6Click();

    const TNovelPage& p = book.Page(2);
    EXPECT_TRUE(book.Modified);
    EXPECT_EQ(p.FontHeight, 24);
    EXPECT_EQ(p.TextX, 30);
    EXPECT_EQ(p.TextY, 60);
    EXPECT_TRUE(p.Vertical);
    EXPECT_EQ(p.FontCharset, 128);
    EXPECT_EQ(p.FontFamily, 49);
    EXPECT_EQ(p.CharDelays[2], 80);
    EXPECT_EQ(p.CharDelays[3], -1);

    // A font the table does not know is recorded as -1.
    book.DefaultFontName = QStringLiteral("どこにもない字");
    editor->ShowPage(2);
    editor->Button5Click();
    editor->Memo1Edited({ QStringLiteral("次") });
    editor->Button6Click();
    EXPECT_EQ(book.Page(3).FontCharset, -1);
    EXPECT_EQ(book.Page(3).FontFamily, -1);
}

// A store after the defaults were given (a save, the text settings window, the close)
// keeps the speeds set since and leaves a saved book unchanged.
TEST_F(EditorTest, DelaysGivenOnceAreKeptByLaterStores)
{
    UsePages(1);
    for (const bool hadText : { false, true }) {
        SCOPED_TRACE(hadText);
        editor->ShowPage(1);
        if (!hadText) {
            editor->Memo1Edited({});
            book.Page(1).TextLines.clear();
            editor->ShowPage(1);
        }
        editor->Memo1Edited({ QStringLiteral("かきく") });
        editor->StorePage();
        book.Page(1).CharDelays[1] = 999; // the text settings window's choice
        book.Modified = false;
        editor->StorePage();
        EXPECT_EQ(book.Page(1).CharDelays[1], 999);
        EXPECT_FALSE(book.Modified);
    }
}

TEST_F(EditorTest, ShowingAPageWithoutTextClearsItsFont)
{
    UsePages(2);
    TNovelPage& p = book.Page(2);
    p.TextLines.clear();
    p.FontColor = 0x00FF00;
    p.ShadowColor = 0x0000FF;
    editor->ShowPage(2);
    EXPECT_FALSE(editor->PageHadText);
    EXPECT_TRUE(p.FontName.isEmpty());
    EXPECT_EQ(p.FontHeight, 0);
    EXPECT_EQ(p.FontColor, 0);
    EXPECT_EQ(p.ShadowColor, 0);

    book.DefaultFontName = QStringLiteral("今の既定");
    book.DefaultFontHeight = 44;
    editor->StorePage();
    EXPECT_EQ(p.FontName, QStringLiteral("今の既定"));
    EXPECT_EQ(p.FontHeight, 44);
}

TEST_F(EditorTest, NumberFieldsThatHoldNoNumberStopTheStore)
{
    UsePages(1);
    editor->Edit4 = QStringLiteral("新しい見出し");
    editor->EffectWaitEdit = QStringLiteral("abc");
    EXPECT_THROW(editor->StorePage(), EConvertError);
    EXPECT_EQ(book.Page(1).Title, QStringLiteral("1"));

    editor->EffectWaitEdit = QStringLiteral("300");
    editor->Edit3 = QStringLiteral("速い");
    editor->Memo1Edited({ QStringLiteral("変えた") });
    EXPECT_THROW(editor->StorePage(), EConvertError);
    EXPECT_EQ(book.Page(1).TextLines, QStringList { QStringLiteral("ページ1") });
    // Without a text change the default speed is not needed.
    editor->ShowPage(1);
    EXPECT_TRUE(editor->StorePage());
}

TEST_F(EditorTest, EffectsSummary)
{
    struct Case {
        bool flip, overRap, fade, clip, fill;
        const char* picture;
        const char* info;
        int mode;
    };
    const Case cases[] = {
        { false, false, true, true, false, "c.bmp", "クリップは徐々に表示される  スピード = 500",
            1 },
        { false, false, true, false, false, "b.bmp", "背景は徐々に表示される  スピード = 500", 1 },
        { false, false, true, false, true, "", "背景は徐々に表示される  スピード = 500", 1 },
        { false, false, true, false, false, "", "", 1 }, // nothing to fade
        { false, false, false, false, false, "b.bmp", "", 1 },
        { true, true, true, false, false, "", "スケッチは徐々に表示される  スピード = 500", 3 },
        { true, false, false, false, false, "b.bmp", "", 3 },
        { false, true, true, false, false, "b.bmp", "", 2 },
    };
    const char* labels[] = { "", "このページを直接画面に書く", "このページをスケッチに書く",
        "このページでスケッチを画面に表示する" };
    UsePages(1);
    editor->ClearPage(); // the default fade wait, "500"
    for (const Case& c : cases) {
        SCOPED_TRACE(c.info);
        editor->FlipBackBufferCheckBox = c.flip;
        editor->OverRapCheckBox = c.overRap;
        editor->PicEffectCheckBox = c.fade;
        editor->ClipMode = c.clip;
        editor->FillImage = c.fill;
        editor->PictureFile = QString::fromUtf8(c.picture);
        editor->AutoNextCheckBox = c.mode == 2;
        editor->UpdateSummary();
        EXPECT_EQ(editor->EffectInfoLabel, QString::fromUtf8(c.info));
        EXPECT_EQ(editor->DrawMode, c.mode);
        EXPECT_EQ(editor->DrawModeLabel, QString::fromUtf8(labels[c.mode]));
        EXPECT_EQ(editor->AutoNextLabel,
            c.mode == 2 ? QStringLiteral("自動的に次のページへ進む") : QString());
    }
}

TEST_F(EditorTest, SpeedMenus)
{
    const char* captions[]
        = { "非常にゆっくり", "ゆっくり", "ふつう", "少し速い", "速い", "ウエイトなし" };
    const char* waits[] = { "1000", "500", "300", "100", "50", "0" };
    const char* defaultWaits[] = { "500", "300", "100", "50", "20", "0" };
    UsePages(1);
    for (int item = 0; item < kSpeedMenuItems; ++item) {
        SCOPED_TRACE(item);
        EXPECT_EQ(SpeedMenuCaption(item), QString::fromUtf8(captions[item]));
        book.Modified = false;
        editor->SpeedMenuClick(SpeedMenu::EffectWait, item);
        EXPECT_EQ(editor->EffectWaitEdit, QString::fromUtf8(waits[item]));
        editor->SpeedMenuClick(SpeedMenu::CharDelay, item);
        EXPECT_EQ(editor->Edit3, QString::fromUtf8(waits[item]));
        EXPECT_EQ(book.DefaultCharDelay, StrToInt(editor->Edit3));
        editor->SpeedMenuClick(SpeedMenu::DefaultEffectWait, item);
        EXPECT_EQ(editor->DefaultEffectWaitEdit(), QString::fromUtf8(defaultWaits[item]));
        EXPECT_EQ(book.DefaultEffectWaitText, QString::fromUtf8(defaultWaits[item]));
        EXPECT_TRUE(book.Modified);
    }
}

TEST_F(EditorTest, PeriodMouseDownStoresTheStateTheClickGives)
{
    UsePages(1);
    ASSERT_FALSE(editor->PeriodCheckBox);
    editor->PeriodCheckBoxMouseDown();
    EXPECT_TRUE(editor->Period);
    EXPECT_TRUE(book.Page(1).Period);
    EXPECT_TRUE(book.Modified);
}

TEST_F(EditorTest, HeadingIsStoredOnlyWhenItChanged)
{
    UsePages(1);
    titleList.visible = true;
    editor->Edit4 = QStringLiteral("未確定");
    editor->Edit4Exit(); // not modified: nothing
    editor->Edit4KeyDown(65);
    EXPECT_EQ(book.Page(1).Title, QStringLiteral("1"));
    EXPECT_EQ(titleList.reloads, 0);

    editor->Edit4Modified = true;
    editor->Edit4KeyDown(65); // not Enter
    EXPECT_EQ(book.Page(1).Title, QStringLiteral("1"));
    editor->Edit4KeyDown(13);
    EXPECT_EQ(book.Page(1).Title, QStringLiteral("未確定"));
    EXPECT_EQ(titleList.reloads, 1);

    editor->Edit4 = QStringLiteral("離れた");
    editor->Edit4Modified = true;
    editor->FormDeactivate();
    EXPECT_EQ(book.Page(1).Title, QStringLiteral("離れた"));
}

TEST_F(EditorTest, PictureFillAndClearActions)
{
    UsePages(2);
    editor->ShowPage(2);
    const QString bmp = tmp.file("Sora.BMP");
    QImage picture = NewBitmap24(10, 10);
    ASSERT_TRUE(WriteBmp24(bmp, picture));

    // Another extension is ignored, with no message.
    prompt.fileNames = { tmp.file("a.png"), bmp };
    editor->LoadPicBitBtnClick();
    EXPECT_TRUE(editor->PictureFile.isEmpty());
    editor->ClipMode = true;
    editor->LoadPicBitBtnClick();
    EXPECT_EQ(book.Page(2).PictureFile, bmp);
    EXPECT_FALSE(book.Page(2).ClipMode);
    EXPECT_EQ(editor->Label7, QStringLiteral("Sora.BMP"));
    EXPECT_FALSE(editor->ImageInfoLabelVisible);

    prompt.colors = { 0x112233 };
    editor->FillPaintBitBtnClick();
    EXPECT_TRUE(book.Page(2).FillImage);
    EXPECT_EQ(book.Page(2).FillColor, 0x112233);
    EXPECT_TRUE(book.Page(2).PictureFile.isEmpty());
    EXPECT_EQ(editor->Label7, QStringLiteral("背景塗りつぶし"));

    editor->Button10Click();
    EXPECT_FALSE(book.Page(2).FillImage);
    EXPECT_TRUE(editor->Label7.isEmpty());
    EXPECT_TRUE(prompt.Texts().isEmpty());
}

TEST_F(EditorTest, ClipButtonNeedsAPictureThatExists)
{
    struct Clips : ClipSettingsPort {
        QList<ClipRequest> opened;
        void OpenClipSettings(const ClipRequest& r) override { opened << r; }
    } clips;
    EditorPorts ports;
    ports.clipSettings = &clips;
    ports.titleList = &titleList;
    editor->SetPorts(ports);
    UsePages(1);

    editor->ClipBitBtnClick(); // no picture, dialog cancelled
    EXPECT_TRUE(clips.opened.isEmpty());
    EXPECT_TRUE(prompt.Texts().isEmpty());

    editor->PictureFile = QStringLiteral("nowhere.bmp");
    editor->ClipBitBtnClick();
    EXPECT_EQ(prompt.LastText(), TPageEditor::kCannotOpenPicture);
    EXPECT_TRUE(clips.opened.isEmpty());

    ASSERT_TRUE(WriteBmp24(tmp.file("clip.bmp"), NewBitmap24(8, 8)));
    editor->PictureFile = QStringLiteral("clip.bmp");
    editor->ClipX = 5;
    editor->ClipBitBtnClick();
    ASSERT_EQ(clips.opened.size(), 1);
    EXPECT_EQ(clips.opened[0].pictureFile, tmp.file("clip.bmp"));
    EXPECT_EQ(clips.opened[0].clipX, 5);

    editor->ConfirmClip(270, 210, false);
    EXPECT_TRUE(book.Page(1).ClipMode);
    EXPECT_EQ(book.Page(1).ClipX, 270);
    EXPECT_FALSE(book.Page(1).ClipTransparent);
    EXPECT_EQ(editor->Label7, QStringLiteral("クリップ画像"));
}

TEST_F(EditorTest, SoundActions)
{
    UsePages(1);
    editor->Button12Click(); // no sound: nothing to audition
    prompt.fileNames = { tmp.file("a.mp3"), QStringLiteral("/snd/Umi.MID") };
    editor->LoadSoundBitBtnClick();
    EXPECT_TRUE(editor->SoundFile.isEmpty());
    editor->LoadSoundBitBtnClick();
    EXPECT_EQ(editor->SoundPathLabel, QStringLiteral("Umi.MID"));
    editor->RepeatSoundCheckBox = true;
    editor->Button12Click();
    editor->RepeatSoundCheckBox = false;
    editor->Button12Click();
    editor->Button1Click();
    EXPECT_EQ(sound.calls,
        QStringList({ "stop", "loop:/snd/Umi.MID", "stop", "once:/snd/Umi.MID", "stop" }));

    editor->Button13Click();
    EXPECT_TRUE(editor->SoundFile.isEmpty());
    EXPECT_TRUE(editor->SoundPathLabel.isEmpty());
}

TEST_F(EditorTest, MemoLinesOfText)
{
    EXPECT_EQ(TPageEditor::MemoLinesOf(QString()), QStringList());
    EXPECT_EQ(TPageEditor::MemoLinesOf("a\n"), QStringList({ "a" }));
    EXPECT_EQ(TPageEditor::MemoLinesOf("a\r\n\r\nb"), QStringList({ "a", "", "b" }));
    EXPECT_EQ(TPageEditor::MemoLinesOf("\n"), QStringList({ "" }));
}

} // namespace
} // namespace pimoko

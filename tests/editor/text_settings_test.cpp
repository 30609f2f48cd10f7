#include "tests/editor/editor_fixture.h"

#include "editor/text_settings.h"
#include "platform/bitmap.h"
#include "platform/numbers.h"
#include "player/playback_headless.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <functional>

namespace pimoko {
namespace {

struct SettingsView : TextSettingsView {
    int shown = 0;
    int hidden = 0;
    int pickers = 0;
    void ShowWindow() override { ++shown; }
    void HideWindow() override { ++hidden; }
    void OpenLinkPicker() override { ++pickers; }
};

struct SettingsPort : TextSettingsPort {
    TTextSettings* settings = nullptr;
    void OpenTextSettings(const TextSettingsRequest& request) override { settings->Open(request); }
};

// Page 1 of a book, opened in the text settings from the editor's "テキスト設定".
class TextSettingsTest : public test::EditorTest {
protected:
    TextSettingsTest()
        : settings(*editor, busy, prompt, fonts)
    {
        settings.SetView(&window);
        port.settings = &settings;
        EditorPorts ports;
        ports.titleList = &titleList;
        ports.sound = &sound;
        ports.view = &view;
        ports.textSettings = &port;
        editor->SetPorts(ports);
    }

    // A white 30-pixel text with a shadow; setup changes the page before it is shown.
    TNovelPage& Open(const QStringList& lines, const std::function<void(TNovelPage&)>& setup = {})
    {
        TNovelPage& p = book.Page(1);
        p.InUse = true;
        p.TextLines = lines;
        p.FontName = QStringLiteral("ＭＳ ゴシック");
        p.FontHeight = 30;
        p.FontColor = 0xFFFFFF;
        p.Shadow = true;
        p.Highlight = false;
        p.LinePitch = 0;
        p.TextX = 10;
        p.TextY = 20;
        p.CharDelays.fill(-1);
        if (setup)
            setup(p);
        editor->ShowPage(1);
        editor->SetTextBitBtnClick();
        return p;
    }

    SettingsView window;
    SettingsPort port;
    TTextSettings settings;
};

TEST(TextSettingsRules, HighlightWidthsAndLevels)
{
    const struct {
        int height;
        const char* level;
        int width;
    } cases[] = {
        { 30, "中", 1 }, // 0.9
        { 30, "OV5", 15 },
        { 50, "小", 1 }, // 0.5 goes to 0, then up to 1
        { 250, "小", 2 }, // 2.5 to the even neighbour
        { 100, "最大", 7 },
        { 100, "なし", 3 }, // any other text counts as "中"
        { 100, "", 3 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            HighlightWidthFor(c.height, HighlightRatioOf(QString::fromUtf8(c.level))), c.width)
            << c.height << " " << c.level;
    EXPECT_EQ(HighlightLevelOf(1.0 / 100), QStringLiteral("小"));
    EXPECT_EQ(HighlightLevelOf(1.0 / 30), QString());
    EXPECT_EQ(HighlightItemText(9), QString());
    EXPECT_EQ(SpeedOfItem(1), 500);
    EXPECT_EQ(SpeedOfItem(9), 0);
}

TEST(TextSettingsRules, RubberBandFrameGoesAwayWhenDrawnAgain)
{
    QImage picture = NewBitmap24();
    picture.fill(QColor(10, 20, 30));
    const QImage before = picture;
    XorFrame(picture, { 100, 50, 200, 80 });
    EXPECT_EQ(picture.pixelColor(99, 49), QColor(245, 235, 225)); // the outer corner
    EXPECT_EQ(picture.pixelColor(100, 79), QColor(245, 235, 225));
    EXPECT_EQ(picture.pixelColor(150, 60), QColor(10, 20, 30)); // inside
    XorFrame(picture, { 100, 50, 200, 80 });
    EXPECT_EQ(picture, before);
    // Off the picture, degenerate and huge frames draw what lies on it and come back too.
    for (const TextRect r : { TextRect { -50, -50, 10, 10 }, TextRect { 5, 5, 5, 5 },
             TextRect { -2000000000, 0, 2000000000, 400 } }) {
        XorFrame(picture, r);
        XorFrame(picture, r);
        EXPECT_EQ(picture, before);
    }
}

TEST_F(TextSettingsTest, OpeningShowsThePagesHighlightWhateverWasOpenBefore)
{
    const struct {
        bool highlight;
        bool shadow;
        int height;
        int width;
        const char* combo;
        bool on;
        double ratio;
    } cases[] = {
        { true, true, 100, 1, "小", true, 0.01 },
        { true, true, 30, 1, "", true, 1.0 / 30 },
        { false, true, 30, 5, "なし", false, 0.03 },
        { true, false, 30, 15, "なし", false, 0.5 }, // no shadow: no outline either
        { true, true, 30, 15, "OV5", true, 0.5 },
        { false, false, 40, 1, "なし", false, 0.03 },
    };
    // Twice through, so every case also opens after each other one.
    for (int round = 0; round < 2; ++round) {
        for (const auto& c : cases) {
            Open({ QStringLiteral("あ") }, [&](TNovelPage& p) {
                p.Highlight = c.highlight;
                p.Shadow = c.shadow;
                p.FontHeight = c.height;
                p.HighlightLevel = c.width;
            });
            const TextSettingsFields& f = settings.Fields();
            const std::string what = std::to_string(c.height) + "/" + std::to_string(c.width);
            EXPECT_EQ(settings.HighLightComboBox, QString::fromUtf8(c.combo)) << what;
            EXPECT_EQ(f.highlightOn, c.on) << what;
            EXPECT_EQ(settings.HighlightCheckBox(), c.on) << what;
            EXPECT_EQ(f.shadowOn, c.shadow) << what;
            EXPECT_EQ(settings.NoShadowCheckBox(), !c.shadow) << what;
            EXPECT_EQ(f.highlightRatio, c.ratio) << what;
            EXPECT_EQ(f.fontHeight, c.height) << what;
            EXPECT_EQ(settings.FontSizeTrackBar().position, c.height) << what;
            if (c.on) {
                EXPECT_EQ(f.highlightWidth, c.width) << what;
            }
        }
    }
    EXPECT_EQ(window.shown, 12);
}

TEST_F(TextSettingsTest, GridTakesThePagesDelaysOrTheDefaultAfterAnEdit)
{
    Open({ QStringLiteral("あいう"), QString(), QStringLiteral("えお") }, [](TNovelPage& p) {
        p.CharDelays[0] = 5;
        p.CharDelays[1] = -3;
        p.CharDelays[2] = 9;
        p.CharDelays[3] = 11;
    });
    const struct {
        int column, row;
        const char* text;
        int speed;
    } cells[] = {
        { 0, 0, "あ", 5 }, { 1, 0, "い", 0 }, // negative delays count as 0
        { 2, 0, "う", 9 }, { 3, 0, "", kNoSpeed }, { 0, 1, "", kNoSpeed }, // the empty line
        { 0, 2, "え", 11 }, { 1, 2, "お", 0 }, // past the stored delays
    };
    for (const auto& c : cells) {
        EXPECT_EQ(settings.CellText(c.column, c.row), QString::fromUtf8(c.text));
        EXPECT_EQ(settings.Speed(c.column, c.row), c.speed) << c.column << "," << c.row;
    }

    // Typed text: every character at the editor's default speed.
    editor->Edit3 = QStringLiteral("70");
    editor->Memo1Edited({ QStringLiteral("かき") });
    editor->SetTextBitBtnClick();
    EXPECT_EQ(settings.Edit1, QStringLiteral("70"));
    EXPECT_EQ(settings.Speed(0, 0), 70);
    EXPECT_EQ(settings.Speed(1, 0), 70);
    EXPECT_EQ(settings.Speed(2, 0), kNoSpeed);
    EXPECT_EQ(settings.Speed(0, 2), kNoSpeed);
}

TEST_F(TextSettingsTest, LongLinesShareTheLastCellAndLaterDelaysMoveUp)
{
    QString line;
    for (int i = 0; i < 120; ++i)
        line += QChar(0x3042 + i % 80);
    TNovelPage& page = Open({ line, QStringLiteral("ん") }, [](TNovelPage& p) {
        for (int i = 0; i < 121; ++i)
            p.CharDelays[static_cast<size_t>(i)] = static_cast<qint16>(i);
    });
    EXPECT_EQ(settings.CellText(kSpeedGridLast, 0), QString(line[119]));
    EXPECT_EQ(settings.Speed(kSpeedGridLast, 0), 119);
    EXPECT_EQ(settings.Speed(0, 1), 120);

    settings.Button6Click();
    EXPECT_EQ(page.CharDelays[99], 99);
    EXPECT_EQ(page.CharDelays[100], 119);
    EXPECT_EQ(page.CharDelays[101], 120); // the next line's first character
    EXPECT_EQ(page.CharDelays[102], -1);
}

TEST_F(TextSettingsTest, FontSizeAndFontDialogScalePitchAndOutline)
{
    Open({ QStringLiteral("あ"), QStringLiteral("い") }, [](TNovelPage& p) {
        p.LinePitch = 15;
        p.Highlight = true;
        p.HighlightLevel = 1;
    });
    settings.HighLightComboBoxChange(QStringLiteral("中"));
    settings.SetFontSizePosition(60);
    const TextSettingsFields& f = settings.Fields();
    EXPECT_EQ(f.linePitch, 30);
    EXPECT_EQ(settings.PitchTrackBar().max, 180);
    EXPECT_EQ(settings.PitchTrackBar().position, 30);
    EXPECT_EQ(f.highlightWidth, 2); // 1.8
    EXPECT_EQ(settings.DialogFont().height, 60);

    // A larger font from the dialog raises the size slider; another face takes its table
    // values.
    fonts.Add(QStringLiteral("IPAGothic"), 128, 50);
    FontChoice chosen = settings.DialogFont();
    chosen.face = QStringLiteral("IPAGothic");
    chosen.height = 120;
    chosen.bold = true;
    chosen.color = 0x0000FF;
    prompt.fonts.push_back(chosen);
    settings.Button7Click();
    EXPECT_EQ(settings.FontSizeTrackBar().max, 120);
    EXPECT_EQ(settings.FontSizeTrackBar().position, 120);
    EXPECT_EQ(f.linePitch, 60);
    EXPECT_EQ(settings.PitchTrackBar().max, 360);
    EXPECT_EQ(f.fontName, QStringLiteral("IPAGothic"));
    EXPECT_EQ(f.fontCharset, 128);
    EXPECT_EQ(f.fontFamily, 50);
    EXPECT_EQ(f.styleString, QStringLiteral("Type_B"));
    EXPECT_EQ(f.textColor, 0x0000FFu);
    EXPECT_EQ(f.highlightWidth, 4); // 3.6
}

TEST_F(TextSettingsTest, ShadowAndOutlineControlsFollowEachOther)
{
    Open({ QStringLiteral("あ") });
    const TextSettingsFields& f = settings.Fields();
    // A level chosen while the outline is off turns it on.
    settings.HighLightComboBoxChange(QStringLiteral("OV5"));
    EXPECT_TRUE(settings.HighlightCheckBox());
    EXPECT_TRUE(f.highlightOn);
    EXPECT_EQ(f.highlightWidth, 15);

    settings.SetNoShadowCheckBox(true);
    EXPECT_FALSE(f.shadowOn);
    EXPECT_FALSE(f.highlightOn);
    EXPECT_FALSE(settings.HighlightCheckBox());
    EXPECT_EQ(settings.HighLightComboBox, QStringLiteral("なし"));

    // Turning it on again starts from "中"; a shadow colour turns the shadow back on.
    settings.SetHighlightCheckBox(true);
    EXPECT_EQ(settings.HighLightComboBox, QStringLiteral("中"));
    EXPECT_TRUE(f.shadowOn);
    EXPECT_FALSE(settings.NoShadowCheckBox());
    settings.SetNoShadowCheckBox(true);
    settings.ShadowColorImageMouseDown(kPaletteWidth - 1, kPaletteHeight - 1);
    EXPECT_TRUE(f.shadowOn);
    EXPECT_EQ(f.shadowColor, PaletteColorAt(kPaletteWidth - 1, kPaletteHeight - 1));
    settings.FontColorImageMouseDown(-5, 1000); // held inside the palette
    EXPECT_EQ(f.textColor, PaletteColorAt(0, kPaletteHeight - 1));
    EXPECT_EQ(settings.DialogFont().color, f.textColor);
}

TEST_F(TextSettingsTest, GridClicksAndTheResetButton)
{
    Open({ QStringLiteral("あい") });
    settings.RadioGroup1 = 2; // 400
    settings.StringGrid1MouseDown(1, 0);
    EXPECT_EQ(settings.Speed(1, 0), 400);
    settings.StringGrid1MouseDown(5, 0); // no character there
    EXPECT_EQ(settings.Speed(5, 0), kNoSpeed);

    // Item 0 takes Edit1, which is put right first.
    settings.RadioGroup1 = 0;
    for (const char* entry : { "abc", "-4" }) {
        settings.Edit1 = QString::fromLatin1(entry);
        settings.StringGrid1MouseDown(0, 0);
        EXPECT_EQ(settings.Edit1, QStringLiteral("0")) << entry;
        EXPECT_EQ(settings.Speed(0, 0), 0) << entry;
    }

    settings.Edit1 = QStringLiteral("x");
    EXPECT_THROW(settings.SpeedResetButtonClick(), EConvertError);
    EXPECT_EQ(settings.Speed(1, 0), 400);
    // A negative speed would leave the grid looking empty and store no delay.
    settings.Edit1 = QStringLiteral("-1");
    settings.SpeedResetButtonClick();
    EXPECT_EQ(settings.Speed(0, 0), 0);
    EXPECT_EQ(settings.Speed(1, 0), 0);
    settings.RadioGroup1 = 8;
    settings.SpeedResetButtonClick();
    EXPECT_EQ(settings.Speed(1, 0), 20);
}

TEST_F(TextSettingsTest, DecideWritesThePageAndTheStoreAfterKeepsIt)
{
    titleList.visible = true;
    TNovelPage& page = Open({ QStringLiteral("あいう") });
    book.Modified = false;
    settings.Image1MouseDown(200, 100);
    settings.SetVerticalCheckBox(true);
    settings.HighLightComboBoxChange(QStringLiteral("大"));
    settings.SetPitchPosition(12);
    settings.RadioGroup1 = 1;
    settings.StringGrid1MouseDown(2, 0);
    // Kept at the largest delay a page can hold.
    settings.Edit1 = QStringLiteral("40000");
    settings.RadioGroup1 = 0;
    settings.StringGrid1MouseDown(0, 0);
    const int refreshes = titleList.refreshes;

    settings.Button6Click();
    EXPECT_TRUE(book.Modified);
    EXPECT_EQ(window.hidden, 1);
    EXPECT_FALSE(editor->TextChanged);
    EXPECT_GT(titleList.refreshes, refreshes);
    EXPECT_EQ(page.TextX, 200);
    EXPECT_EQ(page.TextY, 100);
    EXPECT_TRUE(page.Vertical);
    EXPECT_TRUE(page.Highlight);
    EXPECT_EQ(page.HighlightLevel, 2); // 30 x 0.05 = 1.5
    EXPECT_EQ(page.LinePitch, 12);
    EXPECT_EQ(page.FontHeight, 30);
    EXPECT_EQ(page.CharDelays[0], 32767);
    EXPECT_EQ(page.CharDelays[1], 0); // the page had none stored
    EXPECT_EQ(page.CharDelays[2], 500);
    EXPECT_EQ(page.CharDelays[3], -1);

    // Leaving the page stores it again: the delays and the font stay.
    editor->Button5Click();
    EXPECT_EQ(book.Page(1).CharDelays[2], 500);
    EXPECT_TRUE(book.Page(1).Vertical);
}

TEST_F(TextSettingsTest, CancelAndDeactivationRestoreTheLinkPage)
{
    UsePages(4);
    TNovelPage& page = Open({ QStringLiteral("あ") }, [](TNovelPage& p) { p.LinkPage = 2; });
    EXPECT_EQ(settings.LinkLabel, QStringLiteral("2ページへリンク"));
    settings.LinkBitBtnClick();
    EXPECT_EQ(window.pickers, 1);
    settings.PickingLink = true;
    settings.LinkPageChosen(4);
    settings.FormDeactivate(); // the chooser took the focus: nothing restored
    settings.PickingLink = false;
    EXPECT_EQ(page.LinkPage, 4);
    EXPECT_EQ(editor->LinkPage, 4);
    EXPECT_EQ(settings.LinkLabel, QStringLiteral("4ページへリンク"));
    settings.Button3Click();
    EXPECT_EQ(page.LinkPage, 2);
    EXPECT_EQ(editor->LinkPage, 2);

    // Cleared and then decided: the decision stays through a later deactivation.
    editor->SetTextBitBtnClick();
    settings.ClearLinkPage();
    EXPECT_EQ(prompt.LastText(), TTextSettings::kLinkCleared);
    EXPECT_EQ(settings.LinkLabel, QStringLiteral("ページリンクなし"));
    settings.Button6Click();
    settings.FormDeactivate();
    EXPECT_EQ(book.Page(1).LinkPage, 0);

    // A page that goes on to a goto page cannot link; nothing while busy.
    editor->GotoPage = 3;
    editor->SetTextBitBtnClick();
    settings.LinkBitBtnClick();
    EXPECT_EQ(prompt.LastText(), TTextSettings::kGotoPageSet);
    editor->GotoPage = 0;
    busy.TryTake();
    settings.LinkBitBtnClick();
    EXPECT_EQ(window.pickers, 1);
}

TEST_F(TextSettingsTest, UseAsDefaultsTakesTheWindowsSettings)
{
    Open({ QStringLiteral("あい") }, [](TNovelPage& p) {
        p.FontStyle = QStringLiteral("Type_I");
        p.CharDelays[0] = 45;
    });
    settings.Image1MouseDown(33, 44);
    settings.HighLightComboBoxChange(QStringLiteral("OV1"));
    settings.Button4Click();
    EXPECT_EQ(book.DefaultFontName, QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(book.DefaultFontHeight, 30);
    EXPECT_EQ(book.DefaultFontColor, 0xFFFFFF);
    EXPECT_EQ(book.DefaultFontStyle, QStringLiteral("Type_I"));
    EXPECT_TRUE(book.DefaultHighlight);
    EXPECT_EQ(book.DefaultHighlightLevel, 3);
    EXPECT_EQ(book.DefaultTextX, 33);
    EXPECT_EQ(book.DefaultTextY, 44);
    EXPECT_EQ(book.DefaultCharDelay, 45);
    EXPECT_EQ(editor->Edit3, QStringLiteral("45"));

    busy.TryTake();
    settings.Image1MouseDown(1, 2);
    settings.Button4Click();
    EXPECT_EQ(book.DefaultTextX, 33);
}

TEST_F(TextSettingsTest, WithoutTextOnlyTheBackgroundAndNoDelays)
{
    TextSettingsRequest request;
    request.page.FontName = QStringLiteral("ＭＳ ゴシック");
    request.page.FontHeight = 30;
    request.scene = NewBitmap24();
    request.scene.fill(QColor(200, 0, 0));
    book.Page(1).InUse = true;
    book.Page(1).CharDelays.fill(9);
    settings.Open(request);
    EXPECT_EQ(settings.Preview(), request.scene);
    EXPECT_EQ(settings.Speed(0, 0), kNoSpeed);
    settings.Button6Click();
    for (const qint16 d : book.Page(1).CharDelays)
        ASSERT_EQ(d, -1);
}

TEST_F(TextSettingsTest, DraggedSliderShowsTheRubberBandUntilReleased)
{
    Open({ QStringLiteral("あいう"), QStringLiteral("えお") });
    const QImage drawn = settings.Preview();
    settings.SliderDragging = true;
    settings.SetPitchPosition(20);
    const TextRect band = settings.PreviewRect();
    EXPECT_FALSE(band == TTextSettings::NoRect());
    EXPECT_EQ(band.left, 10);
    EXPECT_EQ(band.top, 20);
    EXPECT_GT(band.height(), 20);
    QImage expected = drawn;
    XorFrame(expected, band);
    EXPECT_EQ(settings.Preview(), expected) << "only the band, the text stays as it was";

    settings.SliderReleased();
    EXPECT_TRUE(settings.PreviewRect() == TTextSettings::NoRect());
    EXPECT_NE(settings.Preview(), drawn) << "drawn again with the new pitch";
    settings.SetPitchPosition(0);
    EXPECT_EQ(settings.Preview(), drawn);
}

TEST_F(TextSettingsTest, SpeedsSetInTheGridPlayBackAfterASave)
{
    Open({ QStringLiteral("あいう") });
    settings.RadioGroup1 = 8; // 20
    settings.SpeedResetButtonClick();
    settings.RadioGroup1 = 0;
    settings.Edit1 = QStringLiteral("300");
    settings.StringGrid1MouseDown(1, 0);
    settings.Button6Click();
    book.BookFilePath = tmp.file(QStringLiteral("speeds.pmk"));
    ASSERT_TRUE(book.SaveBook());

    ScriptedPromptPort otherPrompt;
    TOpenBook saved(otherPrompt, tmp.path());
    ASSERT_TRUE(saved.LoadBook(tmp.file(QStringLiteral("speeds.pmk"))));
    QStringList typed;
    QString error;
    RunHeadless(
        saved, HeadlessOptions(),
        [&](const QByteArray& line) {
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            if (o.value("event").toString() == QLatin1String("char"))
                typed << QStringLiteral("%1@%2")
                             .arg(o.value("ch").toString())
                             .arg(o.value("t").toInt());
        },
        &error);
    EXPECT_EQ(typed, QStringList({ "あ@20", "い@320", "う@340" }));
}

} // namespace
} // namespace pimoko

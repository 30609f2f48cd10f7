#include "tests/editor/editor_fixture.h"

#include "editor/effects_settings.h"
#include "platform/numbers.h"

namespace pimoko {
namespace {

class EffectsSettingsTest : public test::EditorTest {
protected:
    // The window opened on the current page as the editor's "特殊設定" opens it.
    void Open()
    {
        struct Capture : EffectsPort {
            EffectsRequest request;
            void OpenEffects(const EffectsRequest& r) override { request = r; }
        } capture;
        EditorPorts ports;
        ports.effects = &capture;
        editor->SetPorts(ports);
        editor->BitBtn6Click();
        editor->SetPorts(EditorPorts());
        settings.Load(capture.request);
    }

    TEffectsSettings settings { *editor, prompt, busy };
};

TEST_F(EffectsSettingsTest, ApplyWritesTheValueHoldersOfEachMode)
{
    const struct {
        const char* name;
        int mode;
        bool fade;
        int preset; // -1: the edits as typed
        const char* typed;
        bool flip, overRap;
        int picEffect;
        int effectWait;
    } cases[] = {
        { "fast fade, mode 1", 1, true, 4, "", false, false, 1, 15 },
        { "mode 2 keeps the speed", 2, true, -1, "999", false, true, 1, 500 },
        { "leading zeros, mode 3", 3, false, -1, "0030", true, true, 0, 30 },
        { "at once, mode 1", 1, false, -1, "+007", false, false, 0, 7 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UsePages(2);
        editor->EffectWaitEdit = QStringLiteral("500");
        Open();
        book.Modified = false;
        settings.SelectDrawMode(c.mode);
        settings.SelectFade(c.fade);
        if (c.preset >= 0) {
            settings.SpeedPreset(c.preset);
        } else {
            settings.Edit1 = QString::fromLatin1(c.typed);
            settings.Edit3 = QString::fromLatin1(c.typed);
        }
        settings.Apply();
        EXPECT_TRUE(book.Modified);
        EXPECT_EQ(editor->FlipBackBufferCheckBox, c.flip);
        EXPECT_EQ(editor->OverRapCheckBox, c.overRap);
        EXPECT_EQ(editor->DrawMode, c.mode); // the summary was brought up to date
        editor->StorePage();
        const TNovelPage& p = book.Page(1);
        EXPECT_EQ(p.PicEffect, c.picEffect);
        EXPECT_EQ(p.EffectWait, c.effectWait);
        EXPECT_EQ(p.ShowBackBuffer, c.flip);
        EXPECT_EQ(p.DrawToBackBuffer, c.overRap);
        EXPECT_EQ(editor->EffectWaitEdit, IntToStr(c.effectWait));
    }
}

TEST_F(EffectsSettingsTest, ASpeedThatIsNoNumberStopsAfterTheDrawMode)
{
    UsePages(3);
    editor->GotoPage = 2;
    editor->EffectWaitEdit = QStringLiteral("500");
    Open();
    book.Modified = false;
    settings.SelectDrawMode(3);
    settings.SelectFade(true);
    settings.RadioGroup2 = 1;
    settings.SetGotoPage(3);
    settings.Edit3 = QStringLiteral("abc");

    EXPECT_THROW(settings.Apply(), EConvertError);
    EXPECT_TRUE(editor->FlipBackBufferCheckBox);
    EXPECT_TRUE(editor->OverRapCheckBox);
    EXPECT_TRUE(editor->AutoNextCheckBox);
    EXPECT_TRUE(editor->PicEffectCheckBox);
    EXPECT_EQ(editor->DrawMode, 3);
    EXPECT_EQ(editor->EffectWaitEdit, QStringLiteral("500"));
    EXPECT_EQ(editor->GotoPage, 2);
    EXPECT_EQ(book.Page(1).GotoPage, 0);
    EXPECT_FALSE(book.Modified);
}

TEST_F(EffectsSettingsTest, LoadingShowsThePageAndForgetsTheLastOne)
{
    UsePages(2);
    book.Page(1).ShowBackBuffer = true;
    book.Page(1).DrawToBackBuffer = true;
    book.Page(1).PicEffect = 1;
    book.Page(1).EffectWait = 42;
    book.Page(1).GotoPage = 2;
    book.Page(2).DrawToBackBuffer = true;
    editor->ShowPage(1);
    Open();
    EXPECT_EQ(settings.DrawMode(), 3);
    EXPECT_TRUE(settings.Fade());
    EXPECT_EQ(settings.Edit1, QStringLiteral("42"));
    EXPECT_EQ(settings.Edit3, QStringLiteral("42"));
    EXPECT_EQ(settings.NextPageLabel, QStringLiteral("2ページへ進む"));
    EXPECT_EQ(settings.GotoPage(), 2);
    EXPECT_FALSE(settings.Panel1Visible());
    EXPECT_TRUE(settings.Edit3Visible());

    // Page 2 draws into the sketch without a fade: its apply takes no fade from page 1.
    editor->Button5Click();
    Open();
    EXPECT_EQ(settings.DrawMode(), 2);
    EXPECT_FALSE(settings.Panel1Visible() || settings.Panel3Visible());
    EXPECT_TRUE(settings.NextPageLabel.isEmpty());
    settings.Apply();
    editor->StorePage();
    EXPECT_EQ(book.Page(2).PicEffect, 0);
    EXPECT_EQ(book.Page(2).GotoPage, 0);

    settings.SelectDrawMode(1);
    EXPECT_FALSE(settings.Edit1Visible());
    settings.SelectFade(true);
    EXPECT_TRUE(settings.Edit1Visible());
}

TEST_F(EffectsSettingsTest, GotoPageIsRefusedOnALinkedPageAndWrittenIntoThePage)
{
    UsePages(4);
    editor->LinkPage = 3;
    Open();
    EXPECT_FALSE(settings.MayPickGoto());
    EXPECT_EQ(prompt.LastText(), TEffectsSettings::kLinkAlreadySet);
    EXPECT_EQ(settings.GotoPage(), 0);

    editor->LinkPage = 0;
    editor->StorePage();
    prompt.shown.clear();
    busy.TryTake();
    EXPECT_FALSE(settings.MayPickGoto());
    busy.Release();
    EXPECT_TRUE(settings.MayPickGoto());
    EXPECT_TRUE(prompt.Texts().isEmpty());

    settings.SetGotoPage(4);
    EXPECT_EQ(settings.NextPageLabel, QStringLiteral("4ページへ進む"));
    settings.Apply();
    // The goto page reaches the page at once; the rest waits for the next store.
    EXPECT_EQ(book.Page(1).GotoPage, 4);
    EXPECT_EQ(editor->GotoPage, 4);
    settings.SetGotoPage(0);
    EXPECT_TRUE(settings.NextPageLabel.isEmpty());
}

} // namespace
} // namespace pimoko

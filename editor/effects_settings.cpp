#include "editor/effects_settings.h"

#include "book/open_book.h"
#include "editor/page_editor.h"
#include "platform/busy_state.h"
#include "platform/numbers.h"
#include "platform/prompt_port.h"

#include <algorithm>

namespace pimoko {

namespace {

struct FadeSpeedPreset {
    const char* caption;
    const char* value;
};

constexpr FadeSpeedPreset kFadeSpeedPresets[kFadeSpeedPresetCount] = {
    { "非常にゆっくり", "300" },
    { "ゆっくり", "100" },
    { "ふつう", "50" },
    { "少し速い", "30" },
    { "速い", "15" },
};

} // namespace

QString FadeSpeedPresetCaption(int item)
{
    if (item < 0 || item >= kFadeSpeedPresetCount)
        return QString();
    return QString::fromUtf8(kFadeSpeedPresets[item].caption);
}

QString FadeSpeedPresetValue(int item)
{
    if (item < 0 || item >= kFadeSpeedPresetCount)
        return QString();
    return QString::fromLatin1(kFadeSpeedPresets[item].value);
}

const QString TEffectsSettings::kCaption = QStringLiteral("特殊効果、設定");
const QString TEffectsSettings::kLinkAlreadySet
    = QStringLiteral("テキストのリンクがすでに設定されているので使用できません");

QString TEffectsSettings::NextPageText(int gotoPage)
{
    return gotoPage >= 1 ? IntToStr(gotoPage) + QStringLiteral("ページへ進む") : QString();
}

TEffectsSettings::TEffectsSettings(TPageEditor& editor, PromptPort& prompt, const TBusyState& busy)
    : editor_(editor)
    , prompt_(prompt)
    , busy_(busy)
{
}

void TEffectsSettings::Load(const EffectsRequest& request)
{
    drawMode_ = std::clamp(request.drawMode, 1, 3);
    RadioGroup2 = request.autoNext ? 1 : 0;
    // Both fade groups show the page's choice, whatever the mode: mode 2 takes its fade
    // from the sketch's group, which must not keep the choice of an earlier page.
    fade_ = request.picEffect;
    Edit1 = request.waitText;
    Edit3 = request.waitText;
    NextPageLabel = request.nextPageLabel;
    gotoPage_ = editor_.GotoPage;
}

void TEffectsSettings::SelectDrawMode(int mode)
{
    if (mode >= 1 && mode <= 3)
        drawMode_ = mode;
}

void TEffectsSettings::SelectFade(bool fade)
{
    fade_ = fade;
}

void TEffectsSettings::SpeedPreset(int item)
{
    const QString value = FadeSpeedPresetValue(item);
    if (value.isEmpty())
        return;
    Edit1 = value;
    Edit3 = value;
}

void TEffectsSettings::Apply()
{
    editor_.FlipBackBufferCheckBox = drawMode_ == 3;
    editor_.OverRapCheckBox = drawMode_ != 1;
    editor_.AutoNextCheckBox = RadioGroup2 != 0;
    editor_.PicEffectCheckBox = fade_;
    try {
        // Mode 2 draws into the sketch without showing it, so it keeps the speed it had.
        if (drawMode_ == 1)
            editor_.EffectWaitEdit = IntToStr(StrToInt(Edit1));
        else if (drawMode_ == 3)
            editor_.EffectWaitEdit = IntToStr(StrToInt(Edit3));
    } catch (const EConvertError&) {
        // The editor shows what its value holders hold now.
        editor_.UpdateSummary();
        throw;
    }
    editor_.GotoPage = gotoPage_;
    editor_.Book().Page(editor_.CurrentPage()).GotoPage = gotoPage_;
    editor_.EffectsChosen();
}

bool TEffectsSettings::MayPickGoto()
{
    if (busy_.IsBusy())
        return false;
    // The link may be in the editor's working copy before it reaches the page.
    const TNovelPage& page = editor_.Book().Page(editor_.CurrentPage());
    if (page.LinkPage > 0 || editor_.LinkPage > 0) {
        prompt_.ShowMessage(MessageKind::Information, kCaption, kLinkAlreadySet);
        return false;
    }
    return true;
}

void TEffectsSettings::SetGotoPage(int page)
{
    gotoPage_ = std::clamp(page, 0, TOpenBook::kPageCount);
    NextPageLabel = NextPageText(gotoPage_);
}

} // namespace pimoko

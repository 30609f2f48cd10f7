#pragma once

#include "editor/editor_ports.h"

#include <QString>

namespace pimoko {

class PromptPort;
class TBusyState;
class TPageEditor;

// The fade speeds the effects window's and the book options window's menus offer: item
// 0..4, "非常にゆっくり" (300 milliseconds a step) to "速い" (15).
constexpr int kFadeSpeedPresetCount = 5;
QString FadeSpeedPresetCaption(int item);
QString FadeSpeedPresetValue(int item);

// What the goto picker writes its choice into (0 for no goto page).
class GotoPageTarget {
public:
    virtual ~GotoPageTarget() = default;
    virtual void SetGotoPage(int page) = 0;
};

// The single-page picker the effects window opens for its goto page.
class GotoPickerPort {
public:
    virtual ~GotoPickerPort() = default;
    // current: the goto page the window holds now.
    virtual void OpenGotoPicker(GotoPageTarget& target, int current)
    {
        (void)target;
        (void)current;
    }
};

// The state behind "特殊効果、設定": the draw mode, the fade and its speed, and the goto
// page of the editor's current page, loaded from the editor's value holders and written
// back into them on OK. The page record itself is only written for its goto page; the
// rest reaches it with the editor's next store.
class TEffectsSettings {
public:
    TEffectsSettings(TPageEditor& editor, PromptPort& prompt, const TBusyState& busy);

    static const QString kCaption; // "特殊効果、設定"
    static const QString
        kLinkAlreadySet; // "テキストのリンクがすでに設定されているので使用できません"
    static QString NextPageText(int gotoPage); // "3ページへ進む", or "" for none

    // The window's state from the editor (the request the editor's "特殊設定" hands over).
    void Load(const EffectsRequest& request);

    // A draw-mode button (1..3) was pressed.
    void SelectDrawMode(int mode);
    // A fade item was chosen (in either panel: both show the same choice).
    void SelectFade(bool fade);
    // A speed menu item: both speed edits take its value.
    void SpeedPreset(int item);

    // "OK" without the hiding: the value holders, the goto page, the summary, and the book
    // marked modified. A speed edit that holds no whole number throws EConvertError after
    // the draw mode, the auto-next flag and the fade choice have been written; the goto
    // page and the speed then stay as they were.
    void Apply();

    // "変更": true when the goto picker may open. Nothing while the busy flag is set; a page
    // whose text links to a page gets kLinkAlreadySet instead.
    bool MayPickGoto();
    // The picker's choice.
    void SetGotoPage(int page);

    int DrawMode() const { return drawMode_; }
    bool Fade() const { return fade_; }
    int GotoPage() const { return gotoPage_; }

    // Control states: the speed edits' texts, the next-page label, the hidden auto-next
    // group's item (0 wait for the reader, 1 go on by itself).
    QString Edit1 = QStringLiteral("0");
    QString Edit3 = QStringLiteral("0");
    QString NextPageLabel = QStringLiteral("次ぎのページへ進む");
    int RadioGroup2 = 0;

    // Panel1 (the picture's fade) in mode 1, Panel3 (the sketch's fade) in mode 3, neither
    // in mode 2; a panel's speed only with the fade item.
    bool Panel1Visible() const { return drawMode_ == 1; }
    bool Panel3Visible() const { return drawMode_ == 3; }
    bool Edit1Visible() const { return Panel1Visible() && fade_; }
    bool Edit3Visible() const { return Panel3Visible() && fade_; }

private:
    TPageEditor& editor_;
    PromptPort& prompt_;
    const TBusyState& busy_;
    int drawMode_ = 1;
    bool fade_ = false;
    int gotoPage_ = 0;
};

} // namespace pimoko

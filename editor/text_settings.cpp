#include "editor/text_settings.h"

#include "book/open_book.h"
#include "editor/page_editor.h"
#include "platform/bitmap.h"
#include "platform/busy_state.h"
#include "platform/cursor_ids.h"
#include "platform/numbers.h"
#include "text/font_table.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pimoko {

const QString TTextSettings::kCaption = QStringLiteral("テキスト詳細設定");
const QString TTextSettings::kGotoPageSet
    = QStringLiteral("次ぎに進むページがすでに設定されているので使用できません");
const QString TTextSettings::kLinkCleared = QStringLiteral("「リンクなし」に設定されました");

namespace {

TextSettingsView gNoView;

const QString kNoHighlight = QStringLiteral("なし");
const QString kMiddleLevel = QStringLiteral("中");

int Nearest(double value)
{
    return static_cast<int>(RoundHalfEven(value));
}

// A height as the window works with it: positive, and no larger than text is drawn.
int WindowFontHeight(int height)
{
    return std::max(1, LayoutFontHeight(height));
}

// The wait cursor for the scope of a long action.
class WaitCursor {
public:
    explicit WaitCursor(TextSettingsView& view)
        : view_(view)
    {
        view_.SetCursor(kCursorWait);
    }
    ~WaitCursor() { view_.SetCursor(kCursorDefault); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    TextSettingsView& view_;
};

} // namespace

// Runs the actions one control's change sets off in a row, then draws the preview once and
// lets the window show the result, also when an action stops at a conversion error.
class TTextSettings::Batch {
public:
    explicit Batch(TTextSettings& owner)
        : owner_(owner)
    {
        ++owner_.depth_;
    }
    ~Batch()
    {
        if (--owner_.depth_ > 0)
            return;
        if (owner_.previewDirty_) {
            owner_.previewDirty_ = false;
            owner_.DrawPreview();
        }
        owner_.view_->PreviewChanged();
        owner_.view_->ControlsChanged();
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

private:
    TTextSettings& owner_;
};

TTextSettings::TTextSettings(
    TPageEditor& editor, TBusyState& busy, PromptPort& prompt, const FontTable& fonts)
    : editor_(editor)
    , busy_(busy)
    , prompt_(prompt)
    , fonts_(fonts)
    , view_(&gNoView)
    , speeds_(kSpeedGridSize * kSpeedGridSize, kNoSpeed)
    , cells_(kSpeedGridSize * kSpeedGridSize)
    , preview_(NewBitmap24())
{
    dialogFont_.height = fields_.fontHeight;
    pageDelays_.fill(-1);
}

void TTextSettings::SetView(TextSettingsView* view)
{
    view_ = view ? view : &gNoView;
}

QString TTextSettings::LinkLabelOf(int linkPage)
{
    return linkPage < 1 ? QStringLiteral("ページリンクなし")
                        : IntToStr(linkPage) + QStringLiteral("ページへリンク");
}

TNovelPage& TTextSettings::Page()
{
    return editor_.Book().Page(editor_.CurrentPage());
}

// ---- Opening --------------------------------------------------------------------------

void TTextSettings::Open(const TextSettingsRequest& request)
{
    Batch batch(*this);
    const TNovelPage& page = request.page;
    LinkLabel = request.linkLabel;
    fields_.savedLinkPage = request.linkPage;
    openedPage_ = editor_.CurrentPage();
    view_->ShowWindow();

    Edit1 = request.defaultDelayText;
    // The editor's lines: the page record does not hold an edit the editor has not stored.
    Memo1 = editor_.Memo1;
    scene_ = request.scene.size() == preview_.size() ? ToBitmap24(request.scene) : NewBitmap24();
    pageDelays_ = page.CharDelays;
    BuildSpeedGrid(request.defaultDelays, request.defaultDelay);

    const int height = WindowFontHeight(page.FontHeight);
    dialogFont_.face = page.FontName;
    dialogFont_.height = height;
    dialogFont_.color = static_cast<ColorRef>(page.FontColor);
    const FontStyles style = StyleFromString(page.FontStyle);
    dialogFont_.bold = style.bold;
    dialogFont_.italic = style.italic;
    dialogFont_.underline = style.underline;
    dialogFont_.strikeOut = style.strikeOut;
    fields_.textX = page.TextX;
    fields_.textY = page.TextY;
    fields_.fontHeight = height;
    fields_.textColor = static_cast<ColorRef>(page.FontColor);
    fields_.shadowColor = static_cast<ColorRef>(page.ShadowColor);
    fields_.shadowOn = page.Shadow;
    fields_.fontName = page.FontName;
    fields_.fontCharset = page.FontCharset;
    fields_.fontFamily = page.FontFamily;

    // The check box first: its own action picks a level, which the stored width overrides.
    SetHighlightCheckBox(page.Highlight);
    fields_.highlightOn = page.Highlight;
    fields_.highlightWidth = page.HighlightLevel;
    if (page.Highlight) {
        HighLightComboBox.clear();
        fields_.highlightRatio = static_cast<double>(page.HighlightLevel) / height;
        HighLightComboBox = HighlightLevelOf(fields_.highlightRatio);
    } else {
        HighLightComboBox = kNoHighlight;
        fields_.highlightRatio = 0.03;
    }
    SetNoShadowCheckBox(!page.Shadow);
    fields_.styleString = page.FontStyle;
    fields_.vertical = page.Vertical;
    SetVerticalCheckBox(page.Vertical);

    fields_.linePitch = page.LinePitch;
    SetPitchMax(height * 3);
    SetPitchBar(page.LinePitch);
    // A pitch the slider cannot show is the one the slider holds, as the preview shows.
    fields_.linePitch = pitchBar_.position;
    if (fontSizeBar_.max < height)
        SetFontSizeMax(height);
    SetFontSizePosition(height);
    previewRect_ = NoRect();
    Redraw();
}

// ---- Check boxes and the level --------------------------------------------------------

void TTextSettings::SetNoShadowCheckBox(bool checked)
{
    if (noShadow_ == checked)
        return;
    Batch batch(*this);
    noShadow_ = checked;
    RunNoShadowAction();
}

void TTextSettings::RunNoShadowAction()
{
    fields_.shadowOn = !noShadow_;
    if (noShadow_) {
        fields_.highlightOn = false;
        SetHighlightCheckBox(false);
    }
    Redraw();
}

void TTextSettings::SetVerticalCheckBox(bool checked)
{
    if (vertical_ == checked)
        return;
    Batch batch(*this);
    vertical_ = checked;
    fields_.vertical = checked;
    Redraw();
}

void TTextSettings::SetHighlightCheckBox(bool checked)
{
    if (highlight_ == checked)
        return;
    Batch batch(*this);
    highlight_ = checked;
    RunHighlightAction();
}

void TTextSettings::RunHighlightAction()
{
    fields_.highlightOn = highlight_;
    if (highlight_) {
        if (HighLightComboBox.isEmpty() || HighLightComboBox == kNoHighlight)
            HighLightComboBox = kMiddleLevel;
        WidthFromLevel();
        fields_.shadowOn = true;
        SetNoShadowCheckBox(false);
    } else {
        HighLightComboBox = kNoHighlight;
    }
    Redraw();
}

void TTextSettings::HighLightComboBoxChange(const QString& text)
{
    Batch batch(*this);
    HighLightComboBox = text;
    if (highlight_) {
        fields_.highlightOn = true;
        fields_.shadowOn = true;
        WidthFromLevel();
        Redraw();
    } else {
        SetHighlightCheckBox(true);
    }
    SetNoShadowCheckBox(false);
}

void TTextSettings::WidthFromLevel()
{
    fields_.highlightRatio = HighlightRatioOf(HighLightComboBox);
    fields_.highlightWidth = HighlightWidthFor(fields_.fontHeight, fields_.highlightRatio);
}

// ---- Sliders --------------------------------------------------------------------------

void TTextSettings::SetFontSizeMax(int max)
{
    fontSizeBar_.max = std::max(fontSizeBar_.min, max);
    if (fontSizeBar_.position > fontSizeBar_.max)
        SetFontSizePosition(fontSizeBar_.max);
}

void TTextSettings::SetFontSizePosition(int position)
{
    position = std::clamp(position, fontSizeBar_.min, fontSizeBar_.max);
    if (position == fontSizeBar_.position)
        return;
    Batch batch(*this);
    fontSizeBar_.position = position;
    RunFontSizeAction();
}

void TTextSettings::RunFontSizeAction()
{
    const int h = fontSizeBar_.position;
    const double r = std::abs(static_cast<double>(pitchBar_.position) / fields_.fontHeight);
    dialogFont_.height = h;
    fields_.fontHeight = h;
    fields_.highlightWidth = Nearest(h * fields_.highlightRatio);
    fields_.linePitch = Nearest(h * r);
    SetPitchMax(h * 3);
    SetPitchBar(Nearest(h * r));
    RubberBand();
}

void TTextSettings::SetPitchMax(int max)
{
    pitchBar_.max = std::max(pitchBar_.min, max);
    if (pitchBar_.position > pitchBar_.max)
        SetPitchBar(pitchBar_.max);
}

void TTextSettings::SetPitchBar(int position)
{
    position = std::clamp(position, pitchBar_.min, pitchBar_.max);
    if (position == pitchBar_.position)
        return;
    Batch batch(*this);
    pitchBar_.position = position;
    fields_.linePitch = position;
    RubberBand();
}

void TTextSettings::SetPitchPosition(int position)
{
    SetPitchBar(position);
}

void TTextSettings::RubberBand()
{
    if (!(previewRect_ == NoRect()))
        XorFrame(preview_, previewRect_);
    PrepareEngine();
    previewRect_ = engine_.TextBounds();
    XorFrame(preview_, previewRect_);
    if (SliderDragging)
        return;
    XorFrame(preview_, previewRect_);
    previewRect_ = NoRect();
    Redraw();
}

void TTextSettings::SliderReleased()
{
    Batch batch(*this);
    SliderDragging = false;
    if (previewRect_ == NoRect())
        return;
    XorFrame(preview_, previewRect_);
    previewRect_ = NoRect();
    Redraw();
}

// ---- Position, font and colours -------------------------------------------------------

void TTextSettings::Image1MouseDown(int x, int y)
{
    Batch batch(*this);
    fields_.textX = x;
    fields_.textY = y;
    Redraw();
}

void TTextSettings::Button7Click()
{
    FontChoice choice = dialogFont_;
    choice.faces = TextFacesOf(fonts_);
    if (!prompt_.ChooseFont(&choice))
        return;
    Batch batch(*this);
    const double r = static_cast<double>(pitchBar_.position) / fields_.fontHeight;
    if (choice.face != fields_.fontName) {
        fields_.fontCharset = fonts_.FontCharsetOf(choice.face);
        fields_.fontFamily = fonts_.FontFamilyOf(choice.face);
    }
    const int height = WindowFontHeight(choice.height);
    choice.faces.clear();
    dialogFont_ = choice;
    dialogFont_.height = height;
    fields_.fontHeight = height;
    fields_.textColor = choice.color;
    fields_.fontName = choice.face;
    FontStyles style;
    style.bold = choice.bold;
    style.italic = choice.italic;
    style.underline = choice.underline;
    style.strikeOut = choice.strikeOut;
    fields_.styleString = StyleToString(style);
    if (fontSizeBar_.max < height)
        SetFontSizeMax(height);
    SetFontSizePosition(height);
    SetPitchMax(height * 3);
    SetPitchBar(Nearest(height * r));
    fields_.linePitch = Nearest(height * r);
    fields_.highlightWidth = Nearest(height * fields_.highlightRatio);
    Redraw();
}

void TTextSettings::SetTextColor(ColorRef color)
{
    Batch batch(*this);
    dialogFont_.color = color;
    fields_.textColor = color;
    Redraw();
}

void TTextSettings::SetShadowColor(ColorRef color)
{
    Batch batch(*this);
    fields_.shadowColor = color;
    SetNoShadowCheckBox(false);
    fields_.shadowOn = true;
    Redraw();
}

void TTextSettings::Button1Click()
{
    quint32 color = fields_.textColor;
    if (prompt_.ChooseColor(&color))
        SetTextColor(color);
}

void TTextSettings::Button2Click()
{
    quint32 color = fields_.shadowColor;
    if (prompt_.ChooseColor(&color))
        SetShadowColor(color);
}

void TTextSettings::FontColorImageMouseDown(int x, int y)
{
    SetTextColor(PaletteColorAt(x, y));
}

void TTextSettings::ShadowColorImageMouseDown(int x, int y)
{
    SetShadowColor(PaletteColorAt(x, y));
}

// ---- Speeds ---------------------------------------------------------------------------

int TTextSettings::SelectedSpeed() const
{
    return RadioGroup1 == 0 ? StrToInt(Edit1) : SpeedOfItem(RadioGroup1);
}

void TTextSettings::ValidateEdit1()
{
    int value = 0;
    if (!TryStrToInt(Edit1, &value) || value < 0)
        Edit1 = QStringLiteral("0");
}

void TTextSettings::StringGrid1MouseDown(int column, int row)
{
    Batch batch(*this);
    ValidateEdit1();
    if (column < 0 || column > kSpeedGridLast || row < 0 || row > kSpeedGridLast)
        return;
    int& speed = speeds_[static_cast<size_t>(column * kSpeedGridSize + row)];
    if (speed == kNoSpeed)
        return;
    speed = SelectedSpeed();
}

void TTextSettings::SpeedResetButtonClick()
{
    int speed = SelectedSpeed();
    Batch batch(*this);
    // A negative speed would mark every cell as holding no character, and "決定" would
    // then store no delay at all.
    if (speed < 0) {
        Edit1 = QStringLiteral("0");
        speed = 0;
    }
    BuildSpeedGrid(true, speed);
}

// ---- The link page --------------------------------------------------------------------

void TTextSettings::LinkBitBtnClick()
{
    if (busy_.IsBusy())
        return;
    if (editor_.GotoPage > 0) {
        prompt_.ShowMessage(MessageKind::Information, kCaption, kGotoPageSet);
        return;
    }
    view_->OpenLinkPicker();
}

void TTextSettings::LinkPageChosen(int page)
{
    Batch batch(*this);
    Page().LinkPage = page;
    editor_.LinkPage = page;
    LinkLabel = LinkLabelOf(page);
    editor_.MarkModified();
}

void TTextSettings::ClearLinkPage()
{
    Batch batch(*this);
    Page().LinkPage = 0;
    editor_.LinkPage = 0;
    prompt_.ShowMessage(MessageKind::Information, kCaption, kLinkCleared);
    LinkLabel = LinkLabelOf(0);
    editor_.MarkModified();
}

void TTextSettings::RestoreLinkPage()
{
    // The link belongs to the page the window was opened for; another page's stays.
    if (editor_.CurrentPage() != openedPage_)
        return;
    Page().LinkPage = fields_.savedLinkPage;
    editor_.LinkPage = fields_.savedLinkPage;
}

// ---- Writing back ---------------------------------------------------------------------

void TTextSettings::Button6Click()
{
    if (editor_.CurrentPage() != openedPage_) {
        // The editor moved to another page meanwhile: these settings are not its.
        view_->HideWindow();
        return;
    }
    WaitCursor wait(*view_);
    editor_.MarkModified();
    editor_.TextChanged = false;
    editor_.PageHadText = true;

    TNovelPage& page = Page();
    page.ResetCharDelays();
    size_t next = 0;
    for (int row = 0; row < kSpeedGridSize; ++row) {
        for (int column = 0; column < kSpeedGridSize; ++column) {
            const int speed = speeds_[static_cast<size_t>(column * kSpeedGridSize + row)];
            if (speed == kNoSpeed || next >= page.CharDelays.size())
                continue;
            // A delay is stored in 16 bits: a larger one is held at the largest.
            page.CharDelays[next++] = static_cast<qint16>(std::clamp(speed, -32768, 32767));
        }
    }
    page.TextX = fields_.textX;
    page.TextY = fields_.textY;
    page.FontHeight = fields_.fontHeight;
    page.FontColor = static_cast<int>(fields_.textColor);
    page.ShadowColor = static_cast<int>(fields_.shadowColor);
    page.Shadow = fields_.shadowOn;
    page.Highlight = fields_.highlightOn;
    page.HighlightLevel = HighlightWidthFor(fields_.fontHeight, fields_.highlightRatio);
    page.FontStyle = fields_.styleString;
    page.FontName = fields_.fontName;
    page.FontFamily = fields_.fontFamily;
    page.FontCharset = fields_.fontCharset;
    page.Vertical = fields_.vertical;
    page.LinePitch = fields_.linePitch;

    fields_.savedLinkPage = page.LinkPage;
    view_->HideWindow();
    editor_.ShowEditorWindow();
    editor_.PageChangedElsewhere();
}

void TTextSettings::Button4Click()
{
    if (busy_.IsBusy())
        return;
    TOpenBook& book = editor_.Book();
    book.DefaultFontName = dialogFont_.face;
    book.DefaultFontHeight = std::abs(dialogFont_.height);
    book.DefaultFontColor = static_cast<int>(dialogFont_.color);
    FontStyles style;
    style.bold = dialogFont_.bold;
    style.italic = dialogFont_.italic;
    style.underline = dialogFont_.underline;
    style.strikeOut = dialogFont_.strikeOut;
    book.DefaultFontStyle = StyleToString(style);
    book.DefaultShadowColor = static_cast<int>(fields_.shadowColor);
    book.DefaultShadow = fields_.shadowOn;
    book.DefaultHighlight = fields_.highlightOn;
    book.DefaultHighlightLevel = fields_.highlightWidth;
    book.DefaultVertical = fields_.vertical;
    book.DefaultTextX = fields_.textX;
    book.DefaultTextY = fields_.textY;
    book.DefaultLinePitch = fields_.linePitch;
    book.DefaultCharDelay = std::max(0, Speed(0, 0));
    // Edit3 shows the new default delay, the default font labels the new font.
    editor_.ShowDefaults();
}

void TTextSettings::Button3Click()
{
    RestoreLinkPage();
    view_->HideWindow();
}

void TTextSettings::FormDeactivate()
{
    if (PickingLink)
        return;
    Button3Click();
}

void TTextSettings::FormClose()
{
    RestoreLinkPage();
}

} // namespace pimoko

#include "editor/page_editor.h"

#include "book/open_book.h"
#include "editor/page_editor_internal.h"
#include "platform/busy_state.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "player/compositor_pages.h"
#include "player/sound_player.h"
#include "player/thumbnail_cache.h"
#include "text/font_table.h"
#include "text/text_shot.h"

#include <algorithm>
#include <cstdlib>

namespace pimoko {

const QString TPageEditor::kCannotInsert = QStringLiteral("ページを挿入できませんでした。");
const QString TPageEditor::kConfirmDelete
    = QStringLiteral("このページを削除してよろしいですか？（削除したページはもとに戻せません）");
const QString TPageEditor::kCannotOpenPicture = QStringLiteral("画像ファイルが開けません。");

QString TPageEditor::LinkRemovedMessage(int page)
{
    return QStringLiteral("ページ ") + IntToStr(page) + QStringLiteral(" のリンクが削除されました");
}

namespace {

EditorViewPort gNoView;
EditorTitleListPort gNoTitleList;
TextSettingsPort gNoTextSettings;
EffectsPort gNoEffects;
ClipSettingsPort gNoClipSettings;
BookOptionsPort gNoBookOptions;
GraphicEditorPort gNoGraphicEditor;
SilentSoundPort gNoSound;

} // namespace

QStringList TPageEditor::MemoLinesOf(const QString& text)
{
    QString unified = text;
    unified.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    unified.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (unified.isEmpty())
        return {};
    QStringList lines = unified.split(QLatin1Char('\n'));
    // A line break at the very end opens no line of its own.
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

TPageEditor::TPageEditor(TOpenBook& book, PromptPort& prompt, TBusyState& busy,
    const FontTable& fonts, ThumbnailCache* thumbnails, const EditorPorts& ports)
    : book_(book)
    , prompt_(prompt)
    , busy_(busy)
    , fonts_(fonts)
    , thumbnails_(thumbnails)
{
    SetPorts(ports);
    ShowDefaults();
    EffectWaitEdit = book_.DefaultEffectWaitText;
    UpdateSummary();
}

TPageEditor::~TPageEditor() = default;

void TPageEditor::SetPorts(const EditorPorts& ports)
{
    ports_.view = ports.view ? ports.view : &gNoView;
    ports_.titleList = ports.titleList ? ports.titleList : &gNoTitleList;
    ports_.textSettings = ports.textSettings ? ports.textSettings : &gNoTextSettings;
    ports_.effects = ports.effects ? ports.effects : &gNoEffects;
    ports_.clipSettings = ports.clipSettings ? ports.clipSettings : &gNoClipSettings;
    ports_.bookOptions = ports.bookOptions ? ports.bookOptions : &gNoBookOptions;
    ports_.graphicEditor = ports.graphicEditor ? ports.graphicEditor : &gNoGraphicEditor;
    ports_.sound = ports.sound ? ports.sound : &gNoSound;
    view_ = ports_.view;
    titleList_ = ports_.titleList;
}

int TPageEditor::CurrentPage() const
{
    return book_.CurrentPage;
}

bool TPageEditor::Busy() const
{
    return busy_.IsBusy();
}

TNovelPage& TPageEditor::Current()
{
    return book_.Page(book_.CurrentPage);
}

QString TPageEditor::DefaultEffectWaitEdit() const
{
    return book_.DefaultEffectWaitText;
}

void TPageEditor::SetDefaultEffectWaitEdit(const QString& text)
{
    book_.DefaultEffectWaitText = text;
    int value = 0;
    if (TryStrToInt(text, &value))
        book_.DefaultEffectWait = value;
}

QString TPageEditor::BookTitleEdit() const
{
    return book_.BookTitle;
}

void TPageEditor::ShowDefaults()
{
    Edit3 = IntToStr(book_.DefaultCharDelay);
    FontNameLabel = book_.DefaultFontName;
    FontHeightLabel = IntToStr(PointSizeOfPixels(book_.DefaultFontHeight));
    FontColorShape = static_cast<ColorRef>(book_.DefaultFontColor);
    view_->ControlsChanged();
}

// ---- Showing, clearing and storing the page --------------------------------------------

void TPageEditor::ShowPage(int n)
{
    TNovelPage& page = book_.Page(n);
    Memo1.clear();
    book_.CurrentPage = n;
    PageLabel = IntToStr(n);

    Edit4 = page.Title;
    Edit4Modified = false;
    PictureFile = page.PictureFile;
    PicEffectCheckBox = page.PicEffect == 1;
    EffectWaitEdit = IntToStr(page.EffectWait);
    ClipMode = page.ClipMode;
    ClipX = page.ClipX;
    ClipY = page.ClipY;
    ClipTransparent = page.ClipTransparent;
    FillImage = page.FillImage;
    FillColor = page.FillImage ? page.FillColor : 0;
    SoundFile = page.SoundFile;
    SoundPathLabel = FileNamePart(page.SoundFile);
    RepeatSoundCheckBox = page.SoundLoop;
    StopSoundCheckBox = page.SoundStop;
    WriteAllCheckBox = page.WriteAll;
    AutoNextCheckBox = page.AutoNext;
    OverRapCheckBox = page.DrawToBackBuffer;
    FlipBackBufferCheckBox = page.ShowBackBuffer;
    PeriodCheckBox = page.Period;
    Period = page.Period;
    LinkPage = page.LinkPage;
    GotoPage = page.GotoPage;
    if (FillImage)
        Label7 = kFillCaption;
    else if (ClipMode)
        Label7 = kClipCaption;
    else
        Label7 = FileNamePart(PictureFile);

    // Filling the memo is no edit of the user's.
    TextChanged = true;
    Memo1 = page.TextLines;
    // Known before the preview, which draws the text as the next store will leave it.
    PageHadText = !page.TextLines.isEmpty();

    RedrawPreview();
    UpdateSummary();

    TextChanged = false;
    if (!PageHadText) {
        // The next store gives the page the default font of that moment.
        page.FontHeight = 0;
        page.FontColor = 0;
        page.FontName.clear();
        page.ShadowColor = 0;
    }
    view_->RepaintEditor();
    ListNeedsRefresh = false;
    view_->ControlsChanged();
}

void TPageEditor::ClearPage()
{
    ListNeedsRefresh = true;
    Edit4.clear();
    Edit4Modified = false;
    SoundPathLabel.clear();
    TextChanged = true;
    Memo1.clear();
    Label7.clear();
    PicEffectCheckBox = false;
    RepeatSoundCheckBox = false;
    StopSoundCheckBox = false;
    WriteAllCheckBox = false;
    AutoNextCheckBox = false;
    OverRapCheckBox = false;
    FlipBackBufferCheckBox = false;
    PeriodCheckBox = false;
    EffectWaitEdit = DefaultEffectWaitEdit();
    PictureFile.clear();
    SoundFile.clear();
    FillImage = false;
    FillColor = 0;
    ResetClipValues();
    Period = false;
    LinkPage = 0;
    GotoPage = 0;
    TextChanged = true;
    PageHadText = false;
    RedrawPreview();
    UpdateSummary();
    view_->ControlsChanged();
}

void TPageEditor::ResetClipValues()
{
    ClipMode = false;
    ClipX = 0;
    ClipY = 0;
    ClipTransparent = true;
}

void TPageEditor::CopyControlsInto(TNovelPage& page, int effectWait) const
{
    page.Title = Edit4;
    page.PictureFile = FillImage ? QString() : PictureFile;
    page.PicEffect = PicEffectCheckBox ? 1 : 0;
    page.EffectWait = effectWait;
    page.ClipMode = ClipMode;
    page.ClipX = ClipX;
    page.ClipY = ClipY;
    page.ClipTransparent = ClipTransparent;
    page.FillImage = FillImage;
    page.FillColor = FillColor;
    page.SoundFile = SoundFile;
    page.SoundLoop = RepeatSoundCheckBox;
    page.SoundStop = StopSoundCheckBox;
    page.TextLines.clear();
    for (const QString& line : Memo1)
        page.TextLines.append(line);
    page.WriteAll = WriteAllCheckBox;
    page.AutoNext = AutoNextCheckBox;
    page.DrawToBackBuffer = OverRapCheckBox;
    page.ShowBackBuffer = FlipBackBufferCheckBox;
    page.Period = Period;
    page.LinkPage = LinkPage;
    page.GotoPage = GotoPage;
}

void TPageEditor::GiveDefaultFont(TNovelPage& page) const
{
    if (!page.HasNoTextSettings())
        return;
    page.FontHeight = book_.DefaultFontHeight;
    page.FontColor = book_.DefaultFontColor;
    page.FontName = book_.DefaultFontName;
    page.FontStyle = book_.DefaultFontStyle;
    page.ShadowColor = book_.DefaultShadowColor;
    page.Shadow = book_.DefaultShadow;
    page.Vertical = book_.DefaultVertical;
    page.Highlight = book_.DefaultHighlight;
    page.HighlightLevel = book_.DefaultHighlightLevel;
    page.TextX = book_.DefaultTextX;
    page.TextY = book_.DefaultTextY;
    page.LinePitch = book_.DefaultLinePitch;
}

void TPageEditor::GiveTextDefaults(TNovelPage& page) const
{
    page.TextX = book_.DefaultTextX;
    page.TextY = book_.DefaultTextY;
    page.FontHeight = book_.DefaultFontHeight;
    page.FontColor = book_.DefaultFontColor;
    page.FontName = book_.DefaultFontName;
    page.FontCharset = fonts_.FontCharsetOf(book_.DefaultFontName);
    page.FontFamily = fonts_.FontFamilyOf(book_.DefaultFontName);
    page.FontStyle = book_.DefaultFontStyle;
    page.ShadowColor = book_.DefaultShadowColor;
    page.Shadow = book_.DefaultShadow;
    page.Highlight = book_.DefaultHighlight;
    page.HighlightLevel = book_.DefaultHighlightLevel;
    page.Vertical = book_.DefaultVertical;
    page.LinePitch = book_.DefaultLinePitch;
}

void TPageEditor::ResetDelaysToDefault(TNovelPage& page, int delay) const
{
    TTextShot shot;
    shot.SetText(page.TextLines);
    const int count = std::min(shot.CharCount(), TNovelPage::kCharDelayCount);
    page.ResetCharDelays();
    const qint16 value = static_cast<qint16>(std::clamp(delay, -32768, 32767));
    for (int i = 0; i < count; ++i)
        page.CharDelays[static_cast<size_t>(i)] = value;
}

bool TPageEditor::StorePage()
{
    const bool applyTextDefaults = !PageHadText && !Memo1.isEmpty();
    const bool resetDelays = PageHadText && TextChanged;
    // Every number is read before anything is written, so a field that holds no number
    // stops the store with the page as it was.
    const int effectWait = StrToInt(EffectWaitEdit);
    if (applyTextDefaults || resetDelays)
        book_.DefaultCharDelay = StrToInt(Edit3);

    TNovelPage& page = Current();
    page.InUse = true;
    page.PageNumber = book_.CurrentPage;
    CopyControlsInto(page, effectWait);
    GiveDefaultFont(page);

    // Once the defaults are given or the delays reset, the page's delays match its text:
    // a later store (a save, the text settings window, closing) keeps them, so speeds set
    // afterwards are not lost and a saved book does not count as changed again.
    if (!PageHadText) {
        if (applyTextDefaults) {
            MarkModified();
            ResetDelaysToDefault(page, book_.DefaultCharDelay);
            GiveTextDefaults(page);
            PageHadText = true;
            TextChanged = false;
        }
        InvalidateAfterChange();
        RefreshTitleListIfVisible();
    } else if (TextChanged) {
        MarkModified();
        ResetDelaysToDefault(page, book_.DefaultCharDelay);
        TextChanged = false;
        InvalidateAfterChange();
        RefreshTitleListIfVisible();
    }
    return true;
}

void TPageEditor::MarkModified()
{
    book_.MarkModified();
    ListNeedsRefresh = true;
}

void TPageEditor::Memo1Change()
{
    if (!TextChanged)
        MarkModified();
    TextChanged = true;
}

void TPageEditor::Memo1Edited(const QStringList& lines)
{
    Memo1 = lines;
    Memo1Change();
    RedrawPreview();
}

void TPageEditor::InvalidateAfterChange()
{
    if (thumbnails_)
        thumbnails_->InvalidateThumbnailsAfterChange(book_.CurrentPage, PagesOf(book_));
}

void TPageEditor::RefreshTitleListIfVisible()
{
    if (titleList_->IsVisible())
        titleList_->Refresh();
}

QString TPageEditor::ResolvePath(const QString& path) const
{
    return ResolveMediaFile(path, book_.BookFolder);
}

// ---- The effects summary -----------------------------------------------------------------

void TPageEditor::UpdateSummary()
{
    AutoNextLabel = AutoNextCheckBox ? QStringLiteral("自動的に次のページへ進む") : QString();
    const QString& w = EffectWaitEdit;
    EffectInfoLabel.clear();
    if (FlipBackBufferCheckBox) {
        if (PicEffectCheckBox)
            EffectInfoLabel = QStringLiteral("スケッチは徐々に表示される  スピード = ") + w;
    } else if (PicEffectCheckBox && (FillImage || !PictureFile.isEmpty())) {
        EffectInfoLabel = ClipMode ? QStringLiteral("クリップは徐々に表示される  スピード = ") + w
                                   : QStringLiteral("背景は徐々に表示される  スピード = ") + w;
    }
    DrawMode = FlipBackBufferCheckBox ? 3 : OverRapCheckBox ? 2 : 1;
    switch (DrawMode) {
    case 1:
        DrawModeLabel = QStringLiteral("このページを直接画面に書く");
        break;
    case 2:
        DrawModeLabel = QStringLiteral("このページをスケッチに書く");
        EffectInfoLabel.clear();
        break;
    default:
        DrawModeLabel = QStringLiteral("このページでスケッチを画面に表示する");
        break;
    }
    view_->ControlsChanged();
}

// ---- Speed menus -------------------------------------------------------------------------

namespace {

struct SpeedPreset {
    const char* caption;
    const char* effectWait;
    const char* charDelay;
    const char* defaultEffectWait;
};

constexpr SpeedPreset kSpeedPresets[kSpeedMenuItems] = {
    { "非常にゆっくり", "1000", "1000", "500" },
    { "ゆっくり", "500", "500", "300" },
    { "ふつう", "300", "300", "100" },
    { "少し速い", "100", "100", "50" },
    { "速い", "50", "50", "20" },
    { "ウエイトなし", "0", "0", "0" },
};

} // namespace

QString SpeedMenuCaption(int item)
{
    if (item < 0 || item >= kSpeedMenuItems)
        return QString();
    return QString::fromUtf8(kSpeedPresets[item].caption);
}

QString SpeedMenuValue(SpeedMenu menu, int item)
{
    if (item < 0 || item >= kSpeedMenuItems)
        return QString();
    const SpeedPreset& p = kSpeedPresets[item];
    switch (menu) {
    case SpeedMenu::EffectWait:
        return QString::fromLatin1(p.effectWait);
    case SpeedMenu::CharDelay:
        return QString::fromLatin1(p.charDelay);
    case SpeedMenu::DefaultEffectWait:
        return QString::fromLatin1(p.defaultEffectWait);
    }
    return QString();
}

void TPageEditor::SpeedMenuClick(SpeedMenu menu, int item)
{
    if (Busy() || item < 0 || item >= kSpeedMenuItems)
        return;
    const QString value = SpeedMenuValue(menu, item);
    switch (menu) {
    case SpeedMenu::EffectWait:
        EffectWaitEdit = value;
        break;
    case SpeedMenu::CharDelay:
        Edit3 = value;
        book_.DefaultCharDelay = StrToInt(value);
        break;
    case SpeedMenu::DefaultEffectWait:
        SetDefaultEffectWaitEdit(value);
        break;
    }
    MarkModified();
    UpdateSummary();
}

// ---- What the book and the player ask of the editor ---------------------------------------

void TPageEditor::ShowEditorWindow()
{
    view_->ShowEditorWindow();
}

void TPageEditor::ShowBookHeader(const TOpenBook&)
{
    // The title and the default fade wait are the book's own fields; the default speed
    // and font fields follow the book's defaults.
    ShowDefaults();
}

void TPageEditor::ShowFirstPage()
{
    PagesChanged();
    ShowPage(1);
}

void TPageEditor::SetPageFadeWaitField(const QString& text)
{
    EffectWaitEdit = text;
    UpdateSummary();
}

void TPageEditor::ResetPageTitleList()
{
    titleList_->Reset();
}

void TPageEditor::DropThumbnails()
{
    if (thumbnails_) {
        thumbnails_->ClearThumbnails(0);
        thumbnails_->ClearThumbnails(1);
    }
    PagesChanged();
}

void TPageEditor::ShowPageLabel(int n)
{
    PageLabel = IntToStr(n);
    view_->ControlsChanged();
}

} // namespace pimoko

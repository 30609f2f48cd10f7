#pragma once

#include "editor/editor_ports.h"
#include "platform/canvas.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>

namespace pimoko {

class FontTable;
class PromptPort;
class SoundPort;
class TBusyState;
class TNovelPage;
class TOpenBook;
class ThumbnailCache;
class PageComposer;

// The ports of the page editor; a null pointer takes the port's do-nothing default.
struct EditorPorts {
    EditorViewPort* view = nullptr;
    EditorTitleListPort* titleList = nullptr;
    TextSettingsPort* textSettings = nullptr;
    EffectsPort* effects = nullptr;
    ClipSettingsPort* clipSettings = nullptr;
    BookOptionsPort* bookOptions = nullptr;
    GraphicEditorPort* graphicEditor = nullptr;
    SoundPort* sound = nullptr; // the audition buttons
};

// The three speed menus of the editor, each writing one of six presets into its field.
enum class SpeedMenu {
    EffectWait, // PopupMenu1 -> EffectWaitEdit (N1..N6)
    CharDelay, // PopupMenu2 -> Edit3 (MenuItem1..MenuItem6)
    DefaultEffectWait, // PopupMenu3 -> DefaultEffectWaitEdit (MenuItem7..MenuItem12)
};
constexpr int kSpeedMenuItems = 6;
// The caption of item 0..5: "非常にゆっくり" .. "ウエイトなし".
QString SpeedMenuCaption(int item);
// The text item 0..5 of the menu writes.
QString SpeedMenuValue(SpeedMenu menu, int item);

// The check boxes that react to a mouse-down (not to a change of state).
enum class EditorCheckBox {
    WriteAll,
    AutoNext,
    OverRap,
    FlipBackBuffer,
    PicEffect,
    RepeatSound,
    StopSound,
};

// The editor's state besides the book: the page being edited, its working copies, the
// values of the window's controls as plain fields, the value holders of the hidden
// panels, and every editing action. The editor window shows these fields and writes the
// ones the user edits, then calls the matching action; it keeps no state of its own.
//
// The current page number has one owner, the open book (TOpenBook::CurrentPage), which
// the player and the title list read as well; CurrentPage() here reads it.
//
// Actions named after a control's event (Button5Click, PeriodCheckBoxMouseDown ...) do
// nothing while the busy flag is set. The operations other windows call (ShowPage,
// StorePage, InsertNewPage ...) do not look at it: their callers do.
class TPageEditor {
public:
    // fonts: the table the text engines resolve fonts with (FontCharsetOf and
    // FontFamilyOf of a default font name). thumbnails may be null.
    TPageEditor(TOpenBook& book, PromptPort& prompt, TBusyState& busy, const FontTable& fonts,
        ThumbnailCache* thumbnails, const EditorPorts& ports = EditorPorts());
    ~TPageEditor();
    TPageEditor(const TPageEditor&) = delete;
    TPageEditor& operator=(const TPageEditor&) = delete;

    void SetPorts(const EditorPorts& ports);
    TOpenBook& Book() { return book_; }
    const TOpenBook& Book() const { return book_; }

    // ---- State ----------------------------------------------------------------------

    int CurrentPage() const;
    // Set by MarkModified and ClearPage, cleared at the end of ShowPage.
    bool ListNeedsRefresh = false;
    // Memo1 was changed by the user since the page was shown.
    bool TextChanged = false;
    // The page had at least one text line when it was shown.
    bool PageHadText = false;

    // Working copies of the current page.
    QString PictureFile;
    bool FillImage = false;
    int FillColor = 0;
    bool ClipMode = false;
    int ClipX = 0;
    int ClipY = 0;
    bool ClipTransparent = true;
    QString SoundFile;
    bool Period = false;
    int LinkPage = 0;
    int GotoPage = 0;

    // Visible controls.
    QString Edit4; // the page heading
    bool Edit4Modified = false; // the edit's own modified flag; the window sets it on typing
    QStringList Memo1;
    bool PicEffectCheckBox = false;
    bool RepeatSoundCheckBox = false;
    bool StopSoundCheckBox = false;
    bool WriteAllCheckBox = false;
    bool AutoNextCheckBox = false;
    bool OverRapCheckBox = false;
    bool FlipBackBufferCheckBox = false;
    bool PeriodCheckBox = false;
    QString SoundPathLabel; // the sound's file name
    QString Label7; // the picture caption
    bool ImageInfoLabelVisible = true;
    QString PageLabel = QStringLiteral("1");

    // The effects summary (UpdateSummary).
    QString AutoNextLabel;
    QString EffectInfoLabel;
    QString DrawModeLabel;
    int DrawMode = 1; // 1 direct, 2 into the sketch, 3 the sketch shown

    // Value holders of the hidden panels.
    QString EffectWaitEdit = QStringLiteral("500");
    QString Edit3 = QStringLiteral("100"); // the default per-character delay
    QString FontNameLabel; // the default font
    QString FontHeightLabel; // its point size, without sign
    ColorRef FontColorShape = 0;
    // The default fade wait field: the book's DefaultEffectWaitText (one owner).
    QString DefaultEffectWaitEdit() const;
    // Sets the text, and DefaultEffectWait when the text holds a number.
    void SetDefaultEffectWaitEdit(const QString& text);
    // "作品名": the book's title (one owner).
    QString BookTitleEdit() const;

    // Fills the default fields from the book defaults: Edit3, EffectWaitEdit and the
    // font labels (after the settings file was read or a book was loaded).
    void ShowDefaults();

    // ---- Operations other parts call ---------------------------------------------------

    // Makes page n the current page and fills the controls from it.
    void ShowPage(int n);
    // Fills the controls with the values of an empty page.
    void ClearPage();
    // Writes the controls into the current page (its text handling: text defaults for a
    // page that had none, delays reset after an edit, else kept). Returns true. A number
    // field that holds no integer throws EConvertError.
    bool StorePage();
    void MarkModified();
    // Memo1's change notification (the window has written Memo1 already).
    void Memo1Change();
    // A keystroke in Memo1: the new lines, Memo1Change and the preview drawn again.
    void Memo1Edited(const QStringList& lines);
    // The lines of a memo's text: a line break at the very end opens no line, so an
    // empty memo has none.
    static QStringList MemoLinesOf(const QString& text);

    // Inserts an empty page at index, shown in the controls, links renumbered. Index 300
    // or above, or a book whose slot 300 is in use, gets "ページを挿入できませんでした。".
    // False when nothing was inserted.
    bool InsertNewPage(int index);
    // An empty in-use page at index; the controls and links stay. False when refused as
    // InsertNewPage refuses.
    bool InsertEmptyPage(int index);
    // The insertion window's two choices (thumbnails, modified, preview, title list).
    void InsertBeforeCurrent();
    void InsertAfterCurrent();
    // True when at least needed free slots follow the last page in use.
    bool CountFreeTail(int needed) const;
    // Pages were copied in from first on (by InsertEmptyPage and the copy): page first
    // is shown, the thumbnails from it invalidated, the book modified, the title list
    // refreshed.
    void CopiesInserted(int first);
    // Removes the page at index; links renumbered with a message for each removed one.
    void DeletePage(int index);

    // A media name from a page as a path to open.
    QString ResolvePath(const QString& path) const;
    void UpdateSummary();

    // The preview: the current page as it will look, from the working copies and Memo1,
    // 640 x 480. Only the current page's layers are drawn again when the pages below have
    // not changed since the last redraw.
    void RedrawPreview();
    const QImage& Preview() const { return preview_; }
    // The same picture composed from scratch (for checks and measurements).
    QImage ComposeFullPreview() const;
    // The scene the text settings window draws on: the preview without the current
    // page's text.
    QImage SceneWithoutCurrentText();
    // The stored pages below the current one as they look (page n - 1 composed; black on
    // page 1): what the clip settings window places the page's clip over.
    QImage PicturesBelowCurrent();
    // Clip-and-text layers drawn for the preview so far.
    int PreviewLayersDrawn() const { return previewLayers_; }
    // Pages changed outside the editor (copied in, reloaded): the kept picture is dropped.
    void PagesChanged();

    // The graphic editor's canvas: black with the picture centred (black when missing),
    // or one colour.
    void PictureToGraphicEditor(const QString& pictureFile);
    void FillGraphicEditor(ColorRef color);
    // The graphic editor saved its picture: it becomes the current page's picture (a clip
    // page keeps its clip settings), stored, and shown in the preview and the title list.
    void GraphicEditorSaved(const QString& pictureFile);

    // The clip window's "決定": the clip position and transparency into the page.
    void ConfirmClip(int x, int y, bool transparent);
    // Another window changed the current page record (text settings, effects): stored,
    // thumbnails, preview and title list brought up to date.
    void PageChangedElsewhere();
    // The effects window wrote the value holders and the goto page.
    void EffectsChosen();

    // ---- Forwarded book hooks and player calls ---------------------------------------

    void ShowEditorWindow();
    void ShowBookHeader(const TOpenBook& book);
    void ShowFirstPage();
    void SetPageFadeWaitField(const QString& text);
    void ResetPageTitleList();
    void DropThumbnails();
    void ShowPageLabel(int n);

    // ---- Actions of the window's controls --------------------------------------------

    void Button5Click(); // next page (BitBtn3)
    void Button6Click(); // previous page (BitBtn2)
    void DeleteBitBtnClick(); // "削除", after its question
    void LoadPicBitBtnClick(); // "画像読込み"
    void FillPaintBitBtnClick(); // "ぬりつぶす"
    void Button10Click(); // "クリア"
    void ClipBitBtnClick(); // "クリップ設定"
    void Image1Click(); // the graphic editor on the background the page shows
    void LoadSoundBitBtnClick(); // "サウンド読込み"
    void Button13Click(); // "サウンドなし"
    void Button12Click(); // "試聴"
    void Button1Click(); // "試聴止め"
    void SetTextBitBtnClick(); // "テキスト設定"
    void BitBtn6Click(); // "特殊設定"
    void OptionButtonClick(); // "編集オプション"
    void BitBtn5Click(); // "見出し"
    void Button11Click(); // "設定変更" of the default font
    void SpeedMenuClick(SpeedMenu menu, int item);
    // A mouse-down on a check box: the box is about to flip; the window flips it.
    void CheckBoxMouseDown(EditorCheckBox box);
    // The period box: Period takes the state the click gives, the page is stored.
    void PeriodCheckBoxMouseDown();
    void BookTitleEditChange(const QString& text);
    void Edit4Enter();
    void EffectWaitEditEnter();
    void Edit4Exit();
    void Edit4KeyDown(int key);
    void FormDeactivate();

    // The window texts of the editing actions.
    static const QString kCannotInsert; // "ページを挿入できませんでした。"
    static const QString kConfirmDelete;
    static const QString kCannotOpenPicture; // "画像ファイルが開けません。"
    static QString LinkRemovedMessage(int page);

private:
    bool Busy() const;
    TNovelPage& Current();
    void CopyControlsInto(TNovelPage& page, int effectWait) const;
    void GiveDefaultFont(TNovelPage& page) const;
    void GiveTextDefaults(TNovelPage& page) const;
    void ResetDelaysToDefault(TNovelPage& page, int delay) const;
    void ResetClipValues();
    void InvalidateAfterChange();
    void RefreshTitleListIfVisible();
    bool MakeRoomAt(int index);
    void RenumberAfterInsert(int index);
    void AfterInsertion(int askedAt);
    void RenumberAfterDelete(int index);
    bool ChoosePicture(QString* path);
    void RunPictureLoad();
    // A new picture, fill or none: the clip is reset, the page stored, the thumbnails,
    // preview, summary and title list brought up to date.
    void BackgroundChanged();
    void StoreChangedHeading();
    TNovelPage PreviewPage() const;
    void EnsureBelow(int n);
    void EnsureScene(const TNovelPage& current);

    TOpenBook& book_;
    PromptPort& prompt_;
    TBusyState& busy_;
    const FontTable& fonts_;
    ThumbnailCache* thumbnails_;

    EditorPorts ports_;
    EditorViewPort* view_;
    EditorTitleListPort* titleList_;

    // The preview: the picture of the pages below the current one, kept while they do not
    // change (belowKey_ says what they looked like), then the current page's background
    // and clip, then its text.
    std::unique_ptr<PageComposer> composer_;
    int composerPage_ = 0; // the page the composer drew last
    quint64 composerKey_ = 0;
    int composerLayers_ = 0;
    QImage below_;
    int belowPage_ = -1;
    quint64 belowKey_ = 0;
    QImage scene_;
    quint64 sceneKey_ = 0;
    bool sceneValid_ = false;
    QImage preview_;
    int previewLayers_ = 0;
};

} // namespace pimoko

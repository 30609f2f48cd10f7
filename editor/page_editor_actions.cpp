#include "editor/page_editor.h"

#include "book/open_book.h"
#include "editor/page_editor_internal.h"
#include "platform/bitmap.h"
#include "platform/busy_state.h"
#include "platform/paths.h"
#include "platform/prompt_port.h"
#include "player/compositor_drawing.h"
#include "player/compositor_pages.h"
#include "player/sound_player.h"

#include <QFileInfo>

#include <cstdlib>

namespace pimoko {

namespace {

const QString kCaption = QStringLiteral("ピモコエディタ");
constexpr int kEnterKey = 13;

} // namespace

// ---- Picture --------------------------------------------------------------------------

bool TPageEditor::ChoosePicture(QString* path)
{
    FileDialogRequest request;
    request.title = QStringLiteral("背景画像を開く");
    request.filter = QStringLiteral("画像(*.bmp/*.jpg)|*.bmp;*.jpg");
    request.initialFolder = book_.BookFolder;
    const QString chosen = prompt_.OpenFileName(request);
    if (!HasExtension(chosen, QStringLiteral(".bmp"))
        && !HasExtension(chosen, QStringLiteral(".jpg")))
        return false;
    *path = chosen;
    return true;
}

void TPageEditor::BackgroundChanged()
{
    ResetClipValues();
    MarkModified();
    StorePage();
    InvalidateAfterChange();
    RedrawPreview();
    UpdateSummary();
    RefreshTitleListIfVisible();
}

void TPageEditor::RunPictureLoad()
{
    QString path;
    if (!ChoosePicture(&path))
        return;
    WaitCursor wait(*view_);
    ImageInfoLabelVisible = false;
    PictureFile = path;
    Label7 = FileNamePart(path);
    FillImage = false;
    BackgroundChanged();
}

void TPageEditor::LoadPicBitBtnClick()
{
    if (Busy())
        return;
    RunPictureLoad();
}

void TPageEditor::FillPaintBitBtnClick()
{
    if (Busy())
        return;
    quint32 color = static_cast<quint32>(FillColor);
    if (!prompt_.ChooseColor(&color))
        return;
    WaitCursor wait(*view_);
    FillColor = static_cast<int>(color);
    FillImage = true;
    PictureFile.clear();
    Label7 = kFillCaption;
    BackgroundChanged();
}

void TPageEditor::Button10Click()
{
    if (Busy())
        return;
    WaitCursor wait(*view_);
    ImageInfoLabelVisible = false;
    Label7.clear();
    PictureFile.clear();
    FillImage = false;
    BackgroundChanged();
}

void TPageEditor::ClipBitBtnClick()
{
    if (Busy())
        return;
    if (PictureFile.isEmpty())
        RunPictureLoad();
    if (PictureFile.isEmpty())
        return;
    const QString resolved = ResolvePath(PictureFile);
    if (!QFileInfo(resolved).isFile()) {
        prompt_.ShowMessage(MessageKind::Information, kCaption, kCannotOpenPicture);
        return;
    }
    ClipRequest request;
    request.pictureFile = resolved;
    request.clipX = ClipX;
    request.clipY = ClipY;
    request.transparent = ClipTransparent;
    ports_.clipSettings->OpenClipSettings(request);
    StorePage();
    RedrawPreview();
    RefreshTitleListIfVisible();
}

void TPageEditor::ConfirmClip(int x, int y, bool transparent)
{
    WaitCursor wait(*view_);
    TNovelPage& page = Current();
    page.ClipX = x;
    page.ClipY = y;
    page.ClipMode = true;
    page.ClipTransparent = transparent;
    page.FillImage = false;
    ClipX = x;
    ClipY = y;
    ClipMode = true;
    ClipTransparent = transparent;
    FillImage = false;
    StorePage();
    InvalidateAfterChange();
    RedrawPreview();
    Label7 = kClipCaption;
    MarkModified();
    UpdateSummary();
}

void TPageEditor::Image1Click()
{
    if (Busy())
        return;
    // The page's own fill or picture (not its clip), else the background it shows through.
    OwnBackground own;
    own.fillImage = FillImage;
    own.fillColor = static_cast<ColorRef>(FillColor);
    own.pictureFile = PictureFile;
    own.clipMode = ClipMode;
    const PageBackground background
        = FindBackgroundPageForEditing(PagesOf(book_), CurrentPage(), own);
    QString source;
    switch (background.kind) {
    case BackgroundKind::Picture:
        source = ResolvePath(background.pictureFile);
        PictureToGraphicEditor(background.pictureFile);
        break;
    case BackgroundKind::Fill:
        FillGraphicEditor(background.fillColor);
        break;
    case BackgroundKind::None:
        ports_.graphicEditor->SetCanvas(NewBitmap24(kPageWidth, kPageHeight));
        break;
    }
    ports_.graphicEditor->OpenGraphicEditor(source);
}

void TPageEditor::PictureToGraphicEditor(const QString& pictureFile)
{
    QImage canvas;
    // A missing or unreadable file leaves the canvas black.
    DrawPictureCentred(canvas, LoadPicture(ResolvePath(pictureFile)));
    ports_.graphicEditor->SetCanvas(canvas);
}

void TPageEditor::FillGraphicEditor(ColorRef color)
{
    QImage canvas = NewBitmap24(kPageWidth, kPageHeight);
    FillBitmap(canvas, color);
    ports_.graphicEditor->SetCanvas(canvas);
}

void TPageEditor::GraphicEditorSaved(const QString& pictureFile)
{
    WaitCursor wait(*view_);
    ImageInfoLabelVisible = false;
    PictureFile = pictureFile;
    Label7 = ClipMode ? kClipCaption : FileNamePart(pictureFile);
    FillImage = false;
    MarkModified();
    StorePage();
    InvalidateAfterChange();
    RedrawPreview();
    UpdateSummary();
    RefreshTitleListIfVisible();
}

// ---- Sound ----------------------------------------------------------------------------

void TPageEditor::LoadSoundBitBtnClick()
{
    if (Busy())
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("サウンドファイルを開く");
    request.filter = QStringLiteral("サウンドファイル(*.wav/*.mid)|*.wav;*.mid");
    request.initialFolder = book_.BookFolder;
    const QString chosen = prompt_.OpenFileName(request);
    if (!HasExtension(chosen, QStringLiteral(".wav"))
        && !HasExtension(chosen, QStringLiteral(".mid")))
        return;
    SoundPathLabel = FileNamePart(chosen);
    SoundFile = chosen;
    MarkModified();
    view_->ControlsChanged();
}

void TPageEditor::Button13Click()
{
    if (Busy())
        return;
    SoundPathLabel.clear();
    SoundFile.clear();
    MarkModified();
    view_->ControlsChanged();
}

void TPageEditor::Button12Click()
{
    if (Busy() || SoundFile.isEmpty())
        return;
    ports_.sound->StopSounds();
    ports_.sound->PlaySound(ResolvePath(SoundFile), RepeatSoundCheckBox);
}

void TPageEditor::Button1Click()
{
    if (Busy())
        return;
    ports_.sound->StopSounds();
}

// ---- The other windows ----------------------------------------------------------------

void TPageEditor::SetTextBitBtnClick()
{
    if (Busy() || Memo1.isEmpty())
        return;
    WaitCursor wait(*view_);
    TextSettingsRequest request;
    request.linkPage = LinkPage;
    request.linkLabel = LinkPage < 1 ? QStringLiteral("ページリンクなし")
                                     : IntToStr(LinkPage) + QStringLiteral("ページへリンク");
    request.defaultDelayText = Edit3;
    request.defaultDelay = StrToInt(Edit3);
    book_.DefaultCharDelay = request.defaultDelay;
    request.scene = SceneWithoutCurrentText();
    TNovelPage& page = Current();
    GiveDefaultFont(page);
    request.page.Assign(page);
    request.defaultDelays = TextChanged || !PageHadText;
    ports_.textSettings->OpenTextSettings(request);
}

void TPageEditor::PageChangedElsewhere()
{
    WaitCursor wait(*view_);
    StorePage();
    InvalidateAfterChange();
    RedrawPreview();
    UpdateSummary();
    RefreshTitleListIfVisible();
}

void TPageEditor::BitBtn6Click()
{
    if (Busy())
        return;
    EffectsRequest request;
    request.drawMode = FlipBackBufferCheckBox ? 3 : OverRapCheckBox ? 2 : 1;
    request.autoNext = AutoNextCheckBox;
    request.picEffect = PicEffectCheckBox;
    request.waitText = EffectWaitEdit;
    request.nextPageLabel
        = GotoPage >= 1 ? IntToStr(GotoPage) + QStringLiteral("ページへ進む") : QString();
    ports_.effects->OpenEffects(request);
}

void TPageEditor::EffectsChosen()
{
    UpdateSummary();
    MarkModified();
}

void TPageEditor::OptionButtonClick()
{
    if (Busy())
        return;
    BookOptionsRequest request;
    request.defaultEffectWait = DefaultEffectWaitEdit();
    request.fileLabel = book_.BookFilePath.isEmpty() ? QStringLiteral("ファイルが保存されていない")
                                                     : book_.BookFilePath;
    ports_.bookOptions->OpenBookOptions(request);
}

void TPageEditor::BitBtn5Click()
{
    if (Busy())
        return;
    titleList_->ShowForEditing();
}

void TPageEditor::Button11Click()
{
    if (Busy())
        return;
    FontChoice font;
    font.face = book_.DefaultFontName;
    font.height = std::abs(book_.DefaultFontHeight);
    font.color = static_cast<quint32>(book_.DefaultFontColor);
    if (!prompt_.ChooseFont(&font))
        return;
    book_.DefaultFontName = font.face;
    book_.DefaultFontHeight = std::abs(font.height);
    book_.DefaultFontColor = static_cast<int>(font.color);
    ShowDefaults();
}

// ---- Check boxes and edits ------------------------------------------------------------

void TPageEditor::CheckBoxMouseDown(EditorCheckBox)
{
    if (Busy())
        return;
    MarkModified();
}

void TPageEditor::PeriodCheckBoxMouseDown()
{
    if (Busy())
        return;
    // The state the click is about to give the box.
    Period = !PeriodCheckBox;
    StorePage();
    MarkModified();
}

void TPageEditor::BookTitleEditChange(const QString& text)
{
    book_.BookTitle = text;
    MarkModified();
}

void TPageEditor::Edit4Enter()
{
    if (Busy())
        return;
    MarkModified();
}

void TPageEditor::EffectWaitEditEnter()
{
    if (Busy())
        return;
    MarkModified();
}

void TPageEditor::StoreChangedHeading()
{
    if (!Edit4Modified)
        return;
    StorePage();
    Edit4Modified = false;
    if (titleList_->IsVisible())
        titleList_->ReloadTitles();
}

void TPageEditor::Edit4Exit()
{
    if (Busy())
        return;
    StoreChangedHeading();
}

void TPageEditor::Edit4KeyDown(int key)
{
    if (Busy() || key != kEnterKey)
        return;
    StoreChangedHeading();
}

void TPageEditor::FormDeactivate()
{
    if (Busy())
        return;
    StoreChangedHeading();
    if (titleList_->ServesPlayer())
        return;
    view_->RepaintEditor();
    if (view_->IsMinimised())
        titleList_->Hide();
}

} // namespace pimoko

#include "paint/graphic_editor.h"

#include "paint/picture_names.h"
#include "platform/bitmap.h"
#include "platform/paths.h"
#include "platform/prompt_port.h"

#include <QDir>
#include <QPainter>

#include <algorithm>

namespace pimoko {

const QString TGraphicEditor::kCaption = QStringLiteral("ピモコグラフィックエディタ");
const QString TGraphicEditor::kSaveQuestion
    = QStringLiteral("画像が変更されています。保存しますか？");
const QString TGraphicEditor::kCannotSave = QStringLiteral("画像を保存できませんでした。");

QPoint FirstShowPosition(const QRect& workArea, const QSize& window)
{
    const int left = window.width() < workArea.width()
        ? workArea.left() + (workArea.width() - window.width()) / 2
        : workArea.left();
    const int top = window.height() < workArea.height()
        ? workArea.top() + (workArea.height() - window.height()) / 2
        : workArea.top();
    return QPoint(left, top);
}

TGraphicEditor::TGraphicEditor(
    PromptPort& prompt, const QString& startupFolder, RandomSource& random, GraphicEditorHost* host)
    : prompt_(prompt)
    , startupFolder_(startupFolder)
    , random_(random)
    , host_(host ? host : &noHost_)
    , canvas_(NewBitmap24(kPageWidth, kPageHeight))
    , penBase_(NewBitmap24(kBasePenSide, kBasePenSide))
    , undo_(FindExistingPath(JoinPath(startupFolder, QStringLiteral("Temp"))))
{
    RebuildWorkingPen();
}

void TGraphicEditor::SetHost(GraphicEditorHost* host)
{
    host_ = host ? host : &noHost_;
}

QString TGraphicEditor::PenFolder() const
{
    return FindExistingPath(JoinPath(startupFolder_, QStringLiteral("pen")));
}

QString TGraphicEditor::DeletedFolder() const
{
    return FindExistingPath(JoinPath(startupFolder_, QStringLiteral("Deleted")));
}

// ---- Opening and closing --------------------------------------------------------------

void TGraphicEditor::Open(const QImage& canvas, const QString& sourcePicture)
{
    sourcePicture_ = sourcePicture;
    QImage page = ToBitmap24(canvas);
    if (page.size() != QSize(kPageWidth, kPageHeight)) {
        // Pictures are placed, never scaled: centred on black.
        QImage placed = NewBitmap24(kPageWidth, kPageHeight);
        if (!page.isNull()) {
            QPainter p(&placed);
            p.drawImage(
                QPoint((kPageWidth - page.width()) / 2, (kPageHeight - page.height()) / 2), page);
        }
        page = placed;
    }
    canvas_ = page;
    CanvasChanged();
    // The Temp folder is looked up again: the program may have made it since.
    undo_.SetTempFolder(FindExistingPath(JoinPath(startupFolder_, QStringLiteral("Temp"))));
    undo_.Clear();
    undo_.MarkPending();
    undo_.Snapshot(canvas_);
    modified_ = false;
    stampReady_ = true;
    accumulated_ = 0;
    lastButtons_ = MouseState();
    penCreationMode_ = false;
    selection_.Reset();
    CreatePenPanelVisible = false;
}

bool TGraphicEditor::CloseQuery()
{
    if (!modified_)
        return true;
    switch (prompt_.Ask(MessageKind::Warning, kCaption, kSaveQuestion, Buttons::YesNoCancel)) {
    case Answer::Yes:
        return SaveButtonClick();
    case Answer::No:
        modified_ = false;
        return true;
    default:
        return false;
    }
}

bool TGraphicEditor::SaveButtonClick()
{
    const QString folder = PaintedPictureFolder(host_->BookFolder(), startupFolder_);
    QDir().mkpath(folder);
    const QString path = PaintedPictureFile(folder, sourcePicture_);
    if (path.isEmpty() || !WriteBmp24(path, canvas_)) {
        prompt_.ShowMessage(MessageKind::Error, kCaption, kCannotSave);
        return false;
    }
    host_->PictureSaved(path);
    modified_ = false;
    return true;
}

// ---- Pens -----------------------------------------------------------------------------

void TGraphicEditor::LoadPens()
{
    pens_.Load(PenFolder());
    markedCell_ = -1;
    pensLoaded_ = true;
}

void TGraphicEditor::SelectPenBitBtnClick()
{
    PenPanelVisible = true;
    if (!pensLoaded_)
        LoadPens();
}

void TGraphicEditor::CurrentPenImageMouseEnter()
{
    Snapshot();
    SelectPenBitBtnClick();
}

void TGraphicEditor::PenGridClick(int cell, bool rightButton)
{
    const QString path = pens_.PathOfCell(cell);
    if (rightButton) {
        markedCell_ = path.isEmpty() ? -1 : cell;
        return;
    }
    Snapshot();
    if (path.isEmpty())
        return;
    const QImage image = ReadBmp(path);
    if (image.isNull())
        return;
    TakePen(image);
    PenPanelVisible = false;
}

void TGraphicEditor::DeletePenPopupMenuClick()
{
    Snapshot();
    const int slot = pens_.SlotOfCell(markedCell_);
    markedCell_ = -1;
    if (slot < 0)
        return;
    // Errors of the copy and the removal are left alone: the slot is freed either way.
    MovePenToDeleted(pens_.Slot(slot).path, DeletedFolder());
    pens_.Free(slot);
}

void TGraphicEditor::TakePen(const QImage& image)
{
    penBase_ = ToBitmap24(image);
    ResetColourUnlessAirbrush();
    RebuildWorkingPen();
    penReady_ = true;
}

void TGraphicEditor::ResetColourUnlessAirbrush()
{
    if (tip_ != PenTipKind::Airbrush)
        colour_ = PenColour();
}

void TGraphicEditor::RebuildWorkingPen()
{
    const QSize size = ScaledPenSize(penBase_.size(), penSize_);
    working_ = StampImage(StretchPen(penBase_, size.width(), size.height()), colour_);
    preview_ = PenPreview(penBase_, colour_, penSize_);
}

// ---- Settings -------------------------------------------------------------------------

void TGraphicEditor::PickColour(ColorRef colour)
{
    colour_ = PenColour::FromColorRef(colour);
    // The stamps are tinted with the colour they are made in.
    RebuildWorkingPen();
}

void TGraphicEditor::PenSizeTrackBarChange(int position)
{
    Snapshot();
    penSize_ = std::clamp(position, kMinPenSize, kMaxPenSize);
    if (penReady_)
        RebuildWorkingPen();
}

void TGraphicEditor::PenTransTrackBarChange(int position)
{
    Snapshot();
    density_ = std::clamp(position, kMinDensity, kMaxDensity);
}

void TGraphicEditor::BrushTimeTrackBarChange(int position)
{
    Snapshot();
    sprayPosition_ = std::clamp(position, kMinSpray, kMaxSpray);
    sprayThreshold_ = Interval();
}

void TGraphicEditor::PenRadioGroupClick(int item)
{
    Snapshot();
    tip_ = static_cast<PenTipKind>(std::clamp(item, 0, 2));
    ResetColourUnlessAirbrush();
    if (penReady_)
        RebuildWorkingPen();
}

void TGraphicEditor::ToolRadioGroupClick(int item)
{
    Snapshot();
    way_ = static_cast<DrawingWayKind>(std::clamp(item, 0, 2));
}

} // namespace pimoko

#pragma once

#include "paint/drawing_ways.h"
#include "paint/pen_image.h"
#include "paint/pen_maker.h"
#include "paint/pen_slots.h"
#include "paint/pen_tips.h"
#include "paint/undo_ring.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace pimoko {

class PromptPort;
class RandomSource;

// What the graphic editor asks of the program around it.
class GraphicEditorHost {
public:
    virtual ~GraphicEditorHost() = default;
    // The folder of the book being edited.
    virtual QString BookFolder() const { return QString(); }
    // A saved picture becomes the current page's picture.
    virtual void PictureSaved(const QString& path) { (void)path; }
};

// The mouse buttons and keys held at a mouse event.
struct MouseState {
    bool left = false;
    bool right = false;
    bool middle = false;
    bool keys = false; // Shift, Ctrl or Alt
    // Painting takes the left button with no other button or key.
    bool LeftAlone() const { return left && !right && !middle && !keys; }
};

// The window's top-left at its first show: centred in the work area when it fits there,
// else at the work area's edge.
QPoint FirstShowPosition(const QRect& workArea, const QSize& window);

// "ピモコグラフィックエディタ" without its window: the canvas, the pens, the settings of the
// sliders and radio groups, the mouse and timer rules, the undo ring, pen making and
// saving. The window shows these fields and turns its events into the calls below.
class TGraphicEditor {
public:
    static const QString kCaption; // "ピモコグラフィックエディタ"
    static const QString kSaveQuestion; // "画像が変更されています。保存しますか？"
    static const QString kCannotSave;

    // Ranges and defaults of the three sliders.
    static constexpr int kMinPenSize = 10;
    static constexpr int kMaxPenSize = 100;
    static constexpr int kMinDensity = 2;
    static constexpr int kMaxDensity = 100;
    static constexpr int kDefaultDensity = 50;
    static constexpr int kMinSpray = 10;
    static constexpr int kMaxSpray = 500;
    static constexpr int kBasePenSide = 64;

    // startupFolder holds the "pen", "Temp" and "Deleted" folders.
    TGraphicEditor(PromptPort& prompt, const QString& startupFolder, RandomSource& random,
        GraphicEditorHost* host = nullptr);
    void SetHost(GraphicEditorHost* host);

    // ---- Opening and closing ----------------------------------------------------------

    // The editor opens the window on the page's background (640 x 480) and the picture
    // file it came from ("" for a fill or black): the undo ring starts afresh with this
    // picture as its first state, and nothing counts as changed.
    void Open(const QImage& canvas, const QString& sourcePicture);
    // The unsaved-changes question when the window is closed or left. Yes saves, No drops
    // the changes. False for Cancel (or a save that failed): the window stays.
    bool CloseQuery();
    // "保存": the canvas is written under a new name and becomes the page's picture. False
    // when it could not be written (the user is told; the window stays).
    bool SaveButtonClick();

    // ---- Pens ---------------------------------------------------------------------------

    // The pen folder is read (again), every slot filled anew.
    void LoadPens();
    // "ペン選択": the pen grid, its pens read the first time.
    void SelectPenBitBtnClick();
    // The pointer over CurrentPenImage: a snapshot, then as "ペン選択".
    void CurrentPenImageMouseEnter();
    // "キャンセル" of the pen grid.
    void Button3Click() { PenPanelVisible = false; }
    // A click on a grid cell. The left button takes its pen, the right one marks the cell
    // for "削除する".
    void PenGridClick(int cell, bool rightButton);
    // "削除する": the marked pen goes to the "Deleted" folder.
    void DeletePenPopupMenuClick();
    const PenSlots& Pens() const { return pens_; }
    int MarkedCell() const { return markedCell_; }

    // ---- Settings -----------------------------------------------------------------------

    // The palette, or the right button on the canvas.
    void PickColour(ColorRef colour);
    void PenSizeTrackBarChange(int position);
    void PenTransTrackBarChange(int position);
    void BrushTimeTrackBarChange(int position);
    void PenRadioGroupClick(int item);
    void ToolRadioGroupClick(int item);

    PenColour Colour() const { return colour_; }
    int PenSize() const { return penSize_; }
    int Density() const { return density_; }
    int CanvasShare() const { return 100 - density_; }
    int SprayPosition() const { return sprayPosition_; }
    // The spray timer's interval in milliseconds: 510 - the speed slider.
    int Interval() const { return 510 - sprayPosition_; }
    PenTipKind Tip() const { return tip_; }
    DrawingWayKind Way() const { return way_; }

    // ---- The canvas ---------------------------------------------------------------------

    void CanvasMouseDown(QPoint at, const MouseState& buttons);
    void CanvasMouseMove(QPoint at, const MouseState& buttons);
    // buttons: the buttons still held after the release.
    void CanvasMouseUp(QPoint at, const MouseState& buttons);
    // The spray timer: holding the button still keeps painting at the timer's pace.
    void TimerTick();

    // "前の画像", "後の画像".
    void UndoBitBtnClick();
    void UndoNextBitBtnClick();

    // "ペン作成": the next drag on the canvas selects the rectangle of a new pen.
    void MakePenBitBtnClick();
    // "作成する" with the choices of "ペンの背景" and "ペンの大きさ".
    void Button2Click();
    // "取り消し".
    void Button5Click();

    const QImage& Canvas() const { return canvas_; }
    // Grows whenever the canvas changes, so a window repaints only then.
    quint64 CanvasVersion() const { return canvasVersion_; }
    const QImage& PenBase() const { return penBase_; }
    const StampImage& WorkingPen() const { return working_; }
    // CurrentPenImage.
    const QImage& PenPreviewImage() const { return preview_; }
    const UndoRing& Undo() const { return undo_; }
    const PenSelection& Selection() const { return selection_; }
    QString SourcePicture() const { return sourcePicture_; }
    bool Modified() const { return modified_; }
    bool PenReady() const { return penReady_; }
    bool PensLoaded() const { return pensLoaded_; }
    bool StampReady() const { return stampReady_; }
    bool PenCreationMode() const { return penCreationMode_; }
    QString PenFolder() const;
    QString DeletedFolder() const;

    // Panels of the window.
    bool PenPanelVisible = false;
    bool CreatePenPanelVisible = false;
    PenBackground PenBackgroundChoice = PenBackground::Transparent;
    PenSizing PenSizingChoice = PenSizing::Original;

private:
    void Snapshot();
    void RebuildWorkingPen();
    void ResetColourUnlessAirbrush();
    void TakePen(const QImage& image);
    void PaintAt(QPoint at, bool timerTick);
    void CanvasChanged() { ++canvasVersion_; }
    QPoint PreviousFor(QPoint at) const;

    PromptPort& prompt_;
    QString startupFolder_;
    RandomSource& random_;
    GraphicEditorHost noHost_;
    GraphicEditorHost* host_;

    QImage canvas_;
    quint64 canvasVersion_ = 0;
    QImage penBase_;
    StampImage working_;
    QImage preview_;
    PenColour colour_;
    int penSize_ = kMaxPenSize;
    int density_ = kDefaultDensity;
    int sprayPosition_ = kMaxSpray;
    PenTipKind tip_ = PenTipKind::Normal;
    DrawingWayKind way_ = DrawingWayKind::Stamp;
    bool penReady_ = false;
    bool pensLoaded_ = false;
    bool modified_ = false;
    QString sourcePicture_;

    QPoint previous_; // top-left of the last stamp
    QPoint lastMouse_;
    MouseState lastButtons_;
    bool stampReady_ = true;
    int accumulated_ = 0; // milliseconds of timer ticks
    int sprayThreshold_ = 0; // 0 until the speed slider moves

    PenSlots pens_;
    int markedCell_ = -1;
    UndoRing undo_;
    bool penCreationMode_ = false;
    PenSelection selection_;
};

} // namespace pimoko

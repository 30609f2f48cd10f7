#include "paint/graphic_editor.h"

#include "platform/bitmap.h"
#include "platform/paths.h"

#include <QDir>

namespace pimoko {

void TGraphicEditor::Snapshot()
{
    undo_.Snapshot(canvas_);
}

QPoint TGraphicEditor::PreviousFor(QPoint at) const
{
    return StampTopLeft(at, working_);
}

void TGraphicEditor::PaintAt(QPoint at, bool timerTick)
{
    stampReady_ = false;
    if (!penReady_)
        return;
    undo_.MarkPending();
    TipSettings settings;
    settings.canvasShare = CanvasShare();
    settings.colour = colour_;
    const PaintStep step { canvas_, TipOf(tip_), settings, working_, at, previous_, timerTick,
        random_ };
    WayOf(way_).Paint(step);
    modified_ = true;
    CanvasChanged();
}

void TGraphicEditor::CanvasMouseDown(QPoint at, const MouseState& buttons)
{
    if (buttons.right && !buttons.left) {
        if (canvas_.rect().contains(at)) {
            const uchar* p = canvas_.constScanLine(at.y()) + 3 * at.x();
            PickColour(MakeColorRef(p[2], p[1], p[0]));
        }
    }
    if (penCreationMode_ && buttons.LeftAlone()) {
        selection_.Press(at);
        lastMouse_ = at;
        lastButtons_ = buttons;
        return;
    }
    CanvasMouseMove(at, buttons);
}

void TGraphicEditor::CanvasMouseMove(QPoint at, const MouseState& buttons)
{
    PenPanelVisible = false;
    lastMouse_ = at;
    lastButtons_ = buttons;
    if (!buttons.LeftAlone()) {
        previous_ = PreviousFor(at);
        return;
    }
    if (penCreationMode_) {
        selection_.Drag(at);
        return;
    }
    if (!stampReady_)
        return;
    PaintAt(at, false);
    previous_ = PreviousFor(at);
}

void TGraphicEditor::CanvasMouseUp(QPoint at, const MouseState& buttons)
{
    stampReady_ = true;
    accumulated_ = 0;
    lastMouse_ = at;
    // The spray stops with the button, even when the pointer stays where it was.
    lastButtons_ = buttons;
    if (!penCreationMode_ || selection_.GetState() != PenSelection::Dragging)
        return;
    selection_.Release();
    penCreationMode_ = false;
    CreatePenPanelVisible = true;
    PenBackgroundChoice = PenBackground::Transparent;
    PenSizingChoice = PenSizing::Original;
}

void TGraphicEditor::TimerTick()
{
    accumulated_ += Interval();
    if (accumulated_ > sprayThreshold_) {
        stampReady_ = true;
        accumulated_ = 0;
    }
    if (!lastButtons_.LeftAlone() || penCreationMode_ || !stampReady_)
        return;
    PaintAt(lastMouse_, true);
    previous_ = PreviousFor(lastMouse_);
}

void TGraphicEditor::UndoBitBtnClick()
{
    undo_.StepBack(canvas_);
    CanvasChanged();
}

void TGraphicEditor::UndoNextBitBtnClick()
{
    undo_.StepForward(canvas_);
    CanvasChanged();
}

void TGraphicEditor::MakePenBitBtnClick()
{
    Snapshot();
    penCreationMode_ = true;
    selection_.Reset();
}

void TGraphicEditor::Button2Click()
{
    CreatePenPanelVisible = false;
    const QImage pen = MakePenImage(
        canvas_, selection_.Start(), selection_.End(), PenBackgroundChoice, PenSizingChoice);
    selection_.Reset();
    if (pen.isNull())
        return;
    QString folder = PenFolder();
    QDir().mkpath(folder);
    const QString path = FreePenFile(folder);
    // A pen that cannot be written is still the pen to paint with now.
    if (!path.isEmpty() && WriteBmp24(path, pen)) {
        pens_.Add(path);
        pens_.RefillGrid();
    }
    TakePen(pen);
}

void TGraphicEditor::Button5Click()
{
    CreatePenPanelVisible = false;
    selection_.Reset();
    penCreationMode_ = false;
}

} // namespace pimoko

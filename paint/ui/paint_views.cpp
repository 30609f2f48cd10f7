#include "paint/ui/paint_views.h"

#include "paint/graphic_editor.h"
#include "paint/pen_slots.h"
#include "platform/bitmap.h"

#include <QColor>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace pimoko {

MouseState MouseStateOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    MouseState state;
    state.left = buttons & Qt::LeftButton;
    state.right = buttons & Qt::RightButton;
    state.middle = buttons & ~(Qt::LeftButton | Qt::RightButton);
    state.keys = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    return state;
}

// ---- CanvasImage ----------------------------------------------------------------------

PaintCanvasView::PaintCanvasView(const TGraphicEditor& editor, QWidget* parent)
    : QWidget(parent)
    , editor_(editor)
{
    setFixedSize(kPageWidth, kPageHeight);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintCanvasView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, editor_.Canvas());
    const PenSelection& selection = editor_.Selection();
    if (selection.GetState() != PenSelection::Dragging)
        return;
    const QPoint a = selection.Start();
    const QPoint b = selection.End();
    const int w = std::abs(b.x() - a.x());
    const int h = std::abs(b.y() - a.y());
    if (w < 1 || h < 1)
        return;
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(std::min(a.x(), b.x()), std::min(a.y(), b.y()), w - 1, h - 1);
}

void PaintCanvasView::mousePressEvent(QMouseEvent* event)
{
    if (onMouseDown)
        onMouseDown(
            event->position().toPoint(), MouseStateOf(event->buttons(), event->modifiers()));
}

void PaintCanvasView::mouseMoveEvent(QMouseEvent* event)
{
    if (onMouseMove)
        onMouseMove(
            event->position().toPoint(), MouseStateOf(event->buttons(), event->modifiers()));
}

void PaintCanvasView::mouseReleaseEvent(QMouseEvent* event)
{
    if (onMouseUp)
        onMouseUp(event->position().toPoint(), MouseStateOf(event->buttons(), event->modifiers()));
}

// ---- The pen grid ---------------------------------------------------------------------

PenGridView::PenGridView(const PenSlots& pens, QWidget* parent)
    : QWidget(parent)
    , pens_(pens)
{
    setFixedSize(PenSlots::kColumns * PenSlots::kCellSize, PenSlots::kRows * PenSlots::kCellSize);
}

void PenGridView::Reload()
{
    images_.clear();
    update();
}

void PenGridView::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), QColor(236, 236, 236));
    const int side = PenSlots::kCellSize;
    const QRect dirty = event->rect();
    for (int cell = 0; cell < PenSlots::kCells; ++cell) {
        const QRect box(
            (cell % PenSlots::kColumns) * side, (cell / PenSlots::kColumns) * side, side, side);
        if (!box.intersects(dirty))
            continue;
        p.setPen(QColor(200, 200, 200));
        p.drawRect(box.adjusted(0, 0, -1, -1));
        const QString path = pens_.PathOfCell(cell);
        if (path.isEmpty())
            continue;
        auto found = images_.find(path);
        if (found == images_.end())
            found = images_.insert(path, ReadBmp(path));
        if (found->isNull())
            continue;
        p.save();
        p.setClipRect(box);
        p.drawImage(box.topLeft(), *found);
        p.restore();
    }
}

void PenGridView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const int cell = PenSlots::CellAt(at.x(), at.y());
    if (cell >= 0 && onCellPressed)
        onCellPressed(cell, event->button() == Qt::RightButton, event->globalPosition().toPoint());
}

// ---- PalletImage ----------------------------------------------------------------------

PaletteView::PaletteView(QWidget* parent)
    : QWidget(parent)
{
    setFixedSize(232, 96);
    picture_ = MakePalette(width(), height());
}

QImage PaletteView::MakePalette(int width, int height)
{
    QImage image = NewBitmap24(width, height);
    const int greys = std::max(1, height / 8);
    const int colours = height - greys;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            QColor c;
            if (y >= colours) {
                const int g = width > 1 ? 255 * x / (width - 1) : 0;
                c = QColor(g, g, g);
            } else {
                // Lightness from white at the top through the full hue to black.
                const int hue = width > 1 ? 359 * x / (width - 1) : 0;
                const int light = colours > 1 ? 255 - 255 * y / (colours - 1) : 128;
                c = QColor::fromHsl(hue, 255, std::clamp(light, 0, 255));
            }
            uchar* p = image.scanLine(y) + 3 * x;
            p[0] = static_cast<uchar>(c.blue());
            p[1] = static_cast<uchar>(c.green());
            p[2] = static_cast<uchar>(c.red());
        }
    }
    return image;
}

void PaletteView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}

void PaletteView::Pick(QPoint at)
{
    if (!picture_.rect().contains(at) || !onPick)
        return;
    onPick(picture_.pixel(at));
}

void PaletteView::mousePressEvent(QMouseEvent* event)
{
    Pick(event->position().toPoint());
}

void PaletteView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & (Qt::LeftButton | Qt::RightButton))
        Pick(event->position().toPoint());
}

// ---- CurrentPenImage and PenColorPaintBox ---------------------------------------------

SwatchView::SwatchView(QWidget* parent)
    : QWidget(parent)
{
}

void SwatchView::SetPicture(const QImage& picture)
{
    picture_ = picture;
    showsColour_ = false;
    update();
}

void SwatchView::SetColour(const QColor& colour)
{
    colour_ = colour;
    showsColour_ = true;
    update();
}

void SwatchView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (showsColour_) {
        p.fillRect(rect(), colour_);
        return;
    }
    p.fillRect(rect(), Qt::black);
    if (!picture_.isNull()) {
        p.setClipRect(rect());
        p.drawImage((width() - picture_.width()) / 2, (height() - picture_.height()) / 2, picture_);
    }
}

void SwatchView::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (onEnter)
        onEnter();
}

} // namespace pimoko

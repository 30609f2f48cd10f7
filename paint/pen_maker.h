#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

namespace pimoko {

// The rectangle dragged on the canvas for a new pen. Its corners stay on the canvas.
class PenSelection {
public:
    enum State { None = 0, Dragging = 1, Done = 2 };

    // A press starts a selection when none is under way.
    void Press(QPoint at);
    // A move with the left button drags the corner.
    void Drag(QPoint at);
    // The release ends the drag.
    void Release();
    void Reset() { state_ = None; }

    State GetState() const { return state_; }
    QPoint Start() const { return start_; }
    QPoint End() const { return end_; }

    static QPoint Clamp(QPoint at);

private:
    State state_ = None;
    QPoint start_;
    QPoint end_;
};

// "ペンの背景"
enum class PenBackground { Transparent = 0, Square = 1 }; // "透明にする", "四角にする"
// "ペンの大きさ"
enum class PenSizing {
    Original = 0,
    Fit64 = 1
}; // "原画のまま", "64*64ドットに収まるように変更する"

// The pen image made from the canvas rectangle between two corners. "透明にする" stretches
// the rectangle over the whole pen, whose bottom-left colour is then left out when it
// stamps; "四角にする" keeps a last row of its own (black, or white when the pixel above its
// left end is black), so the whole rectangle stamps. A null image for a rectangle without
// width or height.
QImage MakePenImage(
    const QImage& canvas, QPoint start, QPoint end, PenBackground background, PenSizing sizing);

// The first free "NwPen" + n + ".bmp" (n from 1) in the pen folder, or "" when all are taken.
QString FreePenFile(const QString& penFolder);

} // namespace pimoko

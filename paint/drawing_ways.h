#pragma once

#include "paint/pen_tips.h"

#include <QImage>
#include <QPoint>

namespace pimoko {

class RandomSource;

// The items of "描き方" in their order.
enum class DrawingWayKind { Stamp = 0, Line = 1, Random = 2 };

// One painting step: the working pen (already tinted with the pen colour) at the pointer.
struct PaintStep {
    QImage& canvas;
    const PenTip& tip;
    TipSettings settings;
    const StampImage& pen;
    QPoint at; // the pointer
    QPoint previous; // top-left of the last stamp, where a line starts
    bool timerTick = false; // a spray tick rather than a pointer move
    RandomSource& random;
};

// The top-left of a stamp of the working pen centred on the pointer.
QPoint StampTopLeft(QPoint at, const StampImage& pen);

class DrawingWay {
public:
    virtual ~DrawingWay() = default;
    virtual void Paint(const PaintStep& step) const = 0;
};

// "スタンプ": one stamp centred on the pointer.
class StampWay final : public DrawingWay {
public:
    void Paint(const PaintStep& step) const override;
};

// "連続": stamps on every pixel of the longer axis from the last stamp to this one, the
// other coordinate on the straight line between them.
class LineWay final : public DrawingWay {
public:
    void Paint(const PaintStep& step) const override;
};

// "ランダム": one stamp of a random size below the pen's, centred on the pointer on a move
// and scattered around it on a spray tick.
class RandomWay final : public DrawingWay {
public:
    void Paint(const PaintStep& step) const override;
};

const DrawingWay& WayOf(DrawingWayKind kind);

} // namespace pimoko

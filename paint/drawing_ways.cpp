#include "paint/drawing_ways.h"

#include "paint/random_source.h"

#include <cstdlib>

namespace pimoko {

QPoint StampTopLeft(QPoint at, const StampImage& pen)
{
    return QPoint(at.x() - pen.Width() / 2, at.y() - pen.Height() / 2);
}

void StampWay::Paint(const PaintStep& step) const
{
    step.tip.Stamp(step.canvas, step.pen, StampTopLeft(step.at, step.pen), step.settings);
}

void LineWay::Paint(const PaintStep& step) const
{
    TipSettings settings = step.settings;
    settings.lineStamp = true;
    const QPoint from = step.previous;
    const QPoint to = StampTopLeft(step.at, step.pen);
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    if (dx == 0 && dy == 0) {
        step.tip.Stamp(step.canvas, step.pen, from, settings);
        return;
    }
    if (std::abs(dx) >= std::abs(dy)) {
        const int sx = dx > 0 ? 1 : -1;
        for (int i = 0; i <= std::abs(dx); ++i) {
            const int y = from.y()
                + static_cast<int>(RoundRatio(static_cast<long long>(dy) * i, std::abs(dx)));
            step.tip.Stamp(step.canvas, step.pen, QPoint(from.x() + sx * i, y), settings);
        }
    } else {
        const int sy = dy > 0 ? 1 : -1;
        for (int i = 0; i <= std::abs(dy); ++i) {
            const int x = from.x()
                + static_cast<int>(RoundRatio(static_cast<long long>(dx) * i, std::abs(dy)));
            step.tip.Stamp(step.canvas, step.pen, QPoint(x, from.y() + sy * i), settings);
        }
    }
}

void RandomWay::Paint(const PaintStep& step) const
{
    const int w = step.pen.Width();
    const int h = step.pen.Height();
    if (w < 1 || h < 1)
        return;
    // The longer side gets a random length; the other follows in proportion.
    int rw = 0;
    int rh = 0;
    if (w >= h) {
        rw = step.random.Random(w);
        rh = static_cast<int>(RoundRatio(static_cast<long long>(rw) * h, w));
    } else {
        rh = step.random.Random(h);
        rw = static_cast<int>(RoundRatio(static_cast<long long>(rh) * w, h));
    }
    const StampImage stamp = step.pen.Stretched(rw, rh);
    if (stamp.IsEmpty())
        return;
    QPoint topLeft = StampTopLeft(step.at, stamp);
    if (step.timerTick) {
        const int spanX = 2 * (rw / 2);
        const int spanY = 2 * (rh / 2);
        const int x = step.at.x() - spanX + step.random.Random(spanX);
        const int y = step.at.y() - spanY + step.random.Random(spanY);
        topLeft = QPoint(x, y);
    }
    step.tip.Stamp(step.canvas, stamp, topLeft, step.settings);
}

const DrawingWay& WayOf(DrawingWayKind kind)
{
    static const StampWay stamp;
    static const LineWay line;
    static const RandomWay random;
    switch (kind) {
    case DrawingWayKind::Line:
        return line;
    case DrawingWayKind::Random:
        return random;
    case DrawingWayKind::Stamp:
        break;
    }
    return stamp;
}

} // namespace pimoko

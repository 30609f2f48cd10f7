#pragma once

#include "paint/pen_image.h"

#include <QImage>
#include <QPoint>

#include <array>

namespace pimoko {

// v x p / 100 to the nearest integer (ties to even) for v 0..255 and p 0..100: the
// normal tip blends with it, never with a division per byte.
class ProductTable {
public:
    ProductTable();
    int operator()(int v, int p) const { return values_[static_cast<size_t>(v * 101 + p)]; }
    static const ProductTable& Shared();

private:
    std::array<quint8, 256 * 101> values_ {};
};

// The items of "ペン先" in their order.
enum class PenTipKind { Normal = 0, Airbrush = 1, LightPen = 2 };

struct TipSettings {
    // How much of the canvas stays under a stamp, 0..98: 100 - the density.
    int canvasShare = 50;
    PenColour colour;
    // A stamp of a continuous line (the light pen adds less with each).
    bool lineStamp = false;
};

// One way a stamp changes the canvas. Only pixels inside the canvas change; a stamp of
// width or height below 1 changes nothing.
class PenTip {
public:
    virtual ~PenTip() = default;
    virtual void Stamp(QImage& canvas, const StampImage& pen, QPoint topLeft,
        const TipSettings& settings) const = 0;
};

// The tinted pen over the canvas, its bottom-left colour left out; the canvas share of
// every byte stays.
class NormalTip final : public PenTip {
public:
    void Stamp(QImage& canvas, const StampImage& pen, QPoint topLeft,
        const TipSettings& settings) const override;
};

// Every tinted pen byte above 50 brightens the canvas byte under it by a part of itself:
// (101 - share) x 0.0025 of it, 0.0007 for a line stamp.
class LightPenTip final : public PenTip {
public:
    void Stamp(QImage& canvas, const StampImage& pen, QPoint topLeft,
        const TipSettings& settings) const override;
};

// The pen as drawn is a mask: the brighter a pixel, the further the canvas moves toward
// the pen colour, (b + g + r) / 768 / share x 5 of the way, never past it.
class AirbrushTip final : public PenTip {
public:
    void Stamp(QImage& canvas, const StampImage& pen, QPoint topLeft,
        const TipSettings& settings) const override;
};

const PenTip& TipOf(PenTipKind kind);

} // namespace pimoko

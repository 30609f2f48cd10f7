#pragma once

#include "platform/canvas.h"

#include <QImage>
#include <QSize>

#include <array>

namespace pimoko {

// The pen colour as its three bytes. Grey 120 is neutral: a pen tinted with it keeps the
// colours it was drawn in.
constexpr int kNeutralTint = 120;

struct PenColour {
    int red = kNeutralTint;
    int green = kNeutralTint;
    int blue = kNeutralTint;

    static PenColour FromColorRef(ColorRef c)
    {
        return { ColorRed(c), ColorGreen(c), ColorBlue(c) };
    }
    ColorRef ToColorRef() const { return MakeColorRef(red, green, blue); }
    bool operator==(const PenColour& o) const
    {
        return red == o.red && green == o.green && blue == o.blue;
    }
    bool operator!=(const PenColour& o) const { return !(*this == o); }
};

// num / den to the nearest integer, ties to even; den above 0.
long long RoundRatio(long long num, long long den);

// Each byte of a pen pixel times the matching colour byte / 120, to the nearest integer
// and at most 255.
class PenTint {
public:
    explicit PenTint(const PenColour& colour);
    int Red(int v) const { return red_[static_cast<size_t>(v)]; }
    int Green(int v) const { return green_[static_cast<size_t>(v)]; }
    int Blue(int v) const { return blue_[static_cast<size_t>(v)]; }
    // The pen image (24-bit) with every pixel tinted.
    QImage Apply(const QImage& pen) const;

private:
    std::array<quint8, 256> red_ {};
    std::array<quint8, 256> green_ {};
    std::array<quint8, 256> blue_ {};
};

// The picture stretched to width x height, nearest pixel, as a 24-bit bitmap; a null
// image when a side is below 1.
QImage StretchPen(const QImage& pen, int width, int height);

// The size of a pen at size percent of its own: each side to the nearest integer.
QSize ScaledPenSize(const QSize& base, int percent);

// A pen image ready to stamp: as drawn (the airbrush reads it as a mask) and tinted with
// the pen colour (the other tips draw that). A stamp leaves out the pixels of the colour
// of its bottom-left pixel.
class StampImage {
public:
    StampImage() = default;
    StampImage(const QImage& pen, const PenColour& colour);

    // A stamp of width or height below 1 stamps nothing.
    bool IsEmpty() const { return mask_.width() < 1 || mask_.height() < 1; }
    int Width() const { return mask_.width(); }
    int Height() const { return mask_.height(); }
    const QImage& Mask() const { return mask_; }
    const QImage& Tinted() const { return tinted_; }
    // Both images stretched to width x height (empty when a side is below 1).
    StampImage Stretched(int width, int height) const;

private:
    QImage mask_;
    QImage tinted_;
};

// The pen as CurrentPenImage shows it: tinted (a colour with every byte below 3 is taken
// as 3, 3, 3, so a black pen still shows its shape) and at the pen size.
QImage PenPreview(const QImage& base, const PenColour& colour, int percent);

} // namespace pimoko

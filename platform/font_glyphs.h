#pragma once

#include "platform/canvas.h"

#include <QImage>
#include <QPainterPath>
#include <QRect>

#include <vector>

namespace pimoko {

// A glyph rasterised without smoothing: one bit a pixel, the most significant bit
// leftmost, placed by its offset from the reference point it was drawn at.
struct GlyphBitmap {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int stride = 0; // bytes per row
    std::vector<quint8> bits;

    bool isEmpty() const { return width <= 0 || height <= 0; }
    bool Bit(int x, int y) const { return (bits[y * stride + (x >> 3)] >> (7 - (x & 7))) & 1; }
};

// The pixels whose centres the path covers (non-zero or odd-even as the path says).
GlyphBitmap RasterizePath(const QPainterPath& path);

// Draws the glyph's set pixels with the glyph's reference point at (x, y): on a
// QImage::Format_Mono target colours nearer white set bits and the others clear them; on
// other targets the colour is stored. Returns the touched rectangle, clipped to the image.
QRect BlitGlyph(QImage& target, const GlyphBitmap& glyph, qint64 x, qint64 y, ColorRef color);

} // namespace pimoko

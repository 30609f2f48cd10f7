#include "platform/font_glyphs.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace pimoko {

GlyphBitmap RasterizePath(const QPainterPath& path)
{
    GlyphBitmap g;
    if (path.isEmpty())
        return g;
    const QRectF box = path.boundingRect();
    if (!box.isValid() && box.width() <= 0 && box.height() <= 0)
        return g;
    // A pixel of margin on every side keeps pixels whose centres sit on the box edges.
    const int left = static_cast<int>(std::floor(box.left())) - 1;
    const int top = static_cast<int>(std::floor(box.top())) - 1;
    const int right = static_cast<int>(std::ceil(box.right())) + 1;
    const int bottom = static_cast<int>(std::ceil(box.bottom())) + 1;
    const int width = right - left;
    const int height = bottom - top;
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384)
        return g;

    QImage scratch(width, height, QImage::Format_Grayscale8);
    scratch.fill(0);
    {
        QPainter painter(&scratch);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.translate(-left, -top);
        painter.drawPath(path);
    }
    g.left = left;
    g.top = top;
    g.width = width;
    g.height = height;
    g.stride = (width + 7) / 8;
    g.bits.assign(static_cast<size_t>(g.stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        const uchar* src = scratch.constScanLine(y);
        quint8* dst = g.bits.data() + y * g.stride;
        for (int x = 0; x < width; ++x) {
            if (src[x] >= 128)
                dst[x >> 3] |= static_cast<quint8>(0x80 >> (x & 7));
        }
    }
    return g;
}

namespace {

void BlitMonoRow(uchar* row, int imageWidth, const quint8* src, int glyphWidth, qint64 x, bool set)
{
    const qint64 end = x + glyphWidth;
    if (x >= 0 && end <= imageWidth) {
        // Whole glyph row inside: shift each glyph byte into place.
        const int shift = static_cast<int>(x & 7);
        uchar* dst = row + (x >> 3);
        const int bytes = (glyphWidth + 7) / 8;
        const int lastByte = static_cast<int>((end - 1) >> 3) - static_cast<int>(x >> 3);
        for (int i = 0; i < bytes; ++i) {
            const quint8 b = src[i];
            if (!b)
                continue;
            const quint8 hi = static_cast<quint8>(b >> shift);
            const quint8 lo = static_cast<quint8>(shift ? b << (8 - shift) : 0);
            if (set) {
                dst[i] |= hi;
                if (lo && i + 1 <= lastByte)
                    dst[i + 1] |= lo;
            } else {
                dst[i] &= static_cast<quint8>(~hi);
                if (lo && i + 1 <= lastByte)
                    dst[i + 1] &= static_cast<quint8>(~lo);
            }
        }
        return;
    }
    for (int gx = 0; gx < glyphWidth; ++gx) {
        if (!((src[gx >> 3] >> (7 - (gx & 7))) & 1))
            continue;
        const qint64 tx = x + gx;
        if (tx < 0 || tx >= imageWidth)
            continue;
        const quint8 bit = static_cast<quint8>(0x80 >> (tx & 7));
        if (set)
            row[tx >> 3] |= bit;
        else
            row[tx >> 3] &= static_cast<quint8>(~bit);
    }
}

} // namespace

QRect BlitGlyph(QImage& target, const GlyphBitmap& glyph, qint64 x, qint64 y, ColorRef color)
{
    if (glyph.isEmpty() || target.isNull())
        return QRect();
    const qint64 left = x + glyph.left;
    const qint64 top = y + glyph.top;
    const qint64 cx0 = std::max<qint64>(left, 0);
    const qint64 cy0 = std::max<qint64>(top, 0);
    const qint64 cx1 = std::min<qint64>(left + glyph.width, target.width());
    const qint64 cy1 = std::min<qint64>(top + glyph.height, target.height());
    if (cx0 >= cx1 || cy0 >= cy1)
        return QRect();
    const QRect touched(QPoint(int(cx0), int(cy0)), QPoint(int(cx1 - 1), int(cy1 - 1)));

    const QImage::Format format = target.format();
    if (format == QImage::Format_Mono) {
        // Bits stand for colour-table indices; index 1 is white, and a colour takes the
        // nearer of the two.
        const bool set = ColorRed(color) + ColorGreen(color) + ColorBlue(color) >= 3 * 128;
        for (qint64 ty = cy0; ty < cy1; ++ty) {
            const int gy = static_cast<int>(ty - top);
            BlitMonoRow(target.scanLine(int(ty)), target.width(),
                glyph.bits.data() + gy * glyph.stride, glyph.width, left, set);
        }
        return touched;
    }
    const quint8 r = static_cast<quint8>(ColorRed(color));
    const quint8 gr = static_cast<quint8>(ColorGreen(color));
    const quint8 b = static_cast<quint8>(ColorBlue(color));
    const int gx0 = static_cast<int>(cx0 - left);
    const int gx1 = static_cast<int>(cx1 - left);
    for (qint64 ty = cy0; ty < cy1; ++ty) {
        const int gy = static_cast<int>(ty - top);
        const quint8* src = glyph.bits.data() + gy * glyph.stride;
        uchar* row = nullptr;
        for (int gx = gx0; gx < gx1; ++gx) {
            if (!((src[gx >> 3] >> (7 - (gx & 7))) & 1))
                continue;
            const int tx = static_cast<int>(left + gx);
            if (format == QImage::Format_BGR888) {
                if (!row)
                    row = target.scanLine(int(ty));
                row[3 * tx] = b;
                row[3 * tx + 1] = gr;
                row[3 * tx + 2] = r;
            } else {
                target.setPixel(tx, int(ty), qRgb(r, gr, b));
            }
        }
    }
    return touched;
}

} // namespace pimoko

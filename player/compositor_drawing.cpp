#include "player/compositor_drawing.h"

#include "platform/bitmap.h"
#include "platform/jpeg_codec.h"
#include "platform/paths.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace pimoko {

QImage LoadPicture(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return QImage();
    if (HasExtension(path, QStringLiteral(".bmp")))
        return ReadBmp(path);
    if (HasExtension(path, QStringLiteral(".jpg"))) {
        JpegResult jpeg = ReadJpeg(path);
        if (jpeg.status == JpegStatus::Ok || jpeg.status == JpegStatus::Truncated)
            return ToBitmap24(jpeg.image);
    }
    return QImage();
}

void FillBitmap(QImage& bitmap, ColorRef color)
{
    if (bitmap.format() != QImage::Format_BGR888)
        bitmap = ToBitmap24(bitmap);
    const quint8 pixel[3] = { static_cast<quint8>(ColorBlue(color)),
        static_cast<quint8>(ColorGreen(color)), static_cast<quint8>(ColorRed(color)) };
    const int width = bitmap.width();
    for (int y = 0; y < bitmap.height(); ++y) {
        quint8* row = bitmap.scanLine(y);
        if (y > 0) {
            std::memcpy(row, bitmap.constScanLine(0), static_cast<std::size_t>(width) * 3);
            continue;
        }
        for (int x = 0; x < width; ++x)
            std::memcpy(row + 3 * x, pixel, 3);
    }
}

void DrawPictureCentred(QImage& dest, const QImage& picture)
{
    dest = NewBitmap24(kPageWidth, kPageHeight);
    if (picture.isNull())
        return;
    // C++ division truncates toward zero, as the placement of a larger picture needs.
    CopyBlit(
        dest, (kPageWidth - picture.width()) / 2, (kPageHeight - picture.height()) / 2, picture);
}

namespace {

// The part of a w x h source at (x, y) that falls on dest; false when none does.
struct Overlap {
    int destX0, destY0, destX1, destY1; // inclusive
};

bool FindOverlap(const QImage& dest, int x, int y, const QImage& source, Overlap* o)
{
    const int w = source.width();
    const int h = source.height();
    if (w <= 0 || h <= 0 || x >= dest.width() || y >= dest.height() || x + w <= 0 || y + h <= 0)
        return false;
    o->destX0 = std::max(x, 0);
    o->destY0 = std::max(y, 0);
    o->destX1 = std::min(x + w - 1, dest.width() - 1);
    o->destY1 = std::min(y + h - 1, dest.height() - 1);
    return true;
}

} // namespace

void CopyBlit(QImage& dest, int x, int y, const QImage& sourceImage)
{
    if (dest.format() != QImage::Format_BGR888)
        dest = ToBitmap24(dest);
    Overlap o;
    if (!FindOverlap(dest, x, y, sourceImage, &o))
        return;
    const QImage source = ToBitmap24(sourceImage);
    const std::size_t bytes = static_cast<std::size_t>(o.destX1 - o.destX0 + 1) * 3;
    for (int dy = o.destY0; dy <= o.destY1; ++dy) {
        const quint8* from = source.constScanLine(dy - y) + 3 * (o.destX0 - x);
        std::memcpy(dest.scanLine(dy) + 3 * o.destX0, from, bytes);
    }
}

void TransparentBlit(QImage& dest, int x, int y, const QImage& sourceImage)
{
    if (dest.format() != QImage::Format_BGR888)
        dest = ToBitmap24(dest);
    Overlap o;
    if (!FindOverlap(dest, x, y, sourceImage, &o))
        return;
    const QImage source = ToBitmap24(sourceImage);
    const quint8* keyPixel = source.constScanLine(source.height() - 1);
    const quint8 k0 = keyPixel[0], k1 = keyPixel[1], k2 = keyPixel[2];
    for (int dy = o.destY0; dy <= o.destY1; ++dy) {
        const quint8* from = source.constScanLine(dy - y) + 3 * (o.destX0 - x);
        quint8* to = dest.scanLine(dy) + 3 * o.destX0;
        for (int dx = o.destX0; dx <= o.destX1; ++dx, from += 3, to += 3) {
            if (from[0] != k0 || from[1] != k1 || from[2] != k2) {
                to[0] = from[0];
                to[1] = from[1];
                to[2] = from[2];
            }
        }
    }
}

} // namespace pimoko

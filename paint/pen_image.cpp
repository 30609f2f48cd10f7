#include "paint/pen_image.h"

#include "platform/bitmap.h"

#include <algorithm>
#include <cstring>

namespace pimoko {

long long RoundRatio(long long num, long long den)
{
    const long long q = num / den;
    const long long r = num % den;
    const long long sign = num < 0 ? -1 : 1;
    const long long twice = 2 * (r < 0 ? -r : r);
    if (twice > den || (twice == den && (q % 2) != 0))
        return q + sign;
    return q;
}

namespace {

std::array<quint8, 256> TintTable(int colourByte)
{
    std::array<quint8, 256> table {};
    for (int v = 0; v < 256; ++v) {
        const long long t = RoundRatio(static_cast<long long>(v) * colourByte, kNeutralTint);
        table[static_cast<size_t>(v)] = static_cast<quint8>(std::min<long long>(t, 255));
    }
    return table;
}

} // namespace

PenTint::PenTint(const PenColour& colour)
    : red_(TintTable(colour.red))
    , green_(TintTable(colour.green))
    , blue_(TintTable(colour.blue))
{
}

QImage PenTint::Apply(const QImage& pen) const
{
    QImage out = ToBitmap24(pen);
    for (int y = 0; y < out.height(); ++y) {
        uchar* p = out.scanLine(y);
        for (int x = 0; x < out.width(); ++x, p += 3) {
            p[0] = blue_[p[0]];
            p[1] = green_[p[1]];
            p[2] = red_[p[2]];
        }
    }
    return out;
}

QImage StretchPen(const QImage& pen, int width, int height)
{
    if (width < 1 || height < 1 || pen.isNull())
        return QImage();
    const QImage source = ToBitmap24(pen);
    if (source.width() == width && source.height() == height)
        return source;
    QImage out(width, height, QImage::Format_BGR888);
    const int sw = source.width();
    const int sh = source.height();
    for (int y = 0; y < height; ++y) {
        // The source pixel under the centre of each target pixel.
        const int sy = static_cast<int>((2LL * y + 1) * sh / (2LL * height));
        const uchar* from = source.constScanLine(sy);
        uchar* to = out.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const int sx = static_cast<int>((2LL * x + 1) * sw / (2LL * width));
            std::memcpy(to + 3 * x, from + 3 * sx, 3);
        }
    }
    return out;
}

QSize ScaledPenSize(const QSize& base, int percent)
{
    return QSize(static_cast<int>(RoundRatio(static_cast<long long>(base.width()) * percent, 100)),
        static_cast<int>(RoundRatio(static_cast<long long>(base.height()) * percent, 100)));
}

StampImage::StampImage(const QImage& pen, const PenColour& colour)
{
    if (pen.isNull() || pen.width() < 1 || pen.height() < 1)
        return;
    mask_ = ToBitmap24(pen);
    tinted_ = PenTint(colour).Apply(mask_);
}

StampImage StampImage::Stretched(int width, int height) const
{
    StampImage out;
    if (IsEmpty() || width < 1 || height < 1)
        return out;
    out.mask_ = StretchPen(mask_, width, height);
    out.tinted_ = StretchPen(tinted_, width, height);
    return out;
}

QImage PenPreview(const QImage& base, const PenColour& colour, int percent)
{
    PenColour shown = colour;
    if (shown.red < 3 && shown.green < 3 && shown.blue < 3)
        shown = { 3, 3, 3 };
    const QSize size = ScaledPenSize(base.size(), percent);
    return StretchPen(PenTint(shown).Apply(base), size.width(), size.height());
}

} // namespace pimoko

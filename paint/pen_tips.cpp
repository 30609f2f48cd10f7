#include "paint/pen_tips.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pimoko {

ProductTable::ProductTable()
{
    for (int v = 0; v < 256; ++v)
        for (int p = 0; p <= 100; ++p)
            values_[static_cast<size_t>(v * 101 + p)]
                = static_cast<quint8>(RoundRatio(static_cast<long long>(v) * p, 100));
}

const ProductTable& ProductTable::Shared()
{
    static const ProductTable table;
    return table;
}

namespace {

// The part of a w x h stamp at topLeft that lies on the canvas, in stamp coordinates.
struct Overlap {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

Overlap OverlapOf(const QImage& canvas, int w, int h, QPoint topLeft)
{
    Overlap o;
    o.x0 = std::max(0, -topLeft.x());
    o.y0 = std::max(0, -topLeft.y());
    o.x1 = std::min(w, canvas.width() - topLeft.x());
    o.y1 = std::min(h, canvas.height() - topLeft.y());
    return o;
}

bool Usable(const QImage& canvas, const StampImage& pen)
{
    return !pen.IsEmpty() && canvas.format() == QImage::Format_BGR888;
}

} // namespace

void NormalTip::Stamp(
    QImage& canvas, const StampImage& pen, QPoint topLeft, const TipSettings& settings) const
{
    if (!Usable(canvas, pen))
        return;
    const QImage& tinted = pen.Tinted();
    const Overlap o = OverlapOf(canvas, tinted.width(), tinted.height(), topLeft);
    if (o.Empty())
        return;
    uchar key[3];
    std::memcpy(key, tinted.constScanLine(tinted.height() - 1), 3);
    const int share = std::clamp(settings.canvasShare, 0, 100);
    const ProductTable& table = ProductTable::Shared();
    for (int y = o.y0; y < o.y1; ++y) {
        const uchar* s = tinted.constScanLine(y) + 3 * o.x0;
        uchar* c = canvas.scanLine(y + topLeft.y()) + 3 * (o.x0 + topLeft.x());
        for (int x = o.x0; x < o.x1; ++x, s += 3, c += 3) {
            if (s[0] == key[0] && s[1] == key[1] && s[2] == key[2])
                continue;
            if (share == 0) {
                c[0] = s[0];
                c[1] = s[1];
                c[2] = s[2];
                continue;
            }
            // The canvas keeps its share of the way from the patch to itself.
            for (int i = 0; i < 3; ++i) {
                const int patch = s[i];
                const int under = c[i];
                if (under > patch)
                    c[i] = static_cast<uchar>(patch + table(under - patch, share));
                else if (under < patch)
                    c[i] = static_cast<uchar>(patch - table(patch - under, share));
            }
        }
    }
}

void LightPenTip::Stamp(
    QImage& canvas, const StampImage& pen, QPoint topLeft, const TipSettings& settings) const
{
    if (!Usable(canvas, pen))
        return;
    const QImage& tinted = pen.Tinted();
    const Overlap o = OverlapOf(canvas, tinted.width(), tinted.height(), topLeft);
    if (o.Empty())
        return;
    // k in ten-thousandths: (101 - share) x 25 or x 7.
    const long long k
        = (101 - std::clamp(settings.canvasShare, 0, 100)) * (settings.lineStamp ? 7LL : 25LL);
    std::array<int, 256> add {};
    for (int b = 51; b < 256; ++b)
        add[static_cast<size_t>(b)] = static_cast<int>(RoundRatio(b * k, 10000));
    for (int y = o.y0; y < o.y1; ++y) {
        const uchar* s = tinted.constScanLine(y) + 3 * o.x0;
        uchar* c = canvas.scanLine(y + topLeft.y()) + 3 * (o.x0 + topLeft.x());
        for (int x = o.x0; x < o.x1; ++x, s += 3, c += 3)
            for (int i = 0; i < 3; ++i)
                c[i] = static_cast<uchar>(std::min(255, c[i] + add[s[i]]));
    }
}

void AirbrushTip::Stamp(
    QImage& canvas, const StampImage& pen, QPoint topLeft, const TipSettings& settings) const
{
    if (!Usable(canvas, pen))
        return;
    const QImage& mask = pen.Mask();
    const Overlap o = OverlapOf(canvas, mask.width(), mask.height(), topLeft);
    if (o.Empty())
        return;
    const long long share = std::max(1, std::clamp(settings.canvasShare, 0, 100));
    const int target[3] = { settings.colour.blue, settings.colour.green, settings.colour.red };
    // The fraction of the way is 5 x sum / (768 x share).
    const long long den = 768 * share;
    const double dden = static_cast<double>(den);
    for (int y = o.y0; y < o.y1; ++y) {
        const uchar* s = mask.constScanLine(y) + 3 * o.x0;
        uchar* c = canvas.scanLine(y + topLeft.y()) + 3 * (o.x0 + topLeft.x());
        for (int x = o.x0; x < o.x1; ++x, s += 3, c += 3) {
            const long long num = 5LL * (s[0] + s[1] + s[2]);
            if (num == 0)
                continue;
            if (num >= den) {
                c[0] = static_cast<uchar>(target[0]);
                c[1] = static_cast<uchar>(target[1]);
                c[2] = static_cast<uchar>(target[2]);
                continue;
            }
            // A correctly rounded quotient of two integers this small lands on .5 only at
            // a true tie, so rounding it to even gives the exact result.
            const double fraction = static_cast<double>(num);
            for (int i = 0; i < 3; ++i) {
                const double step = (target[i] - c[i]) * fraction / dden;
                c[i] = static_cast<uchar>(c[i] + static_cast<int>(std::nearbyint(step)));
            }
        }
    }
}

const PenTip& TipOf(PenTipKind kind)
{
    static const NormalTip normal;
    static const LightPenTip light;
    static const AirbrushTip airbrush;
    switch (kind) {
    case PenTipKind::Airbrush:
        return airbrush;
    case PenTipKind::LightPen:
        return light;
    case PenTipKind::Normal:
        break;
    }
    return normal;
}

} // namespace pimoko

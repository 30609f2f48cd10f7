#include "text/text_shot_b.h"

#include "text/text_shot.h"

#include <QHash>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace pimoko {

namespace {

// The blended value of one channel: old moved a coverage percent of the way to target,
// taken to the nearest integer, ties to even. Exact in integers (hundredths).
int BlendChannel(int old, int target, int coverage)
{
    if (old == target)
        return old;
    const int v = old * 100 - (old - target) * coverage; // 100 x the exact result, >= 0
    int q = v / 100;
    const int r = v % 100;
    if (r > 50 || (r == 50 && (q & 1)))
        ++q;
    return q;
}

// The look-up table of BlendChannel for one target value: [coverage][old].
struct ChannelTable {
    std::array<std::array<quint8, 256>, 101> value;
    void Build(int target)
    {
        for (int c = 0; c <= 100; ++c)
            for (int old = 0; old < 256; ++old)
                value[c][old] = static_cast<quint8>(BlendChannel(old, target, c));
    }
};

struct ColorTables {
    ColorRef color = 0;
    ChannelTable blue, green, red;
};

} // namespace

struct TTextShotB::Caches {
    // The tables of the colours in use (shadow and text), built once per colour.
    std::vector<std::unique_ptr<ColorTables>> colors;
    const ColorTables& TablesFor(ColorRef color)
    {
        color &= 0x00FFFFFF;
        for (auto& t : colors) {
            if (t->color == color)
                return *t;
        }
        if (colors.size() >= 4)
            colors.erase(colors.begin());
        auto t = std::make_unique<ColorTables>();
        t->color = color;
        t->blue.Build(ColorBlue(color));
        t->green.Build(ColorGreen(color));
        t->red.Build(ColorRed(color));
        colors.push_back(std::move(t));
        return *colors.back();
    }

    PrefixWidths prefix; // in the mask font
};

TTextShotB::TTextShotB()
    : placeholderImage_(NewBitmap24())
    , placeholder_(&placeholderImage_)
    , mask_(kMaskWidth, kMaskHeight, QImage::Format_Mono)
    , maskCanvas_(&mask_)
    , caches_(std::make_unique<Caches>())
{
    target_ = &placeholder_;
    mask_.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
    mask_.fill(0);
    for (int k = 0; k < 16; ++k) {
        int bits = 0;
        for (int b = 0; b < 4; ++b)
            bits += (k >> b) & 1;
        coverageTable_[k] = bits * 100;
    }
}

TTextShotB::~TTextShotB() = default;

void TTextShotB::SetText(const QStringList& lines)
{
    numbering_.SetText(lines);
    delays_.fill(0);
    caches_->prefix.Invalidate();
    ClearMask();
}

void TTextShotB::SetCharDelay(int index, int ms)
{
    if (index >= 0 && index < kMaxPageChars)
        delays_[index] = ms;
}

int TTextShotB::CharDelay(int index) const
{
    return index >= 0 && index < kMaxPageChars ? delays_[index] : 0;
}

void TTextShotB::SetOrigin(int x0, int y0)
{
    originX_ = x0;
    originY_ = y0;
}

void TTextShotB::SetTargetBitmap(Canvas* target)
{
    target_ = target ? target : &placeholder_;
}

void TTextShotB::ClearMask()
{
    if (maskDirty_.isEmpty())
        return;
    // Only what a glyph may have touched needs clearing; the rest is still 0.
    const QRect dirty = maskDirty_ & mask_.rect();
    maskDirty_ = QRect();
    if (dirty.isEmpty())
        return;
    const int stride = mask_.bytesPerLine();
    const int first = dirty.left() / 8;
    const size_t bytes = static_cast<size_t>(dirty.right() / 8 - first + 1);
    uchar* bits = mask_.bits();
    for (int y = dirty.top(); y <= dirty.bottom(); ++y)
        std::memset(bits + y * stride + first, 0, bytes);
}

int TTextShotB::FontHeight() const
{
    return LayoutFontHeight(target_->font().height);
}

CanvasFont TTextShotB::MaskFont() const
{
    CanvasFont f = target_->font();
    f.height = FontHeight() * kSupersampling;
    f.pitch = 0;
    f.charset = kDefaultCharset;
    return f;
}

int TTextShotB::PrefixWidth4(int line, int column) const
{
    // The mask canvas carries this font while a character is drawn; asking for it here
    // lets the positions be read before the first character too.
    return caches_->prefix.Width(numbering_, line, column, MaskFont().ToLogFont());
}

QPoint TTextShotB::CharPos4(int line, int column) const
{
    const qint64 h = FontHeight();
    const qint64 w4 = std::abs(PrefixWidth4(line, column));
    const qint64 x0 = originX_;
    const qint64 y0 = originY_;
    if (orientation_ == 0)
        return QPoint(ClampCoord(kSupersampling * x0 + w4),
            ClampCoord(kSupersampling * (y0 + line * (h + linePitch_))));
    return QPoint(ClampCoord(kSupersampling * (x0 - h * (line + 1) - qint64(linePitch_) * line)),
        ClampCoord(kSupersampling * y0 + w4));
}

void TTextShotB::DrawChar(int n)
{
    if (deferredComposite_ == 0)
        ClearMask();
    target_->font().pitch = 0;
    target_->font().charset = kDefaultCharset;
    maskCanvas_.SetFont(MaskFont());
    if (n >= 1 && n <= CharCount()) {
        const QPoint p = CharPos4(LineOfChar(n), ColumnOfChar(n));
        DrawCharToMask(p.x(), p.y(), CharAt(n));
    }
    if (deferredComposite_ == 0)
        CompositeChar(n);
}

void TTextShotB::DrawCharToMask(int x4, int y4, const QString& ch)
{
    const int h4 = FontHeight() * kSupersampling;
    LogFont font = target_->font().ToLogFont();
    font.height = h4;
    if (orientation_ == 0)
        font.escapement = ch == QStringLiteral("「") ? 1 : 0;
    else
        font.escapement = kEscapementVertical;
    const int x = orientation_ == 0 ? x4 : ClampCoord(qint64(x4) + h4);
    const QRect touched = maskCanvas_.TextOut(font, kWhite, x, y4, ch);
    maskDirty_ |= touched;
}

QRect TTextShotB::CharBox(int n) const
{
    if (n < 1 || n > CharCount())
        return QRect();
    Canvas measure(target_->image());
    measure.SetFont(target_->font());
    const QString ch = CharAt(n);
    const int w = measure.TextWidth(ch);
    const int t = measure.TextHeight(ch);
    const int along = std::abs(w + w / 2);
    const int across = std::abs(t + t / 5);
    const QPoint p = CharPos4(LineOfChar(n), ColumnOfChar(n));
    // Division truncating toward zero, as the page position of a supersampled one.
    const int left = p.x() / kSupersampling;
    const int top = p.y() / kSupersampling;
    return orientation_ == 0 ? QRect(left, top, along, across) : QRect(left, top, across, along);
}

void TTextShotB::CompositeChar(int n)
{
    if (n < 1 || n > CharCount())
        return;
    maskCanvas_.SetFont(MaskFont());
    CompositeOffsets(CharBox(n), false);
}

void TTextShotB::CompositeAll()
{
    CompositeOffsets(QRect(0, 0, kPageWidth, kPageHeight), true);
}

void TTextShotB::CompositeOffsets(const QRect& box, bool wholePage)
{
    if (shadowOn_ == 1) {
        if (highlightOn_ == 1) {
            const int d = HighlightDistance(highlightWidth_);
            // The two ways keep their own orders, which decide how overlapping partial
            // pixels round.
            static const int kCharOrder[8][2] = { { 1, 1 }, { -1, 1 }, { -1, -1 }, { 1, -1 },
                { 0, -1 }, { 0, 1 }, { -1, 0 }, { 1, 0 } };
            static const int kPageOrder[8][2] = { { 1, 1 }, { -1, -1 }, { 1, -1 }, { -1, 1 },
                { 0, -1 }, { -1, 0 }, { 1, 0 }, { 0, 1 } };
            const auto& order = wholePage ? kPageOrder : kCharOrder;
            for (const auto& o : order)
                CompositeRegion(box, o[0] * d, o[1] * d, shadowColor_);
        } else {
            const int d = DropShadowOffset(FontHeight());
            CompositeRegion(box, d, d, shadowColor_);
        }
    }
    CompositeRegion(box, 0, 0, target_->font().color);
}

void TTextShotB::CompositeRegion(const QRect& box, int dx, int dy, ColorRef color)
{
    qint64 sx = box.left();
    qint64 ex = sx + box.width();
    qint64 sy = box.top();
    qint64 ey = sy + box.height();
    auto outside = [](qint64 v, int hi) { return v < 0 || v > hi; };
    if (outside(sx, kPageWidth - 1) && outside(ex, kPageWidth - 1) && outside(sy, kPageHeight - 1)
        && outside(ey, kPageHeight - 1))
        return;
    sx = std::clamp<qint64>(sx, 0, kPageWidth - 1);
    ex = std::clamp<qint64>(ex, 0, kPageWidth - 1);
    sy = std::clamp<qint64>(sy, 0, kPageHeight - 1);
    ey = std::clamp<qint64>(ey, 0, kPageHeight - 1);
    if (ey < sy)
        return;
    // Offsets beyond the page move every pixel off it.
    if (dx >= kPageWidth || dx <= -kPageWidth || dy >= kPageHeight || dy <= -kPageHeight)
        return;

    QImage* image = target_->image();
    if (!image || image->isNull())
        return;
    // The same blends as BlendPixel, with the colour's tables and the row looked up once.
    const bool direct = image->format() == QImage::Format_BGR888;
    const ColorTables* tables = direct ? &caches_->TablesFor(color) : nullptr;
    const int maxX = std::min(kPageWidth, image->width());
    const int maxY = std::min(kPageHeight, image->height());
    auto blend = [&](uchar* row, int x, int y, int coverage) {
        if (x < 0 || x >= maxX)
            return;
        if (!direct) {
            BlendPixel(x, y, coverage, color);
            return;
        }
        uchar* p = row + 3 * x;
        p[0] = tables->blue.value[coverage][p[0]];
        p[1] = tables->green.value[coverage][p[1]];
        p[2] = tables->red.value[coverage][p[2]];
    };

    const uchar* bits = mask_.constBits();
    const int stride = mask_.bytesPerLine();
    for (int r = sy; r <= ey; ++r) {
        const int y = r + dy;
        if (y < 0 || y >= maxY)
            continue;
        uchar* row = direct ? image->scanLine(y) : nullptr;
        const uchar* m0 = bits + (4 * r) * stride;
        const uchar* m1 = m0 + stride;
        const uchar* m2 = m1 + stride;
        const uchar* m3 = m2 + stride;
        for (int b = sx / 2; b <= ex / 2; ++b) {
            const int a0 = m0[b], a1 = m1[b], a2 = m2[b], a3 = m3[b];
            if ((a0 | a1 | a2 | a3) == 0)
                continue;
            const int high = (coverageTable_[a0 >> 4] + coverageTable_[a1 >> 4]
                                 + coverageTable_[a2 >> 4] + coverageTable_[a3 >> 4])
                >> 4;
            if (high > 0)
                blend(row, 2 * b + dx, y, high);
            const int low = (coverageTable_[a0 & 15] + coverageTable_[a1 & 15]
                                + coverageTable_[a2 & 15] + coverageTable_[a3 & 15])
                >> 4;
            if (low > 0)
                blend(row, 2 * b + 1 + dx, y, low);
        }
    }
}

void TTextShotB::BlendPixel(int x, int y, int coverage, ColorRef color)
{
    QImage* image = target_->image();
    if (!image || x < 0 || x >= kPageWidth || y < 0 || y >= kPageHeight)
        return;
    if (x >= image->width() || y >= image->height())
        return;
    coverage = std::clamp(coverage, 0, 100);
    if (image->format() == QImage::Format_BGR888) {
        const ColorTables& t = caches_->TablesFor(color);
        uchar* p = image->scanLine(y) + 3 * x;
        p[0] = t.blue.value[coverage][p[0]];
        p[1] = t.green.value[coverage][p[1]];
        p[2] = t.red.value[coverage][p[2]];
        return;
    }
    const QRgb old = image->pixel(x, y);
    image->setPixel(x, y,
        qRgb(BlendChannel(qRed(old), ColorRed(color), coverage),
            BlendChannel(qGreen(old), ColorGreen(color), coverage),
            BlendChannel(qBlue(old), ColorBlue(color), coverage)));
}

TextRect TTextShotB::TextBounds() const
{
    const int lines = LineCount();
    qint64 longest = 0;
    qint64 extent = 0;
    if (lines > 0) {
        for (const QString& line : numbering_.lines())
            longest = std::max<qint64>(longest, target_->TextWidth(line));
        extent = qint64(target_->TextHeight(QStringLiteral("Ｗ"))) * lines
            + qint64(lines - 1) * linePitch_;
    }
    const qint64 x0 = originX_;
    const qint64 y0 = originY_;
    TextRect r;
    if (orientation_ == 0) {
        r.left = ClampCoord(x0 - 8);
        r.top = ClampCoord(y0 - 8);
        r.right = ClampCoord(x0 + longest + 8);
        r.bottom = ClampCoord(y0 + extent + 8);
    } else {
        r.right = ClampCoord(x0 + 8);
        r.top = ClampCoord(y0 - 8);
        r.left = ClampCoord(x0 - extent - 4);
        r.bottom = ClampCoord(y0 + longest + 8);
    }
    return r;
}

} // namespace pimoko

#include "text/text_shot.h"

#include <algorithm>
#include <cstdlib>

namespace pimoko {

int DropShadowOffset(int fontHeight)
{
    const int d = LayoutFontHeight(fontHeight) / 30;
    return d < 1 ? 1 : d;
}

int HighlightDistance(int highlightWidth)
{
    // Beyond a million pixels every copy falls off any canvas, as it would further out.
    return highlightWidth < 1 ? 1 : std::min(highlightWidth, 1 << 20);
}

TTextShot::TTextShot() = default;

void TTextShot::SetText(const QStringList& lines)
{
    numbering_.SetText(lines);
    prefixWidths_.Invalidate();
    delays_.fill(0);
}

void TTextShot::SetCanvas(Canvas* canvas)
{
    canvas_ = canvas;
    if (canvas_) {
        canvas_->font().pitch = 0;
        canvas_->font().charset = kDefaultCharset;
    }
}

void TTextShot::SetTextColor(ColorRef color)
{
    if (canvas_)
        canvas_->font().color = color;
}

int TTextShot::FontHeight() const
{
    return canvas_ ? LayoutFontHeight(canvas_->font().height) : 0;
}

int TTextShot::PrefixWidth(int line, int column) const
{
    if (!canvas_)
        return 0;
    return prefixWidths_.Width(numbering_, line, column, canvas_->font().ToLogFont());
}

int TTextShot::CharX(int line, int column) const
{
    const qint64 h = FontHeight();
    if (orientation_ == 0)
        return ClampCoord(qint64(originX) + PrefixWidth(line, column));
    return ClampCoord(originX - h * (line + 1) - qint64(linePitch_) * line);
}

int TTextShot::CharY(int line, int column) const
{
    const qint64 h = FontHeight();
    if (orientation_ == 0)
        return ClampCoord(originY + h * line + qint64(linePitch_) * line);
    return ClampCoord(qint64(originY) + std::abs(PrefixWidth(line, column)));
}

void TTextShot::DrawChar(int n)
{
    if (n <= 0 || n > CharCount() || !canvas_)
        return;
    const int line = LineOfChar(n);
    const int column = ColumnOfChar(n);
    const QString ch = CharAt(n);
    const int x = CharX(line, column);
    const int y = CharY(line, column);
    if (orientation_ == 0)
        DrawGlyph(x, y, ch, 0);
    else
        DrawGlyph(ClampCoord(qint64(x) + FontHeight()), y, ch, kEscapementVertical);
}

void TTextShot::DrawAll()
{
    for (int n = 1; n <= CharCount(); ++n)
        DrawChar(n);
}

void TTextShot::DrawGlyph(int x, int y, const QString& ch, int escapement)
{
    const ColorRef textColor = canvas_->font().color;
    const LogFont font = canvas_->font().ToLogFont(escapement);
    if (shadowOn_ == 1) {
        if (highlightOn_ == 1) {
            const int d = HighlightDistance(highlightWidth_);
            const int offsets[8][2] = { { d, d }, { d, -d }, { -d, -d }, { -d, d }, { d, 0 },
                { -d, 0 }, { 0, -d }, { 0, d } };
            for (const auto& o : offsets)
                canvas_->TextOut(font, shadowColor_, x + o[0], y + o[1], ch);
        } else {
            const int d = DropShadowOffset(FontHeight());
            canvas_->TextOut(font, shadowColor_, x + d, y + d, ch);
        }
    }
    canvas_->TextOut(font, textColor, x, y, ch);
}

TextRect TTextShot::TextBounds() const
{
    TextRect r;
    if (!canvas_ || LineCount() == 0) {
        r.left = r.right = originX;
        r.top = r.bottom = originY;
        return r;
    }
    qint64 longest = 0;
    for (const QString& line : numbering_.lines())
        longest = std::max<qint64>(longest, std::abs(canvas_->TextWidth(line)));
    const qint64 lines = LineCount();
    const qint64 extent
        = std::abs(canvas_->TextHeight(QStringLiteral("Ｗ")) * lines) + (lines - 1) * linePitch_;
    if (orientation_ == 0) {
        r.left = originX;
        r.top = originY;
        r.right = ClampCoord(originX + longest);
        r.bottom = ClampCoord(originY + extent);
    } else {
        r.right = originX;
        r.top = originY;
        r.left = ClampCoord(originX - extent);
        r.bottom = ClampCoord(originY + longest);
    }
    return r;
}

} // namespace pimoko

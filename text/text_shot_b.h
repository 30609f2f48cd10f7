#pragma once

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "text/char_numbering.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

namespace pimoko {

// Types a page's text with smoothed glyphs onto a 24-bit page bitmap: each character is
// drawn in white into a one-bit coverage mask at four times the page resolution, and
// every 4 x 4 block of the mask is blended into the page as one pixel, first in the
// shadow colour at the shadow or outline offsets, then in the text colour.
class TTextShotB {
public:
    static constexpr int kSupersampling = 4;
    static constexpr int kMaskWidth = kPageWidth * kSupersampling;
    static constexpr int kMaskHeight = kPageHeight * kSupersampling;

    TTextShotB();
    ~TTextShotB();
    TTextShotB(const TTextShotB&) = delete;
    TTextShotB& operator=(const TTextShotB&) = delete;

    // Copies the lines, sets every delay to 0 and clears the mask.
    void SetText(const QStringList& lines);
    int CharCount() const { return numbering_.CharCount(); }
    int LineCount() const { return numbering_.LineCount(); }
    int LineOfChar(int n) const { return numbering_.LineOfChar(n); }
    int ColumnOfChar(int n) const { return numbering_.ColumnOfChar(n); }
    QString CharAt(int n) const { return numbering_.CharAt(n); }
    QString LinePrefix(int line, int column) const { return numbering_.LinePrefix(line, column); }

    // Delay in milliseconds before character index + 1 is typed; index 0..2000.
    void SetCharDelay(int index, int ms);
    int CharDelay(int index) const;

    void SetOrigin(int x0, int y0);
    int originX() const { return originX_; }
    int originY() const { return originY_; }

    // The canvas of the target bitmap (24 bits, blue-green-red, 640 x 480; not owned):
    // glyphs are blended into its image, and its font is the text font.
    void SetTargetBitmap(Canvas* target);
    Canvas* target() const { return target_; }

    void SetShadowOn() { shadowOn_ = 1; }
    void SetShadowOff() { shadowOn_ = 0; }
    void SetShadowColor(ColorRef color) { shadowColor_ = color; }
    void SetHighlightOn() { highlightOn_ = 1; }
    void SetHighlightOff() { highlightOn_ = 0; }
    void SetHighlightWidth(int pixels) { highlightWidth_ = pixels; }
    void SetHorizontal() { orientation_ = 0; }
    void SetVertical() { orientation_ = 1; }
    bool IsVertical() const { return orientation_ == 1; }
    void SetLinePitch(int pixels) { linePitch_ = pixels; }
    // Deferred: characters gather in the mask and CompositeAll blends them once.
    void SetDeferredComposite(bool on) { deferredComposite_ = on ? 1 : 0; }
    bool DeferredComposite() const { return deferredComposite_ != 0; }
    // The book's list of characters to turn; kept but not consulted.
    void SetRotatedChars(const QString& chars) { rotatedChars_ = chars; }
    QString RotatedChars() const { return rotatedChars_; }

    // Draws character n into the mask and, unless deferred, blends it into the target.
    void DrawChar(int n);
    // Blends the whole mask into the whole target.
    void CompositeAll();
    // The clickable area of the text.
    TextRect TextBounds() const;
    void ClearMask();

    // The steps of DrawChar, open for the tests and the benchmark.
    // Supersampled position of line L, column C.
    QPoint CharPos4(int line, int column) const;
    void DrawCharToMask(int x4, int y4, const QString& ch);
    // The page box a character's glyph is looked for in (left, top, width, height).
    QRect CharBox(int n) const;
    void CompositeChar(int n);
    void CompositeRegion(const QRect& box, int dx, int dy, ColorRef color);
    void BlendPixel(int x, int y, int coverage, ColorRef color);

    // The coverage mask: 2560 x 1920, QImage::Format_Mono, a set bit is covered.
    const QImage& Mask() const { return mask_; }
    // The mask to change from outside (tests, tools); the next clear clears all of it.
    QImage& EditMask()
    {
        maskDirty_ = mask_.rect();
        return mask_;
    }

private:
    struct Caches;
    int FontHeight() const;
    CanvasFont MaskFont() const;
    int PrefixWidth4(int line, int column) const;
    void CompositeOffsets(const QRect& box, bool wholePage);

    CharNumbering numbering_;
    Canvas* target_ = nullptr;
    int linePitch_ = 0;
    ColorRef shadowColor_ = 0;
    int shadowOn_ = 1;
    int highlightOn_ = 0;
    int highlightWidth_ = 1;
    std::array<int, kMaxPageChars> delays_ {};
    int orientation_ = 0;
    int deferredComposite_ = 0;
    int originX_ = 0;
    int originY_ = 0;
    QString rotatedChars_;
    QImage placeholderImage_;
    Canvas placeholder_;
    QImage mask_;
    Canvas maskCanvas_;
    QRect maskDirty_; // mask pixels that may be set
    std::array<int, 16> coverageTable_ {};
    std::unique_ptr<Caches> caches_;
};

} // namespace pimoko

#pragma once

#include "platform/canvas.h"
#include "text/char_numbering.h"

#include <QString>
#include <QStringList>

#include <array>

namespace pimoko {

// Lays out a page's text and draws it one character at a time onto a canvas the caller
// supplies, unsmoothed, with a drop shadow or an outline in the shadow colour. The
// caller gives the canvas font the face (with "@" in front for vertical writing), height,
// style and colour before drawing; the engine measures everything in that font.
class TTextShot {
public:
    TTextShot();

    void SetText(const QStringList& lines);
    int CharCount() const { return numbering_.CharCount(); }
    int LineCount() const { return numbering_.LineCount(); }
    int LineOfChar(int n) const { return numbering_.LineOfChar(n); }
    int ColumnOfChar(int n) const { return numbering_.ColumnOfChar(n); }
    QString CharAt(int n) const { return numbering_.CharAt(n); }
    QString LinePrefix(int line, int column) const { return numbering_.LinePrefix(line, column); }

    // Binds the canvas (not owned) and sets its font's pitch to default and its
    // character set to 1.
    void SetCanvas(Canvas* canvas);
    Canvas* canvas() const { return canvas_; }

    void SetHorizontal() { orientation_ = 0; }
    void SetVertical() { orientation_ = 1; }
    bool IsVertical() const { return orientation_ == 1; }
    void SetShadowOn() { shadowOn_ = 1; }
    void SetShadowOff() { shadowOn_ = 0; }
    void SetShadowColor(ColorRef color) { shadowColor_ = color; }
    // Sets the colour of the canvas font.
    void SetTextColor(ColorRef color);
    void SetLinePitch(int pixels) { linePitch_ = pixels; }
    void SetHighlightOn() { highlightOn_ = 1; }
    void SetHighlightOff() { highlightOn_ = 0; }
    void SetHighlightWidth(int pixels) { highlightWidth_ = pixels; }
    void SetOrigin(int x0, int y0)
    {
        originX = x0;
        originY = y0;
    }
    // The book's list of characters to turn; kept but not consulted.
    void SetRotatedChars(const QString& chars) { rotatedChars_ = chars; }
    QString RotatedChars() const { return rotatedChars_; }

    // Position of the character in line L (0-based), column C (1-based).
    int CharX(int line, int column) const;
    int CharY(int line, int column) const;

    // Draws character n (nothing for n outside 1..CharCount()).
    void DrawChar(int n);
    // Draws every character, 1..CharCount().
    void DrawAll();

    // The rectangle the whole text covers.
    TextRect TextBounds() const;

    // The text origin in page pixels, written by the callers before drawing.
    int originX = 0;
    int originY = 0;

private:
    int FontHeight() const;
    int PrefixWidth(int line, int column) const;
    void DrawGlyph(int x, int y, const QString& ch, int escapement);

    CharNumbering numbering_;
    Canvas* canvas_ = nullptr;
    int linePitch_ = 0;
    ColorRef shadowColor_ = 0;
    int shadowOn_ = 1;
    int highlightOn_ = 0;
    int highlightWidth_ = 0;
    std::array<int, kMaxPageChars> delays_ {};
    int orientation_ = 0;
    QString rotatedChars_;
    mutable PrefixWidths prefixWidths_;
};

// The offset of the drop shadow for a font height: h div 30, at least 1.
int DropShadowOffset(int fontHeight);
// The outline distance for a highlight width: at least 1.
int HighlightDistance(int highlightWidth);

} // namespace pimoko

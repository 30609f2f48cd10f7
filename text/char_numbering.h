#pragma once

#include "platform/canvas.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <vector>

namespace pimoko {

// The most characters a page's text can address.
constexpr int kMaxPageChars = 2001;

// Layout positions far off the page are held at this distance, so that no sum of
// positions, heights and offsets read from a damaged book can overflow.
constexpr qint64 kFarAway = qint64(1) << 28;
inline int ClampCoord(qint64 v)
{
    return static_cast<int>(v < -kFarAway ? -kFarAway : v > kFarAway ? kFarAway : v);
}

// h, the absolute font height, no larger than the canvas draws glyphs.
constexpr int kMaxFontHeight = 2048;
inline int LayoutFontHeight(int height)
{
    const qint64 h = height < 0 ? -qint64(height) : qint64(height);
    return static_cast<int>(h > kMaxFontHeight ? kMaxFontHeight : h);
}

// A rectangle as the text engines report it: right and bottom lie just outside.
struct TextRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const TextRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// A page's text lines with its characters numbered 1..N in reading order across the
// lines, a character being one UTF-16 unit, N capped at 2001. Lines are never broken.
class CharNumbering {
public:
    void SetText(const QStringList& lines);
    const QStringList& lines() const { return lines_; }
    int LineCount() const { return lines_.size(); }
    int CharCount() const { return charCount_; }

    // 0-based line of character n; -1 when no line reaches n.
    int LineOfChar(int n) const;
    // 1-based column of character n in its line; -1 when no line reaches n.
    int ColumnOfChar(int n) const;
    // Character n as a one-character string; empty when n <= 0 or n > CharCount().
    QString CharAt(int n) const;
    // The first column - 1 characters of the line; empty when column < 2.
    QString LinePrefix(int line, int column) const;

private:
    QStringList lines_;
    QVector<int> lineEnds_; // summed lengths of lines 0..L
    int charCount_ = 0;
};

// Widths of the line prefixes in one font, summed once per line instead of measured
// again for every character. Gives what measuring the prefix gives.
class PrefixWidths {
public:
    void Invalidate() { valid_ = false; }
    // Width of LinePrefix(line, column) in the font.
    int Width(const CharNumbering& text, int line, int column, const LogFont& font);

private:
    bool valid_ = false;
    LogFont font_;
    std::vector<std::vector<int>> sums_; // sums_[L][C - 1] = width of columns 1..C-1
};

} // namespace pimoko

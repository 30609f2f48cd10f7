#include "text/char_numbering.h"

#include <algorithm>

namespace pimoko {

void CharNumbering::SetText(const QStringList& lines)
{
    lines_ = lines;
    lineEnds_.clear();
    lineEnds_.reserve(lines_.size());
    qint64 sum = 0;
    for (const QString& line : lines_) {
        sum += line.size();
        // Sums past the cap only need to stay above it.
        lineEnds_.push_back(static_cast<int>(std::min<qint64>(sum, 1 << 30)));
    }
    charCount_ = static_cast<int>(std::min<qint64>(sum, kMaxPageChars));
}

int CharNumbering::LineOfChar(int n) const
{
    auto it = std::lower_bound(lineEnds_.begin(), lineEnds_.end(), n);
    return it == lineEnds_.end() ? -1 : static_cast<int>(it - lineEnds_.begin());
}

int CharNumbering::ColumnOfChar(int n) const
{
    const int line = LineOfChar(n);
    if (line < 0)
        return -1;
    return n - (line == 0 ? 0 : lineEnds_[line - 1]);
}

QString CharNumbering::CharAt(int n) const
{
    if (n <= 0 || n > charCount_)
        return QString();
    const int line = LineOfChar(n);
    const int column = ColumnOfChar(n);
    if (line < 0 || column < 1)
        return QString();
    return QString(lines_[line].at(column - 1));
}

QString CharNumbering::LinePrefix(int line, int column) const
{
    if (line < 0 || line >= lines_.size() || column < 2)
        return QString();
    return lines_[line].left(column - 1);
}

int PrefixWidths::Width(const CharNumbering& text, int line, int column, const LogFont& font)
{
    if (column < 2 || line < 0 || line >= text.LineCount())
        return 0;
    auto face = FontFace::Get(font);
    if (!FontCachingEnabled())
        return face->TextWidth(text.LinePrefix(line, column));
    if (!valid_ || font_ != font || static_cast<int>(sums_.size()) != text.LineCount()) {
        sums_.assign(text.LineCount(), {});
        font_ = font;
        valid_ = true;
    }
    std::vector<int>& sums = sums_[line];
    if (sums.empty()) {
        const QString& s = text.lines()[line];
        sums.resize(s.size() + 1);
        sums[0] = 0;
        for (int i = 0; i < s.size(); ++i)
            sums[i + 1] = sums[i] + face->CharAdvance(s.at(i));
    }
    return sums[std::min<int>(column - 1, static_cast<int>(sums.size()) - 1)];
}

} // namespace pimoko

#pragma once

#include "platform/numbers.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace pimoko {

// The tags of the book file, header and page blocks.
enum class BookTag {
    FileType,
    BookTitle,
    Escapement,
    Default,
    DefaultLinePitch,
    DefaultHighlight,
    Title,
    Picture,
    PicEffect,
    PicClip,
    EffectWait,
    FillImage,
    Sound,
    SoundExt,
    Option,
    TextPoint,
    TextVertical,
    LinePitch,
    Font,
    FontCharsetFamily,
    FontStyle,
    FontShadow,
    FontHighlight,
    BeginText,
    EndText,
    BeginRhyme,
    EndRhyme,
    Period,
    LinkPage,
    GotoPage,
    Count
};

// The line of a tag as the file holds it ("<TITLE>").
const QString& TagText(BookTag tag);

// A book file's lines with the line numbers of every tag, so that "the next line equal
// to this tag from here to the end of the file" is a binary search instead of a scan.
class BookLines {
public:
    explicit BookLines(const QStringList& lines);

    const QStringList& lines() const { return lines_; }
    int size() const { return static_cast<int>(lines_.size()); }
    const QString& operator[](int i) const { return lines_[i]; }

    // The first line at or after from that equals the tag, or -1.
    int Find(BookTag tag, int from) const;

private:
    const QStringList& lines_;
    std::array<std::vector<int>, static_cast<size_t>(BookTag::Count)> where_;
};

// Walks the value lines after a tag. A value line missing at the very end of the file
// leaves its field as it was, like a missing tag.
class BookValueReader {
public:
    BookValueReader(const BookLines& lines, int& index) : lines_(lines), index_(index) {}

    // Moves past the tag; false when the tag is not found from the current line on.
    bool Seek(BookTag tag)
    {
        const int at = lines_.Find(tag, index_);
        if (at < 0)
            return false;
        index_ = at + 1;
        return true;
    }

    void Text(QString& field)
    {
        if (index_ < lines_.size())
            field = lines_[index_++];
    }
    void Bool(bool& field)
    {
        if (index_ < lines_.size())
            field = StrToBool(lines_[index_++]);
    }
    void Int(int& field)
    {
        if (index_ < lines_.size())
            field = StrToInt(lines_[index_++]);
    }
    // A page number outside the table stands for no page: the player never follows it.
    void PageNumber(int& field)
    {
        Int(field);
        if (field < 0 || field > 300)
            field = 0;
    }

    int& index() { return index_; }
    const BookLines& lines() const { return lines_; }

private:
    const BookLines& lines_;
    int& index_;
};

}  // namespace pimoko

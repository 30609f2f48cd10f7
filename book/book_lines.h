#pragma once

#include "book/book_defaults.h"
#include "platform/numbers.h"

#include <QString>
#include <QStringList>
#include <QStringView>

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
// Built from a file's bytes, the lines are views into one decoded text: a book is mostly
// numbers, and they are converted without a string of their own for each.
class BookLines {
public:
    // Views into the list, which must outlive this object.
    explicit BookLines(const QStringList& lines);
    // The lines of a whole file, split as ReadLineFile splits them.
    explicit BookLines(const QByteArray& fileBytes);
    BookLines(const BookLines&) = delete;
    BookLines& operator=(const BookLines&) = delete;

    int size() const { return static_cast<int>(views_.size()); }
    QStringView View(int i) const { return views_[static_cast<size_t>(i)]; }
    QString Text(int i) const { return View(i).toString(); }

    // The first line at or after from that equals the tag, or -1.
    int Find(BookTag tag, int from) const;

private:
    void IndexTags();

    QString text_;
    std::vector<QStringView> views_;
    std::array<std::vector<int>, static_cast<size_t>(BookTag::Count)> where_;
};

// A number line converted in place (the conversion error names the line's text).
inline int LineToInt(QStringView line)
{
    return StrToInt(QString::fromRawData(line.data(), line.size()));
}

// The default fade wait as the book and settings files store it: the field's text as
// written (" 300" stays " 300"), or its number when the text holds none, since a file
// whose fade wait is no number cannot be read back.
inline QString StoredFadeWaitText(const TBookDefaults& d)
{
    int ignored = 0;
    return TryStrToInt(d.DefaultEffectWaitText, &ignored) ? d.DefaultEffectWaitText
                                                          : IntToStr(d.DefaultEffectWait);
}

// Walks the value lines after a tag. A value line missing at the very end of the file
// leaves its field as it was, like a missing tag.
class BookValueReader {
public:
    BookValueReader(const BookLines& lines, int& index)
        : lines_(lines)
        , index_(index)
    {
    }

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
            field = lines_.Text(index_++);
    }
    void Bool(bool& field)
    {
        if (index_ < lines_.size())
            field = lines_.View(index_++) == QLatin1String("T");
    }
    void Int(int& field)
    {
        if (index_ < lines_.size())
            field = LineToInt(lines_.View(index_++));
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

} // namespace pimoko

#include "book/book_lines.h"

#include "platform/sjis_codec.h"

#include <algorithm>

namespace pimoko {
namespace {

constexpr size_t kTagCount = static_cast<size_t>(BookTag::Count);

const std::array<QString, kTagCount>& TagTexts()
{
    static const std::array<QString, kTagCount> texts = {
        QStringLiteral("<FILE TYPE>"),
        QStringLiteral("<BOOK TITLE>"),
        QStringLiteral("<ESCAPEMENT>"),
        QStringLiteral("<DEFAULT>"),
        QStringLiteral("<DEFAULT LINE PITCH>"),
        QStringLiteral("<DEFAULT HIGHLIGHT>"),
        QStringLiteral("<TITLE>"),
        QStringLiteral("<PICTURE>"),
        QStringLiteral("<PIC EFFECT>"),
        QStringLiteral("<PIC CLIP>"),
        QStringLiteral("<EFFECT WAIT>"),
        QStringLiteral("<FILL IMAGE>"),
        QStringLiteral("<SOUND>"),
        QStringLiteral("<SOUND EXT>"),
        QStringLiteral("<OPTION>"),
        QStringLiteral("<TEXT POINT>"),
        QStringLiteral("<TEXT VERTICAL>"),
        QStringLiteral("<LINE PITCH>"),
        QStringLiteral("<FONT>"),
        QStringLiteral("<FONT CHRSET_FAMILY>"),
        QStringLiteral("<FONT STYLE>"),
        QStringLiteral("<FONT SHADOW>"),
        QStringLiteral("<FONT HIGHLIGHT>"),
        QStringLiteral("<BEGIN TEXT>"),
        QStringLiteral("<END TEXT>"),
        QStringLiteral("<BEGIN RHYME>"),
        QStringLiteral("<END RHYME>"),
        QStringLiteral("<PERIOD>"),
        QStringLiteral("<LINK PAGE>"),
        QStringLiteral("<GOTO PAGE>"),
    };
    return texts;
}

// The tag a line stands for, or Count. Lines are mostly numbers and text, so the cheap
// tests come first.
BookTag TagOf(QStringView line)
{
    if (line.size() < 3 || line.front() != QLatin1Char('<') || line.back() != QLatin1Char('>'))
        return BookTag::Count;
    const auto& texts = TagTexts();
    for (size_t i = 0; i < kTagCount; ++i)
        if (texts[i].size() == line.size() && QStringView(texts[i]) == line)
            return static_cast<BookTag>(i);
    return BookTag::Count;
}

} // namespace

const QString& TagText(BookTag tag)
{
    return TagTexts()[static_cast<size_t>(tag)];
}

BookLines::BookLines(const QStringList& lines)
{
    views_.reserve(static_cast<size_t>(lines.size()));
    for (const QString& l : lines)
        views_.emplace_back(l);
    IndexTags();
}

BookLines::BookLines(const QByteArray& fileBytes)
    : text_(DecodeSjis(fileBytes))
{
    // "\n" and "\r" are single bytes that no double-byte character contains, so splitting
    // the decoded text gives the lines that splitting the bytes would.
    const QChar* data = text_.constData();
    const qsizetype n = text_.size();
    views_.reserve(static_cast<size_t>(fileBytes.count('\n') + 1));
    qsizetype start = 0;
    while (start < n) {
        const qsizetype lf = text_.indexOf(QLatin1Char('\n'), start);
        const qsizetype end = lf < 0 ? n : lf;
        qsizetype textEnd = end;
        if (lf >= 0 && textEnd > start && data[textEnd - 1] == QLatin1Char('\r'))
            --textEnd;
        views_.emplace_back(data + start, textEnd - start);
        if (lf < 0)
            break;
        start = lf + 1;
    }
    IndexTags();
}

void BookLines::IndexTags()
{
    const int n = size();
    for (int i = 0; i < n; ++i) {
        const BookTag tag = TagOf(views_[static_cast<size_t>(i)]);
        if (tag != BookTag::Count)
            where_[static_cast<size_t>(tag)].push_back(i);
    }
}

int BookLines::Find(BookTag tag, int from) const
{
    const std::vector<int>& at = where_[static_cast<size_t>(tag)];
    auto it = std::lower_bound(at.begin(), at.end(), from);
    return it == at.end() ? -1 : *it;
}

} // namespace pimoko

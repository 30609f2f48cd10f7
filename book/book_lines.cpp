#include "book/book_lines.h"

#include <QHash>

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

const QHash<QString, BookTag>& TagsByText()
{
    static const QHash<QString, BookTag> tags = [] {
        QHash<QString, BookTag> h;
        for (size_t i = 0; i < kTagCount; ++i)
            h.insert(TagTexts()[i], static_cast<BookTag>(i));
        return h;
    }();
    return tags;
}

}  // namespace

const QString& TagText(BookTag tag) { return TagTexts()[static_cast<size_t>(tag)]; }

BookLines::BookLines(const QStringList& lines) : lines_(lines)
{
    const auto& tags = TagsByText();
    const int n = static_cast<int>(lines.size());
    for (int i = 0; i < n; ++i) {
        const QString& l = lines[i];
        // Most lines are numbers or text; only whole-line tags are indexed.
        if (l.size() < 3 || l.front() != QLatin1Char('<') || l.back() != QLatin1Char('>'))
            continue;
        auto it = tags.constFind(l);
        if (it != tags.constEnd())
            where_[static_cast<size_t>(it.value())].push_back(i);
    }
}

int BookLines::Find(BookTag tag, int from) const
{
    const std::vector<int>& at = where_[static_cast<size_t>(tag)];
    auto it = std::lower_bound(at.begin(), at.end(), from);
    return it == at.end() ? -1 : *it;
}

}  // namespace pimoko

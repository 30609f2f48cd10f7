#include "player/title_list.h"

#include "book/open_book.h"
#include "platform/sjis_codec.h"

namespace pimoko {
namespace {

bool HasOwnBackground(const TNovelPage& p)
{
    return p.InUse && (p.FillImage || (!p.PictureFile.isEmpty() && !p.ClipMode));
}

} // namespace

void SliderPageTable::Rebuild(const TOpenBook& book)
{
    pages.fill(-1);
    count = 0;
    for (int n = 1; n <= TOpenBook::kPageCount; ++n)
        if (HasOwnBackground(book.Page(n)))
            pages[count++] = n;
    if (count == 0) {
        pages[0] = 1;
        count = 1;
    }
}

int SliderPageTable::PositionOf(int page) const
{
    for (int i = 0; i < count; ++i)
        if (pages[i] == page)
            return i;
    return -1;
}

QString FormatSjisField(const QString& text, int width, bool leftAlign)
{
    QString cut;
    int bytes = 0;
    for (QChar c : text) {
        const int n = IsSjisDoubleByte(c) ? 2 : 1;
        if (bytes + n > width)
            break;
        cut.append(c);
        bytes += n;
    }
    const QString pad(width - bytes, QLatin1Char(' '));
    return leftAlign ? cut + pad : pad + cut;
}

TTitleList::TTitleList(const TOpenBook& book)
    : book_(book)
{
    for (int i = 0; i < 300; ++i)
        titles_[i].PageNumber = i + 1;
    slider_.Rebuild(book_);
}

void TTitleList::RefreshSlider()
{
    slider_.Rebuild(book_);
    sliderPosition = qMin(sliderPosition, SliderMaximum());
}

QVector<TitleListEntry> TTitleList::BuildPlayerList()
{
    thumbnails = false;
    mode = PlayerMode;
    QVector<TitleListEntry> entries;
    int k = 1;
    for (int n = 1; n <= TOpenBook::kPageCount; ++n) {
        const TNovelPage& p = book_.Page(n);
        if (!p.InUse || p.Title.isEmpty())
            continue;
        entries.append({ QString::number(k) + QLatin1Char(':') + p.Title, &titles_[n - 1] });
        ++k;
    }
    RefreshSlider();
    return entries;
}

QVector<TitleListEntry> TTitleList::BuildEditorList()
{
    mode = EditorMode;
    int width = 30;
    for (int n = 1; n <= TOpenBook::kPageCount; ++n)
        if (book_.Page(n).InUse)
            width = qMax(width, SjisByteLength(book_.Page(n).Title));
    QVector<TitleListEntry> entries;
    for (int n = 1; n <= TOpenBook::kPageCount; ++n) {
        const TNovelPage& p = book_.Page(n);
        if (!p.InUse)
            continue;
        QString text;
        if (thumbnails) {
            text = QString::number(n) + QLatin1Char(':') + p.Title;
        } else {
            text = FormatSjisField(QString::number(n), 3, false) + QLatin1Char(':')
                + FormatSjisField(p.Title, width, true) + QStringLiteral("：")
                + FormatSjisField(p.TextLines.value(0), 50, true);
            if (p.TextLines.size() > 1)
                text += QStringLiteral("～") + FormatSjisField(p.TextLines.last(), 50, true);
        }
        entries.append({ text, &titles_[n - 1] });
    }
    RefreshSlider();
    return entries;
}

void TTitleList::RebuildSlider()
{
    slider_.Rebuild(book_);
    sliderPosition = 0;
}

void TTitleList::SelectSliderPage(int n)
{
    sliderEnabled = true;
    const int i = slider_.PositionOf(n);
    if (i >= 0)
        sliderPosition = i;
}

void TTitleList::ReaderMovedSlider(int position)
{
    sliderPosition = qBound(0, position, SliderMaximum());
    sliderMoved = true;
}

int TTitleList::SliderPage(int position) const
{
    if (position < 0 || position >= slider_.count)
        return 0;
    return slider_.pages[position];
}

int TTitleList::TakeSliderJump()
{
    if (!sliderMoved)
        return 0;
    sliderMoved = false;
    return SliderPage(sliderPosition);
}

} // namespace pimoko

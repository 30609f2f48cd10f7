#include "book/novel_page.h"

#include "book/book_lines.h"
#include "platform/numbers.h"
#include "platform/paths.h"

#include <algorithm>
#include <charconv>

namespace pimoko {
namespace {

const QString kSeparator = QString(26, QLatin1Char('-'));
const QString kReadError = QStringLiteral("Read ERR!");

// Every delay unset. Pages copy this table instead of filling their own: a copy is one
// block move even in an unoptimised build, and every load clears all 300 pages.
const TNovelPage::CharDelayArray& UnsetDelays()
{
    static const TNovelPage::CharDelayArray unset = [] {
        TNovelPage::CharDelayArray d;
        d.fill(-1);
        return d;
    }();
    return unset;
}

} // namespace

TNovelPage::TNovelPage()
    : CharDelays(UnsetDelays())
{
}

void TNovelPage::Clear()
{
    static const TNovelPage cleared;
    const int number = PageNumber;
    *this = cleared;
    PageNumber = number;
}

void TNovelPage::ResetCharDelays()
{
    CharDelays = UnsetDelays();
}

void TNovelPage::Assign(const TNovelPage& other)
{
    *this = other;
}

bool TNovelPage::HasNoTextSettings() const
{
    return FontName.isEmpty() && FontHeight == 0 && FontColor == 0 && ShadowColor == 0;
}

bool TNovelPage::ReadBlock(const QStringList& lines, int& index)
{
    const BookLines indexed(lines);
    return ReadBlock(indexed, index);
}

bool TNovelPage::ReadBlock(const BookLines& lines, int& index)
{
    BookValueReader r(lines, index);

    const bool found = r.Seek(BookTag::Title);
    if (found)
        r.Text(Title);
    if (r.Seek(BookTag::Picture))
        r.Text(PictureFile);
    if (r.Seek(BookTag::PicEffect))
        r.Int(PicEffect);
    if (r.Seek(BookTag::PicClip)) {
        r.Bool(ClipMode);
        r.Bool(ClipTransparent);
        r.Int(ClipX);
        r.Int(ClipY);
    }
    if (r.Seek(BookTag::EffectWait))
        r.Int(EffectWait);
    if (r.Seek(BookTag::FillImage)) {
        r.Bool(FillImage);
        r.Int(FillColor);
    }
    if (r.Seek(BookTag::Sound))
        r.Text(SoundFile);
    if (r.Seek(BookTag::SoundExt)) {
        QString loop, stop;
        r.Text(loop);
        r.Text(stop);
        SoundLoop = loop == QLatin1String("LOOP");
        SoundStop = stop == QLatin1String("STOP");
    }
    if (r.Seek(BookTag::Option)) {
        r.Bool(AutoNext);
        r.Bool(WriteAll);
        r.Bool(DrawToBackBuffer);
        r.Bool(ShowBackBuffer);
    }
    if (r.Seek(BookTag::TextPoint)) {
        r.Int(TextX);
        r.Int(TextY);
    }
    Vertical = false;
    if (r.Seek(BookTag::TextVertical))
        r.Bool(Vertical);
    LinePitch = 0;
    if (r.Seek(BookTag::LinePitch))
        r.Int(LinePitch);
    if (r.Seek(BookTag::Font)) {
        r.Text(FontName);
        r.Int(FontHeight);
        r.Int(FontColor);
    }
    FontCharset = -1;
    FontFamily = -1;
    if (r.Seek(BookTag::FontCharsetFamily)) {
        r.Int(FontCharset);
        r.Int(FontFamily);
    }
    if (r.Seek(BookTag::FontStyle))
        r.Text(FontStyle);
    if (r.Seek(BookTag::FontShadow)) {
        r.Bool(Shadow);
        r.Int(ShadowColor);
    }
    if (r.Seek(BookTag::FontHighlight)) {
        r.Bool(Highlight);
        r.Int(HighlightLevel);
    }

    TextLines.clear();
    if (r.Seek(BookTag::BeginText)) {
        const int end = lines.Find(BookTag::EndText, index);
        const int last = end < 0 ? lines.size() : end;
        for (int i = index; i < last; ++i)
            TextLines.append(lines.Text(i));
        if (end < 0)
            TextLines.append(kReadError);
        index = last;
    }

    if (r.Seek(BookTag::BeginRhyme)) {
        const int end = lines.Find(BookTag::EndRhyme, index);
        const int last = end < 0 ? lines.size() : end;
        // The table holds 2001 delays; values past it are not read at all.
        const int stored = std::min(last - index, kCharDelayCount);
        ResetCharDelays();
        for (int k = 0; k < stored; ++k) {
            const int v = LineToInt(lines.View(index + k));
            CharDelays[k] = static_cast<qint16>(std::clamp(v, -32768, 32767));
        }
        index = last;
    }

    Period = false;
    if (r.Seek(BookTag::Period))
        r.Bool(Period);
    LinkPage = 0;
    if (r.Seek(BookTag::LinkPage))
        r.PageNumber(LinkPage);
    GotoPage = 0;
    if (r.Seek(BookTag::GotoPage))
        r.PageNumber(GotoPage);

    InUse = found;
    return found;
}

namespace {

// Lines go to a list, or to one text with each line ended by CR LF (the saver's way:
// one encoding pass over the whole book instead of one per line).
struct ListSink {
    QStringList& out;
    void Line(const QString& s) { out.append(s); }
    void Lines(const QStringList& l) { out.append(l); }
    void Number(int v) { out.append(IntToStr(v)); }
};

struct TextSink {
    QString& out;
    void End() { out.append(QLatin1String("\r\n", 2)); }
    void Line(const QString& s)
    {
        out.append(s);
        End();
    }
    void Lines(const QStringList& l)
    {
        for (const QString& s : l)
            Line(s);
    }
    void Number(int v)
    {
        char buf[16];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        out.append(QLatin1String(buf, static_cast<int>(r.ptr - buf)));
        End();
    }
};

template <class Sink>
void WriteBlockWith(const TNovelPage& p, Sink out, const QString& picture, const QString& sound)
{
    auto tag = [&out](BookTag t) { out.Line(TagText(t)); };
    auto b = [&out](bool v) { out.Line(BoolToStr(v)); };
    auto n = [&out](int v) { out.Number(v); };
    static const QString kLoop = QStringLiteral("LOOP"), kOnce = QStringLiteral("ONCE"),
                         kStop = QStringLiteral("STOP"), kCont = QStringLiteral("CONT");

    tag(BookTag::Title);
    out.Line(p.Title);
    tag(BookTag::Picture);
    out.Line(picture);
    tag(BookTag::PicEffect);
    n(p.PicEffect);
    tag(BookTag::PicClip);
    b(p.ClipMode);
    b(p.ClipTransparent);
    n(p.ClipX);
    n(p.ClipY);
    tag(BookTag::EffectWait);
    n(p.EffectWait);
    tag(BookTag::FillImage);
    b(p.FillImage);
    n(p.FillImage ? p.FillColor : 0);
    tag(BookTag::Sound);
    out.Line(sound);
    tag(BookTag::SoundExt);
    out.Line(p.SoundLoop ? kLoop : kOnce);
    out.Line(p.SoundStop ? kStop : kCont);
    tag(BookTag::Option);
    b(p.AutoNext);
    b(p.WriteAll);
    b(p.DrawToBackBuffer);
    b(p.ShowBackBuffer);
    tag(BookTag::TextPoint);
    n(p.TextX);
    n(p.TextY);
    tag(BookTag::TextVertical);
    b(p.Vertical);
    tag(BookTag::LinePitch);
    n(p.LinePitch);
    tag(BookTag::Font);
    out.Line(p.FontName);
    n(p.FontHeight);
    n(p.FontColor);
    tag(BookTag::FontCharsetFamily);
    n(p.FontCharset);
    n(p.FontFamily);
    tag(BookTag::FontStyle);
    out.Line(p.FontStyle);
    tag(BookTag::FontShadow);
    b(p.Shadow);
    n(p.ShadowColor);
    tag(BookTag::FontHighlight);
    b(p.Highlight);
    n(p.HighlightLevel);
    tag(BookTag::BeginText);
    out.Lines(p.TextLines);
    tag(BookTag::EndText);
    tag(BookTag::BeginRhyme);
    for (qint16 d : p.CharDelays)
        if (d != -1)
            n(d);
    tag(BookTag::EndRhyme);
    tag(BookTag::Period);
    b(p.Period);
    tag(BookTag::LinkPage);
    n(p.LinkPage);
    tag(BookTag::GotoPage);
    n(p.GotoPage);
    out.Line(kSeparator);
}

QString WithJpegExtension(const QString& name)
{
    return name.left(name.size() - ExtensionOf(name).size()) + QStringLiteral(".jpg");
}

} // namespace

QString TNovelPage::RuntimePictureName(bool convertToJpeg) const
{
    QString picture = FileNamePart(DistPictureName.isEmpty() ? PictureFile : DistPictureName);
    if (convertToJpeg && !ClipMode && HasExtension(PictureFile, QStringLiteral(".bmp")))
        picture = WithJpegExtension(picture);
    return picture;
}

QString TNovelPage::RuntimeSoundName() const
{
    return FileNamePart(DistSoundName.isEmpty() ? SoundFile : DistSoundName);
}

void TNovelPage::WriteBlock(QStringList& lines) const
{
    if (InUse)
        WriteBlockWith(*this, ListSink { lines }, PictureFile, SoundFile);
}

void TNovelPage::WriteRuntimeBlock(QStringList& lines, bool convertToJpeg) const
{
    if (InUse)
        WriteBlockWith(
            *this, ListSink { lines }, RuntimePictureName(convertToJpeg), RuntimeSoundName());
}

void TNovelPage::WriteBlockText(QString& text, bool runtime, bool convertToJpeg) const
{
    if (!InUse)
        return;
    if (runtime)
        WriteBlockWith(
            *this, TextSink { text }, RuntimePictureName(convertToJpeg), RuntimeSoundName());
    else
        WriteBlockWith(*this, TextSink { text }, PictureFile, SoundFile);
}

void TNovelPage::ResolveMediaPaths(const QString& folder)
{
    if (!PictureFile.isEmpty() && !HasFolderPart(PictureFile))
        PictureFile = JoinPath(folder, PictureFile);
    if (!SoundFile.isEmpty() && !HasFolderPart(SoundFile))
        SoundFile = JoinPath(folder, SoundFile);
}

} // namespace pimoko

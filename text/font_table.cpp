#include "text/font_table.h"

#include "book/novel_page.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <climits>
#include <cstdlib>

namespace pimoko {

namespace {

struct WindowsFace {
    const char* name; // UTF-8
    int charSet;
    int pitchAndFamily;
};

// The Windows Japanese faces with the values Windows reports for them; they are listed
// when the IPA face standing in for them is installed.
const WindowsFace kWindowsFaces[] = {
    { "ＭＳ ゴシック", kShiftJisCharset, kFamilyModern | kFixedPitch },
    { "ＭＳ Ｐゴシック", kShiftJisCharset, kFamilySwiss | kVariablePitch },
    { "MS UI Gothic", kShiftJisCharset, kFamilySwiss | kVariablePitch },
    { "ＭＳ 明朝", kShiftJisCharset, kFamilyRoman | kFixedPitch },
    { "ＭＳ Ｐ明朝", kShiftJisCharset, kFamilyRoman | kVariablePitch },
};

// The faces a missing font falls back to, the first installed one winning.
const char* const kFallbackFaces[] = { "MS UI Gothic", "ＭＳ 明朝", "ＭＳ ゴシック", "System" };

bool LooksRoman(const QString& family)
{
    static const char* const kMarks[] = { "mincho", "明朝", "serif", "roman", "times", "song",
        "ming", "batang", "georgia", "century", "garamond", "palatino", "bookman" };
    const QString lower = family.toLower();
    if (lower.contains(QLatin1String("sans")))
        return false;
    for (const char* mark : kMarks) {
        if (lower.contains(QString::fromUtf8(mark)))
            return true;
    }
    return false;
}

} // namespace

int CharsetOfFamily(const QString& family)
{
    return QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese)
        ? kShiftJisCharset
        : kAnsiCharset;
}

int PitchAndFamilyOfFamily(const QString& family)
{
    const bool fixed = QFontDatabase::isFixedPitch(family);
    int kind = kFamilySwiss;
    if (fixed)
        kind = kFamilyModern;
    else if (LooksRoman(family))
        kind = kFamilyRoman;
    return kind | (fixed ? kFixedPitch : kVariablePitch);
}

void FontTable::Clear()
{
    entries_.fill(FontTableEntry());
}

bool FontTable::Add(const QString& faceName, int charSet, int pitchAndFamily)
{
    for (FontTableEntry& e : entries_) {
        if (e.faceName.isEmpty()) {
            e.faceName = faceName;
            e.charSet = charSet;
            e.pitchAndFamily = pitchAndFamily;
            return true;
        }
    }
    return false;
}

int FontTable::Count() const
{
    int n = 0;
    while (n < kSlots && !entries_[n].faceName.isEmpty())
        ++n;
    return n;
}

void FontTable::FillFontTable()
{
    Clear();
    InstallWindowsFaceSubstitutes();
    const QStringList families = QFontDatabase::families();
    for (const WindowsFace& w : kWindowsFaces) {
        const QString name = QString::fromUtf8(w.name);
        if (families.contains(WindowsFaceSubstitute(name)))
            Add(name, w.charSet, w.pitchAndFamily);
    }
    for (const QString& family : families) {
        // Hidden system families (names starting with ".") are not fonts a user picks.
        if (family.isEmpty() || family.startsWith(QLatin1Char('.'))
            || QFontDatabase::isPrivateFamily(family))
            continue;
        if (!Add(family, CharsetOfFamily(family), PitchAndFamilyOfFamily(family)))
            break;
    }
}

int FontTable::Find(const QString& faceName) const
{
    if (faceName.isEmpty())
        return -1;
    for (int i = 0; i < kSlots && !entries_[i].faceName.isEmpty(); ++i) {
        if (entries_[i].faceName == faceName)
            return i;
    }
    return -1;
}

bool FontTable::IsFontInstalled(const QString& faceName) const
{
    return Find(faceName) >= 0;
}

int FontTable::FontCharsetOf(const QString& faceName) const
{
    const int i = Find(faceName);
    return i < 0 ? -1 : entries_[i].charSet;
}

int FontTable::FontFamilyOf(const QString& faceName) const
{
    const int i = Find(faceName);
    return i < 0 ? -1 : entries_[i].pitchAndFamily;
}

LogFont FontTable::ResolveFont(const QString& faceName, int charSet, int pitchAndFamily) const
{
    LogFont answer;
    answer.faceName = faceName;
    answer.charSet = charSet;
    answer.pitchAndFamily = pitchAndFamily;

    const int found = Find(faceName);
    if (found >= 0) {
        const FontTableEntry& e = entries_[found];
        if (charSet == -1 || pitchAndFamily == -1
            || (charSet == e.charSet && pitchAndFamily == e.pitchAndFamily))
            return answer;
    }
    for (int i = 0; i < kSlots && !entries_[i].faceName.isEmpty(); ++i) {
        const FontTableEntry& e = entries_[i];
        if (e.charSet == charSet && e.pitchAndFamily == pitchAndFamily) {
            answer.faceName = e.faceName;
            answer.charSet = e.charSet;
            answer.pitchAndFamily = e.pitchAndFamily;
            return answer;
        }
    }
    for (const char* fallback : kFallbackFaces) {
        const QString name = QString::fromUtf8(fallback);
        if (IsFontInstalled(name)) {
            answer.faceName = name;
            break;
        }
    }
    return answer;
}

FontTable& ProgramFontTable()
{
    static FontTable table;
    static bool filled = false;
    // The font database needs the application object; without it the table stays empty
    // until a later call finds one.
    if (!filled && QGuiApplication::instance()) {
        table.FillFontTable();
        filled = true;
    }
    return table;
}

void FillFontTable()
{
    ProgramFontTable().FillFontTable();
}
bool IsFontInstalled(const QString& faceName)
{
    return ProgramFontTable().IsFontInstalled(faceName);
}
int FontCharsetOf(const QString& faceName)
{
    return ProgramFontTable().FontCharsetOf(faceName);
}
int FontFamilyOf(const QString& faceName)
{
    return ProgramFontTable().FontFamilyOf(faceName);
}
LogFont ResolveFont(const QString& faceName, int charSet, int pitchAndFamily)
{
    return ProgramFontTable().ResolveFont(faceName, charSet, pitchAndFamily);
}

QString StyleToString(const FontStyles& style)
{
    QString s = QStringLiteral("Type_");
    if (style.bold)
        s += QLatin1Char('B');
    if (style.italic)
        s += QLatin1Char('I');
    if (style.underline)
        s += QLatin1Char('U');
    if (style.strikeOut)
        s += QLatin1Char('S');
    return s;
}

FontStyles StyleFromString(const QString& text)
{
    FontStyles style;
    style.bold = text.contains(QLatin1Char('B'));
    style.italic = text.contains(QLatin1Char('I'));
    style.underline = text.contains(QLatin1Char('U'));
    style.strikeOut = text.contains(QLatin1Char('S'));
    return style;
}

CanvasFont PageTextFont(const TNovelPage& p)
{
    const LogFont resolved = ResolveFont(p.FontName, p.FontCharset, p.FontFamily);
    CanvasFont font;
    font.name = p.Vertical ? QStringLiteral("@") + resolved.faceName : resolved.faceName;
    // The one height without a positive twin is taken as the largest.
    font.height = p.FontHeight == INT_MIN ? INT_MAX : std::abs(p.FontHeight);
    font.style = StyleFromString(p.FontStyle);
    font.color = static_cast<ColorRef>(p.FontColor);
    return font;
}

} // namespace pimoko

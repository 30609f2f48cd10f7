#include "platform/canvas.h"

#include "platform/sjis_codec.h"

#include <QFont>

#include <climits>
#include <cstdlib>

namespace pimoko {

bool LogFont::operator==(const LogFont& o) const
{
    return faceName == o.faceName && height == o.height && width == o.width
        && escapement == o.escapement && weight == o.weight && italic == o.italic
        && underline == o.underline && strikeOut == o.strikeOut && charSet == o.charSet
        && pitchAndFamily == o.pitchAndFamily;
}

LogFont CanvasFont::ToLogFont(int escapement) const
{
    LogFont f;
    f.faceName = name;
    f.height = height == INT_MIN ? INT_MAX : std::abs(height);
    f.escapement = escapement;
    f.weight = style.bold ? 700 : 400;
    f.italic = style.italic;
    f.underline = style.underline;
    f.strikeOut = style.strikeOut;
    f.charSet = kDefaultCharset;
    f.pitchAndFamily = 0;
    return f;
}

bool IsVerticalFace(const QString& faceName)
{
    return faceName.startsWith(QLatin1Char('@'));
}

namespace {

struct FaceSubstitute {
    const char* windowsName; // UTF-8
    const char* ipaFamily;
};

// The Windows Japanese faces and the IPA faces made to their metrics; the English names
// are what the same faces are called on a Windows of another language.
const FaceSubstitute kSubstitutes[] = {
    { "ＭＳ ゴシック", "IPAGothic" },
    { "ＭＳ Ｐゴシック", "IPAPGothic" },
    { "MS UI Gothic", "IPAPGothic" },
    { "ＭＳ 明朝", "IPAMincho" },
    { "ＭＳ Ｐ明朝", "IPAPMincho" },
    { "MS Gothic", "IPAGothic" },
    { "MS PGothic", "IPAPGothic" },
    { "MS Mincho", "IPAMincho" },
    { "MS PMincho", "IPAPMincho" },
};

} // namespace

QString WindowsFaceSubstitute(const QString& faceName)
{
    const QString name = IsVerticalFace(faceName) ? faceName.mid(1) : faceName;
    for (const FaceSubstitute& s : kSubstitutes) {
        if (name == QString::fromUtf8(s.windowsName))
            return QString::fromLatin1(s.ipaFamily);
    }
    return QString();
}

QString DrawingFamilyOf(const QString& faceName)
{
    const QString substitute = WindowsFaceSubstitute(faceName);
    if (!substitute.isEmpty())
        return substitute;
    return IsVerticalFace(faceName) ? faceName.mid(1) : faceName;
}

void InstallWindowsFaceSubstitutes()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    for (const FaceSubstitute& s : kSubstitutes)
        QFont::insertSubstitution(
            QString::fromUtf8(s.windowsName), QString::fromLatin1(s.ipaFamily));
}

bool StandsUprightInVerticalFace(QChar c)
{
    c = SjisDisplayChar(c);
    // What Shift_JIS writes in two bytes is full-width in a Japanese face.
    if (IsSjisDoubleByte(c))
        return true;
    const char16_t u = c.unicode();
    return (u >= 0x1100 && u <= 0x115F) // Hangul jamo
        || (u >= 0x2E80 && u <= 0x303E) // CJK radicals, symbols and punctuation
        || (u >= 0x3041 && u <= 0x33FF) // kana, CJK letters, compatibility
        || (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF)
        || (u >= 0xA960 && u <= 0xA97F) || (u >= 0xAC00 && u <= 0xD7A3)
        || (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFE30 && u <= 0xFE4F)
        || (u >= 0xFF01 && u <= 0xFF60) || (u >= 0xFFE0 && u <= 0xFFE6);
}

int Canvas::TextWidth(const QString& text) const
{
    return FontFace::Get(font_.ToLogFont())->TextWidth(text);
}
int Canvas::TextHeight(const QString& text) const
{
    return FontFace::Get(font_.ToLogFont())->TextHeight(text);
}
QRect Canvas::TextOut(int x, int y, const QString& text)
{
    return TextOut(font_.ToLogFont(), font_.color, x, y, text);
}
QRect Canvas::TextOut(const LogFont& font, ColorRef color, int x, int y, const QString& text)
{
    if (!image_)
        return QRect();
    return FontFace::Get(font)->DrawText(*image_, x, y, text, color);
}

} // namespace pimoko

#include "platform/canvas.h"

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
    f.height = height < 0 ? -height : height;
    f.escapement = escapement;
    f.weight = style.bold ? 700 : 400;
    f.italic = style.italic;
    f.underline = style.underline;
    f.strikeOut = style.strikeOut;
    f.charSet = kDefaultCharset;
    f.pitchAndFamily = 0;
    return f;
}

bool IsVerticalFace(const QString& faceName) { return faceName.startsWith(QLatin1Char('@')); }
QString DrawingFamilyOf(const QString& faceName) { return faceName; }
QString WindowsFaceSubstitute(const QString&) { return QString(); }
void InstallWindowsFaceSubstitutes() {}
bool StandsUprightInVerticalFace(QChar) { return false; }
void SetFontCaching(bool) {}
bool FontCachingEnabled() { return true; }

struct FontFace::Impl {
    LogFont font;
};

FontFace::FontFace(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FontFace::~FontFace() = default;
std::shared_ptr<const FontFace> FontFace::Get(const LogFont& font)
{
    auto impl = std::make_unique<Impl>();
    impl->font = font;
    return std::shared_ptr<const FontFace>(new FontFace(std::move(impl)));
}
const LogFont& FontFace::logFont() const { return impl_->font; }
QString FontFace::family() const { return impl_->font.faceName; }
bool FontFace::vertical() const { return IsVerticalFace(impl_->font.faceName); }
int FontFace::pixelSize() const { return impl_->font.height; }
int FontFace::ascent() const { return 0; }
int FontFace::descent() const { return 0; }
int FontFace::cellHeight() const { return 0; }
int FontFace::CharAdvance(QChar) const { return 0; }
int FontFace::TextWidth(const QString&) const { return 0; }
int FontFace::TextHeight(const QString&) const { return 0; }
QRect FontFace::DrawText(QImage&, int, int, const QString&, ColorRef) const { return QRect(); }

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

}  // namespace pimoko

#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <memory>

namespace pimoko {

// Colours as books store them: 0x00BBGGRR, red in the low byte.
using ColorRef = quint32;

constexpr int ColorRed(ColorRef c)
{
    return static_cast<int>(c & 0xFF);
}
constexpr int ColorGreen(ColorRef c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int ColorBlue(ColorRef c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}
constexpr ColorRef MakeColorRef(int red, int green, int blue)
{
    return static_cast<ColorRef>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr ColorRef kWhite = 0x00FFFFFF;

// Bold, italic, underline, strike-out.
struct FontStyles {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool operator==(const FontStyles& o) const
    {
        return bold == o.bold && italic == o.italic && underline == o.underline
            && strikeOut == o.strikeOut;
    }
    bool operator!=(const FontStyles& o) const { return !(*this == o); }
};

// Character sets and pitch-and-family values as books record them.
constexpr int kDefaultCharset = 1;
constexpr int kAnsiCharset = 0;
constexpr int kShiftJisCharset = 128;
constexpr int kFixedPitch = 1;
constexpr int kVariablePitch = 2;
constexpr int kFamilyRoman = 16;
constexpr int kFamilySwiss = 32;
constexpr int kFamilyModern = 48;

// Escapement of vertical writing: the line runs downwards (turned 270 degrees).
constexpr int kEscapementVertical = 2700;

// A logical-font record. The height is the em size in pixels (its sign is ignored);
// the escapement turns the text counter-clockwise in tenths of a degree about the
// reference point. A face name starting with "@" is the vertical face of that family.
struct LogFont {
    QString faceName;
    int height = 0;
    int width = 0; // only 0 (the face's own proportions) is honoured
    int escapement = 0;
    int weight = 400; // 700 and above is bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = kDefaultCharset;
    int pitchAndFamily = 0;

    bool operator==(const LogFont& o) const;
    bool operator!=(const LogFont& o) const { return !(*this == o); }
};

// The font a canvas carries between drawing jobs: face, height, style and text colour.
struct CanvasFont {
    QString name;
    int height = 0;
    FontStyles style;
    ColorRef color = 0;
    int pitch = 0; // 0 = default
    int charset = kDefaultCharset;

    // The logical-font record for this font turned by the escapement.
    LogFont ToLogFont(int escapement = 0) const;
};

// True when the face name names a vertical face ("@" in front).
bool IsVerticalFace(const QString& faceName);

// The installed family that draws a face name: the "@" taken off, and the Windows
// Japanese faces ("ＭＳ ゴシック" and the rest) mapped to their IPA counterparts.
QString DrawingFamilyOf(const QString& faceName);

// The IPA family standing in for a Windows Japanese face name, or an empty string.
QString WindowsFaceSubstitute(const QString& faceName);

// Registers the Windows Japanese face names as Qt font substitutes, once.
void InstallWindowsFaceSubstitutes();

// In a vertical face: true for the characters that stand upright (full-width ones);
// the others are turned 90 degrees clockwise with the line.
bool StandsUprightInVerticalFace(QChar c);

// Faces, their measurements and their glyph bitmaps are cached; switching the caches off
// (for tests that compare the two ways) makes every call build them afresh.
void SetFontCaching(bool on);
bool FontCachingEnabled();

// A font made from a logical-font record. Text is drawn without smoothing: each pixel
// is either the text colour or left alone. Faces and their caches belong to the thread
// of the application object.
class FontFace {
public:
    // The face for a record; records that differ only in what drawing ignores share one.
    static std::shared_ptr<const FontFace> Get(const LogFont& font);

    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const LogFont& logFont() const;
    // The installed family that draws.
    QString family() const;
    bool vertical() const;
    int pixelSize() const;
    int ascent() const;
    int descent() const;
    // Ascent plus descent: the height of a character cell and of every text.
    int cellHeight() const;

    // Integer advance of one character; in a vertical face the vertical advance of an
    // upright character.
    int CharAdvance(QChar c) const;
    // Sum of the characters' advances; the escapement does not change it.
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;

    // Where the underline and the strike-out bar of a character lie across its line: the
    // top of each bar below the top of the cell, before the escapement turns them, and
    // their thickness. A character carries them as long as its advance.
    struct LineBars {
        int underlineTop = 0;
        int strikeOutTop = 0;
        int thickness = 1;
    };
    LineBars Bars() const;
    // A bold or italic the family lacks is made from the plain outline: drawn a second
    // time this many pixels along the line (0 for a real bold or none), or slanted by a
    // fifth of the height above the baseline.
    int SyntheticBoldShift() const;
    bool SyntheticItalic() const;

    // Draws text with the reference point (x, y) at the top of its first character cell,
    // turned by the escapement. On a QImage::Format_Mono target, colours nearer white
    // than black set bits and the others clear them; on a 24-bit target the colour is
    // written as it is.
    // Returns the rectangle of pixels the glyphs may have touched, clipped to the image.
    QRect DrawText(QImage& target, int x, int y, const QString& text, ColorRef color) const;

    struct Impl;

private:
    explicit FontFace(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// A drawing surface: an image (not owned) and the font its text output uses.
class Canvas {
public:
    Canvas() = default;
    explicit Canvas(QImage* image)
        : image_(image)
    {
    }

    void SetImage(QImage* image) { image_ = image; }
    QImage* image() const { return image_; }

    CanvasFont& font() { return font_; }
    const CanvasFont& font() const { return font_; }
    void SetFont(const CanvasFont& font) { font_ = font; }

    // Measured in the canvas font (not turned).
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;

    // Text in the canvas font and its colour, reference point at the top of the cell.
    QRect TextOut(int x, int y, const QString& text);
    // Text in a font made for this call from the record, in the given colour; the
    // canvas font stays as it was.
    QRect TextOut(const LogFont& font, ColorRef color, int x, int y, const QString& text);

private:
    QImage* image_ = nullptr;
    CanvasFont font_;
};

} // namespace pimoko

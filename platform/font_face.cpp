#include "platform/canvas.h"
#include "platform/font_glyphs.h"
#include "platform/sjis_codec.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>

#include <hb-ot.h>
#include <hb.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>
#include <vector>

namespace pimoko {

namespace {

bool gCaching = true;

// Glyph pictures larger than this are never made: a height read from a damaged file
// must not ask for a picture of gigabytes.
constexpr int kMaxPixelSize = 2048;

int RoundHalfEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

quint16 BigEndian16(const QByteArray& b, int offset)
{
    if (offset + 2 > b.size())
        return 0;
    return static_cast<quint16>(
        (static_cast<quint8>(b[offset]) << 8) | static_cast<quint8>(b[offset + 1]));
}

hb_blob_t* ReferenceTable(hb_face_t*, hb_tag_t tag, void* userData)
{
    const auto* raw = static_cast<const QRawFont*>(userData);
    const char name[4] = { char(tag >> 24), char(tag >> 16), char(tag >> 8), char(tag) };
    auto* data = new QByteArray(raw->fontTable(name));
    if (data->isEmpty()) {
        delete data;
        return nullptr;
    }
    return hb_blob_create(data->constData(), static_cast<unsigned>(data->size()),
        HB_MEMORY_MODE_READONLY, data, [](void* p) { delete static_cast<QByteArray*>(p); });
}

// A glyph outline in the coordinates of its line, before the escapement turns it: the
// reference point (top of the cell) at the origin, the line running along +x, y down.
struct GlyphShape {
    QPainterPath path;
    int advance = 0;
};

} // namespace

// What a family at one size and weight knows, whatever the escapement and lines.
struct FaceCore {
    QString family;
    int pixelSize = 0;
    bool vertical = false;
    bool wantBold = false;
    bool wantItalic = false;
    bool fakeBold = false;
    bool fakeItalic = false;
    int boldShift = 0;
    QFont qfont;
    QRawFont raw;
    int ascent = 0;
    int descent = 0;
    double underlinePos = 0;
    double strikeOutPos = 0;
    double lineThickness = 1;
    hb_face_t* hbFace = nullptr;
    hb_font_t* hbFont = nullptr;
    std::unordered_map<char32_t, GlyphShape> shapes;

    ~FaceCore()
    {
        if (hbFont)
            hb_font_destroy(hbFont);
        if (hbFace)
            hb_face_destroy(hbFace);
    }

    void Init(const QString& familyName, int px, bool bold, bool italic, bool isVertical)
    {
        family = familyName;
        pixelSize = px;
        vertical = isVertical;
        wantBold = bold;
        wantItalic = italic;
        qfont = QFont(family);
        qfont.setPixelSize(px);
        qfont.setWeight(bold ? QFont::Bold : QFont::Normal);
        qfont.setItalic(italic);
        qfont.setStyleStrategy(QFont::NoAntialias);
        qfont.setHintingPreference(QFont::PreferNoHinting);
        raw = QRawFont::fromFont(qfont);
        raw.setPixelSize(px);

        // Cell metrics as the Windows font mapper takes them: the OS/2 table's Windows
        // ascent and descent, scaled to the em size.
        const QByteArray os2 = raw.fontTable("OS/2");
        const double upem = raw.unitsPerEm() > 0 ? raw.unitsPerEm() : 1000.0;
        const quint16 winAscent = BigEndian16(os2, 74);
        const quint16 winDescent = BigEndian16(os2, 76);
        if (winAscent + winDescent > 0) {
            ascent = RoundHalfEven(winAscent * px / upem);
            descent = RoundHalfEven(winDescent * px / upem);
        } else {
            ascent = RoundHalfEven(raw.ascent());
            descent = RoundHalfEven(raw.descent());
        }
        const int weightClass = BigEndian16(os2, 4);
        const quint16 selection = BigEndian16(os2, 62);
        const bool realBold = weightClass >= 600 || (os2.isEmpty() && raw.weight() >= 600);
        const bool realItalic
            = os2.isEmpty() ? raw.style() != QFont::StyleNormal : (selection & 0x201) != 0;
        fakeBold = bold && !realBold;
        fakeItalic = italic && !realItalic;
        boldShift = fakeBold ? std::max(1, RoundHalfEven(px / 24.0)) : 0;
        // Asked for an italic the face lacks, Qt hands out outlines it has slanted itself;
        // the slant is made once, in Synthesize, from the upright outline.
        if (fakeItalic) {
            qfont.setItalic(false);
            raw = QRawFont::fromFont(qfont);
            raw.setPixelSize(px);
        }

        const QFontMetricsF metrics(qfont);
        underlinePos = raw.underlinePosition();
        lineThickness = std::max(1.0, std::round(raw.lineThickness()));
        strikeOutPos = metrics.strikeOutPos();

        if (vertical) {
            hbFace = hb_face_create_for_tables(ReferenceTable, &raw, nullptr);
            hb_face_set_upem(hbFace, static_cast<unsigned>(upem));
            hbFont = hb_font_create(hbFace);
            hb_font_set_scale(hbFont, static_cast<int>(upem), static_cast<int>(upem));
        }
    }

    // Styles the font does not have are made from the outline: slanted, or drawn twice
    // side by side.
    QPainterPath Synthesize(const QPainterPath& glyph) const
    {
        QPainterPath p = glyph;
        // The doubled outline must read as one shape where its two copies overlap.
        p.setFillRule(Qt::WindingFill);
        if (fakeItalic)
            p = QTransform(1, 0, -0.2, 1, 0, 0).map(p);
        if (fakeBold)
            p.addPath(p.translated(boldShift, 0));
        return p;
    }

    // The outline of a character of the face itself or of the family the font system
    // picks for characters the face lacks; advance in pixels.
    bool HorizontalGlyph(char32_t c, QPainterPath* path, double* advance) const
    {
        const QString text = QString::fromUcs4(&c, 1);
        const QVector<quint32> glyphs = raw.glyphIndexesForString(text);
        if (glyphs.size() == 1 && glyphs[0] != 0) {
            *path = raw.pathForGlyph(glyphs[0]);
            const QVector<QPointF> adv
                = raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
            *advance = adv.isEmpty() ? 0 : adv[0].x();
            return true;
        }
        QTextLayout layout(text, qfont);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        if (runs.isEmpty() || runs[0].glyphIndexes().isEmpty()) {
            *path = QPainterPath();
            *advance = 0;
            return false;
        }
        QRawFont fallback = runs[0].rawFont();
        fallback.setPixelSize(pixelSize);
        const QVector<quint32> g { runs[0].glyphIndexes()[0] };
        *path = fallback.pathForGlyph(g[0]);
        const QVector<QPointF> adv
            = fallback.advancesForGlyphIndexes(g, QRawFont::UseDesignMetrics);
        *advance = adv.isEmpty() ? 0 : adv[0].x();
        return true;
    }

    GlyphShape MakeShape(char32_t c) const
    {
        GlyphShape s;
        const bool upright = vertical && c <= 0xFFFF
            && StandsUprightInVerticalFace(QChar(static_cast<char16_t>(c)));
        if (upright && hbFont) {
            const QString text = QString::fromUcs4(&c, 1);
            hb_buffer_t* buf = hb_buffer_create();
            hb_buffer_add_utf16(
                buf, reinterpret_cast<const uint16_t*>(text.utf16()), text.size(), 0, text.size());
            hb_buffer_set_direction(buf, HB_DIRECTION_TTB);
            hb_buffer_set_language(buf, hb_language_from_string("ja", -1));
            hb_buffer_guess_segment_properties(buf);
            hb_feature_t features[2];
            hb_feature_from_string("vert", -1, &features[0]);
            hb_feature_from_string("vrt2", -1, &features[1]);
            hb_shape(hbFont, buf, features, 2);
            unsigned count = 0;
            const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buf, &count);
            const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buf, &count);
            const double scale = pixelSize / double(raw.unitsPerEm() > 0 ? raw.unitsPerEm() : 1000);
            QPainterPath glyph;
            double advance = pixelSize;
            double originX = 0;
            double originY = 0;
            if (count == 1 && info[0].codepoint != 0) {
                glyph = raw.pathForGlyph(info[0].codepoint);
                hb_position_t ox = 0, oy = 0;
                hb_font_get_glyph_v_origin(hbFont, info[0].codepoint, &ox, &oy);
                originX = ox * scale;
                originY = oy * scale;
                advance = -pos[0].y_advance * scale;
            } else {
                // A character the face lacks stands upright in the middle of an em.
                double h = 0;
                HorizontalGlyph(c, &glyph, &h);
                originX = h / 2;
                originY = ascent;
            }
            hb_buffer_destroy(buf);
            // Glyph space to the space hanging below the vertical origin...
            glyph = Synthesize(glyph).translated(-originX, originY);
            // ...turned so that it stands upright once the line is turned clockwise, its
            // em centred across the line.
            s.path = QTransform(0, -1, 1, 0, 0, pixelSize / 2.0).map(glyph);
            s.advance = RoundHalfEven(advance) + boldShift;
        } else {
            QPainterPath glyph;
            double advance = 0;
            HorizontalGlyph(c, &glyph, &advance);
            s.path = Synthesize(glyph).translated(0, ascent);
            s.advance = RoundHalfEven(advance) + boldShift;
        }
        return s;
    }

    const GlyphShape& Shape(char32_t c)
    {
        auto it = shapes.find(c);
        if (it != shapes.end())
            return it->second;
        if (!gCaching) {
            static GlyphShape scratch;
            scratch = MakeShape(c);
            return scratch;
        }
        // A face that has drawn every character of a large set starts over rather
        // than growing without end.
        if (shapes.size() >= 8192)
            shapes.clear();
        return shapes.emplace(c, MakeShape(c)).first->second;
    }
};

namespace {

QString CoreKey(const QString& family, int px, bool bold, bool italic, bool vertical)
{
    return QStringLiteral("%1|%2|%3%4%5")
        .arg(family)
        .arg(px)
        .arg(int(bold))
        .arg(int(italic))
        .arg(int(vertical));
}

std::shared_ptr<FaceCore> GetCore(
    const QString& family, int px, bool bold, bool italic, bool vertical)
{
    static QHash<QString, std::shared_ptr<FaceCore>> cores;
    const QString key = CoreKey(family, px, bold, italic, vertical);
    if (gCaching) {
        auto it = cores.constFind(key);
        if (it != cores.constEnd())
            return it.value();
    }
    auto core = std::make_shared<FaceCore>();
    core->Init(family, px, bold, italic, vertical);
    if (gCaching) {
        if (cores.size() > 64)
            cores.clear();
        cores.insert(key, core);
    }
    return core;
}

// The next character of a text: a surrogate pair counts as one.
char32_t NextChar(const QString& text, int* i)
{
    const QChar c = text.at(*i);
    ++*i;
    if (c.isHighSurrogate() && *i < text.size() && text.at(*i).isLowSurrogate()) {
        const char32_t u = QChar::surrogateToUcs4(c, text.at(*i));
        ++*i;
        return u;
    }
    return SjisDisplayChar(c).unicode();
}

} // namespace

namespace {

// The glyph pictures of all faces together stay below this many bytes; past it every
// face starts over.
constexpr size_t kGlyphBudget = size_t(96) << 20;
size_t gGlyphBytes = 0;
QHash<QString, std::shared_ptr<const FontFace>> gFaces;
std::vector<FontFace::Impl*> gFaceImpls; // the parts of the faces in gFaces
void TrimGlyphBitmaps();

} // namespace

static FontFace::LineBars BarsOf(const FaceCore& core)
{
    FontFace::LineBars bars;
    bars.underlineTop = static_cast<int>(std::round(core.ascent + core.underlinePos));
    bars.strikeOutTop
        = static_cast<int>(std::round(core.ascent - core.strikeOutPos - core.lineThickness / 2));
    bars.thickness = static_cast<int>(core.lineThickness);
    return bars;
}

struct FontFace::Impl {
    using LineBars = FontFace::LineBars;

    LogFont font;
    std::shared_ptr<FaceCore> core;
    // The escapement as a turn of the line about the reference point.
    QTransform turn;
    bool axisAligned = true; // a turn by a multiple of 90 degrees keeps pixels whole
    std::unordered_map<char32_t, GlyphBitmap> bitmaps;

    GlyphBitmap Render(char32_t c, double dx, double dy) const
    {
        const GlyphShape& shape = core->Shape(c);
        QPainterPath path = shape.path;
        if (font.underline || font.strikeOut) {
            const LineBars bars = BarsOf(*core);
            if (font.underline)
                path.addRect(QRectF(0, bars.underlineTop, shape.advance, bars.thickness));
            if (font.strikeOut)
                path.addRect(QRectF(0, bars.strikeOutTop, shape.advance, bars.thickness));
            path.setFillRule(Qt::WindingFill);
        }
        return RasterizePath(turn.map(path).translated(dx, dy));
    }

    const GlyphBitmap& Bitmap(char32_t c)
    {
        auto it = bitmaps.find(c);
        if (it != bitmaps.end())
            return it->second;
        if (!gCaching) {
            static GlyphBitmap scratch;
            scratch = Render(c, 0, 0);
            return scratch;
        }
        GlyphBitmap bitmap = Render(c, 0, 0);
        gGlyphBytes += bitmap.bits.size() + sizeof(GlyphBitmap);
        if (gGlyphBytes > kGlyphBudget)
            TrimGlyphBitmaps();
        return bitmaps.emplace(c, std::move(bitmap)).first->second;
    }
};

namespace {

void TrimGlyphBitmaps()
{
    for (FontFace::Impl* impl : gFaceImpls)
        impl->bitmaps.clear();
    gGlyphBytes = 0;
}

} // namespace

FontFace::FontFace(std::unique_ptr<Impl> impl)
    : impl_(std::move(impl))
{
}
FontFace::~FontFace() = default;

std::shared_ptr<const FontFace> FontFace::Get(const LogFont& font)
{
    // The engines ask for the same few fonts for every character: a short list of the
    // latest records answers them without building a key.
    static std::array<std::pair<LogFont, std::shared_ptr<const FontFace>>, 8> recent;
    static size_t recentNext = 0;
    if (gCaching) {
        for (const auto& r : recent) {
            if (r.second && r.first == font)
                return r.second;
        }
    }
    const qint64 height = std::llabs(static_cast<qint64>(font.height));
    const int px = height == 0 ? 16 : static_cast<int>(std::min<qint64>(height, kMaxPixelSize));
    const bool bold = font.weight >= 600;
    const int escapement = ((font.escapement % 3600) + 3600) % 3600;
    const QString key = QStringLiteral("%1|%2|%3|%4")
                            .arg(font.faceName)
                            .arg(px)
                            .arg(escapement)
                            .arg(int(bold) | int(font.italic) << 1 | int(font.underline) << 2
                                | int(font.strikeOut) << 3);
    if (gCaching) {
        auto it = gFaces.constFind(key);
        if (it != gFaces.constEnd()) {
            recent[recentNext++ % recent.size()] = { font, it.value() };
            return it.value();
        }
    }
    InstallWindowsFaceSubstitutes();
    auto impl = std::make_unique<Impl>();
    impl->font = font;
    impl->core = GetCore(
        DrawingFamilyOf(font.faceName), px, bold, font.italic, IsVerticalFace(font.faceName));
    switch (escapement) {
    case 0:
        break;
    case 900:
        impl->turn = QTransform(0, -1, 1, 0, 0, 0);
        break;
    case 1800:
        impl->turn = QTransform(-1, 0, 0, -1, 0, 0);
        break;
    case 2700:
        impl->turn = QTransform(0, 1, -1, 0, 0, 0);
        break;
    default:
        impl->turn.rotate(-escapement / 10.0);
        impl->axisAligned = false;
        break;
    }
    Impl* implPointer = impl.get();
    std::shared_ptr<const FontFace> face(new FontFace(std::move(impl)));
    if (gCaching) {
        if (gFaces.size() > 256) {
            gFaces.clear();
            gFaceImpls.clear();
        }
        gFaces.insert(key, face);
        gFaceImpls.push_back(implPointer);
        recent[recentNext++ % recent.size()] = { font, face };
    }
    return face;
}

const LogFont& FontFace::logFont() const
{
    return impl_->font;
}
QString FontFace::family() const
{
    return impl_->core->family;
}
bool FontFace::vertical() const
{
    return impl_->core->vertical;
}
int FontFace::pixelSize() const
{
    return impl_->core->pixelSize;
}
int FontFace::ascent() const
{
    return impl_->core->ascent;
}
int FontFace::descent() const
{
    return impl_->core->descent;
}
int FontFace::cellHeight() const
{
    return impl_->core->ascent + impl_->core->descent;
}

int FontFace::SyntheticBoldShift() const
{
    return impl_->core->boldShift;
}
bool FontFace::SyntheticItalic() const
{
    return impl_->core->fakeItalic;
}

FontFace::LineBars FontFace::Bars() const
{
    return BarsOf(*impl_->core);
}

int FontFace::CharAdvance(QChar c) const
{
    return impl_->core->Shape(SjisDisplayChar(c).unicode()).advance;
}

int FontFace::TextWidth(const QString& text) const
{
    int width = 0;
    for (int i = 0; i < text.size();)
        width += impl_->core->Shape(NextChar(text, &i)).advance;
    return width;
}

int FontFace::TextHeight(const QString&) const
{
    return cellHeight();
}

QRect FontFace::DrawText(QImage& target, int x, int y, const QString& text, ColorRef color) const
{
    QRect touched;
    if (target.isNull())
        return touched;
    int pen = 0;
    for (int i = 0; i < text.size();) {
        const char32_t c = NextChar(text, &i);
        const QPointF at = impl_->turn.map(QPointF(pen, 0));
        if (impl_->axisAligned) {
            const GlyphBitmap& bm = impl_->Bitmap(c);
            touched |= BlitGlyph(
                target, bm, qint64(x) + qRound(at.x()), qint64(y) + qRound(at.y()), color);
        } else {
            // Off the axes the pen lands between pixels; such glyphs are drawn where they
            // fall rather than from the cache.
            const double fx = std::floor(at.x());
            const double fy = std::floor(at.y());
            const GlyphBitmap bm
                = pen == 0 ? impl_->Bitmap(c) : impl_->Render(c, at.x() - fx, at.y() - fy);
            touched |= BlitGlyph(target, bm, qint64(x) + qint64(fx), qint64(y) + qint64(fy), color);
        }
        pen += impl_->core->Shape(c).advance;
    }
    return touched;
}

void SetFontCaching(bool on)
{
    gCaching = on;
}
bool FontCachingEnabled()
{
    return gCaching;
}

} // namespace pimoko

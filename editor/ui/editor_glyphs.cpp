#include "editor/ui/editor_glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <functional>

namespace pimoko {
namespace {

const QColor kOutline(40, 40, 60);
const QColor kPaper(250, 250, 240);
const QColor kBlue(40, 90, 200);
const QColor kGreen(40, 160, 60);
const QColor kRed(210, 40, 40);
const QColor kYellow(250, 210, 60);
const QColor kBrown(150, 100, 40);

QImage Paint(const std::function<void(QPainter&)>& draw)
{
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kOutline, 1.0));
    draw(p);
    return image;
}

void Triangle(QPainter& p, QPointF a, QPointF b, QPointF c, const QColor& fill)
{
    p.setBrush(fill);
    p.drawPolygon(QPolygonF({ a, b, c }));
}

// A sheet of paper with a folded corner.
void Sheet(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 3, r.top()), QPointF(r.right() - 3, r.top() + 3));
    p.drawLine(QPointF(r.right() - 3, r.top() + 3), QPointF(r.right(), r.top() + 3));
}

void Plus(QPainter& p, QPointF centre, const QColor& color)
{
    p.save();
    p.setPen(QPen(color, 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(centre + QPointF(-3, 0), centre + QPointF(3, 0));
    p.drawLine(centre + QPointF(0, -3), centre + QPointF(0, 3));
    p.restore();
}

void Cross(QPainter& p, const QRectF& r, const QColor& color, qreal width = 2.0)
{
    p.save();
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
    p.restore();
}

// A framed landscape: sky, a hill and a sun.
void Landscape(QPainter& p, const QRectF& r)
{
    p.setBrush(QColor(150, 200, 250));
    p.drawRect(r);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    QPainterPath hill;
    hill.moveTo(r.left() + 0.5, r.bottom() - 0.5);
    hill.quadTo(QPointF(r.left() + r.width() * 0.45, r.top() + r.height() * 0.2),
        QPointF(r.right() - 0.5, r.bottom() - 0.5));
    p.drawPath(hill);
    p.setBrush(kYellow);
    p.drawEllipse(QPointF(r.right() - 3, r.top() + 3), 1.8, 1.8);
    p.restore();
}

void Note(QPainter& p, QPointF base)
{
    p.save();
    p.setBrush(kOutline);
    p.drawEllipse(base, 2.2, 1.7);
    p.setPen(QPen(kOutline, 1.4));
    p.drawLine(base + QPointF(2.0, 0), base + QPointF(2.0, -9));
    p.drawLine(base + QPointF(2.0, -9), base + QPointF(5.0, -6));
    p.restore();
}

void Speaker(QPainter& p)
{
    p.setBrush(QColor(120, 120, 140));
    p.drawPolygon(QPolygonF({ QPointF(1.5, 6), QPointF(4.5, 6), QPointF(8.5, 2.5),
        QPointF(8.5, 13.5), QPointF(4.5, 10), QPointF(1.5, 10) }));
}

void Disk(QPainter& p)
{
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
    p.setBrush(QColor(220, 220, 220));
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(kPaper);
    p.drawRect(QRectF(3.5, 9.5, 9, 5));
}

void Pencil(QPainter& p, QPointF tip, qreal length)
{
    p.save();
    p.translate(tip);
    p.rotate(-45);
    p.setBrush(kYellow);
    p.drawRect(QRectF(2.5, -1.5, length - 2.5, 3));
    Triangle(p, QPointF(0, 0), QPointF(2.5, -1.5), QPointF(2.5, 1.5), QColor(240, 200, 150));
    p.restore();
}

void DrawGlyph(EditorGlyph glyph, QPainter& p)
{
    switch (glyph) {
    case EditorGlyph::PreviousPage:
        Triangle(p, QPointF(2.5, 8), QPointF(13.5, 2.5), QPointF(13.5, 13.5), kBlue);
        break;
    case EditorGlyph::NextPage:
        Triangle(p, QPointF(13.5, 8), QPointF(2.5, 2.5), QPointF(2.5, 13.5), kBlue);
        break;
    case EditorGlyph::InsertBefore:
        Sheet(p, QRectF(6.5, 1.5, 8, 13));
        Plus(p, QPointF(4, 8), kGreen);
        break;
    case EditorGlyph::InsertAfter:
        Sheet(p, QRectF(1.5, 1.5, 8, 13));
        Plus(p, QPointF(12, 8), kGreen);
        break;
    case EditorGlyph::DeletePage:
        Sheet(p, QRectF(2.5, 1.5, 10, 13));
        Cross(p, QRectF(5, 5, 7, 7), kRed);
        break;
    case EditorGlyph::LoadPicture:
        Landscape(p, QRectF(1.5, 2.5, 13, 11));
        break;
    case EditorGlyph::Fill: {
        // A tipped bucket pouring paint.
        p.setBrush(QColor(180, 180, 190));
        p.drawPolygon(QPolygonF(
            { QPointF(2.5, 6.5), QPointF(8.5, 2.5), QPointF(12.5, 8.5), QPointF(6.5, 12.5) }));
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        p.drawEllipse(QPointF(13.0, 12.5), 2.0, 2.6);
        p.drawRect(QRectF(11.0, 7.5, 2.5, 5));
        break;
    }
    case EditorGlyph::ClearPicture:
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        Cross(p, QRectF(4.5, 4.5, 7, 7), kRed);
        break;
    case EditorGlyph::Clip:
        Landscape(p, QRectF(1.5, 2.5, 13, 11));
        p.save();
        p.setPen(QPen(Qt::white, 1.2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(4.5, 5.5, 7, 5));
        p.restore();
        break;
    case EditorGlyph::LoadSound:
        Note(p, QPointF(5.5, 12.5));
        Note(p, QPointF(10.5, 11));
        break;
    case EditorGlyph::NoSound:
        Note(p, QPointF(6.5, 12));
        Cross(p, QRectF(2.5, 2.5, 11, 11), kRed, 1.8);
        break;
    case EditorGlyph::Audition:
        Speaker(p);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kGreen, 1.4));
        p.drawArc(QRectF(7, 5, 5, 6), -60 * 16, 120 * 16);
        p.drawArc(QRectF(6, 2, 9, 12), -60 * 16, 120 * 16);
        break;
    case EditorGlyph::StopAudition:
        Speaker(p);
        p.setBrush(kRed);
        p.drawRect(QRectF(10.5, 5.5, 5, 5));
        break;
    case EditorGlyph::TextSettings: {
        QFont font;
        font.setPixelSize(13);
        font.setBold(true);
        p.setFont(font);
        p.setPen(kBlue);
        p.drawText(QRectF(0, 0, 11, 15), Qt::AlignCenter, QStringLiteral("A"));
        p.setPen(QPen(kOutline, 1.0));
        Pencil(p, QPointF(8.5, 14.5), 9);
        break;
    }
    case EditorGlyph::Effects: {
        // A four-pointed sparkle and a small one.
        QPainterPath star;
        star.moveTo(7, 1);
        star.quadTo(8, 6, 13, 7);
        star.quadTo(8, 8, 7, 14);
        star.quadTo(6, 8, 1, 7);
        star.quadTo(6, 6, 7, 1);
        p.setBrush(kYellow);
        p.drawPath(star);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 140, 200));
        p.drawEllipse(QPointF(13, 12.5), 1.8, 1.8);
        break;
    }
    case EditorGlyph::Options: {
        // A cog: a toothed wheel with a hole.
        p.setBrush(QColor(150, 150, 160));
        QPolygonF teeth;
        for (int i = 0; i < 16; ++i) {
            const qreal angle = i * 3.14159265358979 / 8;
            const qreal r = (i % 2 == 0) ? 7.0 : 5.0;
            teeth << QPointF(8 + r * std::cos(angle), 8 + r * std::sin(angle));
        }
        p.drawPolygon(teeth);
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(8, 8), 2.0, 2.0);
        break;
    }
    case EditorGlyph::TitleList:
        Sheet(p, QRectF(1.5, 1.5, 12, 13));
        for (int y : { 5, 8, 11 }) {
            p.fillRect(QRectF(3.5, y, 1.5, 1.5), kBlue);
            p.fillRect(QRectF(6, y, 5.5, 1.5), kOutline);
        }
        break;
    case EditorGlyph::OpenBook:
        p.setBrush(kBrown.lighter(140));
        p.drawPolygon(QPolygonF({ QPointF(1.5, 3.5), QPointF(6, 3.5), QPointF(7.5, 5),
            QPointF(13.5, 5), QPointF(13.5, 13.5), QPointF(1.5, 13.5) }));
        p.setBrush(kYellow);
        p.drawPolygon(QPolygonF(
            { QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5), QPointF(1.5, 13.5) }));
        break;
    case EditorGlyph::Save:
        Disk(p);
        break;
    case EditorGlyph::SaveAs:
        Disk(p);
        Pencil(p, QPointF(7.5, 15), 10);
        break;
    case EditorGlyph::Play:
        Triangle(p, QPointF(3.5, 2), QPointF(14, 8), QPointF(3.5, 14), kGreen);
        break;
    case EditorGlyph::Distribute: {
        // A parcel tied with a string.
        p.setBrush(kBrown.lighter(130));
        p.drawRect(QRectF(1.5, 4.5, 13, 10));
        p.drawPolygon(QPolygonF(
            { QPointF(1.5, 4.5), QPointF(4.5, 1.5), QPointF(11.5, 1.5), QPointF(14.5, 4.5) }));
        p.setPen(QPen(kRed, 1.5));
        p.drawLine(QPointF(8, 1.5), QPointF(8, 14.5));
        p.drawLine(QPointF(1.5, 9.5), QPointF(14.5, 9.5));
        break;
    }
    case EditorGlyph::WebPage: {
        // A globe: a blue ball with its meridian and two parallels.
        p.setBrush(QColor(90, 160, 230));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(5, 1.5, 6, 13));
        p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
        p.drawLine(QPointF(3, 4.5), QPointF(13, 4.5));
        p.drawLine(QPointF(3, 11.5), QPointF(13, 11.5));
        break;
    }
    }
}

// Rows of 16 characters: '.' transparent, 'o' outline, 's' screen, 'k' sketch sheet,
// 'p' pencil, 'a' arrow.
QImage FromRows(const char* const rows[16])
{
    QImage glyph(16, 16, QImage::Format_ARGB32);
    glyph.fill(Qt::transparent);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            QRgb c = 0;
            switch (rows[y][x]) {
            case 'o':
                c = qRgb(30, 30, 50);
                break;
            case 's':
                c = qRgb(90, 160, 240);
                break;
            case 'k':
                c = qRgb(250, 245, 220);
                break;
            case 'p':
                c = qRgb(240, 190, 40);
                break;
            case 'a':
                c = qRgb(220, 40, 40);
                break;
            default:
                continue;
            }
            glyph.setPixel(x, y, c);
        }
    }
    return glyph;
}

} // namespace

QImage EditorGlyphImage(EditorGlyph glyph)
{
    return Paint([glyph](QPainter& p) { DrawGlyph(glyph, p); });
}

QIcon EditorGlyphIcon(EditorGlyph glyph)
{
    return QIcon(QPixmap::fromImage(EditorGlyphImage(glyph)));
}

QImage DrawModeGlyph(int mode)
{
    // 1: a pencil drawing straight onto the screen.
    static const char* const direct[16] = {
        "................",
        ".oooooooooooo...",
        ".ossssssssssso..",
        ".osssssssssoso..",
        ".ossssssssopo...",
        ".osssssssopo....",
        ".ossssssopo.....",
        ".osssssopo......",
        ".ossssopo.......",
        ".osssoooo.......",
        ".ossoooso.......",
        ".osssssssssso...",
        ".oooooooooooo...",
        "......ooo.......",
        "....ooooooo.....",
        "................",
    };
    // 2: drawing onto the sketch sheet behind the screen.
    static const char* const sketch[16] = {
        "......oooooooooo",
        "......okkkkkkkko",
        "......okkkkkkpko",
        "......okkkkkpoko",
        "oooooooookkpokko",
        "osssssssokpokkko",
        "osssssssoooookko",
        "osssssssokkkkkko",
        "osssssssokkkkkko",
        "osssssssoooooooo",
        "osssssssso......",
        "osssssssso......",
        "oooooooooo......",
        "....oo..........",
        "..oooooo........",
        "................",
    };
    // 3: the sketch sheet brought onto the screen.
    static const char* const flip[16] = {
        "oooooooo........",
        "okkkkkko........",
        "okkkkkko..a.....",
        "okkkkkko..aa....",
        "okkkkkkoaaaaa...",
        "oooooooo..aa....",
        "..........a.....",
        "......oooooooooo",
        "......okkkkkkkko",
        "......okkkkkkkko",
        "......okkkkkkkko",
        "......okkkkkkkko",
        "......okkkkkkkko",
        "......oooooooooo",
        "..........oooo..",
        "........oooooooo",
    };
    switch (mode) {
    case 2:
        return FromRows(sketch);
    case 3:
        return FromRows(flip);
    default:
        return FromRows(direct);
    }
}

QImage DrawModePicture(int mode)
{
    return DrawModeGlyph(mode).scaled(32, 32, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace pimoko

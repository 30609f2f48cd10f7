#include "tools/make_sample/sample_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>

namespace pimoko::sample {
namespace {

constexpr int W = 640;
constexpr int H = 480;

QImage Canvas()
{
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

void Sky(QPainter& p, const QColor& top, const QColor& bottom, int horizon = H)
{
    QLinearGradient g(0, 0, 0, horizon);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(0, 0, W, horizon, g);
}

// A rolling ridge across the picture, filled down to the bottom edge.
void Hill(QPainter& p, double base, double amplitude, double waves, double phase, const QColor& top,
    const QColor& bottom)
{
    QPainterPath path;
    path.moveTo(0, H);
    for (int x = 0; x <= W; x += 8)
        path.lineTo(x, base - amplitude * std::sin(phase + waves * x / W * 2 * M_PI));
    path.lineTo(W, H);
    path.closeSubpath();
    QLinearGradient g(0, base - amplitude, 0, H);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillPath(path, g);
}

void Cloud(QPainter& p, double x, double y, double s, const QColor& color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QPointF(x, y), 40 * s, 18 * s);
    p.drawEllipse(QPointF(x - 30 * s, y + 6 * s), 26 * s, 14 * s);
    p.drawEllipse(QPointF(x + 32 * s, y + 5 * s), 28 * s, 14 * s);
    p.drawEllipse(QPointF(x + 5 * s, y - 12 * s), 24 * s, 16 * s);
}

void Glow(QPainter& p, QPointF centre, double radius, const QColor& core)
{
    QRadialGradient g(centre, radius);
    g.setColorAt(0, core);
    QColor edge = core;
    edge.setAlpha(0);
    g.setColorAt(1, edge);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
}

void Tree(QPainter& p, double x, double ground, double height, const QColor& leaves)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 60, 35));
    p.drawRect(QRectF(x - height * 0.05, ground - height * 0.35, height * 0.1, height * 0.35));
    p.setBrush(leaves);
    for (int i = 0; i < 3; ++i) {
        const double top = ground - height + i * height * 0.2;
        const double half = height * (0.22 + 0.08 * i);
        QPolygonF layer({ QPointF(x, top), QPointF(x - half, top + height * 0.4),
            QPointF(x + half, top + height * 0.4) });
        p.drawPolygon(layer);
    }
}

void Stars(QPainter& p, int count, int maxY, quint32 seed)
{
    QRandomGenerator rng(seed);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const double x = rng.bounded(W);
        const double y = rng.bounded(maxY);
        const double r = 0.6 + rng.bounded(1.6);
        p.setBrush(QColor(255, 255, 220, 150 + rng.bounded(105)));
        p.drawEllipse(QPointF(x, y), r, r);
    }
}

} // namespace

QImage SunsetHills()
{
    QImage image = Canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Sky(p, QColor(70, 40, 120), QColor(255, 170, 90));
    Glow(p, QPointF(470, 300), 150, QColor(255, 230, 150, 200));
    p.setBrush(QColor(255, 240, 190));
    p.drawEllipse(QPointF(470, 300), 46, 46);
    Cloud(p, 150, 110, 1.3, QColor(255, 200, 210, 140));
    Cloud(p, 380, 70, 0.9, QColor(255, 210, 220, 120));
    Hill(p, 350, 30, 1.2, 0.5, QColor(120, 150, 80), QColor(60, 90, 50));
    Hill(p, 400, 25, 0.8, 2.0, QColor(80, 130, 60), QColor(30, 70, 35));
    Tree(p, 90, 395, 90, QColor(40, 90, 45));
    Tree(p, 130, 400, 70, QColor(50, 100, 50));
    return image;
}

QImage Meadow()
{
    QImage image = Canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Sky(p, QColor(90, 160, 240), QColor(200, 230, 255));
    Cloud(p, 140, 80, 1.1, QColor(255, 255, 255, 230));
    Cloud(p, 480, 120, 0.8, QColor(255, 255, 255, 210));
    Hill(p, 300, 12, 1.0, 1.0, QColor(150, 210, 100), QColor(90, 160, 60));
    // The house.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 220, 180));
    p.drawRect(QRectF(110, 220, 110, 80));
    p.setBrush(QColor(200, 70, 60));
    p.drawPolygon(QPolygonF({ QPointF(96, 224), QPointF(165, 170), QPointF(234, 224) }));
    p.setBrush(QColor(120, 80, 50));
    p.drawRect(QRectF(150, 250, 28, 50));
    p.setBrush(QColor(140, 200, 240));
    p.drawRect(QRectF(188, 240, 22, 20));
    // Flowers in the grass.
    QRandomGenerator rng(7);
    const QColor petals[] = { QColor(255, 255, 255), QColor(255, 220, 80), QColor(255, 150, 190) };
    for (int i = 0; i < 120; ++i) {
        const double x = rng.bounded(W);
        const double y = 310 + rng.bounded(170);
        const double r = 1.5 + (y - 300) / 60.0;
        p.setBrush(petals[i % 3]);
        p.drawEllipse(QPointF(x, y), r, r);
    }
    return image;
}

QImage Night()
{
    QImage image = Canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Sky(p, QColor(5, 10, 40), QColor(30, 40, 100));
    Stars(p, 160, 360, 11);
    Glow(p, QPointF(150, 110), 90, QColor(255, 250, 200, 90));
    QPainterPath moon;
    moon.addEllipse(QPointF(150, 110), 38, 38);
    QPainterPath shade;
    shade.addEllipse(QPointF(168, 100), 34, 34);
    p.fillPath(moon.subtracted(shade), QColor(255, 250, 210));
    Hill(p, 420, 18, 1.5, 0.3, QColor(20, 40, 40), QColor(5, 15, 15));
    for (int i = 0; i < 9; ++i)
        Tree(p, 30 + i * 75, 440 + (i % 2) * 10, 110 + (i * 37) % 50, QColor(10, 30, 25));
    return image;
}

QImage Crossroads()
{
    QImage image = Canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Sky(p, QColor(120, 190, 250), QColor(230, 245, 255));
    Hill(p, 240, 10, 1.0, 0.0, QColor(130, 190, 90), QColor(70, 140, 60));
    // Two paths leave from the bottom: left into the trees, right to the water.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(215, 190, 140));
    QPainterPath path;
    path.moveTo(260, H);
    path.cubicTo(280, 380, 250, 320, 150, 250);
    path.lineTo(185, 248);
    path.cubicTo(290, 310, 320, 350, 320, 360);
    path.cubicTo(340, 320, 420, 280, 520, 248);
    path.lineTo(550, 252);
    path.cubicTo(450, 300, 380, 380, 390, H);
    path.closeSubpath();
    p.drawPath(path);
    for (int i = 0; i < 5; ++i)
        Tree(p, 30 + i * 34, 260 + i * 6, 80 - i * 4, QColor(40, 100, 50));
    p.setBrush(QColor(80, 160, 220));
    p.drawEllipse(QRectF(500, 232, 150, 22));
    // The signpost.
    p.setBrush(QColor(130, 90, 50));
    p.drawRect(QRectF(316, 290, 8, 80));
    p.setBrush(QColor(230, 200, 150));
    p.drawPolygon(QPolygonF({ QPointF(250, 296), QPointF(312, 290), QPointF(312, 310),
        QPointF(250, 312), QPointF(240, 304) }));
    p.drawPolygon(QPolygonF({ QPointF(390, 300), QPointF(328, 292), QPointF(328, 312),
        QPointF(390, 316), QPointF(400, 308) }));
    return image;
}

QImage Forest()
{
    QImage image = Canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Sky(p, QColor(30, 70, 50), QColor(90, 140, 90));
    Glow(p, QPointF(320, 120), 260, QColor(220, 255, 180, 70));
    for (int row = 0; row < 3; ++row) {
        const QColor leaves = QColor(20 + row * 25, 70 + row * 30, 40 + row * 15);
        for (int i = 0; i < 8; ++i) {
            const double x = (i * 97 + row * 41) % 700 - 20;
            Tree(p, x, 300 + row * 70, 220 - row * 30, leaves);
        }
    }
    // An owl on a branch.
    p.setBrush(QColor(120, 90, 60));
    p.drawRect(QRectF(420, 190, 160, 8));
    p.setBrush(QColor(150, 110, 70));
    p.drawEllipse(QRectF(480, 140, 44, 54));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(493, 158), 8, 8);
    p.drawEllipse(QPointF(511, 158), 8, 8);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(494, 159), 3.5, 3.5);
    p.drawEllipse(QPointF(510, 159), 3.5, 3.5);
    p.setBrush(QColor(240, 180, 60));
    p.drawPolygon(QPolygonF({ QPointF(498, 166), QPointF(506, 166), QPointF(502, 173) }));
    return image;
}

QImage Sea()
{
    QImage image = Canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Sky(p, QColor(60, 150, 230), QColor(200, 235, 255), 230);
    Cloud(p, 500, 130, 1.2, QColor(255, 255, 255, 220));
    QLinearGradient water(0, 230, 0, 430);
    water.setColorAt(0, QColor(20, 90, 170));
    water.setColorAt(1, QColor(60, 170, 210));
    p.fillRect(0, 230, W, 200, water);
    p.setPen(QPen(QColor(230, 245, 255, 180), 2));
    for (int row = 0; row < 8; ++row) {
        const double y = 245 + row * 20;
        for (int x = (row % 2) * 30; x < W; x += 60)
            p.drawArc(QRectF(x, y, 30, 10), 0, 180 * 16);
    }
    QLinearGradient sand(0, 400, 0, H);
    sand.setColorAt(0, QColor(240, 220, 170));
    sand.setColorAt(1, QColor(220, 190, 140));
    p.setPen(Qt::NoPen);
    QPainterPath beach;
    beach.moveTo(0, 410);
    beach.cubicTo(200, 390, 420, 420, W, 400);
    beach.lineTo(W, H);
    beach.lineTo(0, H);
    p.fillPath(beach, sand);
    // A small boat.
    p.setBrush(QColor(200, 80, 60));
    p.drawPolygon(
        QPolygonF({ QPointF(150, 280), QPointF(230, 280), QPointF(215, 296), QPointF(165, 296) }));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({ QPointF(190, 276), QPointF(190, 220), QPointF(225, 274) }));
    return image;
}

QImage Morning()
{
    QImage image = Canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Sky(p, QColor(255, 210, 150), QColor(255, 250, 220));
    Glow(p, QPointF(320, 330), 260, QColor(255, 255, 200, 200));
    p.setBrush(QColor(255, 200, 80));
    p.drawEllipse(QPointF(320, 330), 60, 60);
    // Rays.
    p.setPen(QPen(QColor(255, 220, 120, 160), 6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        p.drawLine(QPointF(320 + 80 * std::cos(a), 330 - 80 * std::sin(a)),
            QPointF(320 + 120 * std::cos(a), 330 - 120 * std::sin(a)));
    }
    p.setPen(Qt::NoPen);
    Hill(p, 380, 20, 1.0, 3.0, QColor(150, 200, 90), QColor(80, 150, 60));
    Hill(p, 420, 15, 1.6, 0.7, QColor(110, 180, 70), QColor(50, 120, 45));
    Cloud(p, 120, 90, 1.0, QColor(255, 255, 255, 200));
    Cloud(p, 520, 60, 0.8, QColor(255, 255, 255, 180));
    return image;
}

QImage RabbitClip()
{
    // Painted smooth on transparency, then every pixel decided: rabbit or key colour.
    QImage art(180, 200, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    {
        QPainter p(&art);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(90, 80, 80), 3));
        const QColor fur(250, 250, 245);
        const QColor inner(255, 180, 190);
        p.setBrush(fur);
        p.drawEllipse(QRectF(52, 4, 30, 86)); // ears
        p.drawEllipse(QRectF(98, 4, 30, 86));
        p.drawEllipse(QRectF(30, 100, 120, 92)); // body
        p.drawEllipse(QRectF(45, 60, 90, 76)); // head
        p.setPen(Qt::NoPen);
        p.setBrush(inner);
        p.drawEllipse(QRectF(61, 16, 12, 60));
        p.drawEllipse(QRectF(107, 16, 12, 60));
        p.setBrush(QColor(40, 30, 30));
        p.drawEllipse(QPointF(74, 94), 6, 7);
        p.drawEllipse(QPointF(106, 94), 6, 7);
        p.setBrush(inner);
        p.drawEllipse(QPointF(90, 110), 6, 4);
        p.drawEllipse(QPointF(60, 116), 8, 5);
        p.drawEllipse(QPointF(120, 116), 8, 5);
        p.setPen(QPen(QColor(90, 80, 80), 2));
        p.drawLine(QPointF(90, 114), QPointF(90, 122));
    }
    QImage clip(art.size(), QImage::Format_RGB32);
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            const QColor c = art.pixelColor(x, y);
            clip.setPixel(x, y,
                c.alpha() >= 128 ? QColor(c.red(), c.green(), c.blue()).rgb() : kClipKeyColor);
        }
    }
    return clip;
}

} // namespace pimoko::sample

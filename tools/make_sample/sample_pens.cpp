#include "tools/make_sample/sample_pens.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>

namespace pimoko::sample {
namespace {

QImage Blank(int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

QImage Dot(int size, int grey)
{
    QImage image = Blank(size);
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(grey, grey, grey));
    p.drawEllipse(QRectF(1, 1, size - 3, size - 3));
    return image;
}

QImage SoftDot(int size)
{
    QImage image = Blank(size);
    QPainter p(&image);
    QRadialGradient g(QPointF(size / 2.0, size / 2.0), size / 2.0);
    g.setColorAt(0, QColor(200, 200, 200));
    g.setColorAt(1, QColor(0, 0, 0));
    p.fillRect(image.rect(), g);
    return image;
}

QImage Star(int size)
{
    QImage image = Blank(size);
    QPainter p(&image);
    QPolygonF star;
    const double c = size / 2.0;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0 ? 0.48 : 0.2) * size;
        const double a = -M_PI / 2 + i * M_PI / 5;
        star << QPointF(c + r * std::cos(a), c + r * std::sin(a));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(140, 140, 140));
    p.drawPolygon(star);
    return image;
}

QImage Heart(int size)
{
    QImage image = Blank(size);
    QPainter p(&image);
    const double s = size;
    QPainterPath path;
    path.moveTo(s * 0.5, s * 0.9);
    path.cubicTo(s * 0.05, s * 0.6, s * 0.05, s * 0.15, s * 0.5, s * 0.32);
    path.cubicTo(s * 0.95, s * 0.15, s * 0.95, s * 0.6, s * 0.5, s * 0.9);
    p.fillPath(path, QColor(130, 130, 130));
    return image;
}

QImage Leaf(int size)
{
    QImage image = Blank(size);
    QPainter p(&image);
    p.translate(size / 2.0, size / 2.0);
    p.rotate(-35);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 120, 120));
    p.drawEllipse(QRectF(-size * 0.45, -size * 0.2, size * 0.9, size * 0.4));
    p.setPen(QPen(QColor(170, 170, 170), 1.5));
    p.drawLine(QPointF(-size * 0.42, 0), QPointF(size * 0.42, 0));
    return image;
}

QImage Grass(int size)
{
    QImage image = Blank(size);
    QPainter p(&image);
    QRandomGenerator rng(3);
    for (int i = 0; i < 9; ++i) {
        const double x = 6 + rng.bounded(size - 12);
        const double lean = rng.bounded(16.0) - 8;
        p.setPen(
            QPen(QColor(110 + 6 * i, 110 + 6 * i, 110 + 6 * i), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x, size - 4), QPointF(x + lean, 6 + rng.bounded(size / 2)));
    }
    return image;
}

QImage Crayon(int size)
{
    QImage image = Blank(size);
    QRandomGenerator rng(5);
    const double c = size / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double d = std::hypot(x - c, y - c);
            if (d < c - 2 && rng.bounded(100) < 65) {
                const int g = 90 + rng.bounded(60);
                image.setPixel(x, y, qRgb(g, g, g));
            }
        }
    }
    return image;
}

QImage Flower(int size)
{
    QImage image = Blank(size);
    QPainter p(&image);
    const double c = size / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(125, 125, 125));
    for (int i = 0; i < 5; ++i) {
        const double a = i * 2 * M_PI / 5;
        p.drawEllipse(QPointF(c + size * 0.24 * std::cos(a), c + size * 0.24 * std::sin(a)),
            size * 0.18, size * 0.18);
    }
    p.setBrush(QColor(200, 200, 200));
    p.drawEllipse(QPointF(c, c), size * 0.14, size * 0.14);
    return image;
}

} // namespace

QImage Pen(int number)
{
    switch (number) {
    case 1:
        return Dot(8, 120);
    case 2:
        return Dot(16, 120);
    case 3:
        return Dot(32, 120);
    case 4:
        return SoftDot(48);
    case 5:
        return Star(40);
    case 6:
        return Heart(40);
    case 7:
        return Leaf(40);
    case 8:
        return Grass(48);
    case 9:
        return Crayon(32);
    case 10:
        return Flower(40);
    default:
        return QImage();
    }
}

} // namespace pimoko::sample

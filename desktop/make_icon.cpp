#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

namespace {

// A five-pointed star around centre, its points at radius outer.
QPainterPath Star(QPointF centre, double outer, double inner)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 ? inner : outer;
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const QPointF point(
            centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

// One page of the open book, its outer edge bent up a little.
QPainterPath Page(bool left)
{
    const double side = left ? -1 : 1;
    QPainterPath path;
    path.moveTo(128, 92);
    path.cubicTo(128 + side * 30, 78, 128 + side * 70, 76, 128 + side * 100, 84);
    path.lineTo(128 + side * 100, 196);
    path.cubicTo(128 + side * 70, 188, 128 + side * 30, 190, 128, 204);
    path.closeSubpath();
    return path;
}

// The icon drawn on a 256 x 256 plan and scaled to size: a picture book lying open on a
// sky-blue tile, a yellow star over it and a hill on its right page.
QImage DrawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);

    QLinearGradient sky(0, 8, 0, 248);
    sky.setColorAt(0, QColor(0x7c, 0xc8, 0xf2));
    sky.setColorAt(1, QColor(0x3a, 0x86, 0xd0));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);

    // The cover showing behind the pages.
    p.setBrush(QColor(0xd2, 0x3c, 0x3c));
    QPainterPath cover;
    cover.moveTo(128, 214);
    cover.lineTo(20, 204);
    cover.lineTo(20, 92);
    cover.lineTo(236, 92);
    cover.lineTo(236, 204);
    cover.closeSubpath();
    p.drawPath(cover);

    const QColor paper(0xff, 0xf8, 0xe6);
    const QColor edge(0x8a, 0x5a, 0x3c);
    p.setPen(QPen(edge, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(paper);
    p.drawPath(Page(true));
    p.drawPath(Page(false));

    // A green hill and a sun on the right page, lines of text on the left one.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5c, 0xb8, 0x4c));
    QPainterPath hill;
    hill.moveTo(134, 186);
    hill.cubicTo(160, 140, 200, 140, 222, 180);
    hill.lineTo(222, 190);
    hill.cubicTo(190, 184, 160, 186, 134, 196);
    hill.closeSubpath();
    p.drawPath(hill);
    p.setBrush(QColor(0xf6, 0x8c, 0x2a));
    p.drawEllipse(QPointF(196, 120), 14, 14);
    p.setPen(QPen(QColor(0x6c, 0x8c, 0xb4), 8, Qt::SolidLine, Qt::RoundCap));
    for (int line = 0; line < 3; ++line) {
        const double y = 118 + line * 26;
        p.drawLine(QPointF(48, y), QPointF(110, y + 4));
    }

    p.setPen(QPen(QColor(0xc8, 0x8c, 0x10), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xff, 0xd8, 0x30));
    p.drawPath(Star(QPointF(128, 50), 36, 15));
    p.end();
    return image;
}

} // namespace

// pimoko-icon FOLDER: writes FOLDER/<n>x<n>/apps/pimoko.png for the icon theme's sizes.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: pimoko-icon FOLDER\n");
        return 2;
    }
    for (const int size : { 16, 32, 48, 128, 256 }) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args[0]).arg(size);
        const QString file = folder + QStringLiteral("/pimoko.png");
        if (!QDir().mkpath(folder) || !DrawIcon(size).save(file, "PNG")) {
            std::fprintf(stderr, "pimoko-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}

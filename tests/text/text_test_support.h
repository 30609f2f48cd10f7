#pragma once

#include <QGuiApplication>
#include <QImage>
#include <QRect>

namespace pimoko::test {

// Fonts need the application object; the engine tests share one, made on first use and
// kept until the process ends.
inline void EnsureGuiApp()
{
    if (QGuiApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "pimoko_text_test";
    static char* argv[] = { name, nullptr };
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

// The smallest rectangle holding every pixel that differs from the colour (an empty
// rectangle when none does).
inline QRect InkBox(const QImage& image, QRgb background = qRgb(0, 0, 0))
{
    QRect box;
    if (image.format() == QImage::Format_Mono && background == qRgb(0, 0, 0)) {
        // Set bits, a byte at a time: the coverage mask is large.
        for (int y = 0; y < image.height(); ++y) {
            const uchar* row = image.constScanLine(y);
            for (int b = 0; b < image.bytesPerLine(); ++b) {
                if (!row[b])
                    continue;
                for (int i = 0; i < 8; ++i)
                    if ((row[b] >> (7 - i)) & 1 && 8 * b + i < image.width())
                        box |= QRect(8 * b + i, y, 1, 1);
            }
        }
        return box;
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

inline int CountPixels(const QImage& image, QRgb color)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == color;
    return n;
}

} // namespace pimoko::test

#include "player/ui/viewer_glyphs.h"

#include "platform/bitmap.h"

namespace pimoko {
namespace {

// Rows of 16 characters: '.' the background (black), 'o' the outline, 'x' the fill,
// 'w' a light.
QImage FromRows(const char* const rows[16], QRgb outline, QRgb fill, QRgb light)
{
    QImage glyph = NewBitmap24(16, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            switch (rows[y][x]) {
            case 'o':
                glyph.setPixel(x, y, outline);
                break;
            case 'x':
                glyph.setPixel(x, y, fill);
                break;
            case 'w':
                glyph.setPixel(x, y, light);
                break;
            default:
                break;
            }
        }
    }
    return glyph;
}

} // namespace

QImage AdvanceGlyph()
{
    static const char* const rows[16] = {
        "................",
        "...oo...........",
        "...oxo..........",
        "...oxxo.........",
        "...oxwxo........",
        "...oxwxxo.......",
        "...oxwxxxo......",
        "...oxwxxxxo.....",
        "...oxwxxxxxo....",
        "...oxwxxxxo.....",
        "...oxwxxxo......",
        "...oxwxxo.......",
        "...oxxxo........",
        "...oxxo.........",
        "...ooo..........",
        "................",
    };
    return FromRows(rows, qRgb(0, 90, 0), qRgb(60, 200, 60), qRgb(170, 255, 170));
}

QImage LinkGlyph()
{
    static const char* const rows[16] = {
        "................",
        "......oo........",
        ".....oxxo.......",
        ".....oxxo.......",
        ".....oxxo.......",
        ".....oxxoooo....",
        ".....oxxoxxooo..",
        "..oo.oxxoxxoxxo.",
        ".oxxooxxxxxxxxo.",
        ".oxxxoxxxxxxxxo.",
        "..oxxxxxxxxxxxo.",
        "...oxxxxxxxxxo..",
        "...oxxxxxxxxxo..",
        "....oxxxxxxxo...",
        "....ooooooooo...",
        "................",
    };
    return FromRows(rows, qRgb(110, 60, 0), qRgb(255, 220, 60), qRgb(255, 255, 200));
}

} // namespace pimoko

#pragma once

#include "platform/canvas.h"

#include <QImage>
#include <QString>

namespace pimoko {

// A page or clip picture from a file that is already resolved: ".bmp" or ".jpg" by the
// extension, without regard to case, as a 24-bit bitmap. A null image when the file is
// missing, broken, too large, or has another extension. A JPEG cut short gives what could
// be decoded.
QImage LoadPicture(const QString& path);

// The whole bitmap in one colour (0x00BBGGRR).
void FillBitmap(QImage& bitmap, ColorRef color);

// dest becomes a black 640 x 480 bitmap with the picture's top-left corner at
// ((640 - width) div 2, (480 - height) div 2), division truncating toward zero. No scaling:
// a larger picture loses its edges. A null picture leaves it black.
void DrawPictureCentred(QImage& dest, const QImage& picture);

// Copies source onto dest with its top-left corner at (x, y), every pixel, cut at dest's
// edges on every side.
void CopyBlit(QImage& dest, int x, int y, const QImage& source);

// As CopyBlit, leaving out the source pixels of the key colour: the colour of the source's
// bottom-left pixel. A source lying wholly off dest draws nothing.
void TransparentBlit(QImage& dest, int x, int y, const QImage& source);

} // namespace pimoko

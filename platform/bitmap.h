#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace pimoko {

// Pages are 640 x 480 pictures of 24 bits a pixel, bytes blue, green, red.
constexpr int kPageWidth = 640;
constexpr int kPageHeight = 480;

// The largest picture the program reads; a larger one is refused like a missing file.
constexpr int kMaxPictureSide = 8192;

// A 24-bit bitmap (QImage::Format_BGR888) filled with black.
QImage NewBitmap24(int width = kPageWidth, int height = kPageHeight);

// The same picture as a 24-bit bitmap.
QImage ToBitmap24(const QImage& image);

// Reads a BMP of any depth and compression as 24 bits. A null image when the file is
// missing, not a BMP, broken, or larger than kMaxPictureSide on a side.
QImage ReadBmp(const QString& path);
QImage ReadBmpData(const QByteArray& data);

// Writes the picture as an uncompressed 24-bit BMP, atomically.
bool WriteBmp24(const QString& path, const QImage& image, QString* error = nullptr);
QByteArray EncodeBmp24(const QImage& image);

} // namespace pimoko

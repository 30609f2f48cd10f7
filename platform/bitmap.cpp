#include "platform/bitmap.h"

#include "platform/line_file.h"

#include <QBuffer>
#include <QImageReader>

namespace pimoko {

QImage NewBitmap24(int width, int height)
{
    QImage image(width, height, QImage::Format_BGR888);
    image.fill(Qt::black);
    return image;
}

QImage ToBitmap24(const QImage& image)
{
    if (image.format() == QImage::Format_BGR888)
        return image;
    return image.convertToFormat(QImage::Format_BGR888);
}

namespace {

QImage ReadBmpFrom(QImageReader& reader)
{
    reader.setFormat("bmp");
    reader.setDecideFormatFromContent(false);
    // 8192 x 8192 at 4 bytes a pixel, the most Qt may need to decode a picture we take.
    reader.setAllocationLimit(kMaxPictureSide / 1024 * kMaxPictureSide / 1024 * 4 + 1); // MB
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)
        return QImage();
    QImage image;
    if (!reader.read(&image))
        return QImage();
    return ToBitmap24(image);
}

} // namespace

QImage ReadBmp(const QString& path)
{
    QImageReader reader(path);
    return ReadBmpFrom(reader);
}

QImage ReadBmpData(const QByteArray& data)
{
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return ReadBmpFrom(reader);
}

namespace {

void Put16(QByteArray& b, int v)
{
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(QByteArray& b, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

} // namespace

QByteArray EncodeBmp24(const QImage& source)
{
    const QImage image = ToBitmap24(source);
    const int w = image.width(), h = image.height();
    const int stride = (w * 3 + 3) & ~3;
    const quint32 dataSize = static_cast<quint32>(stride) * h;
    QByteArray b;
    b.reserve(54 + dataSize);
    b.append("BM", 2);
    Put32(b, 54 + dataSize);
    Put32(b, 0);
    Put32(b, 54);
    Put32(b, 40);
    Put32(b, w);
    Put32(b, h);
    Put16(b, 1);
    Put16(b, 24);
    Put32(b, 0);
    Put32(b, dataSize);
    Put32(b, 2835); // 72 dpi
    Put32(b, 2835);
    Put32(b, 0);
    Put32(b, 0);
    const QByteArray pad(stride - w * 3, '\0');
    for (int y = h - 1; y >= 0; --y) {
        b.append(reinterpret_cast<const char*>(image.constScanLine(y)), w * 3);
        b.append(pad);
    }
    return b;
}

bool WriteBmp24(const QString& path, const QImage& image, QString* error)
{
    return WriteFileAtomically(path, EncodeBmp24(image), error);
}

} // namespace pimoko

// The BMP reader on arbitrary bytes: a picture it gives is 24 bits a pixel and within
// the largest size the program takes.
#include "platform/bitmap.h"

#include <cstdint>
#include <cstdlib>

using namespace pimoko;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QImage image = ReadBmpData(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (image.isNull())
        return 0;
    if (image.format() != QImage::Format_BGR888 || image.width() > kMaxPictureSide
        || image.height() > kMaxPictureSide)
        std::abort();
    // Every row must be readable to its end.
    unsigned sum = 0;
    for (int y = 0; y < image.height(); ++y)
        sum += image.constScanLine(y)[image.width() * 3 - 1];
    return static_cast<int>(sum & 0);
}

// The JPEG decoder on arbitrary bytes: it reports, it never crashes, and a picture it
// gives is 24 bits a pixel within the largest size the program takes.
#include "platform/bitmap.h"
#include "platform/jpeg_codec.h"

#include <cstdint>
#include <cstdlib>

using namespace pimoko;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const JpegResult r = DecodeJpeg(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const bool hasPicture = r.status == JpegStatus::Ok || r.status == JpegStatus::Truncated;
    if (hasPicture != !r.image.isNull())
        std::abort();
    if (!hasPicture)
        return 0;
    if (r.image.format() != QImage::Format_BGR888 || r.image.width() > kMaxPictureSide
        || r.image.height() > kMaxPictureSide)
        std::abort();
    unsigned sum = 0;
    for (int y = 0; y < r.image.height(); ++y)
        sum += r.image.constScanLine(y)[r.image.width() * 3 - 1];
    return static_cast<int>(sum & 0);
}

#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace pimoko {

enum class JpegStatus {
    Ok,
    Missing, // the file could not be read
    Broken, // not a JPEG, or an error inside it
    Truncated, // the data ends inside the picture; the image holds what was decoded
    TooLarge, // larger than kMaxPictureSide on a side, or needs too much memory to decode
};

struct JpegResult {
    QImage image; // Format_BGR888; null unless status is Ok or Truncated
    JpegStatus status = JpegStatus::Broken;
    QString message; // libjpeg's words, for the log
};

JpegResult DecodeJpeg(const QByteArray& data);
JpegResult ReadJpeg(const QString& path);

// Baseline JPEG of the picture with a quality of 1..100 (clamped).
QByteArray EncodeJpeg(const QImage& image, int quality);

// The same picture, coefficient for coefficient, written again as a progressive JPEG
// with Huffman tables made for it: smaller, and every decoder draws the same pixels from
// it. Markers other than the picture's own (comments, camera data) are left out. Empty
// when the data is not a whole JPEG.
QByteArray RepackJpeg(const QByteArray& data);

// The other layouts a JPEG may come in, for pictures made elsewhere.
struct JpegLayout {
    int quality = 75;
    bool progressive = false;
    bool grey = false; // one component
    bool fullChroma = false; // colour not subsampled (4:4:4)
    int restartRows = 0; // a restart marker every so many rows of blocks; 0 for none
};
QByteArray EncodeJpeg(const QImage& image, const JpegLayout& layout);

} // namespace pimoko

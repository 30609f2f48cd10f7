#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace pimoko {

enum class JpegStatus {
    Ok,
    Missing,    // the file could not be read
    Broken,     // not a JPEG, or an error inside it
    Truncated,  // the data ends inside the picture; the image holds what was decoded
    TooLarge,   // larger than kMaxPictureSide on a side, or needs too much memory to decode
};

struct JpegResult {
    QImage image;  // Format_BGR888; null unless status is Ok or Truncated
    JpegStatus status = JpegStatus::Broken;
    QString message;  // libjpeg's words, for the log
};

JpegResult DecodeJpeg(const QByteArray& data);
JpegResult ReadJpeg(const QString& path);

// Baseline JPEG of the picture with a quality of 1..100 (clamped).
QByteArray EncodeJpeg(const QImage& image, int quality);

}  // namespace pimoko

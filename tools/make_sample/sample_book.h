#pragma once

#include <QString>
#include <QStringList>

namespace pimoko::sample {

inline const QString kSampleBookTitle = QStringLiteral("ピモコのさんぽ");
inline const QString kSampleBookFile = QStringLiteral("ehon.pmk");

// The lines of the sample book file. Media are named bare, so they are taken from the
// book's own folder.
QStringList SampleBookLines();

// Writes the book with its pictures and sounds into folder (made when missing).
// False, with the reason in error, when a file cannot be written.
bool WriteSampleBook(const QString& folder, QString* error);

} // namespace pimoko::sample

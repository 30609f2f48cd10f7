#pragma once

#include <QString>

namespace pimoko::sample {

struct LayoutOptions {
    QString folder; // the start-up folder to lay out
    QString program; // the program copied as Player/PimokoP.exe ("" = none)
    bool settings = true; // false leaves out ini.dat: the program then runs as a player
};

// Lays out a start-up folder: ini.dat, PBooklst.dat listing the sample book, BOOKS with
// the book, pen with the ten pens, Temp, Deleted and Player with the program. The book,
// its media and the pens are written afresh; an existing ini.dat or PBooklst.dat is kept
// (it holds the user's settings and books), except that a list without the sample book
// gets it. False, with the reason in error, when something cannot be written.
bool LayOutStartupFolder(const LayoutOptions& options, QString* error);

// The list path of the sample book, relative to the start-up folder.
inline const QString kSampleBookListPath = QStringLiteral("\\BOOKS\\Sample\\ehon.pmk");

} // namespace pimoko::sample

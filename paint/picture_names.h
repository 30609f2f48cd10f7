#pragma once

#include <QString>

namespace pimoko {

// Where a painted picture is saved: the book's folder, or its "Pic" folder when the book
// lives in the start-up folder (a book never saved). With a trailing "/".
QString PaintedPictureFolder(const QString& bookFolder, const QString& startupFolder);

// The name a painted picture is saved under in folder. From a source picture "name.bmp"
// or "name_3.bmp": "name_" + n + ".bmp" with the first free n from 2; without one:
// "PPic_" + n + ".bmp" with the first free n from 1. "" when every n below 100000 is taken.
QString PaintedPictureFile(const QString& folder, const QString& sourcePicture);

} // namespace pimoko

#pragma once

#include <QDate>
#include <QString>

namespace pimoko {

// Paths as the program's files hold them: written on Windows ("C:\絵本\a.bmp") or
// here ("/home/a/絵本/a.bmp"). "\" and "/" both separate folders.

// The text after the last "\", "/" or ":".
QString FileNamePart(const QString& path);

// The text before the file-name part, without its trailing separator ("" for a bare
// name; "/" for a file in the root).
QString FolderPart(const QString& path);

// The extension with its dot, as written (".BMP"), or "" when the name has none.
QString ExtensionOf(const QString& path);

// True when the extension equals ext (with its dot) without regard to case.
bool HasExtension(const QString& path, const QString& ext);

// True when the path has a folder part.
bool HasFolderPart(const QString& path);

// "\" turned into "/".
QString ToSlashes(const QString& path);

// A bare name joined to a folder: folder + "/" + name.
QString JoinPath(const QString& folder, const QString& name);

// True for "C:..." (a drive letter and a colon).
bool HasDriveLetter(const QString& path);

// True for a Windows network path ("\\server\share\..."). A path that starts with two
// slashes is an absolute path here, not a network one.
bool IsUncPath(const QString& path);

// The part of a path from its last folder named folderName (compared without regard to
// case) onwards, in slashes: ("C:\a\BOOKS\P1\x.pmk", "books") gives "BOOKS/P1/x.pmk".
// "" when no folder of the path has that name, or when the part climbs with "..".
QString PathFromLastFolder(const QString& path, const QString& folderName);

// Looks a path up on disk: the exact name when it exists, otherwise each part matched
// without regard to case. Returns the path found, or the input (in slashes) when
// nothing matches.
QString FindExistingPath(const QString& path);

// The path of a media file named in a book that lives in bookFolder:
// - a bare name is taken from the book's folder;
// - a path with a folder part is used as it stands (in slashes, case-insensitively);
// - a Windows path with a drive letter that does not exist here is looked up by its
//   file-name part in the book's folder.
QString ResolveMediaFile(const QString& path, const QString& bookFolder);

// The dated folder name base + "/P" + yyyy + "_" + mmdd + "(N)" for the first N from 1 to
// 99999 whose folder does not exist yet; "" when every N is taken.
QString FreeDatedFolder(const QString& base, const QDate& date);

} // namespace pimoko

#pragma once

#include <QString>

namespace pimoko {

// A start-up folder holds the program's settings file or its book list (names found
// without regard to case). The program started in one, as a start-up folder laid out by
// the set-up or an unpacked distribution, runs there; started from the desktop menu or a
// file manager, it is somewhere else.
bool IsStartupFolder(const QString& folder);

// The sample start-up folder an installation carries, found from the program's own
// folder (<prefix>/lib/pimoko -> <prefix>/share/pimoko/startup); "" when the program
// does not run from an installation.
QString InstalledStartupTemplate(const QString& programFolder);

// Copies every file of templateFolder that dataFolder lacks, folders and all. A file the
// user already has, under any case of its name, is never written over. The book list and
// the settings file come last, so a copy cut short leaves no folder that counts as laid
// out. False, with the reason in error, when a folder or file cannot be made.
bool CopyStartupTemplate(const QString& templateFolder, const QString& dataFolder, QString* error);

// The start-up folder of this run: the current folder when it is a start-up folder or no
// installation template exists (a run from the build folder); otherwise the user's data
// folder, laid out from the template on the first start. error is set when the first
// start's copy failed; the data folder is still used then.
QString ChooseStartupFolder(const QString& currentFolder, const QString& templateFolder,
    const QString& dataFolder, QString* error);

} // namespace pimoko

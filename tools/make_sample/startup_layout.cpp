#include "tools/make_sample/startup_layout.h"

#include "book/book_defaults.h"
#include "book/book_list.h"
#include "book/settings_file.h"
#include "platform/bitmap.h"
#include "platform/line_file.h"
#include "platform/paths.h"
#include "tools/make_sample/sample_book.h"
#include "tools/make_sample/sample_pens.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pimoko::sample {
namespace {

bool Fail(QString* error, const QString& text)
{
    *error = text;
    return false;
}

bool WriteSettingsFile(const QString& root, QString* error)
{
    if (QFileInfo(SettingsFilePath(root)).isFile())
        return true;
    // The settings writer rewrites a file of a known version only: start one, then let
    // it write the whole newest layout.
    if (!WriteLineFile(JoinPath(root, QStringLiteral("ini.dat")),
            { QStringLiteral("PBOOK_INIFILE_V13") }, error))
        return false;
    TBookDefaults defaults;
    defaults.DefaultFontColor = 0x00FFFFFF;
    defaults.DefaultShadow = true;
    defaults.DefaultTextX = 40;
    defaults.DefaultTextY = 40;
    defaults.DefaultFontHeight = 28;
    return WriteSettings(root, defaults, 1) || Fail(error, QStringLiteral("cannot write ini.dat"));
}

bool WriteBookListFile(const QString& root, QString* error)
{
    const QString path = BookListFilePath(root);
    QStringList lines;
    if (!QFileInfo(path).isFile())
        lines << kBookListHeader;
    else if (!ReadLineFile(path, &lines) || lines.isEmpty() || lines[0] != kBookListHeader)
        return true; // not a list this program may rewrite
    for (int i = 2; i < lines.size(); i += 2) {
        if (lines[i].compare(kSampleBookListPath, Qt::CaseInsensitive) == 0)
            return true;
    }
    lines << kSampleBookTitle << kSampleBookListPath;
    return WriteLineFile(path, lines, error);
}

bool CopyProgram(const QString& program, const QString& playerFolder, QString* error)
{
    if (program.isEmpty())
        return true;
    const QString target = JoinPath(playerFolder, QStringLiteral("PimokoP.exe"));
    QFile::remove(target);
    if (!QFile::copy(program, target))
        return Fail(error, QStringLiteral("cannot copy ") + program);
    // The archiver library travels with the program it serves.
    const QString library
        = JoinPath(QFileInfo(program).absolutePath(), QStringLiteral("libunlha32.so"));
    if (QFileInfo(library).isFile()) {
        const QString copy = JoinPath(playerFolder, QStringLiteral("libunlha32.so"));
        QFile::remove(copy);
        QFile::copy(library, copy);
    }
    return true;
}

} // namespace

bool LayOutStartupFolder(const LayoutOptions& options, QString* error)
{
    const QString root = options.folder;
    for (const QString& name : { QStringLiteral("BOOKS"), QStringLiteral("Temp"),
             QStringLiteral("pen"), QStringLiteral("Deleted"), QStringLiteral("Player") }) {
        if (!QDir().mkpath(JoinPath(root, name)))
            return Fail(error, QStringLiteral("cannot make ") + JoinPath(root, name));
    }
    if (options.settings && !WriteSettingsFile(root, error))
        return false;
    if (!options.settings)
        QFile::remove(SettingsFilePath(root));
    if (!WriteSampleBook(JoinPath(root, QStringLiteral("BOOKS/Sample")), error))
        return false;
    if (!WriteBookListFile(root, error))
        return false;
    for (int n = 1; n <= kPenCount; ++n) {
        const QString pen = JoinPath(root, QStringLiteral("pen/Brush%1.bmp").arg(n));
        if (!WriteBmp24(pen, ToBitmap24(Pen(n)), error))
            return false;
    }
    return CopyProgram(options.program, JoinPath(root, QStringLiteral("Player")), error);
}

} // namespace pimoko::sample

#include "book/open_book.h"
#include "editor/web_export.h"
#include "platform/prompt_port.h"
#include "tools/pimoko_book/commands.h"

#include <QFileInfo>
#include <QGuiApplication>

namespace pimoko::tool {
namespace {

const char kName[] = "web";

// Writes a book as a folder a browser opens from disk or a static server.
int RunWeb(const QStringList& args)
{
    QString file, outDir;
    bool force = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--force"))
            force = true;
        else if (a.startsWith(QLatin1String("--")))
            return UsageError(kName);
        else if (file.isEmpty())
            file = a;
        else if (outDir.isEmpty())
            outDir = a;
        else
            return UsageError(kName);
    }
    if (file.isEmpty() || outDir.isEmpty())
        return UsageError(kName);
    // Loading a book enters its folder; the output is named from where the tool started.
    outDir = QFileInfo(outDir).absoluteFilePath();
    switch (TWebExport::CheckFolder(outDir)) {
    case TWebExport::FolderState::NotAFolder:
        PrintError(QStringLiteral("%1 is not a folder").arg(outDir));
        return 1;
    case TWebExport::FolderState::NotEmpty:
        if (!force) {
            PrintError(QStringLiteral("%1 is not empty (--force writes into it)").arg(outDir));
            return 1;
        }
        break;
    case TWebExport::FolderState::Usable:
        break;
    }

    ScriptedPromptPort prompt;
    TOpenBook book(prompt, CurrentFolder());
    QString message;
    if (!LoadBookForTool(book, prompt, file, &message)) {
        PrintError(message);
        return 1;
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        PrintError(
            QStringLiteral("web needs fonts: the program must run with a GUI application object"));
        return 1;
    }
    TWebExport web;
    const WebExportResult result = web.Run(book, outDir);
    for (const QString& note : result.notes)
        PrintError(note);
    if (result.outcome != WebExportResult::Outcome::Written) {
        PrintError(result.message);
        return 1;
    }
    return 0;
}

CommandRegistration reg(kName, "FILE OUTDIR [--force]", &RunWeb);

} // namespace
} // namespace pimoko::tool

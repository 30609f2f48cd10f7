#include "book/open_book.h"
#include "platform/prompt_port.h"
#include "player/compositor_pages.h"
#include "tools/pimoko_book/commands.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

namespace pimoko::tool {
namespace {

const char kName[] = "render";

int RunRender(const QStringList& args)
{
    QString file;
    QString out;
    int page = 0;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--page") && i + 1 < args.size()) {
            bool ok = false;
            page = args[++i].toInt(&ok);
            if (!ok)
                return UsageError(kName);
        } else if (args[i] == QLatin1String("--out") && i + 1 < args.size()) {
            out = args[++i];
        } else if (file.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
            file = args[i];
        } else {
            return UsageError(kName);
        }
    }
    if (file.isEmpty() || out.isEmpty() || page == 0)
        return UsageError(kName);
    if (page < 1 || page > TOpenBook::kPageCount) {
        PrintError(
            QStringLiteral("page %1 is not between 1 and %2").arg(page).arg(TOpenBook::kPageCount));
        return 2;
    }
    // Loading a book enters its folder; the output is named from where the tool started.
    const QString outPath = QFileInfo(out).absoluteFilePath();

    ScriptedPromptPort prompt;
    TOpenBook book(prompt, CurrentFolder());
    QString message;
    if (!LoadBookForTool(book, prompt, file, &message)) {
        PrintError(message);
        return 1;
    }
    // Text is drawn with the font database, which lives in the GUI application object.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        PrintError(QStringLiteral(
            "render needs fonts: the program must run with a GUI application object"));
        return 1;
    }
    QImage picture;
    ComposePage(PagesOf(book), page, picture, ResolverForFolder(book.BookFolder));
    if (!picture.save(outPath, "PNG")) {
        PrintError(QStringLiteral("cannot write %1").arg(outPath));
        return 1;
    }
    return 0;
}

CommandRegistration reg(kName, "FILE --page N --out OUT.png", &RunRender);

} // namespace
} // namespace pimoko::tool

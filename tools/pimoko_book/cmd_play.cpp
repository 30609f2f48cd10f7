#include "book/open_book.h"
#include "platform/prompt_port.h"
#include "player/playback_headless.h"
#include "tools/pimoko_book/commands.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

namespace pimoko::tool {
namespace {

const char kName[] = "play";

// Plays a book without a screen on a simulated clock and prints one JSON object a line.
// SCRIPT is the reader's actions ("advance;click 320 240;key Enter;stop"), or the name of
// a file holding them.
int RunPlay(const QStringList& args)
{
    QString file;
    QString script;
    QString frames;
    int from = 1;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--from") && i + 1 < args.size()) {
            bool ok = false;
            from = args[++i].toInt(&ok);
            if (!ok)
                return UsageError(kName);
        } else if (a == QLatin1String("--input") && i + 1 < args.size()) {
            script = args[++i];
        } else if (a == QLatin1String("--frames") && i + 1 < args.size()) {
            frames = args[++i];
        } else if (file.isEmpty() && !a.startsWith(QLatin1String("--"))) {
            file = a;
        } else {
            return UsageError(kName);
        }
    }
    if (file.isEmpty())
        return UsageError(kName);
    if (from < 1 || from > TOpenBook::kPageCount) {
        PrintError(
            QStringLiteral("page %1 is not between 1 and %2").arg(from).arg(TOpenBook::kPageCount));
        return 2;
    }
    if (QFileInfo(script).isFile()) {
        QFile in(script);
        if (!in.open(QIODevice::ReadOnly)) {
            PrintError(QStringLiteral("cannot read %1").arg(script));
            return 1;
        }
        script = QString::fromUtf8(in.readAll());
    }
    HeadlessOptions options;
    options.from = from;
    QString error;
    if (!ParseReaderScript(script, &options.actions, &error)) {
        PrintError(error);
        return 2;
    }
    // Loading a book enters its folder; the frames are named from where the tool started.
    if (!frames.isEmpty())
        options.framesDir = QFileInfo(frames).absoluteFilePath();

    ScriptedPromptPort prompt;
    TOpenBook book(prompt, CurrentFolder());
    QString message;
    if (!LoadBookForTool(book, prompt, file, &message)) {
        PrintError(message);
        return 1;
    }
    // Text is typed with the font database, which lives in the GUI application object.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        PrintError(
            QStringLiteral("play needs fonts: the program must run with a GUI application object"));
        return 1;
    }
    const int code = RunHeadless(
        book, options,
        [](const QByteArray& line) {
            std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
            std::fputc('\n', stdout);
        },
        &error);
    std::fflush(stdout);
    if (code != 0)
        PrintError(error);
    return code;
}

CommandRegistration reg(kName, "FILE [--from N] [--input SCRIPT] [--frames DIR]", &RunPlay);

} // namespace
} // namespace pimoko::tool
